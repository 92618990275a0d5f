#pragma once
// The name by which the log, the failure list and the root record speak of something nameless.

namespace vx {

constexpr const char* kTextNoName = "- no name -";

} // namespace vx
