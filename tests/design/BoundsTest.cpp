// Bounding boxes: from geometry, through instances, enlarging a valid box, and rejecting
// non-finite content.

#include "design/Bounds.h"
#include "design/CompositeObject.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

void ExpectBox(const ZR::Aabb& box, vx::Vector3 min, vx::Vector3 max)
{
    EXPECT_TRUE(box.valid);
    EXPECT_EQ(box.min, min);
    EXPECT_EQ(box.max, max);
}

// Adds a pair whose vertices are the corners of the box (x0..x1, y0..y1, z0..z1) in host axes; the
// vertex data holds them in database order (y and z exchanged).
ZR::ModelPair& AddCorners(ZR::CompositeObject& object, vx::Vector3 lo, vx::Vector3 hi)
{
    auto vd = vx::MakeVMRef<vx::VMVertexData>();
    vd->SetVertexCount(8);
    for (int i = 0; i < 8; ++i) {
        const vx::Vector3 p {(i & 4) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 1) ? hi.z : lo.z};
        vd->SetPosition(i, {p.x, p.z, p.y});
    }
    ZR::ModelPair& pair = object.data.Model.pairs.Append();
    pair.vd = vd;
    return pair;
}

ZR::ObjectInstance& Place(ZR::CompositeObject& owner, ZR::CompositeObject& target, vx::Vector3 at)
{
    ZR::ObjectInstance* instance = owner.AddComponent(&target, vx::DUniqueID::NewSequential());
    instance->placement.position = at;
    return *instance;
}

struct Rejections {
    std::vector<std::string> names;
    ZR::BoundsRejectHandler Handler()
    {
        return [this](const ZR::CompositeObject& object, const char*) {
            names.emplace_back(object.name.c_str());
        };
    }
};

TEST(Bounds, GeometryIsPlacedByThePairTransform)
{
    ZR::CompositeObject cube;
    AddCorners(cube, {0, 0, 0}, {1, 1, 1});
    ExpectBox(ZR::ComputeBounds(cube), {0, 0, 0}, {1, 1, 1});
    ExpectBox(cube.data.Aabb, {0, 0, 0}, {1, 1, 1});

    ZR::CompositeObject moved;
    vx::Transform t;
    t.rows = vx::UniformScaleRotation(2.0f);
    t.position = {1, 2, 3};
    AddCorners(moved, {0, 0, 0}, {1, 1, 1}).transform.Set(t);
    ExpectBox(ZR::ComputeBounds(moved), {1, 2, 3}, {3, 4, 5});
}

TEST(Bounds, InstancesPlaceTheirTargetsAndGetTheirOwnBox)
{
    ZR::CompositeObject cube;
    AddCorners(cube, {0, 0, 0}, {1, 1, 1});
    ZR::CompositeObject middle;
    ZR::ObjectInstance& inner = Place(middle, cube, {10, 0, 0});
    ZR::CompositeObject top;
    ZR::ObjectInstance& outer = Place(top, middle, {0, 5, 0});

    ExpectBox(ZR::ComputeBounds(middle), {10, 0, 0}, {11, 1, 1});
    ExpectBox(inner.box, {10, 0, 0}, {11, 1, 1});
    // middle's valid box is used as its eight corners.
    ExpectBox(ZR::ComputeBounds(top), {10, 5, 0}, {11, 6, 1});
    ExpectBox(outer.box, {10, 5, 0}, {11, 6, 1});
}

TEST(Bounds, AValidBoxIsEnlargedNeverShrunk)
{
    ZR::CompositeObject object;
    AddCorners(object, {0, 0, 0}, {20, 1, 1});
    object.data.Aabb = {{-5, -5, -5}, {5, 5, 5}, true};
    ExpectBox(ZR::ComputeBounds(object), {-5, -5, -5}, {20, 5, 5});
}

TEST(Bounds, NothingGivesTheValidZeroBox)
{
    ZR::CompositeObject empty;
    ExpectBox(ZR::ComputeBounds(empty), {0, 0, 0}, {0, 0, 0});
}

TEST(Bounds, LargeValuesAreReportedAndUsed)
{
    vxtest::DebugCapture capture;
    ZR::CompositeObject object;
    AddCorners(object, {0, 0, 0}, {6e9f, 1, 1});
    ExpectBox(ZR::ComputeBounds(object), {0, 0, 0}, {6e9f, 1, 1});
    EXPECT_NE(capture.Text().find("Suspiciously large value 6.00000e+09"), std::string::npos);
}

TEST(Bounds, NonFiniteGeometryRejectsTheObjectAndItsPlacementsAreSkipped)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const float bad : {nan, inf}) {
        vxtest::DebugCapture capture;
        Rejections rejections;
        ZR::CompositeObject broken;
        broken.name.Assign("Broken");
        AddCorners(broken, {0, 0, 0}, {1, bad, 1});
        EXPECT_FALSE(ZR::ComputeBounds(broken, rejections.Handler()).valid);
        EXPECT_FALSE(broken.data.Aabb.valid);

        // An owner keeps its other content; the instance of the broken object gets no box.
        ZR::CompositeObject cube;
        AddCorners(cube, {0, 0, 0}, {1, 1, 1});
        ZR::CompositeObject owner;
        Place(owner, cube, {0, 0, 0});
        ZR::ObjectInstance& placed = Place(owner, broken, {0, 0, 0});
        ExpectBox(ZR::ComputeBounds(owner, rejections.Handler()), {0, 0, 0}, {1, 1, 1});
        EXPECT_FALSE(placed.box.valid);
        EXPECT_EQ(rejections.names, (std::vector<std::string> {"Broken", "Broken"}));
        EXPECT_NE(capture.Text().find("Bounding box of \"Broken\""), std::string::npos);
    }
}

