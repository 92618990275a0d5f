// The inspector's own reading of the file format: the model description text, the vertex buffer
// layouts and the placements.

#include "vxinfo/BufferDecoding.h"
#include "vxinfo/DesignTransform.h"
#include "vxinfo/IdentifierText.h"
#include "vxinfo/ModelText.h"

#include <gtest/gtest.h>

#include <string>

namespace vxtest {
namespace {

TEST(VxinfoModelText, ReadsBuffersMaterialsAndSubsets)
{
    const vxinfo::ModelTextResult r = vxinfo::ParseModelText(
        "<model><IndexBuffer count='6' file='0x0A.idx'/>"
        "<VertexBuffer count='4' items='131' file='0x0B.vtx' posX='1' posY='3' posZ='2' rotAz='-90'/>"
        "<Material effect='TransparentObjects'><Color name=\"Color\"><R>0.5</R><G>0.25</G><B>1</B></Color>"
        "<Float name='Alpha'>0.5</Float><Texture name='Texture0@Name'>a&amp;b</Texture></Material>"
        "<Subset type='3' indexbuffer='0' vertexbuffer='0' material='0' /></model>");
    ASSERT_TRUE(r.model.has_value()) << r.error;
    const vxinfo::ModelDescription& m = *r.model;
    ASSERT_EQ(m.indexBuffers.size(), 1u);
    EXPECT_EQ(m.indexBuffers[0].count, 6);
    ASSERT_EQ(m.vertexBuffers.size(), 1u);
    EXPECT_EQ(m.vertexBuffers[0].items, 131);
    EXPECT_EQ(m.vertexBuffers[0].placement.position, (vxinfo::Vec3 {1, 3, 2}));
    EXPECT_EQ(m.vertexBuffers[0].placement.angles[0], -90);
    ASSERT_EQ(m.materials.size(), 1u);
    EXPECT_EQ(m.materials[0].BaseColour(), (vxinfo::Vec3 {0.5, 0.25, 1}));
    EXPECT_EQ(m.materials[0].Opacity(), 0.5);
    ASSERT_EQ(m.materials[0].textures.size(), 1u);
    EXPECT_EQ(m.materials[0].textures[0].name, "a&b");
    ASSERT_EQ(m.subsets.size(), 1u);
    EXPECT_EQ(m.subsets[0].indexBuffer, 0);
}

TEST(VxinfoModelText, RefusesMalformedTextWithItsReason)
{
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"", "expected '<'"},
        {"<model>", "missing </model>"},
        {"<model></model>trailing", "text after the closing </model>"},
        {"<geometry/>", "not <model>"},
        {"<model><VertexBuffer items='1' file='a.vtx'/></model>", "VertexBuffer without count"},
        {"<model><VertexBuffer count='x' items='1' file='a.vtx'/></model>", "count='x' is not an integer"},
        {"<model><IndexBuffer count='3'/></model>", "IndexBuffer without file"},
        {"<model><Subset type='3' material='0'/></model>", "Subset without vertexbuffer"},
        {"<model><Mesh/></model>", "unknown element <Mesh>"},
        {"<model><Material effect='Diffuse'><Color "
         "name=\"Color\"><R>1</R><G>1</G></Color></Material></model>",
            "does not hold R, G and B"},
        {"<model><Material effect='Diffuse'><Texture name='Stage'>t</Texture></Material></model>",
            "bad stage name"},
        {"<model><VertexBuffer count='1' items='1' file='a&x;'/></model>", "unknown entity"},
        {"<model><VertexBuffer count='1' items='1' file='a.vtx' posX='nan'/></model>", "not a finite number"},
    };
    for (const auto& c : cases) {
        const vxinfo::ModelTextResult r = vxinfo::ParseModelText(c.text);
        EXPECT_FALSE(r.model.has_value()) << c.text;
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.text << " -> " << r.error;
    }
}

