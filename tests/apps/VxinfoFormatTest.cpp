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

TEST(VxinfoPlacement, AnglesAndPositionsBecomeTheTransformTheWriterDecomposed)
{
    // Identity angles place by the position only.
    const vxinfo::Affine moved = vxinfo::PlacementTransform({{1, 2, 3}, {0, 0, 0}, {1, 1, 1}});
    EXPECT_EQ(moved.Apply({1, 1, 1}), (vxinfo::Vec3 {2, 3, 4}));
    // Twist turns about the design's third axis, the database's second: a stored twist of -90
    // takes local x to the database's third axis and keeps the second.
    const vxinfo::Affine turned = vxinfo::PlacementTransform({{0, 0, 0}, {0, 0, -90}, {1, 1, 1}});
    const vxinfo::Vec3 x = turned.Apply({1, 0, 0});
    EXPECT_NEAR(x[0], 0.0, 1e-12);
    EXPECT_NEAR(x[2], 1.0, 1e-12);
    EXPECT_NEAR(turned.Apply({0, 1, 0})[1], 1.0, 1e-12);
    // A scale stretches before placing; the stored order is (x, z, y) of the design axes.
    const vxinfo::Affine scaled = vxinfo::PlacementTransform({{0, 0, 0}, {0, 0, 0}, {2, 3, 4}});
    EXPECT_EQ(scaled.Apply({1, 1, 1}), (vxinfo::Vec3 {2, 3, 4}));
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
