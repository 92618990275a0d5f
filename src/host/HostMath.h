#pragma once
// The host's own geometry values and mathematics: points, quaternions, 4x3 matrices, boxes, and
// the operations the exporter asks of the host (identity, product, inverse, affine decomposition).
//
// Conventions: points are row vectors and are transformed as p * M. A matrix holds three axis rows
// (the images of the local x, y and z axes, scale included) and a translation row. The product
// A * B applies A first, then B, so a child's world transform is local * parentWorld.
//
// Why a vocabulary of its own beside base's Vector3 and Quaternion: these are the values the host
// interface speaks, with the layout and conventions of the modelling host's own SDK (Point3, Quat,
// Matrix3), so that a host adapter passes them through unchanged; the converters turn them into
// base's types where they enter the design.

#include <array>

namespace vx {

struct HostPoint3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    friend bool operator==(const HostPoint3&, const HostPoint3&) = default;
};

HostPoint3 operator+(const HostPoint3& a, const HostPoint3& b);
HostPoint3 operator-(const HostPoint3& a, const HostPoint3& b);
HostPoint3 operator*(const HostPoint3& p, float s);
// Cross product a x b.
HostPoint3 CrossProduct(const HostPoint3& a, const HostPoint3& b);
float GetLength(const HostPoint3& p);
// p divided by its length; the zero vector stays zero (never NaN).
HostPoint3 Normalize(const HostPoint3& p);

// A rotation quaternion (x, y, z, w). A unit quaternion for the angle a about the unit axis n is
// (n sin(a/2), cos(a/2)); a positive angle turns counter-clockwise when looking down the axis
// towards the origin (right-handed).
struct HostQuat {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
    friend bool operator==(const HostQuat&, const HostQuat&) = default;
};

// The rotation by angle (radians) about axis; a zero axis gives the identity rotation.
HostQuat MakeQuatFromAxisAngle(const HostPoint3& axis, float angle);

struct HostMatrix3 {
    // rows[0..2]: the local axes; rows[3]: the translation.
    std::array<HostPoint3, 4> rows {
        HostPoint3 {1, 0, 0}, HostPoint3 {0, 1, 0}, HostPoint3 {0, 0, 1}, HostPoint3 {}};

    static HostMatrix3 Identity() { return HostMatrix3 {}; }
    friend bool operator==(const HostMatrix3&, const HostMatrix3&) = default;
};

// Product: a applied first, then b.
HostMatrix3 operator*(const HostMatrix3& a, const HostMatrix3& b);
// The point p transformed by m (translation included).
HostPoint3 operator*(const HostPoint3& p, const HostMatrix3& m);
// The direction v transformed by m's axis rows only.
HostPoint3 TransformVector(const HostPoint3& v, const HostMatrix3& m);
// The inverse of m. A singular m (determinant exactly 0) has no inverse: the result is then built
// from the undivided adjugate, so it stays finite.
HostMatrix3 Inverse(const HostMatrix3& m);
// True when every element of a and b differs by at most tolerance.
bool AreNearlyEqual(const HostMatrix3& a, const HostMatrix3& b, float tolerance);

HostMatrix3 MakeTranslationMatrix(const HostPoint3& t);
HostMatrix3 MakeScaleMatrix(const HostPoint3& s);
// The rotation matrix of q (normalised first); p * MakeRotationMatrix(q) turns p by q.
HostMatrix3 MakeRotationMatrix(const HostQuat& q);
// The rotation of a pure rotation matrix's axis rows as a unit quaternion (w >= 0).
HostQuat MakeQuatFromMatrix(const HostMatrix3& m);
// The rotation a followed by b, as a unit quaternion (w >= 0): the rotation matrix of the result is
// MakeRotationMatrix(a) * MakeRotationMatrix(b).
HostQuat ComposeRotations(const HostQuat& a, const HostQuat& b);
// The rotation first followed by then as the quaternion product then * first, normalised. Unlike
// ComposeRotations it keeps the sign the product gives: two half turns about one axis make
// (0, 0, 0, -1), a whole turn, where ComposeRotations gives the identity. A chain of relative
// rotations so keeps the turning sense past 180 degrees. Zero or non-finite products give the identity.
HostQuat ComposeQuats(const HostQuat& first, const HostQuat& then);

// The parts of an affine transform, so that m = f * (stretch by k along the axes of u) then
// (rotation q) then (translation t); in matrices: M = f * U^T K U Q + t, with U and Q the rotation
// matrices of u and q and K the diagonal matrix of k.
struct HostAffineParts {
    HostPoint3 t; // translation
    HostQuat q; // essential rotation
    HostQuat u; // stretch rotation: the frame in which k applies
    HostPoint3 k {1, 1, 1}; // stretch (scale) factors, each >= 0
    float f = 1.0f; // sign of the determinant: 1 or -1
};

// The affine decomposition of m. A transform made of rotation rows scaled per axis gives those
// scale factors in k in axis order and u = identity. Singular matrices (a zero scale) decompose
// without NaN: k then holds 0 for the collapsed axis.
HostAffineParts DecomposeAffine(const HostMatrix3& m);
// Rebuilds the matrix from its parts (the inverse of DecomposeAffine up to rounding).
HostMatrix3 ComposeAffine(const HostAffineParts& parts);

// An axis-aligned box. The host's empty box has min = +1e30 and max = -1e30 in every component.
struct HostBox3 {
    HostPoint3 min {1e30f, 1e30f, 1e30f};
    HostPoint3 max {-1e30f, -1e30f, -1e30f};

    static HostBox3 Empty() { return HostBox3 {}; }
    bool IsEmpty() const { return min.x > max.x || min.y > max.y || min.z > max.z; }
    // Grows the box to hold p.
    void Include(const HostPoint3& p);
    friend bool operator==(const HostBox3&, const HostBox3&) = default;
};

} // namespace vx
