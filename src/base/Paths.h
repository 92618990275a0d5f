#pragma once
// Path helpers. All of them accept both '\\' and '/' as separators; whichever of the two comes
// later in the text counts as the last separator. Paths are never cut to a fixed length.

#include <string>

namespace vx {

// True when the first character is neither '\\' nor '/' and the path holds no ':'. A null path
// counts as empty (relative).
bool IsRelativePath(const char* path);

// The part after the last separator, or the whole path when it has none: a pointer into path
// itself (null for a null path).
const char* GetFileName(const char* path);

// The last '.' of the file name and what follows it (a pointer into path itself), or "" when the
// file name has no '.', when nothing follows the '.', or when the '.' is the first character of
// the whole path. Null for a null path.
const char* GetExtension(const char* path);

// The path up to and including the last separator; empty when it has none (or for a null path).
std::string GetDirectory(const char* path);

// The file name without its extension (as GetExtension finds it); empty for a null path.
std::string GetFileTitle(const char* path);

// Makes path usable as a folder prefix, in place: every '\\' becomes '/', and a '/' is appended
// unless the path already ends in one. An empty path stays empty.
void MakeDirectoryPath(std::string& path);

// True when the file at path can be opened for reading (it is closed again at once). A file that
// another holder has exclusively (see DFile) counts as not readable, as on the original host.
bool FileExists(const char* path);

} // namespace vx
