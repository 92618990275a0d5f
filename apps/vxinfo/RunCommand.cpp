#include "vxinfo/RunCommand.h"

#include "vxinfo/DesignChecks.h"
#include "vxinfo/DesignLoading.h"
#include "vxinfo/GltfWriter.h"
#include "vxinfo/ObjWriting.h"
#include "vxinfo/PngWriting.h"
#include "vxinfo/PreviewRender.h"
#include "vxinfo/SummaryReport.h"
#include "vxinfo/TreeReport.h"
#include "vxinfo/WorldMesh.h"

#include <nlohmann/json.hpp>

#include <fstream>

namespace vxinfo {

namespace {

int RunSummary(const ReadOnlyDatabase& db, const DesignContent& content, bool json, std::ostream& out)
{
    const DesignSummary summary = SummarizeDesign(db, content);
    out << (json ? SummaryJson(summary).dump(2) + "\n" : FormatSummary(summary));
    return EXIT_DONE;
}

int RunTree(const DesignContent& content, const CommandLine& line, std::ostream& out, std::ostream& err)
{
    const std::optional<TreeNode> tree = BuildInstanceTree(content, line.depth);
    if (!tree) {
        err << "vxinfo: " << content.path << " has no root record\n";
        return EXIT_UNREADABLE;
    }
    out << (line.json ? TreeJson(*tree).dump(2) + "\n" : FormatTree(*tree));
    return EXIT_DONE;
}

int RunCheck(const ReadOnlyDatabase& db, const DesignContent& content, bool json, std::ostream& out)
{
    const std::vector<Finding> findings = CheckDesign(db, content);
    if (json) {
        nlohmann::json list = nlohmann::json::array();
        for (const Finding& f : findings)
            list.push_back({{"rule", f.rule}, {"text", f.text}});
        out << nlohmann::json {{"file", content.path}, {"sound", findings.empty()}, {"findings", list}}.dump(
            2)
            << "\n";
    } else {
        for (const Finding& f : findings)
            out << f.rule << ": " << f.text << "\n";
        if (findings.empty())
            out << content.path << ": sound\n";
    }
    return findings.empty() ? EXIT_DONE : EXIT_FINDINGS;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

int RunGltf(const ReadOnlyDatabase& db, const DesignContent& content, const CommandLine& line,
    std::ostream& out, std::ostream& err)
{
    GltfStats stats;
    const std::string glb = BuildGlb(db, content, &stats);
    const std::string& target = line.files[1];
    if (!WriteBytes(target, glb)) {
        err << "vxinfo: cannot write " << target << "\n";
        return EXIT_UNREADABLE;
    }
    if (line.json)
        out << nlohmann::json {{"file", target}, {"bytes", glb.size()}, {"nodes", stats.nodes},
            {"meshes", stats.meshes}, {"materials", stats.materials}, {"images", stats.images}}
                   .dump(2)
            << "\n";
    else
        out << "Wrote " << target << ": " << glb.size() << " bytes, " << stats.nodes << " nodes, "
            << stats.meshes << " meshes, " << stats.materials << " materials, " << stats.images
            << " images\n";
    return EXIT_DONE;
}

int RunMesh(const ReadOnlyDatabase& db, const DesignContent& content, const CommandLine& line,
    std::ostream& out, std::ostream& err)
{
    const std::vector<WorldTriangle> triangles = CollectWorldTriangles(db, content);
    const std::string& target = line.files[1];
    if (!WriteBytes(target, BuildObj(triangles, content.path))) {
        err << "vxinfo: cannot write " << target << "\n";
        return EXIT_UNREADABLE;
    }
    std::size_t groups = 0;
    for (std::size_t k = 0; k < triangles.size(); ++k)
        groups += k == 0 || triangles[k].path != triangles[k - 1].path;
    if (line.json)
        out << nlohmann::json {{"file", target}, {"triangles", triangles.size()}, {"groups", groups}}.dump(2)
            << "\n";
    else
        out << "Wrote " << target << ": " << triangles.size() << " triangles in " << groups << " groups\n";
    return EXIT_DONE;
}

int RunPreview(const ReadOnlyDatabase& db, const DesignContent& content, const CommandLine& line,
    std::ostream& out, std::ostream& err)
{
    int64_t triangles = 0;
    const RgbImage image = RenderPreview(db, content, line.width, line.height, line.view, &triangles);
    const std::string& target = line.files[1];
    const std::string failure = WritePng(image, target);
    if (!failure.empty()) {
        err << "vxinfo: " << failure << "\n";
        return EXIT_UNREADABLE;
    }
    if (line.json)
        out << nlohmann::json {{"file", target}, {"width", image.width}, {"height", image.height},
            {"triangles", triangles}}
                   .dump(2)
            << "\n";
    else
        out << "Wrote " << target << ": " << image.width << "x" << image.height << ", " << triangles
            << " triangles\n";
    return EXIT_DONE;
}

} // namespace

int RunCommand(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (line.help) {
        out << HelpText(line.command);
        return EXIT_DONE;
    }
    if (!line.error.empty()) {
        err << "vxinfo: " << line.error << "\n" << HelpText(line.command);
        return EXIT_USAGE;
    }
    const std::string& path = line.files[0];
    ReadOnlyDatabase db;
    const std::string failure = db.Open(path);
    if (!failure.empty()) {
        err << "vxinfo: cannot open " << path << ": " << failure << "\n";
        return EXIT_UNREADABLE;
    }
    const DesignContent content = LoadDesign(db, path);
    switch (line.command) {
    case Command::Summary:
        return RunSummary(db, content, line.json, out);
    case Command::Tree:
        return RunTree(content, line, out, err);
    case Command::Check:
        return RunCheck(db, content, line.json, out);
    case Command::Gltf:
        return RunGltf(db, content, line, out, err);
    case Command::Mesh:
        return RunMesh(db, content, line, out, err);
    case Command::Preview:
        return RunPreview(db, content, line, out, err);
    case Command::None:
        break;
    }
    return EXIT_USAGE;
}

} // namespace vxinfo
