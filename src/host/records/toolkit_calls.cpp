#include "host/records/toolkit_calls.h"

#include "host/records/toolbar_record.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/shapes.h"

#include <array>
#include <functional>
#include <utility>

namespace host {

namespace {

using Arguments = std::vector<ToolkitArgument>;

[[noreturn]] void badCall(std::string_view name)
{
    throw RuntimeError(RuntimeError::Kind::BadCall,
                       "Error calling toolkit function " + std::string(name));
}

// The argument at `index` as a `T`, or the run-time error when it is missing, null or another
// type.
template <typename T>
T argument(std::string_view name, const Arguments& arguments, std::size_t index)
{
    if (index >= arguments.size()) {
        badCall(name);
    }
    const T* value = std::get_if<T>(&arguments[index]);
    if (value == nullptr) {
        badCall(name);
    }
    if constexpr (std::is_pointer_v<T>) {
        if (*value == nullptr) {
            badCall(name);
        }
    }
    return *value;
}

std::int32_t toolbarSetFont(std::string_view name, const Arguments& arguments)
{
    if (arguments.size() != 5) {
        badCall(name);
    }
    const std::int32_t record = *argument<std::int32_t*>(name, arguments, 0);
    const std::string& face = *argument<std::string*>(name, arguments, 1);
    const std::int16_t points = *argument<std::int16_t*>(name, arguments, 2);
    argument<std::int32_t*>(name, arguments, 3);
    argument<std::string*>(name, arguments, 4);
    ToolbarRecord* toolbar = ToolbarRecord::at(record);
    if (toolbar == nullptr) {
        return 0;
    }
    toolbar->setLabelFont(face, points);
    return 1;
}

std::int32_t toolbarShowText(std::string_view name, const Arguments& arguments)
{
    if (arguments.size() != 2) {
        badCall(name);
    }
    const std::int32_t record = *argument<std::int32_t*>(name, arguments, 0);
    const bool show = *argument<bool*>(name, arguments, 1);
    ToolbarRecord* toolbar = ToolbarRecord::at(record);
    if (toolbar == nullptr) {
        return 0;
    }
    toolbar->setTextsShown(show);
    return 1;
}

std::int32_t drawEdge3d(std::string_view name, const Arguments& arguments)
{
    if (arguments.size() != 4) {
        badCall(name);
    }
    const auto dc = static_cast<win32::HDC>(*argument<std::int32_t*>(name, arguments, 0));
    win32::RECT* rect = argument<win32::RECT*>(name, arguments, 1);
    const auto edge = static_cast<win32::UINT>(argument<std::int32_t>(name, arguments, 2));
    const auto flags = static_cast<win32::UINT>(argument<std::int32_t>(name, arguments, 3));
    return win32::DrawEdge(dc, rect, edge, flags) != 0 ? 1 : 0;
}

using Operation = std::int32_t (*)(std::string_view, const Arguments&);

constexpr std::array<std::pair<std::string_view, Operation>, 3> kOperations{{
    {"fn_toolbarsetfont", toolbarSetFont},
    {"fn_toolbarshowtext", toolbarShowText},
    {"osdrawedge3d", drawEdge3d},
}};

} // namespace

std::int32_t callToolkitFunction(std::string_view name,
                                 const std::vector<ToolkitArgument>& arguments)
{
    for (const auto& [known, operation] : kOperations) {
        if (known == name) {
            return operation(name, arguments);
        }
    }
    badCall(name);
}

} // namespace host
