// The run-time error of the toolkit: a null object reference or a division by zero in the
// program. The host catches it at the event boundary, shows it, and ends only that event.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace host {

class RuntimeError : public std::runtime_error {
public:
    enum class Kind : std::uint8_t { NullObject, DivisionByZero };

    RuntimeError(Kind kind, const std::string& where)
        : std::runtime_error(describe(kind) + ": " + where), kind_(kind)
    {
    }

    [[nodiscard]] Kind kind() const { return kind_; }

    static std::string describe(Kind kind)
    {
        return kind == Kind::NullObject ? "Null object reference" : "Divide by zero";
    }

private:
    Kind kind_;
};

// Raises the null-object error unless `object` refers to something.
template <typename T> T& requireObject(T* object, const char* where)
{
    if (object == nullptr) {
        throw RuntimeError(RuntimeError::Kind::NullObject, where);
    }
    return *object;
}

} // namespace host