TEST(VxinfoBuffers, VertexLayoutsFollowTheChannelsAndRefuseOtherSizes)
{
    const struct {
        int64_t count, items, bytes;
        bool ok;
        int stride, texOffset, texComponents;
    } cases[] = {
        {4, 1, 48, true, 12, -1, 0},
        {4, 3, 96, true, 24, -1, 0},
        {4, 131, 128, true, 32, 24, 2},
        {4, 387, 160, true, 40, 24, 2},
        {3, 3, 0, false, 0, -1, 0},
        {4, 3, 95, false, 0, -1, 0},
        {4, 3, 128, false, 0, -1, 0}, // 32 bytes per vertex without texture coordinates
        {4, 2, 48, false, 0, -1, 0}, // no positions
        {0, 3, 0, true, 0, -1, 0},
        {-1, 3, 0, false, 0, -1, 0},
    };
    for (const auto& c : cases) {
        const vxinfo::VertexLayoutResult r = vxinfo::FindVertexLayout(c.count, c.items, c.bytes);
        EXPECT_EQ(r.ok, c.ok) << c.count << " " << c.items << " " << c.bytes << ": " << r.error;
        if (r.ok && c.count > 0) {
            EXPECT_EQ(r.layout.stride, c.stride);
            EXPECT_EQ(r.layout.texCoordOffset, c.texOffset);
            EXPECT_EQ(r.layout.texCoordComponents, c.texComponents);
        }
    }
    EXPECT_EQ(vxinfo::DecodeIndices(std::string("\x01\x00\xFF\xFF", 4)), (std::vector<uint16_t> {1, 65535}));
}

// Each case follows the rows R0, R1, R2 rebuilt from the negated angles by hand: a point p lands at
// (p.x sx) R0 + (p.y sy) R1 + (p.z sz) R2 + position, with no axes exchanged.
TEST(VxinfoPlacement, StoredAnglesScaleAndPositionPlaceAPointByTheRows)
{
    const struct {
        const char* what;
        vxinfo::StoredPlacement placement;
        vxinfo::Vec3 point, expected;
    } cases[] = {
        {"identity", {{0, 0, 0}, {0, 0, 0}, {1, 1, 1}}, {1, 2, 3}, {1, 2, 3}},
        {"translation", {{1, 2, 3}, {0, 0, 0}, {1, 1, 1}}, {1, 1, 1}, {2, 3, 4}},
        // tw = +90: R0 = (0, 1, 0), R1 = (-1, 0, 0), a turn about the vertical z axis.
        {"rot_tw -90", {{0, 0, 0}, {0, 0, -90}, {1, 1, 1}}, {1, 2, 3}, {-2, 1, 3}},
        {"rot_tw +90", {{0, 0, 0}, {0, 0, 90}, {1, 1, 1}}, {1, 2, 3}, {2, -1, 3}},
        // az = +90: R0 = (0, 0, -1), R1 = (0, 1, 0), R2 = (1, 0, 0).
        {"rot_az -90", {{0, 0, 0}, {-90, 0, 0}, {1, 1, 1}}, {1, 2, 3}, {3, 2, -1}},
        // el = +90: R0 = (1, 0, 0), R1 = (0, 0, 1), R2 = (0, -1, 0).
        {"rot_el -90", {{0, 0, 0}, {0, -90, 0}, {1, 1, 1}}, {1, 2, 3}, {1, -3, 2}},
        // az = el = +90: R0 = (0, 0, -1), R1 = (1, 0, 0), R2 = (0, -1, 0).
        {"rot_az and rot_el -90", {{0, 0, 0}, {-90, -90, 0}, {1, 1, 1}}, {1, 2, 3}, {2, -3, -1}},
        // The scale stretches the placed thing's own axes, before the rows turn them.
        {"scale", {{10, 0, 0}, {0, 0, 0}, {2, 3, 4}}, {1, 1, 1}, {12, 3, 4}},
        {"scale then rot_tw -90", {{0, 0, 0}, {0, 0, -90}, {2, 3, 4}}, {1, 1, 1}, {-3, 2, 4}},
    };
    for (const auto& c : cases) {
        const vxinfo::Vec3 placed = vxinfo::PlacementTransform(c.placement).Apply(c.point);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(placed[k], c.expected[k], 1e-12) << c.what << ", coordinate " << k;
    }
    // Normals turn with the rotation alone: no scale, no translation.
    const vxinfo::Vec3 turned
        = vxinfo::PlacementRotation({{5, 6, 7}, {0, 0, -90}, {2, 3, 4}}).Apply({1, 0, 0});
    EXPECT_NEAR(turned[0], 0, 1e-12);
    EXPECT_NEAR(turned[1], 1, 1e-12);
    EXPECT_NEAR(turned[2], 0, 1e-12);
}

TEST(VxinfoIdentifiers, TextAndNameFormsFollowTheGuidLayout)
{
    const std::string bytes("\x54\x97\xE3\x61\x16\x8F\xE1\x46\xAA\xB8\x89\x31\x56\xAA\xFD\x12", 16);
    EXPECT_EQ(vxinfo::IdentifierText(bytes), "61e39754-8f16-46e1-aab8-893156aafd12");
    EXPECT_EQ(vxinfo::IdentifierText("short"), "");
    const std::string name = vxinfo::NameIdentifierBytes("Slope0x00000201");
    EXPECT_EQ(name.substr(4), "Slope0x00000");
}

} // namespace
} // namespace vxtest
