// Copying bytes between records and addresses.
#pragma once

#include <cstddef>

namespace win32 {

// Copies `length` bytes; the blocks may overlap.
void RtlMoveMemory(void* destination, const void* source, std::size_t length);

} // namespace win32
