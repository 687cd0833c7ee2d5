#include "host/win32/messages.h"

#include <map>
#include <unordered_map>

namespace win32 {

namespace {

// Per window, the bindings in the order they were made; the newest one answers.
std::unordered_map<HWND, std::map<std::uint64_t, WindowProcedure>>& procedures()
{
    static std::unordered_map<HWND, std::map<std::uint64_t, WindowProcedure>> map;
    return map;
}

} // namespace

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto it = procedures().find(window);
    if (it == procedures().end() || it->second.empty()) {
        return 0;
    }
    // A copy: the procedure may end its own binding while it runs.
    const WindowProcedure procedure = it->second.rbegin()->second;
    return procedure(message, wParam, lParam);
}

WindowProcedureBinding::WindowProcedureBinding(HWND window, WindowProcedure procedure)
    : window_(window)
{
    static std::uint64_t next = 0;
    id_ = ++next;
    procedures()[window_].emplace(id_, std::move(procedure));
}

WindowProcedureBinding::~WindowProcedureBinding()
{
    const auto it = procedures().find(window_);
    if (it == procedures().end()) {
        return;
    }
    it->second.erase(id_);
    if (it->second.empty()) {
        procedures().erase(it);
    }
}

} // namespace win32
