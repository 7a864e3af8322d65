#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../common/HostileFiles.h"
#include "../common/TempFolder.h"
#include "rxt4/link/SettingsFile.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_ / "RXT4_Viewer" / "RXT4_Viewer.ini";
  }

  void WriteFile(const std::string& text) {
    fs::create_directories(path_.parent_path());
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string ReadFile() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  rxt4::test::TempFolder temp_{"settings"};
  fs::path dir_ = temp_.path();
  fs::path path_;
};

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndCreatesNothing) {
  SettingsFile file(path_);
  file.LoadSettings({"/dev/ttyACM0", "/dev/ttyUSB0"});
  EXPECT_TRUE(file.FolderAlert());
  EXPECT_EQ(file.Comm().comPort, "/dev/ttyACM0");
  EXPECT_EQ(file.Comm().baudRate, 9600);
  EXPECT_EQ(file.Comm().dataSize, 8);
  EXPECT_EQ(file.Comm().parity, 0);
  EXPECT_EQ(file.Comm().stopBits, 0);
  EXPECT_EQ(file.Comm().flowControl, 0);
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_FALSE(fs::exists(path_.parent_path()));

  SettingsFile none(path_);
  none.LoadSettings({});
  EXPECT_EQ(none.Comm().comPort, "");
}

TEST_F(SettingsFileTest, RoundTripWritesTheExactTextForms) {
  SettingsFile file(path_);
  file.LoadSettings({});
  CommSettings s;
  s.comPort = "/dev/ttyUSB1";
  s.baudRate = 230400;
  s.dataSize = 7;
  s.parity = 2;
  s.stopBits = 1;
  s.flowControl = 255;
  ASSERT_TRUE(file.SaveCommSettings(s));
  ASSERT_TRUE(file.SaveFolderAlert(false));
  EXPECT_EQ(ReadFile(),
            "[RXT4_Viewer]\n"
            "COM Port=/dev/ttyUSB1\n"
            "Baud Rate=230400\n"
            "Data Size=7\n"
            "Parity=2\n"
            "Stop Bits=1\n"
            "Flow Ctrl=255\n"
            "USE_RXT4_FolderAlert=0\n");

  SettingsFile again(path_);
  again.LoadSettings({"/dev/ttyACM0"});
  EXPECT_EQ(again.Comm().comPort, "/dev/ttyUSB1");
  EXPECT_EQ(again.Comm().baudRate, 230400);
  EXPECT_EQ(again.Comm().dataSize, 7);
  EXPECT_EQ(again.Comm().parity, 2);
  EXPECT_EQ(again.Comm().stopBits, 1);
  EXPECT_EQ(again.Comm().flowControl, 255);
  EXPECT_FALSE(again.FolderAlert());
  // Saving again replaces the values in place.
  s.baudRate = 9600;
  ASSERT_TRUE(again.SaveCommSettings(s));
  EXPECT_NE(ReadFile().find("Baud Rate=9600\nData Size=7"), std::string::npos);
  EXPECT_EQ(ReadFile().find("230400"), std::string::npos);
}

TEST_F(SettingsFileTest, DisplayLanguageIsJaOrEnAndAnythingElseReadsAsJapanese) {
  SettingsFile file(path_);
  file.LoadLanguage();
  EXPECT_EQ(file.DisplayLanguage(), Language::Japanese);
  EXPECT_FALSE(fs::exists(path_));
  ASSERT_TRUE(file.SaveLanguage(Language::English));
  EXPECT_EQ(ReadFile(), "[RXT4_Viewer]\nLanguage=en\n");
  const struct {
    const char* line;
    Language language;
  } cases[] = {{"Language=en", Language::English}, {"language = \"en\"", Language::English},
               {"Language=ja", Language::Japanese}, {"Language=EN", Language::Japanese},
               {"Language=english", Language::Japanese}, {"Language=", Language::Japanese}};
  for (const auto& c : cases) {
    WriteFile(std::string("[RXT4_Viewer]\nCOM Port=/dev/ttyUSB1\n") + c.line + "\n");
    SettingsFile alone(path_);
    alone.LoadLanguage();
    EXPECT_EQ(alone.DisplayLanguage(), c.language) << c.line;
    SettingsFile all(path_);
    all.LoadSettings({});
    EXPECT_EQ(all.DisplayLanguage(), c.language) << c.line;
    EXPECT_EQ(all.Comm().comPort, "/dev/ttyUSB1");
  }
  // Japanese again, written in place of English; the other keys stay.
  SettingsFile back(path_);
  ASSERT_TRUE(back.SaveLanguage(Language::Japanese));
  EXPECT_EQ(ReadFile(), "[RXT4_Viewer]\nCOM Port=/dev/ttyUSB1\nLanguage=ja\n");
}

