// rxt4 render --keys and --held, run as the built program on the sample folder.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <fstream>
#include <string>

#include "../common/RunRxt4.h"
namespace {

namespace fs = std::filesystem;
using rxt4::test::RunRxt4;
using rxt4::test::ReadAll;

class RenderKeys : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    temp_ = std::make_unique<rxt4::test::TempFolder>("keys");
    dir_ = temp_->path();
    ASSERT_EQ(Run("sample data"), 0);
    ASSERT_EQ(Run("render data --out plain"), 0);
  }
  static void TearDownTestSuite() { temp_.reset(); }

  // Runs rxt4 in the temporary folder; the exit status.
  static int Run(const std::string& args) {
    return RunRxt4(dir_, args).status;
  }
  // The image rendered into out; a missing or empty one fails the test, so that two
  // missing images never compare equal.
  static std::string Image(const std::string& out, const std::string& kind, const std::string& number = "001") {
    const fs::path file = dir_ / out / "0412" / kind / (number + ".png");
    std::string bytes = ReadAll(file);
    EXPECT_FALSE(bytes.empty()) << file;
    return bytes;
  }
  static std::string Err() { return ReadAll(dir_ / "err.txt"); }

  static inline std::unique_ptr<rxt4::test::TempFolder> temp_;
  static inline fs::path dir_;
};

TEST_F(RenderKeys, KeysActOnTheScreensThatTakeThem) {
  ASSERT_EQ(Run("render data --out shifted --keys SHIFT+RIGHT"), 0);
  for (const char* kind : {"MULTI", "SPECTRUM", "PROFILE"}) EXPECT_NE(Image("shifted", kind), Image("plain", kind)) << kind;
  for (const char* kind : {"LEVEL", "BER", "SKY", "CONSTEL"}) EXPECT_EQ(Image("shifted", kind), Image("plain", kind)) << kind;

  // ↑ and ↓ without シフト belong to the viewer's tree: nothing here.
  ASSERT_EQ(Run("render data --out tree --keys UP,DOWN,down"), 0);
  for (const char* kind : {"MULTI", "SPECTRUM", "PROFILE", "LEVEL"}) EXPECT_EQ(Image("tree", kind), Image("plain", kind)) << kind;

  // 決定 only on the multi-channel screen.
  ASSERT_EQ(Run("render data --out enter --keys ENTER"), 0);
  EXPECT_NE(Image("enter", "MULTI"), Image("plain", "MULTI"));
  EXPECT_EQ(Image("enter", "PROFILE"), Image("plain", "PROFILE"));

  // The held count speeds up the delay profile marker only.
  ASSERT_EQ(Run("render data --out held0 --keys RIGHT"), 0);
  ASSERT_EQ(Run("render data --out held2 --keys RIGHT --held 2"), 0);
  ASSERT_EQ(Run("render data --out thrice --keys RIGHT,RIGHT,RIGHT"), 0);
  EXPECT_NE(Image("held2", "PROFILE"), Image("held0", "PROFILE"));
  EXPECT_EQ(Image("held2", "PROFILE"), Image("thrice", "PROFILE"));
  EXPECT_EQ(Image("held2", "MULTI"), Image("held0", "MULTI"));
}

TEST_F(RenderKeys, BadKeysAreUsageErrors) {
  EXPECT_EQ(Run("render data --out bad --keys LEFT,JUMP"), 2);
  EXPECT_NE(Err().find("JUMP"), std::string::npos) << Err();
  EXPECT_NE(Err().find("--keys"), std::string::npos);
  EXPECT_EQ(Run("render data --out bad --keys LEFT,,RIGHT"), 2);
  EXPECT_EQ(Run("render data --out bad --keys SHIFT+"), 2);
  EXPECT_EQ(Run("render data --out bad --keys"), 2);
  EXPECT_EQ(Run("render data --out bad --keys LEFT --held -1"), 2);
  EXPECT_EQ(Run("render data --out bad --keys LEFT --held 2x"), 2);
  EXPECT_FALSE(fs::exists(dir_ / "bad" / "0412"));
  EXPECT_EQ(Run("render --help"), 0);
  EXPECT_NE(ReadAll(dir_ / "out.txt").find("--held N"), std::string::npos);
}

}  // namespace
