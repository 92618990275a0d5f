#include "base/Rotation.h"

#include "base/Numeric.h"

namespace vx {

namespace {

using Matrix = double[3][3];

void ToMatrix(const Rotation& r, Matrix m)
{
    const Vector3* rows[3] = {&r.R0, &r.R1, &r.R2};
    for (int i = 0; i < 3; ++i) {
        m[i][0] = rows[i]->x;
        m[i][1] = rows[i]->y;
        m[i][2] = rows[i]->z;
    }
}

Vector3 ToRow(const double row[3])
{
    return {static_cast<float>(row[0]), static_cast<float>(row[1]), static_cast<float>(row[2])};
}

Rotation FromMatrix(const Matrix m)
{
    return {ToRow(m[0]), ToRow(m[1]), ToRow(m[2])};
}

} // namespace

Vector3 ApplyRows(const Rotation& rows, const Vector3& p)
{
    return p.x * rows.R0 + p.y * rows.R1 + p.z * rows.R2;
}

Rotation Multiply(const Rotation& a, const Rotation& b)
{
    Matrix ma;
    Matrix mb;
    Matrix product;
    ToMatrix(a, ma);
    ToMatrix(b, mb);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            product[i][j] = ma[i][0] * mb[0][j] + ma[i][1] * mb[1][j] + ma[i][2] * mb[2][j];
    return FromMatrix(product);
}

Rotation Inverse(const Rotation& m)
{
    Matrix a;
    ToMatrix(m, a);
    // The adjugate: the transposed cofactors.
    Matrix adj;
    adj[0][0] = a[1][1] * a[2][2] - a[1][2] * a[2][1];
    adj[0][1] = a[0][2] * a[2][1] - a[0][1] * a[2][2];
    adj[0][2] = a[0][1] * a[1][2] - a[0][2] * a[1][1];
    adj[1][0] = a[1][2] * a[2][0] - a[1][0] * a[2][2];
    adj[1][1] = a[0][0] * a[2][2] - a[0][2] * a[2][0];
    adj[1][2] = a[0][2] * a[1][0] - a[0][0] * a[1][2];
    adj[2][0] = a[1][0] * a[2][1] - a[1][1] * a[2][0];
    adj[2][1] = a[0][1] * a[2][0] - a[0][0] * a[2][1];
    adj[2][2] = a[0][0] * a[1][1] - a[0][1] * a[1][0];
    const double determinant = a[0][0] * adj[0][0] + a[0][1] * adj[1][0] + a[0][2] * adj[2][0];
    if (determinant != 0.0) {
        for (auto& row : adj)
            for (double& value : row)
                value /= determinant;
    }
    return FromMatrix(adj);
}

double Determinant(const Rotation& m)
{
    Matrix a;
    ToMatrix(m, a);
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1])
        - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
        + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

void NormaliseIfNeeded(Vector3& row, long double length)
{
    if (length == 0.0L || _feqz(static_cast<double>(length - 1.0L)))
        return;
    const long double inverse = 1.0L / length;
    row.x = static_cast<float>(row.x * inverse);
    row.y = static_cast<float>(row.y * inverse);
    row.z = static_cast<float>(row.z * inverse);
}

} // namespace vx
