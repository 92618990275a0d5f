// The model description text and the buffer files it names, read back from the database.

#include "SqliteReader.h"

#include "database/BufferFiles.h"
#include "database/ModelDescription.h"
#include "database/SqlWriter.h"

#include "base/Crc32.h"
#include "support/DebugCapture.h"
#include "support/TempDir.h"
#include "toolkit/VMAlphaProperty.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMTextureProperty.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

using vx::VMVertexData;

// Four vertices with positions and normals, and the index list given.
vx::VMRef<VMVertexData> MakeQuad(float offset, std::vector<uint16_t> indices = {0, 1, 2, 0, 2, 3})
{
    auto vd = vx::MakeVMRef<VMVertexData>();
    vd->SetPrimitiveType(4);
    vd->SetVertexCount(4);
    vd->AllocateNormals();
    for (int i = 0; i < 4; ++i) {
        vd->SetPosition(i, {offset + static_cast<float>(i), 1.0f, 2.0f});
        vd->SetNormal(i, {0.0f, 0.0f, 1.0f});
    }
    vd->SetIndexCount(static_cast<int32_t>(indices.size()));
    for (std::size_t i = 0; i < indices.size(); ++i)
        vd->SetIndex(static_cast<int32_t>(i), indices[i]);
    return vd;
}

vx::VMRef<vx::VMRenderState> MakeDiffuse(vx::VMColor colour = {0.8f, 0.5f, 0.25f})
{
    auto rs = vx::MakeVMRef<vx::VMRenderState>();
    rs->AppendNew<vx::VMMaterialProperty>()->SetDiffuse(colour);
    return rs;
}

ZR::ModelPair& AddPair(ZR::Model& model, vx::VMRef<VMVertexData> vd, vx::VMRef<vx::VMRenderState> rs)
{
    ZR::ModelPair& pair = model.pairs.Append();
    pair.vd = vd;
    pair.rs = rs;
    return pair;
}

std::string Hex(uint32_t crc)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", crc);
    return text;
}

uint32_t VertexCrc(const VMVertexData& vd)
{
    vx::Crc32Accumulator crc;
    for (int slot = 1; slot < VMVertexData::NUM_CHANNELS; ++slot)
        crc.Update(vd.channels[slot].data(), vd.channels[slot].size());
    return crc.Finish();
}

uint32_t IndexCrc(const VMVertexData& vd)
{
    return vx::Crc32(vd.channels[0].data(), vd.channels[0].size());
}

const vx::ModelDescriptionOptions kSingle {true, 0.5f};
const vx::ModelDescriptionOptions kPerObject {false, 0.5f};

TEST(ModelDescription, OnePairModelMatchesTheWorkedExample)
{
    ZR::Model model;
    auto vd = MakeQuad(0.0f);
    AddPair(model, vd, MakeDiffuse());
    const std::string idx = "0x" + Hex(IndexCrc(*vd)) + ".idx";
    const std::string vtx = "0x" + Hex(VertexCrc(*vd)) + ".vtx";

    EXPECT_EQ(vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded),
        "<model><IndexBuffer count='6' file='" + idx + "'/><VertexBuffer count='4' items='3' file='" + vtx
            + "'/><Material effect='Diffuse'><Color name=\"Color\"><R>0.800000</R><G>0.500000</G>"
              "<B>0.250000</B></Color></Material>"
              "<Subset type='4' indexbuffer='0' vertexbuffer='0' material='0' /></model>");
    EXPECT_EQ(model.pairs[0].indexFile, idx.c_str());
    EXPECT_EQ(model.pairs[0].vertexFile, vtx.c_str());
    ZR::Model empty;
    EXPECT_EQ(vx::BuildModelDescription(empty, kSingle, vx::NameTextureAsRecorded), "");
}

TEST(ModelDescription, PerObjectNamesCarryThePairAndBufferNumbers)
{
    ZR::Model model;
    AddPair(model, MakeQuad(0.0f), MakeDiffuse());
    auto second = MakeQuad(5.0f, {3, 2, 1});
    AddPair(model, second, MakeDiffuse());
    vx::BuildModelDescription(model, kPerObject, vx::NameTextureAsRecorded);
    EXPECT_EQ(model.pairs[1].vertexFile, ("1" + Hex(VertexCrc(*second)) + ".vtx").c_str());
    EXPECT_EQ(model.pairs[1].indexFile, ("0x" + Hex(IndexCrc(*second)) + "_2.idx").c_str());
}

