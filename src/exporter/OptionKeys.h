#pragma once
// The option keys kept as typed user properties of the scene's root node, so that they travel
// with the host scene file.

namespace vx {

// Boolean: read into optimizeGeometry at the start of a run (the run's own value then replaces it).
constexpr const char* kOptionKeyOptimizeGeometry = "OptGeom";
// Integer: written with lodType at the start of a run.
constexpr const char* kOptionKeyLodType = "LodType";
// Boolean: written with singleObject after the run's values are set and at each click on the
// dialog's check box.
constexpr const char* kOptionKeySingleGeometry = "SingleGeometry";

} // namespace vx
