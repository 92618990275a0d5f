#pragma once
// FixedString: a text of at most STRING_SIZE - 1 bytes in a buffer of STRING_SIZE bytes, always
// zero-terminated. It lives by value inside records and on the stack; copying copies the bytes.
// Used for names and formatted messages. File-system paths are kept in std::string instead, so
// that a long path is never cut.
//
// Every operation that must cut a text to 255 bytes cuts it on a UTF-8 character boundary: when
// the 255-byte cut would split a multi-byte sequence, the whole partial sequence is left out.
// Bytes that do not form UTF-8 (texts in a single-byte code page) are cut at exactly 255.

#include <cstdarg>
#include <cstddef>
#include <cstdint>

namespace vx {

constexpr int STRING_SIZE = 256;

class FixedString {
public:
    // The empty text.
    FixedString() = default;

    // Copies at most 255 bytes of text; a null text gives the empty text.
    FixedString(const char* text) { Assign(text); }

    // Copies at most 255 bytes of text; a null text gives the empty text.
    void Assign(const char* text);

    // Copies the first n bytes of text (stopping earlier at its end). n is cut to 255; n <= 0 or a
    // null text gives the empty text. A cut made by the caller's n is honoured byte for byte.
    void AssignFirst(const char* text, int n);

    // Copies the text of other from byte position i on. i must lie in 0 .. STRING_SIZE - 1
    // (reported as "_smaller(i,STRING_SIZE)", leaving the empty text); a position past the end of
    // other's text gives the empty text. other may be this string itself.
    void AssignFrom(const FixedString& other, int i);

    // printf-style formatting into the buffer, cut to 255 bytes.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);

    // Appends text (null counts as empty); the result is cut to 255 bytes.
    void Append(const char* text);

    // Factories for the operations above.
    static FixedString First(const char* text, int n);
    static FixedString Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
    // The concatenation of a and b (null counts as empty), cut to 255 bytes.
    static FixedString Concat(const char* a, const char* b);
    // A signed 32-bit value in decimal, as "%ld" printed it on the original 32-bit platform.
    static FixedString FromInt32(int32_t value);
    // A 32-bit value as "0x" and eight upper-case hexadecimal digits ("0x%08lX").
    static FixedString FromHex32(uint32_t value);

    const char* c_str() const { return text_; }
    // The writable buffer of STRING_SIZE bytes; the caller keeps it zero-terminated.
    char* Buffer() { return text_; }

    int Length() const;
    bool IsEmpty() const { return text_[0] == '\0'; }
    void Clear() { text_[0] = '\0'; }

    // Byte-wise comparison with text (null counts as empty).
    bool Equals(const char* text) const;
    // <0, 0 or >0 as strcmp; null counts as empty.
    int Compare(const char* text) const;

    friend bool operator==(const FixedString& a, const FixedString& b) { return a.Equals(b.text_); }
    friend bool operator==(const FixedString& a, const char* b) { return a.Equals(b); }
    friend bool operator<(const FixedString& a, const FixedString& b) { return a.Compare(b.text_) < 0; }

private:
    // Copies bytes of text to position `used`, cut to fit, and terminates.
    void CopyAt(int used, const char* text, std::size_t available);

    char text_[STRING_SIZE] = {};
};

// The number of bytes of text[0 .. length) that can be kept when the text is cut at `length`
// without splitting a UTF-8 sequence (text[length] is the first byte left out).
std::size_t FitUtf8Cut(const char* text, std::size_t length);

} // namespace vx