TEST(ModelDescription, SharedIndicesAndMaterialsAreWrittenOnce)
{
    ZR::Model model;
    auto rs = MakeDiffuse();
    AddPair(model, MakeQuad(0.0f), rs);
    AddPair(model, MakeQuad(5.0f), rs);
    auto loose = MakeQuad(9.0f, {});
    AddPair(model, loose, MakeDiffuse({0.1f, 0.1f, 0.1f}));
    const std::string text = vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);

    auto count = [&text](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("<IndexBuffer"), 1u);
    EXPECT_EQ(count("<Material "), 2u);
    EXPECT_NE(text.find("<Subset type='4' indexbuffer='0' vertexbuffer='0' material='0' />"
                        "<Subset type='4' indexbuffer='0' vertexbuffer='1' material='0' />"
                        "<Subset type='4' vertexbuffer='2' material='1' />"),
        std::string::npos);
}

TEST(ModelDescription, OneVertexDataPlacedTwiceSharesItsBuffersWithoutAReport)
{
    // One mesh merged twice into an object at two places: both pairs hold the same vertex data,
    // with and without an index list.
    for (const bool indexed : {true, false}) {
        SCOPED_TRACE(indexed ? "indexed" : "unindexed");
        vxtest::DebugCapture capture;
        ZR::Model model;
        auto rs = MakeDiffuse();
        auto mesh = indexed ? MakeQuad(0.0f) : MakeQuad(0.0f, {});
        AddPair(model, mesh, rs);
        vx::Transform moved;
        moved.position = {3, 0, 0};
        AddPair(model, mesh, rs).transform.Set(moved);
        const std::string text = vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);
        EXPECT_EQ(capture.Text(), "");
        EXPECT_EQ(text.find("<IndexBuffer") != std::string::npos, indexed);
        EXPECT_EQ(text.find("<IndexBuffer", text.find("<IndexBuffer") + 1), std::string::npos);
        const std::string subsets = indexed
            ? "<Subset type='4' indexbuffer='0' vertexbuffer='0' material='0' />"
              "<Subset type='4' indexbuffer='0' vertexbuffer='1' material='0' />"
            : "<Subset type='4' vertexbuffer='0' material='0' /><Subset type='4' vertexbuffer='1' "
              "material='0' />";
        EXPECT_NE(text.find(subsets), std::string::npos) << text;
    }
}

TEST(ModelDescription, PlacementAndSourceBoxAttributes)
{
    ZR::Model model;
    vx::Transform moved;
    moved.position = {1, 2, 3};
    AddPair(model, MakeQuad(0.0f), MakeDiffuse()).transform.Set(moved);
    ZR::ModelPair& boxed = AddPair(model, MakeQuad(1.0f), MakeDiffuse());
    boxed.sourceBox.min = {0, 0, 0};
    boxed.sourceBox.max = {2, 4, 6};
    const std::string text = vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);

    EXPECT_NE(text.find("file='" + std::string(model.pairs[0].vertexFile.c_str())
                  + "' posX='1' posY='3' posZ='2'/>"),
        std::string::npos);
    EXPECT_NE(text.find("file='" + std::string(model.pairs[1].vertexFile.c_str())
                  + "' orgPosX='0.5' orgPosY='1' orgPosZ='1.5' dimX='1' dimY='2' dimZ='3'/>"),
        std::string::npos);
    EXPECT_EQ(text.find("rotAz"), std::string::npos);
}

TEST(ModelDescription, MaterialBlocks)
{
    auto transparent = MakeDiffuse({1, 1, 1});
    transparent->Find<vx::VMMaterialProperty>()->SetAlpha(0.5f);
    auto blended = MakeDiffuse({1, 1, 1});
    blended->AppendNew<vx::VMAlphaProperty>()->alpha = 0.25f;
    auto shiny = MakeDiffuse({1, 1, 1});
    shiny->Find<vx::VMMaterialProperty>()->SetSpecular({1, 1, 1});
    const std::string white = "<Color name=\"Color\"><R>1.000000</R><G>1.000000</G><B>1.000000</B></Color>";

    const struct {
        vx::VMRef<vx::VMRenderState> rs;
        std::string block;
    } cases[] = {
        {transparent,
            "<Material effect='TransparentObjects'>" + white + "<Float name='Alpha'>0.5</Float></Material>"},
        {blended,
            "<Material effect='TransparentObjects'>" + white + "<Float name='Alpha'>0.25</Float></Material>"},
        {shiny,
            "<Material effect='Specular'>" + white
                + "<Color "
                  "name=\"Specular\"><R>1.000000</R><G>1.000000</G><B>1.000000</B></Color></Material>"},
    };
    for (const auto& c : cases) {
        ZR::Model model;
        AddPair(model, MakeQuad(0.0f), c.rs);
        EXPECT_NE(vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded).find(c.block),
            std::string::npos)
            << c.block;
    }
}

