#include "assimpimport/AssimpSceneFrame.h"

#include "scenefile/SceneArrayWriter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

namespace vx {

namespace {

// An integer entry of the scene's metadata, or fallback.
int GetMetaInt(const aiScene& scene, const char* key, int fallback)
{
    int value = fallback;
    if (scene.mMetaData && scene.mMetaData->Get(key, value))
        return value;
    return fallback;
}

// The host matrix that sends the axes to the given images.
HostMatrix3 MakeAxesMatrix(const HostPoint3& x, const HostPoint3& y, const HostPoint3& z)
{
    HostMatrix3 m;
    m.rows[0] = x;
    m.rows[1] = y;
    m.rows[2] = z;
    m.rows[3] = {0, 0, 0};
    return m;
}

HostPoint3 MakeAxis(int index, float sign)
{
    HostPoint3 axis;
    (index == 0 ? axis.x : index == 1 ? axis.y : axis.z) = sign;
    return axis;
}

// From Assimp's y-up axes to the host's z-up axes: y becomes z, z becomes -y.
HostMatrix3 MakeYUpToZUp()
{
    return MakeAxesMatrix({1, 0, 0}, {0, 0, 1}, {0, -1, 0});
}

// From the axes an FBX file's global settings name to y-up: its up axis becomes y, its front axis
// z and its coordinate axis x. Settings that do not name three distinct axes give the identity.
HostMatrix3 MakeFbxToYUp(const aiScene& scene)
{
    const int up = GetMetaInt(scene, "UpAxis", 1);
    const int front = GetMetaInt(scene, "FrontAxis", 2);
    const int coord = GetMetaInt(scene, "CoordAxis", 0);
    const auto valid = [](int axis) { return axis >= 0 && axis <= 2; };
    if (!valid(up) || !valid(front) || !valid(coord) || up == front || up == coord || front == coord)
        return HostMatrix3::Identity();
    const auto sign = [](int value) { return value < 0 ? -1.0f : 1.0f; };
    HostPoint3 images[3];
    images[coord] = MakeAxis(0, sign(GetMetaInt(scene, "CoordAxisSign", 1)));
    images[up] = MakeAxis(1, sign(GetMetaInt(scene, "UpAxisSign", 1)));
    images[front] = MakeAxis(2, sign(GetMetaInt(scene, "FrontAxisSign", 1)));
    return MakeAxesMatrix(images[0], images[1], images[2]);
}

// Centimetres per unit of an FBX file (1 when it does not say).
double GetFbxUnitScaleFactor(const aiScene& scene)
{
    double factor = 1.0;
    if (scene.mMetaData) {
        float single = 0.0f;
        if (!scene.mMetaData->Get("UnitScaleFactor", factor)
            && scene.mMetaData->Get("UnitScaleFactor", single))
            factor = ToShortestDouble(single); // 2.54f stands for 2.54
    }
    return factor > 0.0 && std::isfinite(factor) ? factor : 1.0;
}

// The length of m's axes when they are equal (a uniform scale); 0 otherwise.
double GetUniformScale(const HostMatrix3& m)
{
    const auto length = [](const HostPoint3& p) {
        return std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
    };
    const double x = length(m.rows[0]);
    const double y = length(m.rows[1]);
    const double z = length(m.rows[2]);
    if (!(x > 0.0) || !std::isfinite(x) || std::fabs(y - x) > 1e-5 * x || std::fabs(z - x) > 1e-5 * x)
        return 0.0;
    return ToShortestDouble(static_cast<float>(x));
}

// The unit of which one is metres long: a host unit when one matches, else metres with a multiplier.
HostUnitInfo MakeUnit(double metres)
{
    if (!(metres > 0.0) || !std::isfinite(metres))
        return HostUnitInfo {kHostUnitMeters, 1.0};
    static constexpr struct {
        int type;
        double metres;
    } kUnits[] = {
        {kHostUnitInches, 0.0254},
        {kHostUnitFeet, 0.3048},
        {kHostUnitMiles, 1609.344},
        {kHostUnitMillimeters, 0.001},
        {kHostUnitCentimeters, 0.01},
        {kHostUnitMeters, 1.0},
        {kHostUnitKilometers, 1000.0},
    };
    for (const auto& unit : kUnits)
        if (std::fabs(metres - unit.metres) <= 1e-9 * unit.metres)
            return HostUnitInfo {unit.type, 1.0};
    return HostUnitInfo {kHostUnitMeters, metres};
}

} // namespace

AssimpFileKind GetAssimpFileKind(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".fbx")
        return AssimpFileKind::Fbx;
    if (extension == ".gltf" || extension == ".glb")
        return AssimpFileKind::Gltf;
    if (extension == ".obj")
        return AssimpFileKind::Obj;
    if (extension == ".dae")
        return AssimpFileKind::Collada;
    if (extension == ".3ds")
        return AssimpFileKind::Max3ds;
    return AssimpFileKind::Other;
}

HostMatrix3 ToHostMatrix(const aiMatrix4x4& m)
{
    HostMatrix3 h;
    h.rows[0] = {m.a1, m.b1, m.c1};
    h.rows[1] = {m.a2, m.b2, m.c2};
    h.rows[2] = {m.a3, m.b3, m.c3};
    h.rows[3] = {m.a4, m.b4, m.c4};
    return h;
}

HostMatrix3 GetAxisConversion(const aiScene& scene, AssimpFileKind kind)
{
    if (kind == AssimpFileKind::Fbx)
        return MakeFbxToYUp(scene) * MakeYUpToZUp();
    return MakeYUpToZUp();
}

SceneFrame GetSceneFrame(
    const aiScene& scene, AssimpFileKind kind, const std::optional<HostUnitInfo>& fallback)
{
    SceneFrame frame;
    HostMatrix3 root = ToHostMatrix(scene.mRootNode->mTransformation);
    if (kind == AssimpFileKind::Fbx) {
        frame.unit = MakeUnit(GetFbxUnitScaleFactor(scene) / 100.0);
    } else if (kind == AssimpFileKind::Collada) {
        const double scale = GetUniformScale(root);
        frame.unit = MakeUnit(scale);
        if (scale > 0.0)
            root = root * MakeScaleMatrix(HostPoint3 {1.0f, 1.0f, 1.0f} * static_cast<float>(1.0 / scale));
    } else if (kind == AssimpFileKind::Gltf) {
        frame.unit = HostUnitInfo {kHostUnitMeters, 1.0};
    } else {
        frame.unit = fallback.value_or(HostUnitInfo {kHostUnitMeters, 1.0});
    }
    frame.top = root * GetAxisConversion(scene, kind);
    return frame;
}

} // namespace vx
