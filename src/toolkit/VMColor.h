#pragma once
// VMColor: a colour of the toolkit's render properties, three 32-bit floats nominally 0..1.

namespace vx {

struct VMColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    friend bool operator==(const VMColor&, const VMColor&) = default;
};

inline VMColor operator*(const VMColor& c, float s)
{
    return {c.r * s, c.g * s, c.b * s};
}

// True when every component of a and b differs by less than tolerance.
inline bool ColoursWithin(const VMColor& a, const VMColor& b, float tolerance)
{
    auto near = [tolerance](float x, float y) { return (x > y ? x - y : y - x) < tolerance; };
    return near(a.r, b.r) && near(a.g, b.g) && near(a.b, b.b);
}

// True when any component is at least threshold.
inline bool AnyComponentAtLeast(const VMColor& c, float threshold)
{
    return c.r >= threshold || c.g >= threshold || c.b >= threshold;
}

// True when every component is below threshold.
inline bool AllComponentsBelow(const VMColor& c, float threshold)
{
    return c.r < threshold && c.g < threshold && c.b < threshold;
}

} // namespace vx
