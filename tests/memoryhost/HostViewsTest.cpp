// The views the memory host hands out across the host interface point into the storage of the
// object that made them, also after copies (a cloned object must not see its original's arrays).

#include "memoryhost/MemoryMesh.h"
#include "memoryhost/MemoryShape.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using vx::HostFace;
using vx::HostPoint3;
using vx::HostSplineKnot;
using vx::MemoryMesh;
using vx::MemoryShape;
using vx::MemorySpline;

template <typename T, typename Container>
bool PointsInto(const vx::HostArray<T>& view, const Container& storage)
{
    return view.data == storage.data() && view.count == storage.size();
}

TEST(HostViews, ShapeCopiesAndMovesViewTheirOwnKnots)
{
    const HostSplineKnot knot {{0, 0, 0}, {1, 2, 3}, {2, 2, 3}};
    MemoryShape original({MemorySpline {true, {knot, knot}}, MemorySpline {false, {knot}}});
    ASSERT_EQ(original.GetView().splines.size(), 2u);
    EXPECT_TRUE(original.GetView().splines[0].closed);
    EXPECT_TRUE(PointsInto(original.GetView().splines[1].knots, original.GetSplines()[1].knots));

    auto copy = std::make_unique<MemoryShape>(original);
    original = MemoryShape({MemorySpline {false, {}}});
    ASSERT_EQ(copy->GetView().splines.size(), 2u);
    EXPECT_TRUE(PointsInto(copy->GetView().splines[0].knots, copy->GetSplines()[0].knots));
    EXPECT_FLOAT_EQ(copy->GetView().splines[0].knots[1].point.z, 3.0f);

    const MemoryShape moved(std::move(*copy));
    copy.reset();
    ASSERT_EQ(moved.GetView().splines.size(), 2u);
    EXPECT_TRUE(PointsInto(moved.GetView().splines[0].knots, moved.GetSplines()[0].knots));
    EXPECT_EQ(original.GetView().splines[0].knots.size(), 0u);
}

TEST(HostViews, MeshCopiesBuildTheirOwnRenderNormals)
{
    auto original = std::make_unique<MemoryMesh>();
    original->SetVerts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    HostFace face;
    face.v[0] = 0, face.v[1] = 1, face.v[2] = 2;
    face.smGroup = 1;
    original->SetFaces({face});
    const HostPoint3 expected = original->GetRenderVertex(0).normals[0].normal;

    const MemoryMesh copy(*original);
    EXPECT_NE(copy.GetRenderVertex(0).normals.data, original->GetRenderVertex(0).normals.data);
    original.reset();
    const vx::HostArray<vx::HostRenderNormal> normals = copy.GetRenderVertex(0).normals;
    ASSERT_EQ(normals.size(), 1u);
    EXPECT_FLOAT_EQ(normals[0].normal.z, expected.z);
    EXPECT_EQ(copy.GetVerts().size(), 3u);
    EXPECT_EQ(copy.GetFaces()[0].smGroup, 1u);
}

} // namespace
