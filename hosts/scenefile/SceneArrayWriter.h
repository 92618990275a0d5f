#pragma once
// The large arrays of a scene file as the scene file writer produces them: short arrays inline as
// JSON, long ones appended to one binary side file and named by a buffer reference
// {"buffer": 0, "offset": bytes, "count": items, "type": item type}, exactly as the loader reads them.

#include "host/HostBitmap.h"
#include "host/HostMesh.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vx {

class SceneArrayWriter {
public:
    // Arrays of more than maxInlineItems items go to the side file.
    explicit SceneArrayWriter(std::size_t maxInlineItems);

    // Each returns the JSON for the array: inline items, or a buffer reference after appending the
    // items to the side file's bytes. Floats are written in their shortest exact form.
    nlohmann::ordered_json WritePoints(std::span<const HostPoint3> points);
    nlohmann::ordered_json WriteFaces(std::span<const HostFace> faces);
    nlohmann::ordered_json WriteMapFaces(std::span<const HostTVFace> faces);
    nlohmann::ordered_json WriteValues(const std::vector<std::uint32_t>& values);
    // Pixels narrowed from 16 to 8 bits per channel (the format's pixel type).
    nlohmann::ordered_json WritePixels(const std::vector<HostPixel64>& pixels);

    // The side file's bytes; empty when every array stood inline.
    const std::string& GetSideFileBytes() const { return bytes_; }

private:
    nlohmann::ordered_json MakeReference(std::uint64_t offset, std::size_t count, const char* type) const;
    void AppendU32(std::uint32_t value);
    void AppendF32(float value);

    std::size_t maxInlineItems_;
    std::string bytes_;
};

// value as a double whose shortest decimal form reads back as exactly value (0.8f gives 0.8, not
// 0.800000011920929).
double ToShortestDouble(float value);

} // namespace vx