TEST(ModelDescription, TextureNamesAreEscapedAndNeverCut)
{
    auto rs = MakeDiffuse();
    auto texture = vx::MakeVMRef<vx::VMTexture>();
    const std::string longName = std::string(220, 'n') + "&<'\".png";
    texture->name = longName.c_str();
    rs->AppendNew<vx::VMTextureProperty>()->FillStage(0)->texture = texture;
    ZR::Model model;
    AddPair(model, MakeQuad(0.0f), rs);
    const std::string text = vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);
    EXPECT_NE(text.find("<Material effect='Textured'><Color name=\"Diffuse\">"), std::string::npos);
    EXPECT_NE(text.find("<Texture name='Texture0@Name'>" + std::string(220, 'n')
                  + "&amp;&lt;&apos;&quot;.png"
                    "</Texture></Material>"),
        std::string::npos);
    EXPECT_EQ(vx::EscapeModelText("a>b"), "a&gt;b");
}

TEST(ModelDescription, FormatFloatDropsTrailingZeros)
{
    EXPECT_EQ(vx::FormatFloat(0.5), "0.5");
    EXPECT_EQ(vx::FormatFloat(20.0), "20");
    EXPECT_EQ(vx::FormatFloat(0.1234567), "0.123457");
}

class BufferFiles : public ::testing::Test {
protected:
    // filename -> data of the Files rows of geometry.
    std::map<std::string, std::string> Files(int64_t geometry)
    {
        vxtest::SqliteReader reader(dir.File("buffers.vx"));
        std::map<std::string, std::string> files;
        for (const vxtest::Row& row : reader.Query(
                 "SELECT filename, data FROM Files WHERE geometry_luid = " + std::to_string(geometry) + ";"))
            files[row[0].bytes] = row[1].bytes;
        return files;
    }
    void Close() { EXPECT_TRUE(writer.Close().Succeeded()); }

    // The file names the description text names.
    static std::vector<std::string> NamedFiles(const std::string& text)
    {
        std::vector<std::string> names;
        for (std::size_t at = text.find("file='"); at != std::string::npos; at = text.find("file='", at + 1))
            names.push_back(text.substr(at + 6, text.find('\'', at + 6) - at - 6));
        return names;
    }

    void ExpectNamedFilesExist(const std::string& text, int64_t geometry)
    {
        const std::map<std::string, std::string> files = Files(geometry);
        for (const std::string& name : NamedFiles(text))
            EXPECT_EQ(files.count(name), 1u) << name;
    }

    vxtest::TempDir dir;
    vx::SqlWriter writer {dir.File("buffers.vx")};
    vx::WrittenFiles written;
};

TEST_F(BufferFiles, VertexFilesAreInterleavedAndIndexFilesHold16BitIndices)
{
    ZR::Model model;
    auto vd = MakeQuad(0.0f);
    AddPair(model, vd, MakeDiffuse());
    const std::string text = vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);
    EXPECT_TRUE(vx::WriteBufferFiles(writer, model, 7, kSingle, written));
    EXPECT_EQ(model.geomid, 7);
    Close();

    const std::map<std::string, std::string> files = Files(7);
    ASSERT_EQ(files.size(), 2u);
    const std::string& vertices = files.at(model.pairs[0].vertexFile.c_str());
    ASSERT_EQ(vertices.size(), 4u * (12 + 12));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::memcmp(vertices.data() + 24 * i, vd->channels[1].data() + 12 * i, 12), 0);
        EXPECT_EQ(std::memcmp(vertices.data() + 24 * i + 12, vd->channels[2].data() + 12 * i, 12), 0);
    }
    const std::string& indices = files.at(model.pairs[0].indexFile.c_str());
    EXPECT_EQ(indices, std::string("\0\0\1\0\2\0\0\0\2\0\3\0", 12));
    ExpectNamedFilesExist(text, 7);
}

