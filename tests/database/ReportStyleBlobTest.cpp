#include "database/ReportStyleBlob.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Reads the blob the way the reading application does.
class BlobReader {
public:
    explicit BlobReader(const std::vector<uint8_t>& bytes)
        : bytes_(bytes)
    {
    }

    uint8_t Byte() { return bytes_.at(pos_++); }

    std::string Text()
    {
        std::size_t length = 0;
        for (int shift = 0;; shift += 7) {
            const uint8_t b = Byte();
            length |= std::size_t(b & 0x7F) << shift;
            if (!(b & 0x80))
                break;
        }
        std::string text(reinterpret_cast<const char*>(bytes_.data()) + pos_, length);
        pos_ += length;
        return text;
    }

    int32_t Int32()
    {
        uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8)
            value |= uint32_t(Byte()) << shift;
        return static_cast<int32_t>(value);
    }

    std::vector<int> Id()
    {
        std::vector<int> id;
        for (int i = 0; i < 16; ++i)
            id.push_back(Byte());
        return id;
    }

    std::size_t Position() const { return pos_; }

private:
    const std::vector<uint8_t>& bytes_;
    std::size_t pos_ = 0;
};

TEST(ReportStyleBlob, HasTheBillOfMaterialsLayout)
{
    const std::vector<uint8_t> blob = vx::BuildReportStyleBlob();
    ASSERT_EQ(blob.size(), 933u);

    BlobReader in(blob);
    EXPECT_EQ(in.Text(), "\tBILL OF MATERIALS\r\n\tGROUP:\t{0}\r\n\tDATE:\t{1}");
    EXPECT_EQ(in.Text(), "MM/DD/YYYY HH:mm");
    EXPECT_EQ(in.Byte(), 0);
    ASSERT_EQ(in.Int32(), 2);

    const char* const sectionTitles[] = {"\t{0}", "\t{0}: PIPES, CABLES, COMPONENTS"};
    const std::vector<std::string> titles = {"ID", "Name", "Library Object", "Status", "Connected", "Utility",
        "Material", "Building", "Level", "Area", "Position (X)", "Position (Y)", "Position (Z)",
        "Rotation (X)", "Rotation (Y)", "Rotation (Z)"};
    for (const char* sectionTitle : sectionTitles) {
        SCOPED_TRACE(sectionTitle);
        EXPECT_EQ(in.Text(), sectionTitle);
        ASSERT_EQ(in.Int32(), 16);
        std::vector<std::string> read;
        std::vector<std::vector<int>> ids;
        for (int column = 0; column < 16; ++column) {
            ids.push_back(in.Id());
            read.push_back(in.Text());
        }
        EXPECT_EQ(read, titles);
        EXPECT_EQ(ids.front(),
            (std::vector<int> {226, 68, 54, 204, 230, 111, 207, 66, 173, 58, 112, 133, 167, 143, 191, 234}));
        EXPECT_EQ(ids[2],
            (std::vector<int> {80, 198, 195, 61, 215, 140, 0, 79, 183, 70, 77, 233, 184, 156, 68, 144}));
        EXPECT_EQ(ids.back(),
            (std::vector<int> {12, 58, 62, 86, 120, 116, 96, 68, 150, 82, 24, 191, 232, 219, 104, 80}));
    }
    EXPECT_EQ(in.Position(), blob.size());
}

} // namespace