TEST_F(SettingsFileTest, RememberedViewComesAfterTheSerialKeysWhichStayAsTheyAre) {
  SettingsFile file(path_);
  file.LoadSettings({});
  EXPECT_EQ(file.Remembered().dataFolder, "");
  EXPECT_EQ(file.Remembered().zoom, 0);
  EXPECT_FALSE(file.Remembered().hasPosition);
  // Written first, on a first run's exit: the serial keys saved later still go before it.
  const std::string longFolder = "/media/usb disk/" + std::string(300, 'x') + "/RXT4 ";
  ASSERT_TRUE(file.SaveRemembered({longFolder, 2, true, -40, 25, {}, {}, {}}));
  ASSERT_TRUE(file.SaveFolderAlert(false));
  CommSettings s;
  s.comPort = "/dev/ttyACM0";
  ASSERT_TRUE(file.SaveCommSettings(s));
  EXPECT_EQ(ReadFile(),
            "[RXT4_Viewer]\n"
            "USE_RXT4_FolderAlert=0\n"
            "COM Port=/dev/ttyACM0\n"
            "Baud Rate=9600\n"
            "Data Size=8\n"
            "Parity=0\n"
            "Stop Bits=0\n"
            "Flow Ctrl=0\n"
            "Data Folder=\"" + longFolder + "\"\n"
            "Zoom=2\n"
            "Window Left=-40\n"
            "Window Top=25\n");

  SettingsFile again(path_);
  again.LoadSettings({});
  EXPECT_EQ(again.Remembered().dataFolder, longFolder);  // whole, blank at the end included
  EXPECT_EQ(again.Remembered().zoom, 2);
  EXPECT_TRUE(again.Remembered().hasPosition);
  EXPECT_EQ(again.Remembered().left, -40);
  EXPECT_EQ(again.Remembered().top, 25);
  EXPECT_EQ(again.Comm().comPort, "/dev/ttyACM0");

  // A folder with a line break in its name is forgotten rather than cut; no position
  // leaves the stored one as it was.
  ASSERT_TRUE(again.SaveRemembered({"/tmp/a\nb", 1, false, 0, 0, {}, {}, {}}));
  SettingsFile third(path_);
  third.LoadSettings({});
  EXPECT_EQ(third.Remembered().dataFolder, "");
  EXPECT_EQ(third.Remembered().zoom, 1);
  EXPECT_EQ(third.Remembered().left, -40);
}

TEST_F(SettingsFileTest, RecentFoldersAndTheTreeAsLeftComeBackAndShorterListsReplaceLonger) {
  SettingsFile file(path_);
  file.LoadSettings({});
  RememberedView view;
  view.dataFolder = "/d/RXT4";
  view.recentFolders = {"/d/RXT4", " /e/RXT4 ", "/f\nx", "/g/RXT4"};
  view.selectedItem = "LEVEL/0412/3";
  view.expandedItems = {"LEVEL", "LEVEL/0412", "BER/1208-2"};
  ASSERT_TRUE(file.SaveRemembered(view));
  EXPECT_NE(ReadFile().find("Recent Folder 1=\"/d/RXT4\"\nRecent Folder 2=\" /e/RXT4 \"\nRecent Folder 3=\"/g/RXT4\"\n"
                            "Selected Item=\"LEVEL/0412/3\"\nExpanded Items=\"LEVEL//LEVEL/0412//BER/1208-2\"\n"),
            std::string::npos)
      << ReadFile();
  SettingsFile again(path_);
  again.LoadSettings({});
  EXPECT_EQ(again.Remembered().recentFolders, (std::vector<std::string>{"/d/RXT4", " /e/RXT4 ", "/g/RXT4"}));
  EXPECT_EQ(again.Remembered().selectedItem, "LEVEL/0412/3");
  EXPECT_EQ(again.Remembered().expandedItems, (std::vector<std::string>{"LEVEL", "LEVEL/0412", "BER/1208-2"}));

  view.recentFolders = {"/h/RXT4"};
  view.selectedItem.clear();
  view.expandedItems.clear();
  ASSERT_TRUE(again.SaveRemembered(view));
  SettingsFile third(path_);
  third.LoadSettings({});
  EXPECT_EQ(third.Remembered().recentFolders, std::vector<std::string>{"/h/RXT4"});
  EXPECT_EQ(third.Remembered().selectedItem, "");
  EXPECT_TRUE(third.Remembered().expandedItems.empty());
}

