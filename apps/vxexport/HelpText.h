#pragma once
// The texts of --help and --version.

#include <string>

namespace vx {

// The usage: synopsis, options, exit codes and where the log goes.
std::string GetUsageText();

// "vxexport <version>" followed by a newline.
std::string GetVersionText();

} // namespace vx
