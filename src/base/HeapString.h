#pragma once
// HeapString: an owned, zero-terminated text of any length on the heap. The empty text is a null
// pointer: every operation that would produce an empty text stores null instead.

#include <cstddef>

namespace vx {

class HeapString {
public:
    // The empty text (null).
    HeapString() = default;
    // A copy of text; null or empty gives null.
    HeapString(const char* text);
    // The concatenation of two or three texts; a null part counts as empty.
    HeapString(const char* a, const char* b);
    HeapString(const char* a, const char* b, const char* c);

    // A copy of the first n bytes of text (fewer when the text is shorter); n <= 0 or a null text
    // gives null.
    static HeapString First(const char* text, std::ptrdiff_t n);

    HeapString(const HeapString& other);
    HeapString(HeapString&& other) noexcept;
    HeapString& operator=(const HeapString& other);
    HeapString& operator=(HeapString&& other) noexcept;
    HeapString& operator=(const char* text);
    ~HeapString();

    // Replaces the text by a copy of text (which may point into this string's own text); the old
    // text is freed after the copy is made. Null or empty gives null.
    void Assign(const char* text);
    // Appends text; a null or empty text changes nothing, appending to an empty string assigns.
    void Append(const char* text);
    // The n bytes from index i on, cut at the end of the text. i must be >= 0 (reported as
    // "i>=0", giving the empty text); n <= 0 or i at or past the end gives the empty text.
    HeapString Substring(std::ptrdiff_t i, std::ptrdiff_t n) const;

    // Index of the first / last occurrence of c, or -1 when absent or when the string is empty.
    std::ptrdiff_t IndexOf(char c) const;
    std::ptrdiff_t LastIndexOf(char c) const;

    // The text, or null when empty.
    const char* Get() const { return text_; }
    // The text, or "" when empty.
    const char* c_str() const { return text_ ? text_ : ""; }
    bool IsEmpty() const { return text_ == nullptr; }
    std::size_t Length() const;
    // Frees the text.
    void Clear();

    friend bool operator==(const HeapString& a, const HeapString& b);

private:
    // Frees the current text and takes ownership of text (a new[] buffer, or null).
    void Adopt(char* text);

    char* text_ = nullptr;
};

} // namespace vx
