#include "host/toolkit/event_boundary.h"

#include "host/toolkit/deferred_update.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/runtime_error.h"

#include <string>

namespace host {

namespace {

// Leaves the event however it ends, so the nesting depth stays right.
class EventScope {
public:
    EventScope() { detail::enterEvent(); }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;
    ~EventScope() { detail::leaveEvent(); }
};

std::string describe(const std::exception& error)
{
    const auto* runtime = dynamic_cast<const RuntimeError*>(&error);
    if (runtime == nullptr) {
        return error.what();
    }
    switch (runtime->kind()) {
    case RuntimeError::Kind::NullObject:
        return std::string("空对象引用: ") + error.what();
    case RuntimeError::Kind::DivisionByZero:
        return std::string("除数为零: ") + error.what();
    case RuntimeError::Kind::BadCall:
        return std::string("调用函数出错: ") + error.what();
    }
    return error.what();
}

} // namespace

void reportEventError(const std::exception& error)
{
    MessageBox("运行错误", describe(error) + "\n当前事件已结束,程序继续运行。", Icon::StopSign);
}

bool raiseEvent(const std::function<void()>& event)
{
    EventScope scope;
    try {
        event();
        return true;
    } catch (const std::exception& error) {
        reportEventError(error);
    }
    return false;
}

} // namespace host