TEST_F(BufferFiles, ASharedVertexBufferKeepsEachPairsIndexFile)
{
    // Equal vertices, different index lists: one vertex file, two index files.
    ZR::Model model;
    AddPair(model, MakeQuad(0.0f), MakeDiffuse());
    AddPair(model, MakeQuad(0.0f, {2, 1, 0}), MakeDiffuse());
    const std::string text = vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);
    ASSERT_EQ(model.pairs[0].vertexFile, model.pairs[1].vertexFile);
    EXPECT_TRUE(vx::WriteBufferFiles(writer, model, 3, kSingle, written));
    Close();

    const std::map<std::string, std::string> files = Files(3);
    EXPECT_EQ(files.size(), 3u);
    EXPECT_EQ(files.at(model.pairs[1].indexFile.c_str()).size(), 6u);
    EXPECT_NE(model.pairs[0].indexFile, model.pairs[1].indexFile);
    ExpectNamedFilesExist(text, 3);
}

TEST_F(BufferFiles, ADuplicateIndexListLeavesSharedVertexDataWhole)
{
    auto shared = MakeQuad(5.0f);
    ZR::Model first;
    AddPair(first, MakeQuad(0.0f), MakeDiffuse());
    AddPair(first, shared, MakeDiffuse());
    ZR::Model second;
    AddPair(second, shared, MakeDiffuse());

    const std::string firstText = vx::BuildModelDescription(first, kSingle, vx::NameTextureAsRecorded);
    EXPECT_TRUE(vx::WriteBufferFiles(writer, first, 1, kSingle, written));
    EXPECT_EQ(shared->indexCount, 6);
    const std::string secondText = vx::BuildModelDescription(second, kSingle, vx::NameTextureAsRecorded);
    EXPECT_NE(secondText.find("<IndexBuffer count='6'"), std::string::npos);
    EXPECT_TRUE(vx::WriteBufferFiles(writer, second, 2, kSingle, written));
    Close();

    EXPECT_EQ(Files(1).size(), 3u);
    ExpectNamedFilesExist(firstText, 1);
    ExpectNamedFilesExist(secondText, 2);
}

TEST_F(BufferFiles, KeysKeepGeometryAndNameApart)
{
    // "%i%s" would give the key "112.vtx" for both.
    ZR::Model a;
    AddPair(a, MakeQuad(0.0f, {}), MakeDiffuse()).vertexFile.Assign("12.vtx");
    ZR::Model b;
    AddPair(b, MakeQuad(1.0f, {}), MakeDiffuse()).vertexFile.Assign("2.vtx");
    vx::BuildModelDescription(a, kPerObject, vx::NameTextureAsRecorded);
    vx::BuildModelDescription(b, kPerObject, vx::NameTextureAsRecorded);
    EXPECT_TRUE(vx::WriteBufferFiles(writer, a, 1, kPerObject, written));
    EXPECT_TRUE(vx::WriteBufferFiles(writer, b, 11, kPerObject, written));
    // Written once per geometry, also when asked again.
    EXPECT_TRUE(vx::WriteBufferFiles(writer, b, 11, kPerObject, written));
    Close();
    EXPECT_EQ(Files(1).size(), 1u);
    EXPECT_EQ(Files(11).size(), 1u);
}

TEST_F(BufferFiles, PairsWithoutVerticesOrDataAreHarmless)
{
    ZR::Model model;
    auto empty = vx::MakeVMRef<VMVertexData>();
    empty->SetPrimitiveType(4);
    AddPair(model, empty, MakeDiffuse());
    model.pairs.Append().rs = MakeDiffuse();
    AddPair(model, MakeQuad(0.0f), MakeDiffuse());
    const std::string text = vx::BuildModelDescription(model, kPerObject, vx::NameTextureAsRecorded);
    EXPECT_NE(text.find("<VertexBuffer count='0' items='0' file='0"), std::string::npos);
    EXPECT_NE(
        text.find("<Subset type='4' indexbuffer='0' vertexbuffer='2' material='1' />"), std::string::npos);
    EXPECT_TRUE(vx::WriteBufferFiles(writer, model, 4, kPerObject, written));
    Close();

    const std::map<std::string, std::string> files = Files(4);
    EXPECT_EQ(files.size(), 3u);
    EXPECT_EQ(files.at(model.pairs[0].vertexFile.c_str()), "");
    ExpectNamedFilesExist(text, 4);
}

