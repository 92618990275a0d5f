#include "scene/NodeProperty.h"

#include "host/HostNode.h"

#include <cctype>

namespace vx {

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// The piece with every CR removed, trimmed.
std::string LineOf(std::string_view piece)
{
    std::string line;
    line.reserve(piece.size());
    for (char c : piece) {
        if (c != '\r')
            line.push_back(c);
    }
    return std::string(TrimBlanks(line));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}

} // namespace

std::string_view TrimBlanks(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

NodeProperty::NodeProperty(HostNode* node)
    : node_(node)
{
    Read();
}

void NodeProperty::Read()
{
    pieces_.clear();
    lines_.clear();
    endsWithLineFeed_ = false;
    if (!node_)
        return;
    const std::string text = node_->GetUserPropBuffer();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string::npos ? text.size() : lf;
        Piece piece {text.substr(start, end - start), -1};
        std::string line = LineOf(piece.raw);
        if (!line.empty()) {
            piece.line = static_cast<int32_t>(lines_.size());
            lines_.push_back(std::move(line));
        }
        if (lf == std::string::npos) {
            // The piece after the last LF; an empty one only marks the final LF.
            if (piece.raw.empty())
                endsWithLineFeed_ = !text.empty();
            else
                pieces_.push_back(std::move(piece));
            break;
        }
        pieces_.push_back(std::move(piece));
        start = lf + 1;
    }
}

const std::string& NodeProperty::GetLine(int32_t index) const
{
    static const std::string empty;
    if (index < 0 || index >= NumLines())
        return empty;
    return lines_[static_cast<std::size_t>(index)];
}

int32_t NodeProperty::FindKey(std::string_view key) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].find(key) != std::string::npos)
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool NodeProperty::HasKey(std::string_view key, std::string& rest) const
{
    rest.clear();
    const int32_t index = FindKey(key);
    if (index < 0)
        return false;
    std::string_view line = lines_[static_cast<std::size_t>(index)];
    if (line.substr(0, key.size()) == key)
        line.remove_prefix(key.size());
    rest = std::string(TrimBlanks(line));
    return true;
}

bool NodeProperty::HasKey(std::string_view key) const
{
    return FindKey(key) >= 0;
}

bool NodeProperty::GetKeyValue(int32_t index, std::string& key, std::string& value) const
{
    key.clear();
    value.clear();
    const std::string& line = GetLine(index);
    if (line.empty())
        return false;
    std::size_t split = line.find('=');
    if (split == std::string::npos && !StartsWithNoCase(line, "zrtrigger")
        && !StartsWithNoCase(line, "zrspace")) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (IsBlank(line[i])) {
                split = i;
                break;
            }
        }
    }
    if (split == std::string::npos) {
        key = line;
        return true;
    }
    const std::string_view view = line;
    key = std::string(TrimBlanks(view.substr(0, split)));
    value = std::string(TrimBlanks(view.substr(split + 1)));
    return true;
}

void NodeProperty::SetKeyValue(std::string_view key, std::string_view value)
{
    if (!node_)
        return;
    std::string line;
    line.append(key).append(" = ").append(value);
    const int32_t index = FindKey(key);
    if (index < 0) {
        pieces_.push_back(Piece {line, NumLines()});
        WriteBack(true);
        return;
    }
    for (Piece& piece : pieces_) {
        if (piece.line != index)
            continue;
        // A replaced line keeps its CR line ending.
        const bool hadCr = !piece.raw.empty() && piece.raw.back() == '\r';
        std::string replacement = hadCr ? line + "\r" : line;
        if (replacement == piece.raw)
            return;
        piece.raw = std::move(replacement);
        break;
    }
    WriteBack(endsWithLineFeed_);
}

void NodeProperty::RemoveKey(std::string_view key)
{
    if (!node_)
        return;
    std::vector<Piece> kept;
    kept.reserve(pieces_.size());
    bool dropped = false;
    for (Piece& piece : pieces_) {
        if (piece.line >= 0 && lines_[static_cast<std::size_t>(piece.line)].find(key) != std::string::npos)
            dropped = true;
        else
            kept.push_back(std::move(piece));
    }
    pieces_ = std::move(kept);
    if (dropped)
        WriteBack(endsWithLineFeed_);
    else
        Read();
}

void NodeProperty::WriteBack(bool endsWithLineFeed)
{
    std::string text;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        text += pieces_[i].raw;
        if (i + 1 < pieces_.size() || endsWithLineFeed)
            text += '\n';
    }
    node_->SetUserPropBuffer(text.c_str());
    Read();
}

} // namespace vx
