#include "host/HostMath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vx {

namespace {

// Internal 3x3 work in double precision; m[i] is row i.
using Mat3 = std::array<std::array<double, 3>, 3>;

Mat3 ToMat3(const HostMatrix3& m)
{
    Mat3 r {};
    for (int i = 0; i < 3; ++i) {
        r[i] = {m.rows[i].x, m.rows[i].y, m.rows[i].z};
    }
    return r;
}

HostPoint3 ToPoint(const std::array<double, 3>& v)
{
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

Mat3 Multiply(const Mat3& a, const Mat3& b)
{
    Mat3 r {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return r;
}

Mat3 Transpose(const Mat3& a)
{
    Mat3 r {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a[j][i];
    return r;
}

double Determinant(const Mat3& a)
{
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1])
        - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
        + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

Mat3 Adjugate(const Mat3& a)
{
    Mat3 r {};
    r[0][0] = a[1][1] * a[2][2] - a[1][2] * a[2][1];
    r[0][1] = a[0][2] * a[2][1] - a[0][1] * a[2][2];
    r[0][2] = a[0][1] * a[1][2] - a[0][2] * a[1][1];
    r[1][0] = a[1][2] * a[2][0] - a[1][0] * a[2][2];
    r[1][1] = a[0][0] * a[2][2] - a[0][2] * a[2][0];
    r[1][2] = a[0][2] * a[1][0] - a[0][0] * a[1][2];
    r[2][0] = a[1][0] * a[2][1] - a[1][1] * a[2][0];
    r[2][1] = a[0][1] * a[2][0] - a[0][0] * a[2][1];
    r[2][2] = a[0][0] * a[1][1] - a[0][1] * a[1][0];
    return r;
}

double FrobeniusNorm(const Mat3& a)
{
    double sum = 0.0;
    for (const auto& row : a)
        for (double v : row)
            sum += v * v;
    return std::sqrt(sum);
}

Mat3 RotationOf(const HostQuat& q)
{
    double x = q.x, y = q.y, z = q.z, w = q.w;
    const double length = std::sqrt(x * x + y * y + z * z + w * w);
    if (length == 0.0 || !std::isfinite(length))
        return Mat3 {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    x /= length, y /= length, z /= length, w /= length;
    // Rows are the images of the axes (row-vector convention).
    return Mat3 {{{1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w)},
        {2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w)},
        {2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y)}}};
}

HostQuat QuatOf(const Mat3& rows)
{
    // c is the column-vector form of the rotation: c[i][j] = rows[j][i].
    const Mat3 c = Transpose(rows);
    double x, y, z, w;
    const double trace = c[0][0] + c[1][1] + c[2][2];
    if (trace > 0.0) {
        const double s = std::sqrt(trace + 1.0) * 2.0;
        w = s / 4.0;
        x = (c[2][1] - c[1][2]) / s;
        y = (c[0][2] - c[2][0]) / s;
        z = (c[1][0] - c[0][1]) / s;
    } else if (c[0][0] > c[1][1] && c[0][0] > c[2][2]) {
        const double s = std::sqrt(std::max(0.0, 1.0 + c[0][0] - c[1][1] - c[2][2])) * 2.0;
        w = (c[2][1] - c[1][2]) / s;
        x = s / 4.0;
        y = (c[0][1] + c[1][0]) / s;
        z = (c[0][2] + c[2][0]) / s;
    } else if (c[1][1] > c[2][2]) {
        const double s = std::sqrt(std::max(0.0, 1.0 + c[1][1] - c[0][0] - c[2][2])) * 2.0;
        w = (c[0][2] - c[2][0]) / s;
        x = (c[0][1] + c[1][0]) / s;
        y = s / 4.0;
        z = (c[1][2] + c[2][1]) / s;
    } else {
        const double s = std::sqrt(std::max(0.0, 1.0 + c[2][2] - c[0][0] - c[1][1])) * 2.0;
        w = (c[1][0] - c[0][1]) / s;
        x = (c[0][2] + c[2][0]) / s;
        y = (c[1][2] + c[2][1]) / s;
        z = s / 4.0;
    }
    if (!std::isfinite(x + y + z + w))
        return HostQuat {};
    if (w < 0.0)
        x = -x, y = -y, z = -z, w = -w;
    const double length = std::sqrt(x * x + y * y + z * z + w * w);
    if (length == 0.0)
        return HostQuat {};
    return {static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length),
        static_cast<float>(w / length)};
}

