// rxt4 download, update and image as the built program: the destination guards, the
// port taken from the settings file, and the check a bad image failed.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../link/FirmwareImageBuilder.h"
#include "../link/SimProcess.h"
#include "../common/RunRxt4.h"

namespace rxt4::test {
namespace {

namespace fs = std::filesystem;

class LinkCommandsCli : public ::testing::Test {
 protected:
  LinkCommandsCli() : temp(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  // Runs rxt4 in the temporary folder, with a settings folder of its own there, in
  // English.
  Outcome Rxt4(const std::string& args) {
    return RunRxt4(temp.path(), args, "LC_ALL=en_US.UTF-8 XDG_CONFIG_HOME='" + temp.path().string() + "/cfg' ");
  }

  void Settings(const std::string& keys) {
    fs::create_directories(temp.path() / "cfg/RXT4_Viewer");
    std::ofstream(temp.path() / "cfg/RXT4_Viewer/RXT4_Viewer.ini") << "[RXT4_Viewer]\n" << keys;
  }

  void Put(const std::string& relative) {
    fs::create_directories((temp.path() / relative).parent_path());
    std::ofstream(temp.path() / relative) << "x";
  }

  TempFolder temp;
};

TEST_F(LinkCommandsCli, DownloadRefusesFoldersThatWouldLoseDataBeforeTouchingThePort) {
  Settings("COM Port=/nonexistent/tty\n");
  Put("A/0412/LEVEL/0412.CSV");
  Put("B/archive/0412/BER/0412.cnt");
  const struct {
    const char* args;
    int status;
    const char* err;  // a part of standard error
  } cases[] = {
      {"download --out A/0412", 2,
       "rxt4 download: A/0412 already holds measurements; the download would overwrite them.\n"
       "  Give --force to overwrite them, or name another set folder with --out.\n"},
      {"download --out A/RXT4", 2, "rxt4 download: A/RXT4 is a data folder: kind folders written straight"},
      {"download --out B/archive", 2, "Give --new-set to download into the new set folder B/archive/"},
      // Let through: then the port from the settings file is named, and cannot be opened.
      {"download --out A/0412 --force", 1,
       "rxt4 download: port /nonexistent/tty at 9600 baud (port and rate from the settings file "},
      {"download --out A/0413 --port /nonexistent/other --baud 19200", 1,
       "rxt4 download: port /nonexistent/other at 19200 baud\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const Outcome run = Rxt4(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadAll(temp.path() / "A/0412/LEVEL/0412.CSV"), "x");
  EXPECT_FALSE(fs::exists(temp.path() / "A/RXT4"));
}

TEST_F(LinkCommandsCli, WithoutAPortAnywhereDownloadAndUpdateAskForOne) {
  for (const char* args : {"download --out S", "update fw.img"}) {
    SCOPED_TRACE(args);
    const Outcome run = Rxt4(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(": no port: give --port PORT, or set \"COM Port\" in " + temp.path().string() +
                           "/cfg/RXT4_Viewer/RXT4_Viewer.ini"),
              std::string::npos)
        << run.err;
  }
  imagetest::WriteFile(temp.path() / "fw.img", imagetest::TsnmPart("T1", imagetest::Pattern(40)));
  Settings("COM Port=/nonexistent/tty\n");
  const Outcome update = Rxt4("update fw.img");
  EXPECT_EQ(update.status, 1);
  EXPECT_NE(update.err.find("rxt4 update: port /nonexistent/tty (port from the settings file "), std::string::npos)
      << update.err;
}

TEST_F(LinkCommandsCli, ANewSetFolderInADataFolderThenTheSameSetAgain) {
  SimProcess sim(temp.path(), {});
  ASSERT_TRUE(sim.ready());
  Settings("COM Port=" + sim.port() + "\n");
  const Outcome first = Rxt4("download --out RXT4 --new-set");
  ASSERT_EQ(first.status, 0) << first.err;
  std::string set;
  for (const auto& e : fs::directory_iterator(temp.path() / "RXT4")) set = e.path().filename().string();
  ASSERT_EQ(set.size(), 4u);  // MMDD
  EXPECT_NE(first.err.find("rxt4 download: into the new set folder RXT4/" + set + "\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(temp.path() / "RXT4" / set / "LEVEL" / (set + ".CSV")));

  EXPECT_EQ(Rxt4("download --out RXT4/" + set).status, 2);
  EXPECT_EQ(Rxt4("download --out RXT4/" + set + " --force").status, 0);
  EXPECT_EQ(Rxt4("download --out RXT4 --new-set").status, 0);
  EXPECT_TRUE(fs::is_directory(temp.path() / "RXT4" / (set + "-2") / "LEVEL"));
}

TEST_F(LinkCommandsCli, ImageNamesTheCheckThatFailed) {
  imagetest::Bytes tsnm = imagetest::TsnmPart("T1", imagetest::Pattern(40));
  imagetest::WriteFile(temp.path() / "good.img", tsnm);
  tsnm[50] ^= 0x01;
  imagetest::WriteFile(temp.path() / "crc.img", tsnm);
  const std::string message = "This file is not a valid update file.\nChoose another folder or file.\n";
  const struct {
    const char* args;
    int status;
    std::string err;
  } cases[] = {
      {"image good.img", 0, ""},
      {"image crc.img", 1, message + "TSNM part: CRC-32 does not match\n"},
      {"image none.img", 1, message + "No such file or folder: none.img\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const Outcome run = Rxt4(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
  }
}

}  // namespace
}  // namespace rxt4::test
