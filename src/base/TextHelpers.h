#pragma once
// Small text operations on zero-terminated texts and fixed strings.

#include "base/FixedString.h"

namespace vx {

// When c occurs in text, writes the part before its first occurrence to *prefix (when prefix is
// given) and returns the position just after it; otherwise copies the whole text to *prefix and
// returns null. A null text counts as empty. The prefix is cut to 255 bytes.
const char* SplitAt(const char* text, char c, FixedString* prefix);

// Reads the first word of text (leading white space skipped, ended by white space) into word,
// removes the leading white space, the word and the spaces (' ' only) after it from text, and
// returns the number of bytes the leading white space and the word took. An all-blank text gives
// an empty word, becomes empty and returns its length.
int TakeFirstWord(FixedString& text, FixedString& word);

// True when prefix is null or empty, or when text begins with it byte for byte; false for a null
// text otherwise.
bool StartsWith(const char* text, const char* prefix);

// As StartsWith; when true and prefix is not empty, removes the prefix from text.
bool StripPrefix(FixedString& text, const char* prefix);

// Removes count bytes at position from text, shifting the rest left. A position at or past the
// end changes nothing; count is cut at the end of the text. Negative arguments are reported and
// change nothing.
void Erase(FixedString& text, int position, int count);

} // namespace vx
