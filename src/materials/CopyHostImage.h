#pragma once
// Copying a host bitmap's pixels into a toolkit image.

#include "host/HostBitmap.h"
#include "toolkit/VMTexture.h"

#include <cstdint>

namespace vx {

// A 16-bit channel value as 8 bits, rounded to nearest (65535 -> 255, 257 x v -> v).
uint8_t ReduceChannel(uint16_t value);

// Copies bitmap's pixels into image (RGBA, 8 bits per channel, channels rounded by ReduceChannel),
// with image.hasAlpha from the bitmap and image.grayscale set when red, green and blue are equal in
// every pixel. Returns false and leaves image empty when the bitmap has no pixels.
bool CopyHostImage(const HostBitmap& bitmap, VMImage& image);

} // namespace vx
