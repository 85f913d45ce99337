#include "tools/output_files.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

namespace fs = std::filesystem;

// A fresh empty directory per test.
class OutputFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::path(::testing::TempDir()) / (std::string("kaldra_output_") + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::set<std::string> Entries() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir_;
};

TEST_F(OutputFilesTest, WritesEveryFileAndLeavesNoTemporaryFile) {
  std::ofstream(Path("b.txt")) << "old contents, longer than the new";
  ASSERT_FALSE(WriteFilesWhole({{Path("a.txt"), "alpha\n"}, {Path("b.txt"), "beta"}}));
  EXPECT_EQ(Contents(Path("a.txt")), "alpha\n");
  EXPECT_EQ(Contents(Path("b.txt")), "beta");
  EXPECT_EQ(Entries(), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST_F(OutputFilesTest, WritesNothingWhenOneFileCannotBeWritten) {
  std::ofstream(Path("keep.txt")) << "untouched";
  const std::optional<std::string> problem = WriteFilesWhole(
      {{Path("a.txt"), "alpha"}, {Path("keep.txt"), "new"}, {Path("no/such/dir.txt"), "x"}});
  ASSERT_TRUE(problem.has_value());
  EXPECT_NE(problem->find("no/such/dir.txt"), std::string::npos) << *problem;
  EXPECT_EQ(Entries(), (std::set<std::string>{"keep.txt"}));
  EXPECT_EQ(Contents(Path("keep.txt")), "untouched");
}

TEST_F(OutputFilesTest, ReportsARenameOntoADirectoryAndCleansUp) {
  fs::create_directory(Path("taken"));
  fs::create_directory(Path("taken/inside"));
  ASSERT_TRUE(WriteFilesWhole({{Path("taken"), "x"}}).has_value());
  EXPECT_EQ(Entries(), (std::set<std::string>{"taken"}));
}

TEST_F(OutputFilesTest, ChecksTheDirectoryBeforeAnyWork) {
  EXPECT_FALSE(CheckOutputPath(Path("new.png")).has_value());
  EXPECT_FALSE(CheckOutputPath("relative-name.png").has_value());
  EXPECT_TRUE(CheckOutputPath(Path("missing/new.png")).has_value());
  std::ofstream(Path("file")) << "";
  EXPECT_TRUE(CheckOutputPath(Path("file/new.png")).has_value());
  const std::optional<std::string> onto_dir = CheckOutputPath(dir_.string());
  ASSERT_TRUE(onto_dir.has_value());
  EXPECT_NE(onto_dir->find("is a directory"), std::string::npos);
}

}  // namespace
}  // namespace kaldra