// The rotation nearest to the rows of a singular matrix: the rows that carry a direction are made
// orthonormal (longest first, Gram-Schmidt) and keep their axis; the collapsed ones are filled in
// so that the result is a proper rotation.
Mat3 Orthonormalize(const Mat3& a)
{
    auto lengthOf
        = [](const std::array<double, 3>& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); };
    auto cross = [](const std::array<double, 3>& p, const std::array<double, 3>& q) {
        return std::array<double, 3> {
            p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2], p[0] * q[1] - p[1] * q[0]};
    };
    std::array<int, 3> order {0, 1, 2};
    std::sort(order.begin(), order.end(), [&](int i, int j) { return lengthOf(a[i]) > lengthOf(a[j]); });
    Mat3 r = a;
    std::array<bool, 3> kept {false, false, false};
    for (int i : order) {
        for (int j = 0; j < 3; ++j) {
            if (!kept[j])
                continue;
            const double d = r[i][0] * r[j][0] + r[i][1] * r[j][1] + r[i][2] * r[j][2];
            for (int c = 0; c < 3; ++c)
                r[i][c] -= d * r[j][c];
        }
        const double length = lengthOf(r[i]);
        if (length < 1e-12 * std::max(1.0, lengthOf(a[order[0]])))
            continue;
        for (double& c : r[i])
            c /= length;
        kept[i] = true;
    }
    const int keptCount = int(kept[0]) + int(kept[1]) + int(kept[2]);
    if (keptCount == 0)
        return Mat3 {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    if (keptCount == 1) {
        const int only = kept[0] ? 0 : kept[1] ? 1 : 2;
        const int next = (only + 1) % 3;
        r[next] = std::abs(r[only][0]) < 0.9 ? cross(r[only], {1, 0, 0}) : cross(r[only], {0, 1, 0});
        const double length = lengthOf(r[next]);
        for (double& c : r[next])
            c /= length;
        kept[next] = true;
    }
    for (int m = 0; m < 3; ++m)
        if (!kept[m])
            r[m] = cross(r[(m + 1) % 3], r[(m + 2) % 3]);
    if (Determinant(r) < 0.0)
        for (double& c : r[order[2]])
            c = -c;
    return r;
}

// The orthogonal factor of a non-singular matrix's polar decomposition (scaled Newton iteration).
Mat3 PolarRotation(const Mat3& a)
{
    Mat3 q = a;
    for (int iteration = 0; iteration < 100; ++iteration) {
        const double det = Determinant(q);
        if (det == 0.0 || !std::isfinite(det))
            return Orthonormalize(a);
        Mat3 inverseTransposed = Transpose(Adjugate(q));
        for (auto& row : inverseTransposed)
            for (double& v : row)
                v /= det;
        const double gamma = std::sqrt(FrobeniusNorm(inverseTransposed) / FrobeniusNorm(q));
        Mat3 next {};
        double change = 0.0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                next[i][j] = 0.5 * (gamma * q[i][j] + inverseTransposed[i][j] / gamma);
                change = std::max(change, std::abs(next[i][j] - q[i][j]));
            }
        q = next;
        if (change < 1e-15)
            break;
    }
    return q;
}

