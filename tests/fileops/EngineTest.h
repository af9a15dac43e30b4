// The base of the engine's tests: an engine and a scratch folder named after the running test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fileops/FileOpsEngine.h"
#include "tests/fileops/FileTree.h"
#include "tests/support/TestKit.h"

namespace filetree {

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : dir(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
  std::string At(const std::string& relative) const { return dir / relative; }
  void Make(const std::string& relative, const std::string& content = "x") {
    filetree::Make(dir.path, relative, content);
  }
  testkit::ScratchDir dir;
  CFileOpsEngine engine;
};

}  // namespace filetree