TEST_F(SettingsFileTest, OtherSectionsAndLinesAreKept) {
  WriteFile(
      "; written by hand\r\n"
      "[Other]\r\n"
      "Baud Rate=1200\r\n"
      "\r\n"
      "[rxt4_viewer]\r\n"
      "Extra=kept\r\n"
      "baud rate=4800\r\n"
      "\r\n"
      "[Last]\r\n"
      "x=1\r\n");
  SettingsFile file(path_);
  file.LoadSettings({});
  EXPECT_EQ(file.Comm().baudRate, 4800);  // keys and sections match without regard to case
  ASSERT_TRUE(file.SaveFolderAlert(false));
  EXPECT_EQ(ReadFile(),
            "; written by hand\r\n"
            "[Other]\r\n"
            "Baud Rate=1200\r\n"
            "\r\n"
            "[rxt4_viewer]\r\n"
            "Extra=kept\r\n"
            "baud rate=4800\r\n"
            "USE_RXT4_FolderAlert=0\r\n"
            "\r\n"
            "[Last]\r\n"
            "x=1\r\n");
  // No temporary file stays behind.
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(path_.parent_path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(SettingsFileTest, IntegersFollowTheProfileRuleAndEightBitFieldsTruncate) {
  WriteFile(
      "[RXT4_Viewer]\n"
      "USE_RXT4_FolderAlert=\n"       // empty: default
      "COM Port=  \"/dev/ttyS0\"  \n"  // quotes and blanks dropped
      "Baud Rate= 19200abc\n"          // leading digits
      "Data Size=264\n"                // 0x108: low byte 8
      "Parity=-1\n"                    // 255
      "Stop Bits=x2\n"                 // no digits: 0
      "Flow Ctrl=513\n");              // 0x201: 1
  SettingsFile file(path_);
  file.LoadSettings({"/dev/ttyACM0"});
  EXPECT_TRUE(file.FolderAlert());
  EXPECT_EQ(file.Comm().comPort, "/dev/ttyS0");
  EXPECT_EQ(file.Comm().baudRate, 19200);
  EXPECT_EQ(file.Comm().dataSize, 8);
  EXPECT_EQ(file.Comm().parity, 255);
  EXPECT_EQ(file.Comm().stopBits, 0);
  EXPECT_EQ(file.Comm().flowControl, 1);

  // The warning switch is on for any nonzero integer, off for 0.
  for (const auto& [text, on] : {std::pair{"2", true}, {"-1", true}, {"0x1", false}, {"0", false}}) {
    WriteFile(std::string("[RXT4_Viewer]\nUSE_RXT4_FolderAlert=") + text + "\n");
    file.LoadSettings({});
    EXPECT_EQ(file.FolderAlert(), on) << text;
  }

  std::string value = "77";
  EXPECT_EQ(ProfileInt(nullptr, 5), 5);
  EXPECT_EQ(ProfileInt(&value, 5), 77);
}

TEST_F(SettingsFileTest, EmptyStoredPortStaysEmptyAndLineBreaksAreNotWritten) {
  WriteFile("[RXT4_Viewer]\nCOM Port=\n");
  SettingsFile file(path_);
  file.LoadSettings({"/dev/ttyACM0"});
  EXPECT_EQ(file.Comm().comPort, "");  // present but empty is not absent
  CommSettings s;
  s.comPort = "/dev/tty\n[Evil]";
  ASSERT_TRUE(file.SaveCommSettings(s));
  EXPECT_EQ(ReadFile().find("[Evil]"), std::string::npos);
}

TEST_F(SettingsFileTest, UnwritableLocationReportsFailure) {
  fs::create_directories(dir_);
  std::ofstream(dir_ / "RXT4_Viewer") << "a file where the folder should be";
  SettingsFile file(path_);
  file.LoadSettings({});
  EXPECT_FALSE(file.SaveFolderAlert(false));
  EXPECT_FALSE(file.FolderAlert());
}

TEST_F(SettingsFileTest, APipeDeviceOrHugeFileGivesDefaultsAndIsNotWrittenOver) {
  for (test::Hostile kind : test::kHostileFiles) {
    SCOPED_TRACE(test::HostileName(kind));
    test::MakeHostile(kind, path_);
    SettingsFile file(path_);
    file.LoadSettings({"/dev/ttyACM0"});
    EXPECT_EQ(file.Comm().comPort, "/dev/ttyACM0");
    EXPECT_EQ(file.Comm().baudRate, 9600);
    EXPECT_TRUE(file.FolderAlert());
    EXPECT_FALSE(file.SaveFolderAlert(false));
    EXPECT_EQ(fs::symlink_status(path_).type(), kind == test::Hostile::Fifo       ? fs::file_type::fifo
                                                : kind == test::Hostile::ZeroLink ? fs::file_type::symlink
                                                                                  : fs::file_type::regular);
  }
}

TEST(SettingsPathTest, FollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
  EXPECT_EQ(DefaultSettingsPath(), fs::path("/tmp/cfg/RXT4_Viewer/RXT4_Viewer.ini"));
  if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace rxt4
