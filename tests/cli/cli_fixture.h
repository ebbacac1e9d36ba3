// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder of files for varnel-cli to work on, with a state folder of its
// own for the automatic journals.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel::test {

class CliFolderTest : public ::testing::Test {
protected:
    TempDir dir;
    TempDir state;
    CliEnv env{"C", state.path()};

    // varnel-cli run in `dir`, in the C locale.
    CliRun cli(const std::vector<std::string>& args) { return run_cli(args, dir.path(), {}, env); }
};

}  // namespace varnel::test