TEST(Bounds, NonFinitePlacementOrBoxIsNotUsed)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    vxtest::DebugCapture capture;
    Rejections rejections;
    ZR::CompositeObject cube;
    AddCorners(cube, {0, 0, 0}, {1, 1, 1});
    ZR::CompositeObject owner;
    owner.name.Assign("Owner");
    Place(owner, cube, {2, 0, 0});
    ZR::ObjectInstance& badPosition = Place(owner, cube, {nan, 0, 0});
    ZR::ObjectInstance& badMatrix = Place(owner, cube, {0, 0, 0});
    badMatrix.placement.matrix.R1.x = nan;
    ExpectBox(ZR::ComputeBounds(owner, rejections.Handler()), {2, 0, 0}, {3, 1, 1});
    EXPECT_FALSE(badPosition.box.valid);
    EXPECT_FALSE(badMatrix.box.valid);
    EXPECT_EQ(rejections.names, (std::vector<std::string> {"Owner", "Owner"}));

    ZR::CompositeObject stale;
    stale.data.Aabb = {{0, 0, 0}, {nan, 1, 1}, true};
    EXPECT_FALSE(ZR::ComputeBounds(stale).valid);
}

// The box's bounds as bit patterns, so that the signs of zeros count.
std::vector<uint32_t> BoxBits(const ZR::Aabb& box)
{
    return {std::bit_cast<uint32_t>(box.min.x), std::bit_cast<uint32_t>(box.min.y),
        std::bit_cast<uint32_t>(box.min.z), std::bit_cast<uint32_t>(box.max.x),
        std::bit_cast<uint32_t>(box.max.y), std::bit_cast<uint32_t>(box.max.z)};
}

TEST(Bounds, EqualBoundsKeepTheFirstPointsSignOfZero)
{
    // Of equal bounds the first in collection order (a valid box's corners, the object's own
    // geometry, then each instance in turn) decides the stored value: +0 and -0 are equal but are
    // stored apart. The box equals BoxFromPoints over the collected points, bit for bit.
    const float m = -0.0f;
    ZR::CompositeObject leaf;
    vx::Transform keepsNegativeZero;
    keepsNegativeZero.position = {0, m, 0};
    AddCorners(leaf, {-1, m, -1}, {-1, m, -1}).transform.Set(keepsNegativeZero);
    ZR::CompositeObject object;
    AddCorners(object, {0, 0, 0}, {1, 2, 1}); // y from +0
    Place(object, leaf, {0, m, 0}); // every term -0: the placed y stays -0
    Place(object, leaf, {-3, m, 4}).placement.matrix = vx::UniformScaleRotation(0.5f);

    ZR::PointList points;
    ASSERT_TRUE(ZR::CollectPoints(object, points));
    ASSERT_TRUE(std::signbit(points.at(8).y)); // the first placed point of the leaf
    ZR::Aabb expected;
    ZR::BoxFromPoints(expected, points);
    const ZR::Aabb box = ZR::ComputeAabb(object);
    ASSERT_TRUE(box.valid);
    EXPECT_EQ(BoxBits(box), BoxBits(expected));
    EXPECT_FALSE(std::signbit(box.min.y));

    // A valid box is enlarged: its corners come first, so its -0 stays.
    const ZR::Aabb stale {{0, m, 0}, {0, m, 0}, true};
    object.data.Aabb = stale;
    ZR::PointList withCorners;
    ASSERT_TRUE(ZR::CollectPoints(object, withCorners));
    object.data.Aabb.valid = false;
    ASSERT_TRUE(ZR::CollectPoints(object, withCorners));
    ZR::BoxFromPoints(expected, withCorners);
    object.data.Aabb = stale;
    const ZR::Aabb enlarged = ZR::ComputeBounds(object);
    EXPECT_EQ(BoxBits(enlarged), BoxBits(expected));
    EXPECT_TRUE(std::signbit(enlarged.min.y));
}

TEST(Bounds, ACycleThroughInstancesEnds)
{
    vxtest::DebugCapture capture;
    Rejections rejections;
    ZR::CompositeObject a;
    a.name.Assign("A");
    ZR::CompositeObject b;
    b.name.Assign("B");
    AddCorners(b, {0, 0, 0}, {1, 1, 1});
    Place(a, b, {0, 0, 0});
    ZR::ObjectInstance& back = Place(b, a, {5, 5, 5});

    ExpectBox(ZR::ComputeBounds(a, rejections.Handler()), {0, 0, 0}, {1, 1, 1});
    EXPECT_FALSE(back.box.valid);
    EXPECT_EQ(rejections.names, std::vector<std::string> {"A"});
}

} // namespace
