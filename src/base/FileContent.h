#pragma once
// Comparing the bytes of two files.

namespace vx {

// True when the files at a and b can both be read whole and hold the same bytes (the same path
// counts as the same content once it can be read). False when either cannot be opened or read, or
// for a null path.
bool SameFileContent(const char* a, const char* b);

} // namespace vx
