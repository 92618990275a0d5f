#include "database/ReportStyleBlob.h"

#include <cstring>

namespace vx {

namespace {

struct ReportColumn {
    const char* title;
    uint8_t id[16];
};

constexpr ReportColumn COLUMNS[] = {
    {"ID", {226, 68, 54, 204, 230, 111, 207, 66, 173, 58, 112, 133, 167, 143, 191, 234}},
    {"Name", {15, 166, 85, 204, 243, 56, 205, 66, 129, 4, 131, 237, 79, 202, 89, 176}},
    {"Library Object", {80, 198, 195, 61, 215, 140, 0, 79, 183, 70, 77, 233, 184, 156, 68, 144}},
    {"Status", {227, 30, 223, 51, 194, 25, 254, 79, 156, 87, 119, 59, 130, 65, 32, 177}},
    {"Connected", {41, 85, 146, 255, 202, 226, 89, 68, 140, 141, 16, 208, 25, 120, 73, 170}},
    {"Utility", {71, 56, 93, 97, 117, 127, 3, 72, 171, 44, 224, 154, 117, 216, 202, 98}},
    {"Material", {90, 175, 219, 223, 39, 137, 44, 76, 152, 62, 125, 212, 254, 236, 92, 254}},
    {"Building", {68, 114, 142, 63, 234, 72, 151, 65, 159, 166, 29, 211, 147, 130, 208, 42}},
    {"Level", {61, 190, 226, 64, 74, 47, 3, 70, 159, 172, 11, 178, 47, 199, 158, 129}},
    {"Area", {93, 7, 239, 251, 191, 248, 215, 71, 147, 7, 39, 38, 122, 82, 140, 6}},
    {"Position (X)", {148, 175, 47, 111, 148, 233, 173, 64, 183, 235, 26, 214, 105, 182, 97, 88}},
    {"Position (Y)", {112, 28, 141, 116, 144, 31, 254, 65, 156, 200, 146, 236, 113, 138, 1, 112}},
    {"Position (Z)", {168, 219, 170, 194, 51, 163, 100, 66, 135, 203, 130, 46, 59, 37, 20, 30}},
    {"Rotation (X)", {227, 150, 106, 75, 77, 161, 31, 76, 129, 117, 22, 131, 168, 149, 47, 206}},
    {"Rotation (Y)", {136, 154, 249, 150, 65, 204, 100, 78, 154, 121, 165, 45, 214, 173, 246, 109}},
    {"Rotation (Z)", {12, 58, 62, 86, 120, 116, 96, 68, 150, 82, 24, 191, 232, 219, 104, 80}},
};

constexpr const char* HEADER_TEXT = "\tBILL OF MATERIALS\r\n\tGROUP:\t{0}\r\n\tDATE:\t{1}";
constexpr const char* DATE_FORMAT = "MM/DD/YYYY HH:mm";
constexpr const char* SECTION_TITLES[] = {"\t{0}", "\t{0}: PIPES, CABLES, COMPONENTS"};

void AppendInt32(std::vector<uint8_t>& out, int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(bits >> shift));
}

void AppendText(std::vector<uint8_t>& out, const char* text)
{
    std::size_t length = std::strlen(text);
    do {
        uint8_t byte = static_cast<uint8_t>(length & 0x7F);
        length >>= 7;
        if (length)
            byte |= 0x80;
        out.push_back(byte);
    } while (length);
    out.insert(out.end(), text, text + std::strlen(text));
}

} // namespace

std::vector<uint8_t> BuildReportStyleBlob()
{
    constexpr int32_t columnCount = static_cast<int32_t>(sizeof(COLUMNS) / sizeof(COLUMNS[0]));
    constexpr int32_t sectionCount = static_cast<int32_t>(sizeof(SECTION_TITLES) / sizeof(SECTION_TITLES[0]));
    std::vector<uint8_t> out;
    AppendText(out, HEADER_TEXT);
    AppendText(out, DATE_FORMAT);
    out.push_back(0);
    AppendInt32(out, sectionCount);
    for (const char* sectionTitle : SECTION_TITLES) {
        AppendText(out, sectionTitle);
        AppendInt32(out, columnCount);
        for (const ReportColumn& column : COLUMNS) {
            out.insert(out.end(), column.id, column.id + sizeof(column.id));
            AppendText(out, column.title);
        }
    }
    return out;
}

} // namespace vx
