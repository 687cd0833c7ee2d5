// Private to the engine's files: an object the engine is handed must exist.
#pragma once

#include "host/toolkit/runtime_error.h"

#include <string>

namespace menu {

// The object, or the null-object error naming the function `where` it was missing in.
template <typename T> T& require(T* object, const char* where)
{
    if (object == nullptr) {
        throw host::RuntimeError(host::RuntimeError::Kind::NullObject,
                                 std::string("Null object reference in ") + where);
    }
    return *object;
}

} // namespace menu
