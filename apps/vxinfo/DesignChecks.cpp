#include "vxinfo/DesignChecks.h"

#include "vxinfo/GeometryDecoding.h"
#include "vxinfo/IdentifierText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace vxinfo {

namespace {

constexpr const char* FORMAT_TABLES[]
    = {"Guids", "Categories", "CompositeObjects", "ConnectionTypes", "Files", "Geometries", "InBox",
        "InBoxObjects", "InstancePocs", "Roots", "SpaceGrids", "Textures", "Utilities", "ObjectCategories",
        "Properties", "Spaces", "SpaceManagementRules", "PropertyDictionary", "UtilitygroupRules",
        "ObjectPocs", "StretchableInfo", "MergeHints", "ObjectInstances", "CurrentVersion", "BuildingSpaces",
        "GridLines", "Materials", "ReportTypes", "ReportStyles", "ImportedVXFiles", "ImportedVXLink"};

struct FixedEntry {
    const char* name;
    int64_t type;
};

constexpr FixedEntry FIXED_ENTRIES[] = {{"ElectricalConnection", 256}, {"LibraryQueue", 256},
    {"ExcessCableBox", 256}, {"Mantle", 256}, {"Cutout", 256}, {"Thumbnail", 259}, {"View2D_Top", 259},
    {"View2D_Bottom", 259}, {"View2D_Front", 259}, {"View2D_Rear", 259}, {"View2D_Left", 259},
    {"View2D_Right", 259}, {"GenPOC", 512}, {"Slope", 513}, {"Ic_code", 1153}};

constexpr int64_t ANIMATION_DATA_TYPE = 4096;
constexpr std::size_t REPORT_STYLE_SIZE = 933;

// The format identifier of this database layout, as stored.
const std::string SCHEMA_BYTES {"\x54\x97\xE3\x61\x16\x8F\xE1\x46\xAA\xB8\x89\x31\x56\xAA\xFD\x12", 16};

std::string Hex32(int64_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string Quoted(const std::string& name)
{
    return "'" + name + "'";
}

bool Finite(const Vec3& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

bool FinitePlacement(const StoredPlacement& p)
{
    return Finite(p.position) && Finite(p.angles) && Finite(p.scale);
}

class Checker {
public:
    Checker(const ReadOnlyDatabase& db, const DesignContent& c)
        : db_(db)
        , c_(c)
    {
    }

    std::vector<Finding> Run()
    {
        CheckIntegrity();
        CheckTables();
        CheckSeedRows();
        CheckIdentifiers();
        CheckReferences();
        CheckModels();
        CheckFinite();
        CheckReachable();
        return std::move(findings_);
    }

private:
    void Add(const char* rule, const std::string& text) { findings_.push_back({rule, text}); }

    void CheckIntegrity()
    {
        const std::string reason = db_.ForEachRow("PRAGMA integrity_check;", [&](const QueryRow& row) {
            const std::string line = row.Text(0);
            if (line != "ok")
                Add("integrity", "SQLite integrity check: " + line);
        });
        if (!reason.empty())
            Add("integrity", "SQLite integrity check cannot run: " + reason);
    }

    void CheckTables()
    {
        const std::vector<std::string> names = db_.TableNames();
        const std::set<std::string> present(names.begin(), names.end());
        for (const char* table : FORMAT_TABLES)
            if (!present.count(table))
                Add("tables", std::string("table ") + table + " is missing");
        for (const std::string& line : c_.unreadable)
            if (present.count(line.substr(0, line.find(':'))))
                Add("tables", "table " + line);
    }

    void CheckSeedRows()
    {
        if (db_.Integer(
                   "SELECT count(*) FROM ReportTypes WHERE luid = 0 AND reportname = 'Bill of Materials';")
                .value_or(0)
            != 1)
            Add("seed", "ReportTypes has no row 0 'Bill of Materials'");
        if (db_.Integer("SELECT length(binarydata) FROM ReportStyles WHERE luid = 0 AND reptype_luid = 0 AND "
                        "stylename = 'Excel report';")
                .value_or(0)
            != static_cast<int64_t>(REPORT_STYLE_SIZE))
            Add("seed",
                "ReportStyles has no row 0 'Excel report' with its " + std::to_string(REPORT_STYLE_SIZE)
                    + "-byte layout");
        if (c_.versionGuid.size() != 1)
            Add("seed", "CurrentVersion holds " + std::to_string(c_.versionGuid.size()) + " rows, not 1");
        for (std::size_t i = 0; i < c_.versionGuid.size(); ++i) {
            if (c_.versionSchema[i] != SCHEMA_BYTES)
                Add("seed", "CurrentVersion schema is not the format identifier");
            if (c_.versionGuid[i].size() != 16 || c_.versionGuid[i] == std::string(16, '\0'))
                Add("seed", "CurrentVersion guid is not stamped (not 16 bytes or all zero)");
        }
        std::map<Luid, const DictionaryRow*> byLuid;
        for (const DictionaryRow& row : c_.dictionary)
            byLuid[row.luid] = &row;
        for (std::size_t i = 0; i < std::size(FIXED_ENTRIES); ++i) {
            const FixedEntry& e = FIXED_ENTRIES[i];
            const auto found = byLuid.find(static_cast<Luid>(i + 1));
            if (found == byLuid.end() || found->second->name != e.name || found->second->type != e.type)
                Add("seed",
                    "PropertyDictionary row " + std::to_string(i + 1) + " is not the fixed entry "
                        + Quoted(e.name) + " of type " + std::to_string(e.type));
        }
    }

    void CheckIdentifiers()
    {
        std::unordered_map<Luid, const GuidRow*> guids;
        std::map<std::string, Luid> seen;
        for (const GuidRow& g : c_.guids) {
            guids[g.luid] = &g;
            if (!g.isBlob || g.bytes.size() != 16) {
                Add("identifier", "Guids " + std::to_string(g.luid) + " does not hold a 16-byte identifier");
                continue;
            }
            const auto [it, added] = seen.emplace(g.bytes, g.luid);
            if (!added)
                Add("identifier",
                    "Guids " + std::to_string(g.luid) + " repeats the identifier of Guids "
                        + std::to_string(it->second) + " (" + IdentifierText(g.bytes) + ")");
        }
        const auto record = [&](const char* table, Luid luid) {
            const auto [it, added] = owners_.emplace(luid, table);
            if (!added)
                Add("identifier",
                    std::string(table) + " " + std::to_string(luid) + " uses the luid of " + it->second + " "
                        + std::to_string(luid));
            if (!guids.count(luid))
                Add("identifier", std::string(table) + " " + std::to_string(luid) + " has no Guids row");
        };
        for (const ObjectRow& o : c_.objects)
            record("CompositeObjects", o.luid);
        for (const GeometryRow& g : c_.geometries)
            record("Geometries", g.luid);
        for (const InstanceRow& i : c_.instances)
            record("ObjectInstances", i.luid);
        for (const DictionaryRow& d : c_.dictionary)
            record("PropertyDictionary", d.luid);
        for (const TextureRow& t : c_.textures)
            record("Textures", t.luid);
        for (std::size_t i = 0; i < std::size(FIXED_ENTRIES); ++i) {
            const auto found = guids.find(static_cast<Luid>(i + 1));
            const std::string key = std::string(FIXED_ENTRIES[i].name) + Hex32(FIXED_ENTRIES[i].type);
            if (found != guids.end() && found->second->bytes != NameIdentifierBytes(key))
                Add("identifier",
                    "Guids " + std::to_string(i + 1) + " is not the name identifier of " + Quoted(key));
        }
    }

    bool IsA(Luid luid, const char* table) const
    {
        const auto found = owners_.find(luid);
        return found != owners_.end() && std::string(found->second) == table;
    }

    void CheckReferences()
    {
        for (const ObjectRow& o : c_.objects)
            if (o.geometry && !IsA(*o.geometry, "Geometries"))
                Add("reference",
                    "CompositeObjects " + std::to_string(o.luid) + " names geometry "
                        + std::to_string(*o.geometry) + ", which is no Geometries row");
        for (const InstanceRow& i : c_.instances) {
            if (!IsA(i.owner, "CompositeObjects"))
                Add("reference",
                    "ObjectInstances " + std::to_string(i.luid) + " has owner " + std::to_string(i.owner)
                        + ", which is no CompositeObjects row");
            if (!IsA(i.object, "CompositeObjects"))
                Add("reference",
                    "ObjectInstances " + std::to_string(i.luid) + " places object " + std::to_string(i.object)
                        + ", which is no CompositeObjects row");
        }
        for (const RootRow& r : c_.roots)
            if (!IsA(r.object, "CompositeObjects"))
                Add("reference",
                    "Roots names object " + std::to_string(r.object) + ", which is no CompositeObjects row");
        for (const StretchRow& s : c_.stretches)
            if (!IsA(s.object, "CompositeObjects"))
                Add("reference",
                    "StretchableInfo names object " + std::to_string(s.object)
                        + ", which is no CompositeObjects row");
        std::set<std::string> animationFiles;
        for (const FileRow& f : c_.files) {
            if (f.geometry == 0)
                animationFiles.insert(f.name);
            else if (!IsA(f.geometry, "Geometries"))
                Add("reference",
                    "Files " + std::to_string(f.id) + " (" + f.name + ") belongs to geometry "
                        + std::to_string(f.geometry) + ", which is no Geometries row");
            if (f.name.empty())
                Add("reference", "Files " + std::to_string(f.id) + " has no file name");
        }
        std::unordered_map<Luid, const DictionaryRow*> dictionary;
        for (const DictionaryRow& d : c_.dictionary)
            dictionary[d.luid] = &d;
        for (const PropertyRow& p : c_.properties) {
            const std::string row
                = "Properties (" + std::to_string(p.luid) + ", " + std::to_string(p.dictionary) + ")";
            if (!IsA(p.luid, "CompositeObjects") && !IsA(p.luid, "ObjectInstances")
                && !IsA(p.luid, "Geometries"))
                Add("reference",
                    row + " belongs to " + std::to_string(p.luid)
                        + ", which is no object, instance or geometry");
            const auto entry = dictionary.find(p.dictionary);
            if (entry == dictionary.end()) {
                Add("reference", row + " names no PropertyDictionary row");
                continue;
            }
            if (entry->second->name == "AnimationData" && entry->second->type == ANIMATION_DATA_TYPE
                && p.value && !animationFiles.count(*p.value))
                Add("reference",
                    row + " names animation file " + *p.value + ", which is no Files row of geometry 0");
        }
    }

    void CheckModels()
    {
        const FileIndex files = IndexFiles(c_);
        std::set<std::pair<Luid, std::string>> named;
        std::set<std::pair<Luid, std::string>> seenFiles;
        for (const FileRow& f : c_.files)
            if (f.geometry != 0 && !seenFiles.emplace(f.geometry, f.name).second)
                Add("model",
                    "Files " + std::to_string(f.id) + " repeats file " + f.name + " of geometry "
                        + std::to_string(f.geometry));
        std::unordered_map<std::string, Luid> textureByIdentifier;
        std::unordered_map<Luid, const GuidRow*> guids;
        for (const GuidRow& g : c_.guids)
            guids[g.luid] = &g;
        for (const TextureRow& t : c_.textures) {
            const auto g = guids.find(t.luid);
            if (g != guids.end())
                textureByIdentifier[IdentifierText(g->second->bytes)] = t.luid;
            if (t.size <= 0)
                Add("model", "Textures " + std::to_string(t.luid) + " (" + t.name + ") holds no image");
        }
        for (const GeometryRow& g : c_.geometries) {
            const std::string row
                = "Geometries " + std::to_string(g.luid) + (g.name.empty() ? "" : " (" + g.name + ")");
            const DecodedGeometry decoded = DecodeGeometry(db_, g, files);
            for (const std::string& problem : decoded.problems)
                Add("model", row + ": " + problem);
            for (const VertexBufferRef& vb : decoded.model.vertexBuffers)
                named.emplace(g.luid, vb.file);
            for (const IndexBufferRef& ib : decoded.model.indexBuffers)
                named.emplace(g.luid, ib.file);
            for (const MaterialDesc& m : decoded.model.materials)
                for (const TextureRef& t : m.textures)
                    if (LooksLikeIdentifier(t.name) && !textureByIdentifier.count(t.name))
                        Add("reference", row + " names texture " + t.name + ", which is no Textures row");
            if (!decoded.modelParsed)
                unparsed_.insert(g.luid);
        }
        for (const FileRow& f : c_.files)
            if (f.geometry != 0 && IsA(f.geometry, "Geometries") && !unparsed_.count(f.geometry)
                && !named.count({f.geometry, f.name}))
                Add("model",
                    "Files " + std::to_string(f.id) + " (" + f.name + ") is named by no buffer of geometry "
                        + std::to_string(f.geometry));
    }

    static bool LooksLikeIdentifier(const std::string& text)
    {
        if (text.size() != 36)
            return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
            if (hyphen != (text[i] == '-'))
                return false;
            if (!hyphen && !std::isxdigit(static_cast<unsigned char>(text[i])))
                return false;
        }
        return true;
    }

    void CheckFinite()
    {
        for (const ObjectRow& o : c_.objects) {
            const std::string row = "CompositeObjects " + std::to_string(o.luid);
            if (!Finite(o.boxMin) || !Finite(o.boxMax))
                Add("finite", row + " has a box that is not finite");
            else if (o.boxMin[0] > o.boxMax[0] || o.boxMin[1] > o.boxMax[1] || o.boxMin[2] > o.boxMax[2])
                Add("finite", row + " has a box whose minimum exceeds its maximum");
            if (o.geometry && !FinitePlacement(o.geometryPlacement))
                Add("finite", row + " has a geometry placement that is not finite");
            if (o.geometry && !o.geometryPlacementComplete)
                Add("finite", row + " has a geometry without a complete placement");
        }
        for (const InstanceRow& i : c_.instances)
            if (!FinitePlacement(i.placement))
                Add("finite",
                    "ObjectInstances " + std::to_string(i.luid) + " has a placement that is not finite");
        for (const RootRow& r : c_.roots)
            if (r.camera && !Finite(*r.camera))
                Add("finite",
                    "Roots " + std::to_string(r.object) + " has a camera position that is not finite");
    }

    void CheckReachable()
    {
        if (c_.roots.size() != 1) {
            Add("reachable", "Roots holds " + std::to_string(c_.roots.size()) + " rows, not 1");
            if (c_.roots.empty())
                return;
        }
        std::unordered_map<Luid, std::vector<Luid>> placed;
        for (const InstanceRow& i : c_.instances)
            placed[i.owner].push_back(i.object);
        // Depth-first walk with colours, so an object that places itself (directly or through
        // others) is found once and the walk ends.
        std::unordered_map<Luid, int> state; // 1 on the path, 2 done
        std::set<Luid> cyclic;
        for (const RootRow& r : c_.roots) {
            std::vector<std::pair<Luid, std::size_t>> stack {{r.object, 0}};
            state[r.object] = 1;
            while (!stack.empty()) {
                auto& [luid, next] = stack.back();
                const std::vector<Luid>& children = placed[luid];
                if (next == children.size()) {
                    state[luid] = 2;
                    stack.pop_back();
                    continue;
                }
                const Luid child = children[next++];
                const int s = state[child];
                if (s == 1)
                    cyclic.insert(child);
                else if (s == 0) {
                    state[child] = 1;
                    stack.emplace_back(child, 0);
                }
            }
        }
        for (const Luid luid : cyclic)
            Add("reachable",
                "CompositeObjects " + std::to_string(luid) + " places itself through its instances");
        for (const ObjectRow& o : c_.objects)
            if (state[o.luid] == 0)
                Add("reachable",
                    "CompositeObjects " + std::to_string(o.luid) + (o.name.empty() ? "" : " (" + o.name + ")")
                        + " is not reachable from the root");
    }

    const ReadOnlyDatabase& db_;
    const DesignContent& c_;
    std::vector<Finding> findings_;
    std::unordered_map<Luid, const char*> owners_;
    std::set<Luid> unparsed_;
};

} // namespace

std::vector<Finding> CheckDesign(const ReadOnlyDatabase& db, const DesignContent& content)
{
    return Checker(db, content).Run();
}

} // namespace vxinfo