TEST_F(BufferFiles, AGeometryWithoutRowWritesNothing)
{
    vxtest::DebugCapture capture;
    ZR::Model model;
    AddPair(model, MakeQuad(0.0f), MakeDiffuse());
    vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);
    EXPECT_FALSE(vx::WriteBufferFiles(writer, model, -1, kSingle, written));
    Close();
    EXPECT_TRUE(Files(-1).empty());
}

TEST(ModelDescription, DifferentBuffersWithOneCrcGetDistinctNames)
{
    // XOR-ing the CRC-32 polynomial's bit pattern into equally long data keeps the CRC.
    const uint8_t polynomial[] = {0x41, 0x06, 0x71, 0xDB, 0x01};
    auto a = MakeQuad(0.0f);
    auto b = MakeQuad(0.0f, {0, 1, 2, 0, 2, 1});
    for (std::size_t i = 0; i < sizeof polynomial; ++i)
        b->channels[1][4 + i] ^= polynomial[i];
    for (std::size_t i = 0; i < sizeof polynomial; ++i) {
        b->channels[0][i] = a->channels[0][i] ^ polynomial[i];
        b->channels[0][i + 5] = a->channels[0][i + 5];
    }
    b->channels[0][10] = a->channels[0][10];
    b->channels[0][11] = a->channels[0][11];
    ASSERT_EQ(VertexCrc(*a), VertexCrc(*b));
    ASSERT_EQ(IndexCrc(*a), IndexCrc(*b));
    ASSERT_NE(a->channels[0], b->channels[0]);

    ZR::Model model;
    AddPair(model, a, MakeDiffuse());
    AddPair(model, b, MakeDiffuse());
    AddPair(model, CloneVertexData(*a), MakeDiffuse());
    vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);
    const std::string hex = Hex(VertexCrc(*a));
    EXPECT_EQ(model.pairs[0].vertexFile, ("0x" + hex + ".vtx").c_str());
    EXPECT_EQ(model.pairs[1].vertexFile, ("0x" + hex + "-1.vtx").c_str());
    EXPECT_EQ(model.pairs[2].vertexFile, model.pairs[0].vertexFile);
    EXPECT_EQ(model.pairs[1].indexFile, ("0x" + Hex(IndexCrc(*a)) + "-1.idx").c_str());
}

TEST(ModelDescription, ANameHeldByEarlierPairsOfDifferentContentsClashesWithEach)
{
    // The second pair keeps the name it was given although its content differs from the first's:
    // the third pair, equal to the first, must still move to a new name.
    auto a = MakeQuad(0.0f);
    const std::string name = "0x" + Hex(VertexCrc(*a)) + ".vtx";
    ZR::Model model;
    AddPair(model, a, MakeDiffuse());
    AddPair(model, MakeQuad(5.0f), MakeDiffuse()).vertexFile.Assign(name.c_str());
    AddPair(model, CloneVertexData(*a), MakeDiffuse());
    AddPair(model, CloneVertexData(*a), MakeDiffuse());
    vx::BuildModelDescription(model, kSingle, vx::NameTextureAsRecorded);
    EXPECT_EQ(model.pairs[0].vertexFile, name.c_str());
    EXPECT_EQ(model.pairs[1].vertexFile, name.c_str());
    const std::string moved = "0x" + Hex(VertexCrc(*a)) + "-1.vtx";
    EXPECT_EQ(model.pairs[2].vertexFile, moved.c_str());
    EXPECT_EQ(model.pairs[3].vertexFile, moved.c_str());
}

TEST(ModelDescription, NonFiniteNumbersWriteNoText)
{
    vxtest::DebugCapture capture;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ZR::Model placed;
    vx::Transform t;
    t.position = {nan, 0, 0};
    AddPair(placed, MakeQuad(0.0f), MakeDiffuse()).transform.Set(t);
    EXPECT_EQ(vx::BuildModelDescription(placed, kSingle, vx::NameTextureAsRecorded), "");
    ZR::Model coloured;
    AddPair(coloured, MakeQuad(0.0f), MakeDiffuse({nan, 0.5f, 0.5f}));
    EXPECT_EQ(vx::BuildModelDescription(coloured, kSingle, vx::NameTextureAsRecorded), "");
    EXPECT_NE(capture.Text().find("Model description not written"), std::string::npos);
    // The next model is written again.
    ZR::Model plain;
    AddPair(plain, MakeQuad(0.0f), MakeDiffuse());
    EXPECT_NE(vx::BuildModelDescription(plain, kSingle, vx::NameTextureAsRecorded), "");
}

} // namespace
