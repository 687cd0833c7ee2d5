// The run-time error of the program (null object reference, division by zero): it ends the
// current event; the host catches it at the event boundary, shows it and goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

class RuntimeError : public std::runtime_error {
public:
    enum class Kind { NullObject, DivisionByZero };

    RuntimeError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}

    [[nodiscard]] Kind kind() const { return kind_; }

private:
    Kind kind_;
};

} // namespace host
