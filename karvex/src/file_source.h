// A libzip data source over an open archive file that answers its size from one fstat taken at
// opening. libzip asks the source for its size once per central-directory entry; its own file
// source answers each time with a system call, which made opening an archive of thousands of
// members several times slower than reading the directory itself.
#pragma once

#include "unique_fd.h"

#include <zip.h>

namespace karvex {

// Takes over `fd`. On failure returns null with `fd` closed and `error` set.
zip_source_t* openFileSource(UniqueFd fd, zip_error_t* error);

} // namespace karvex
