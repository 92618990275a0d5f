#pragma once
// NodeProperty: the user-defined property text of one host node, read as lines. A line is the text
// between two LF with every CR removed and blanks (bytes of value 32 or less) trimmed at both ends;
// empty lines are not lines. Lines are kept whole, whatever their length.
//
// Keys match as case-sensitive substrings of whole lines: a line matches a key when the key occurs
// anywhere in it. Writes (SetKeyValue, RemoveKey) change the host node's text at once; they touch
// only the lines they replace or drop, so every other byte of the text (CR, blank lines,
// indentation) stays as it was, and a write that changes nothing leaves the text alone.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class HostNode;

class NodeProperty {
public:
    // Reads the lines of node's user property text. A null node gives no lines and ignores writes.
    explicit NodeProperty(HostNode* node);

    // The number of lines and the line at index ("" out of range).
    int32_t NumLines() const { return static_cast<int32_t>(lines_.size()); }
    const std::string& GetLine(int32_t index) const;

    // The first line that contains key: true, with rest = that line without key at its start (only
    // when it begins with key), trimmed. False (rest emptied) when no line contains key.
    bool HasKey(std::string_view key, std::string& rest) const;
    bool HasKey(std::string_view key) const;
    // Whether any line contains key.
    bool ContainsKey(std::string_view key) const { return FindKey(key) >= 0; }
    // The index of the first line that contains key, or -1.
    int32_t FindKey(std::string_view key) const;

    // Splits the line at index into key and value, both trimmed: at the first "=", else at the first
    // blank unless the line begins (in any case) with "zrtrigger" or "zrspace"; without a split the
    // key is the whole line and the value empty. False for an index without a line.
    bool GetKeyValue(int32_t index, std::string& key, std::string& value) const;

    // The line key + " = " + value replaces the first line that contains key, or is appended (after
    // an LF when the text does not end in one, followed by an LF). The text is written back only
    // when it changed.
    void SetKeyValue(std::string_view key, std::string_view value);
    // Drops every line that contains key; writes the text back only when a line was dropped.
    void RemoveKey(std::string_view key);

private:
    // One piece of the text between LFs: its bytes as the text holds them (without the LF) and the
    // index of its line in lines_, or -1 for a piece that is blank.
    struct Piece {
        std::string raw;
        int32_t line = -1;
    };

    void Read();
    void WriteBack(bool endsWithLineFeed);

    HostNode* node_;
    std::vector<Piece> pieces_;
    std::vector<std::string> lines_;
    bool endsWithLineFeed_ = false;
};

// text without blanks (bytes of value 32 or less, compared as unsigned) at both ends.
std::string_view TrimBlanks(std::string_view text);

} // namespace vx
