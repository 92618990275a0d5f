#pragma once
// Placements of the design: a position and the angles azimuth, elevation and twist in degrees, as
// stored for every placed thing (instances, geometries, model descriptions).

#include "base/Rotation.h"
#include "base/Vector3.h"

namespace vx {

// Position x, y, z and the angles in degrees.
struct AnglePlacement {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float azimuth = 0.0f;
    float elevation = 0.0f;
    float twist = 0.0f;

    friend bool operator==(const AnglePlacement&, const AnglePlacement&) = default;
};

// Azimuth, elevation and twist in radians.
struct AzElTw {
    float azimuth = 0.0f;
    float elevation = 0.0f;
    float twist = 0.0f;
};

// The angles of unit rows R0, R1, R2, in extended precision:
//   elevation = -asin(R2.y), azimuth = atan2(R2.x, R2.z),
//   U = (-sin(azimuth) R2.y, cos(elevation), -cos(azimuth) R2.y), twist = asin(R0 . U), and
//   twist = pi - twist when R1 . U < 0.
// Arguments of asin at or beyond -1 ... 1 give exactly -pi/2 or +pi/2. NaNs in a row give NaN in
// the angles that depend on it; nothing else happens.
AzElTw DecomposeAzElTw(const Vector3& R0, const Vector3& R1, const Vector3& R2);

// A placement with the sizes the rows carried.
struct PlacementAndSizes {
    AnglePlacement placement;
    // The lengths of R0, R2, R1 (in the order of the exchanged axes).
    Vector3 sizes;
};

// The stored form of design-frame rows and a position. The database keeps the host's axis order,
// which is the design frame with its second and third axes exchanged: position (x, z, y); sizes
// (|R0|, |R2|, |R1|); the rows normalised if needed and brought into the stored order (R0, R2, R1,
// each with its second and third component exchanged), their angles (DecomposeAzElTw) in degrees
// (factor 57.2957763671875) negated and rounded to 0.1 (RoundTo). Positions and sizes are not
// rounded.
// Bad input: a zero row stays zero (its angles come out as those of the remaining rows, 0 for all
// zero rows); an angle that comes out NaN (NaN or infinite rows) is stored as 0 and reported to the
// debugger output by RoundTo. NaN positions and sizes pass through for the caller's myFinite checks.
PlacementAndSizes TransformToPlacement(const Rotation& rows, const Vector3& position);

} // namespace vx
