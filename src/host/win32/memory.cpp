#include "host/win32/memory.h"

#include <cstring>

namespace win32 {

void RtlMoveMemory(void* destination, const void* source, std::size_t length)
{
    if (length == 0 || destination == nullptr || source == nullptr) {
        return;
    }
    std::memmove(destination, source, length);
}

} // namespace win32
