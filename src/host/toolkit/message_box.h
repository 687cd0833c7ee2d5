// Modal message boxes (title, text, icon, one button). Every box of the program goes through
// MessageBox, so tests can answer them through a handler instead of a person.
#pragma once

#include <functional>
#include <string>

namespace host {

enum class Icon { Information, StopSign, Exclamation, Question, None };
enum class Button { OK };

struct MessageBoxRequest {
    std::string title;
    std::string text;
    Icon icon = Icon::Information;
    Button button = Button::OK;
};

// Shows the box and returns the number of the button pressed (1 for OK).
int MessageBox(const std::string& title, const std::string& text, Icon icon = Icon::Information,
               Button button = Button::OK);

// The test seam: while a handler is set, it answers every box instead of a modal window.
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

} // namespace host
