#pragma once
// Small design databases written by hand for the inspector's tests: only the tables vxinfo reads
// to place and draw a design (objects, geometries and their buffer files, instances, textures and
// the root record), so that every stored placement is known exactly.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vxtest {

// A stored placement: position, angles in degrees (rot_az, rot_el, rot_tw) and scale.
struct TinyPlacement {
    std::array<double, 3> position {0, 0, 0};
    std::array<double, 3> angles {0, 0, 0};
    std::array<double, 3> scale {1, 1, 1};
};

class TinyDesign {
public:
    // A geometry holding the unit cube [0, 1]^3 in one vertex buffer placed by bufferPlacement
    // (scale unused): outward normals, faces counter-clockwise seen from outside, texture coordinates
    // (s, 1 - t) at a face's corner + s first edge + t second edge (on the front face, y = 0, (0, 0)
    // is the top-left corner seen from -y), one material of colour and, when texture is set, that
    // stored texture on its first stage.
    void AddCube(int64_t geometry, std::array<double, 3> colour,
        std::optional<int64_t> texture = std::nullopt, const TinyPlacement& bufferPlacement = {});
    // A geometry whose model names a vertex buffer file that is not stored: it cannot be decoded.
    void AddUndecodableGeometry(int64_t geometry);
    // An object, with its geometry placed by geometryPlacement when geometry is set.
    void AddObject(int64_t luid, const std::string& name, std::optional<int64_t> geometry,
        const TinyPlacement& geometryPlacement = {});
    // An instance of object in owner (scale unused).
    void AddInstance(int64_t luid, const std::string& name, int64_t owner, int64_t object,
        const TinyPlacement& placement = {});
    // A stored texture holding the image file bytes, named in models by its identifier text.
    void AddTexture(int64_t luid, const std::string& imageBytes);
    void SetRoot(int64_t object) { root_ = object; }

    // Writes the database to path (a new file); "" on success, otherwise SQLite's message.
    std::string Write(const std::string& path) const;

    // The identifier text by which a model names the texture luid.
    static std::string TextureName(int64_t luid);

private:
    std::vector<std::string> statements_;
    std::vector<std::pair<std::string, std::string>> blobStatements_; // SQL with one blob parameter
    int64_t root_ = 0;
    int64_t nextFile_ = 1;
};

// Writes the nested design to path: root (10) draws cube 100 scaled (1, 2, 3) at z 5 and places
// "Left" (20), object A (11) turned by rot_tw -90 at x 10, which draws cube 101 (its buffer at z 1)
// stretched 2 in z and places B (12, cube 100) unnamed (21) at x 1, B placing A again (a loop);
// "Broken" (22), object C (13) whose geometry cannot be decoded; and "Ghost" (24), an object that
// does not exist. Returns "" on success, otherwise SQLite's message.
std::string WriteNestedDesign(const std::string& path);

} // namespace vxtest
