// The library's version and the inflater it was built with, as KarvexVersion and `zqr --version`
// report them.
#pragma once

namespace karvex {

// For example "1.0 (deflate: zlib)", the project's version; a string with static storage.
const char* versionText();

} // namespace karvex
