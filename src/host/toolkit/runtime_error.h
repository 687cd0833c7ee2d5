// The host's run-time error: raised for a null object reference or a division by zero. The host
// catches it where an event enters the program, shows it in a message box and ends that event;
// the program goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

class RuntimeError : public std::runtime_error {
public:
    enum class Kind { NullObject, DivisionByZero };

    explicit RuntimeError(Kind kind) : RuntimeError(kind, defaultMessage(kind)) {}
    RuntimeError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind)
    {
    }

    Kind kind() const noexcept { return kind_; }

private:
    static const char* defaultMessage(Kind kind) noexcept
    {
        return kind == Kind::NullObject ? "Null object reference" : "Divide by zero";
    }

    Kind kind_;
};

} // namespace host
