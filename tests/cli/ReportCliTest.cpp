// rxt4 report and rxt4 export on the sample folder: what they write, and their
// answers to bad input (exit status, message, and no file left behind).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "RunRxt4.h"
namespace {

namespace fs = std::filesystem;
using rxt4::test::RunRxt4;
using rxt4::test::Slurp;

class ReportCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("rxt4_cli_report_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ASSERT_EQ(Run("sample data"), 0);
    std::ofstream(dir_ / "plain") << "a file, not a folder";
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }

  static int Run(const std::string& args) {
    return RunRxt4(dir_, args).status;
  }
  static std::string Err() { return Slurp(dir_ / "err.txt"); }

  static inline fs::path dir_;
};

TEST_F(ReportCli, WritesTheReportAndTheExports) {
  ASSERT_EQ(Run("report data --set 0413 --out r.pdf"), 0) << Err();
  EXPECT_EQ(Slurp(dir_ / "out.txt"), "r.pdf: 15 measurements of 1 set folders\n");
  EXPECT_EQ(Slurp(dir_ / "r.pdf").substr(0, 5), "%PDF-");
  ASSERT_EQ(Run("export data --set 0413 --sqlite e.db --csv csv"), 0) << Err();
  EXPECT_EQ(Slurp(dir_ / "e.db").substr(0, 16), std::string("SQLite format 3\0", 16));
  EXPECT_EQ(Slurp(dir_ / "csv" / "sky.csv").substr(0, 3), "\xEF\xBB\xBF");
}

TEST_F(ReportCli, BadInputIsRefusedAndLeavesNoFile) {
  const struct {
    const char* args;
    int status;
    const char* message;
    const char* mustNotExist;
  } cases[] = {
      {"report missing --out a.pdf", 2, "'missing' is not a folder", "a.pdf"},
      {"report data --set 9999 --out b.pdf", 2, "there is no set folder '9999' in 'data'", "b.pdf"},
      {"report data --set .. --out b.pdf", 2, "there is no set folder '..'", "b.pdf"},
      {"report data --out plain/c.pdf", 1, "cannot create plain/c.pdf", "plain/c.pdf.part"},
      {"report data", 2, "no output file given", ""},
      {"report data --out d.pdf --per-page 3", 2, "--per-page takes 2 or 4", "d.pdf"},
      {"export data", 2, "nothing to write", ""},
      {"export missing --sqlite x.db", 2, "'missing' is not a folder", "x.db"},
      {"export data --set 9999 --csv f", 2, "there is no set folder '9999'", "f"},
      {"export data --sqlite plain/g.db", 1, "cannot write plain/g.db", "plain/g.db.part"},
      {"export data --csv plain/h", 1, "cannot create plain/h", "plain/h"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Run(c.args), c.status);
    EXPECT_NE(Err().find(c.message), std::string::npos) << Err();
    if (*c.mustNotExist) {
      EXPECT_FALSE(fs::exists(dir_ / c.mustNotExist));
    }
  }
}

}  // namespace
