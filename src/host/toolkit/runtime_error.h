// The host's run-time error: raised for a null object reference, a division by zero or a call
// of a toolkit function by a name or with arguments it does not know. The host catches it where
// an event enters the program, shows it in a message box and ends that event; the program goes
// on.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

class RuntimeError : public std::runtime_error {
public:
    enum class Kind { NullObject, DivisionByZero, BadCall };

    explicit RuntimeError(Kind kind) : RuntimeError(kind, defaultMessage(kind)) {}
    RuntimeError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind)
    {
    }

    Kind kind() const noexcept { return kind_; }

private:
    static const char* defaultMessage(Kind kind) noexcept
    {
        switch (kind) {
        case Kind::NullObject:
            return "Null object reference";
        case Kind::DivisionByZero:
            return "Divide by zero";
        case Kind::BadCall:
            break;
        }
        return "Bad call of a toolkit function";
    }

    Kind kind_;
};

} // namespace host
