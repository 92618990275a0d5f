#pragma once
// The module handle of the plug-in library: stored by the library entry when the library is loaded.

namespace vx {

// Stores handle as the library's module handle; null forgets it (as before the library entry ran).
void StoreModuleHandle(void* handle);

// The stored module handle; null before the library entry stored one.
void* GetStoredModuleHandle();

} // namespace vx
