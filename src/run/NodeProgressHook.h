#pragma once
// The node progress hook: called by each export node once at the start of its conversion, when
// set. The export run sets it to a function that counts the node and reports the progress.

namespace vx {

using NodeProgressFunction = void (*)();

// The process-wide hook; null until a run sets it. Every run resets it before setting it again.
NodeProgressFunction& NodeProgressHook();

} // namespace vx
