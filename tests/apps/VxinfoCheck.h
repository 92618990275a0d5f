#pragma once
// The end-to-end tests' check of every database they produce: the inspector's structural check
// (vxinfo check) run on the file as a separate program.

#include "VxexportProcess.h"

#include <gtest/gtest.h>

#include <string>

namespace vxtest {

// The vxinfo program under test.
inline std::string VxinfoPath()
{
    return VXINFO_PATH;
}

// Runs vxinfo check on path and fails the current test, with the findings, unless the file is
// sound (exit code 0).
inline void ExpectSoundDatabase(const std::string& path)
{
    const ProcessResult check = RunProgram(VxinfoPath(), {"check", path});
    EXPECT_EQ(check.exitCode, 0) << "vxinfo check " << path << ":\n" << check.out << check.err;
}

} // namespace vxtest
