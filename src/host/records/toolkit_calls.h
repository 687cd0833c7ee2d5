// The toolkit's internal operations that a program calls by name, with no declaration of its
// own: the toolkit looks the name up in a small table when the call is made. Most arguments
// are passed by reference, as the operations are declared inside the toolkit.
//
//   fn_toolbarsetfont  (long& record, string& face, integer& points, long& bitmap,
//                       string& extent)  the toolbar at `record` takes the font for its labels;
//                                        `bitmap` and `extent` are accepted and not needed here
//                                        (Qt measures the labels itself)
//   fn_toolbarshowtext (long& record, boolean& show)
//                                        the toolbar at `record` shows or hides button texts
//   osdrawedge3d       (long& dc, RECT& rect, long edge, long flags)
//                                        DrawEdge(dc, &rect, edge, flags)
//
// Each answers 1 when it did its work and 0 when it found nothing to work on (a record address
// that is no toolbar's, a device context that is not one). A name that is not in the table, or
// arguments that do not fit the operation, raise the host's run-time error, as a call of an
// unknown function does in the toolkit; it ends the calling event.
#pragma once

#include "host/win32/types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace host {

using ToolkitArgument =
    std::variant<std::int32_t*, std::int16_t*, bool*, std::string*, win32::RECT*, std::int32_t>;

std::int32_t callToolkitFunction(std::string_view name,
                                 const std::vector<ToolkitArgument>& arguments);

} // namespace host