// Eigenvalues and eigenvectors (as the columns of vectors) of a symmetric matrix (cyclic Jacobi).
void DecomposeSymmetric(Mat3 a, std::array<double, 3>& values, Mat3& vectors)
{
    vectors = Mat3 {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (int sweep = 0; sweep < 50; ++sweep) {
        const double off = std::abs(a[0][1]) + std::abs(a[0][2]) + std::abs(a[1][2]);
        if (off <= 1e-15 * (std::abs(a[0][0]) + std::abs(a[1][1]) + std::abs(a[2][2])) || off == 0.0)
            break;
        for (int p = 0; p < 2; ++p) {
            for (int q = p + 1; q < 3; ++q) {
                if (a[p][q] == 0.0)
                    continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t
                    = (theta >= 0.0 ? 1.0 : -1.0) / (std::abs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                for (int k = 0; k < 3; ++k) {
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 3; ++k) {
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 3; ++k) {
                    const double vkp = vectors[k][p], vkq = vectors[k][q];
                    vectors[k][p] = c * vkp - s * vkq;
                    vectors[k][q] = s * vkp + c * vkq;
                }
            }
        }
    }
    values = {a[0][0], a[1][1], a[2][2]};
}

} // namespace

HostPoint3 operator+(const HostPoint3& a, const HostPoint3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

HostPoint3 operator-(const HostPoint3& a, const HostPoint3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

HostPoint3 operator*(const HostPoint3& p, float s)
{
    return {p.x * s, p.y * s, p.z * s};
}

HostPoint3 CrossProduct(const HostPoint3& a, const HostPoint3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float GetLength(const HostPoint3& p)
{
    return static_cast<float>(std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z));
}

HostPoint3 Normalize(const HostPoint3& p)
{
    const double length = std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
    if (length == 0.0 || !std::isfinite(length))
        return HostPoint3 {};
    return {
        static_cast<float>(p.x / length), static_cast<float>(p.y / length), static_cast<float>(p.z / length)};
}

HostQuat MakeQuatFromAxisAngle(const HostPoint3& axis, float angle)
{
    const HostPoint3 n = Normalize(axis);
    if (n == HostPoint3 {})
        return HostQuat {};
    const double s = std::sin(angle / 2.0);
    return {static_cast<float>(n.x * s), static_cast<float>(n.y * s), static_cast<float>(n.z * s),
        static_cast<float>(std::cos(angle / 2.0))};
}

HostPoint3 TransformVector(const HostPoint3& v, const HostMatrix3& m)
{
    const double x = double(v.x) * m.rows[0].x + double(v.y) * m.rows[1].x + double(v.z) * m.rows[2].x;
    const double y = double(v.x) * m.rows[0].y + double(v.y) * m.rows[1].y + double(v.z) * m.rows[2].y;
    const double z = double(v.x) * m.rows[0].z + double(v.y) * m.rows[1].z + double(v.z) * m.rows[2].z;
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

HostPoint3 operator*(const HostPoint3& p, const HostMatrix3& m)
{
    return TransformVector(p, m) + m.rows[3];
}

HostMatrix3 operator*(const HostMatrix3& a, const HostMatrix3& b)
{
    HostMatrix3 r;
    for (int i = 0; i < 3; ++i)
        r.rows[i] = TransformVector(a.rows[i], b);
    r.rows[3] = a.rows[3] * b;
    return r;
}

HostMatrix3 Inverse(const HostMatrix3& m)
{
    const Mat3 a = ToMat3(m);
    Mat3 inverse = Adjugate(a);
    const double det = Determinant(a);
    if (det != 0.0)
        for (auto& row : inverse)
            for (double& v : row)
                v /= det;
    HostMatrix3 r;
    for (int i = 0; i < 3; ++i)
        r.rows[i] = ToPoint(inverse[i]);
    r.rows[3] = TransformVector(m.rows[3], r) * -1.0f;
    return r;
}

bool AreNearlyEqual(const HostMatrix3& a, const HostMatrix3& b, float tolerance)
{
    for (int i = 0; i < 4; ++i) {
        const HostPoint3 d = a.rows[i] - b.rows[i];
        if (!(std::abs(d.x) <= tolerance && std::abs(d.y) <= tolerance && std::abs(d.z) <= tolerance))
            return false;
    }
    return true;
}

HostMatrix3 MakeTranslationMatrix(const HostPoint3& t)
{
    HostMatrix3 r;
    r.rows[3] = t;
    return r;
}

HostMatrix3 MakeScaleMatrix(const HostPoint3& s)
{
    HostMatrix3 r;
    r.rows[0] = {s.x, 0, 0};
    r.rows[1] = {0, s.y, 0};
    r.rows[2] = {0, 0, s.z};
    return r;
}

HostMatrix3 MakeRotationMatrix(const HostQuat& q)
{
    const Mat3 rotation = RotationOf(q);
    HostMatrix3 r;
    for (int i = 0; i < 3; ++i)
        r.rows[i] = ToPoint(rotation[i]);
    return r;
}

HostQuat MakeQuatFromMatrix(const HostMatrix3& m)
{
    return QuatOf(ToMat3(m));
}

HostQuat ComposeRotations(const HostQuat& a, const HostQuat& b)
{
    return MakeQuatFromMatrix(MakeRotationMatrix(a) * MakeRotationMatrix(b));
}

HostQuat ComposeQuats(const HostQuat& first, const HostQuat& then)
{
    // Hamilton product p * q with p = then, q = first, in doubles.
    const double px = then.x, py = then.y, pz = then.z, pw = then.w;
    const double qx = first.x, qy = first.y, qz = first.z, qw = first.w;
    const double x = pw * qx + qw * px + (py * qz - pz * qy);
    const double y = pw * qy + qw * py + (pz * qx - px * qz);
    const double z = pw * qz + qw * pz + (px * qy - py * qx);
    const double w = pw * qw - (px * qx + py * qy + pz * qz);
    const double length = std::sqrt(x * x + y * y + z * z + w * w);
    if (length == 0.0 || !std::isfinite(length))
        return HostQuat {};
    return {static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length),
        static_cast<float>(w / length)};
}

HostAffineParts DecomposeAffine(const HostMatrix3& m)
{
    HostAffineParts parts;
    parts.t = m.rows[3];
    Mat3 a = ToMat3(m);
    if (Determinant(a) < 0.0) {
        parts.f = -1.0f;
        for (auto& row : a)
            for (double& v : row)
                v = -v;
    }
    // a = K Q: K symmetric (the stretch, applied first), Q the rotation.
    const Mat3 q = std::abs(Determinant(a)) > 1e-300 ? PolarRotation(a) : Orthonormalize(a);
    Mat3 k = Multiply(a, Transpose(q));
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            k[i][j] = k[j][i] = 0.5 * (k[i][j] + k[j][i]);
    parts.q = QuatOf(q);

    std::array<double, 3> values {};
    Mat3 vectors {};
    DecomposeSymmetric(k, values, vectors);
    // Give each eigenvector the axis it lies closest to, so that an axis-aligned stretch keeps
    // u = identity and its factors in axis order.
    static constexpr std::array<std::array<int, 3>, 6> kPermutations {
        {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}}};
    std::array<int, 3> best = kPermutations[0];
    double bestScore = -1.0;
    for (const auto& permutation : kPermutations) {
        // permutation[axis] = the eigenvector given to that axis.
        double score = 0.0;
        for (int axis = 0; axis < 3; ++axis)
            score += std::abs(vectors[axis][permutation[axis]]);
        if (score > bestScore + 1e-12) {
            bestScore = score;
            best = permutation;
        }
    }
    Mat3 stretchRows {};
    for (int axis = 0; axis < 3; ++axis) {
        const int j = best[axis];
        const double sign = vectors[axis][j] < 0.0 ? -1.0 : 1.0;
        for (int c = 0; c < 3; ++c)
            stretchRows[axis][c] = sign * vectors[c][j];
        const double factor = std::max(0.0, values[j]);
        (axis == 0 ? parts.k.x : axis == 1 ? parts.k.y : parts.k.z) = static_cast<float>(factor);
    }
    if (Determinant(stretchRows) < 0.0) {
        // Turn the frame proper by flipping the axis that agrees least with its own.
        int weakest = 0;
        for (int axis = 1; axis < 3; ++axis)
            if (std::abs(stretchRows[axis][axis]) < std::abs(stretchRows[weakest][weakest]))
                weakest = axis;
        for (double& c : stretchRows[weakest])
            c = -c;
    }
    parts.u = QuatOf(stretchRows);
    return parts;
}

HostMatrix3 ComposeAffine(const HostAffineParts& parts)
{
    const Mat3 u = RotationOf(parts.u);
    const Mat3 q = RotationOf(parts.q);
    const Mat3 stretch {{{parts.k.x, 0, 0}, {0, parts.k.y, 0}, {0, 0, parts.k.z}}};
    const Mat3 a = Multiply(Multiply(Multiply(Transpose(u), stretch), u), q);
    HostMatrix3 r;
    for (int i = 0; i < 3; ++i)
        r.rows[i] = ToPoint(a[i]) * parts.f;
    r.rows[3] = parts.t;
    return r;
}

void HostBox3::Include(const HostPoint3& p)
{
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

} // namespace vx
