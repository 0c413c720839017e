// The fixture of tests that run the built plug-in as a host does: the
// plug-in, this program's file-existence answer back on the file system for
// every test, and a scratch directory.
#pragma once

#include <gtest/gtest.h>

#include "tests/e2e/HostFileExistence.h"
#include "tests/support/Plugin.h"
#include "tests/support/TestPaths.h"

namespace orvik::test {

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override { SetExistAnswer(ExistAnswer::FileSystem); }

  const Plugin plugin_;
  const TempDir dir_;
};

}  // namespace orvik::test
