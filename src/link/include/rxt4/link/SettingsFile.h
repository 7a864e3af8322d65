#pragma once
// The per-user INI file: the serial settings and the folder warning switch, read once
// at start and written when a settings dialog is confirmed; after them, in the same
// section, what the viewer remembers between runs (written when it closes).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/Strings.h"
#include "rxt4/link/CommSettings.h"

namespace rxt4 {

// Application name: the INI section, folder and file base name.
inline constexpr std::string_view kAppName = "RXT4_Viewer";

// The INI file's location for this user ($XDG_CONFIG_HOME/RXT4_Viewer/RXT4_Viewer.ini,
// ~/.config/... when unset).
std::filesystem::path DefaultSettingsPath();

// Integer of a settings value: blanks, optional sign, leading decimal digits (none
// reads as 0); an absent or empty value gives the default.
int ProfileInt(const std::string* value, int defaultValue);

// What the viewer remembers between runs.
struct RememberedView {
  std::string dataFolder;    // the data folder open at exit, as the file system names it; empty: none
  int zoom = 0;              // the enlargement of the screen area, 1 to 3; 0: none remembered
  bool hasPosition = false;  // whether left and top were stored
  int left = 0;              // the window's top-left corner, frame included
  int top = 0;
  std::vector<std::string> recentFolders;  // data folders opened last, newest first (at most kRecentFolderCount)
  std::string selectedItem;                // the tree's selected item as a node path; empty: none
  std::vector<std::string> expandedItems;  // the tree's expanded nodes as node paths
};

// Data folders remembered for the File menu.
inline constexpr int kRecentFolderCount = 8;

class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path iniPath);

  // Reads every key; a missing file or key yields its default. The default port is
  // the first of presentPorts, or the empty text.
  void LoadSettings(const std::vector<std::string>& presentPorts);

  // Stores the record and writes the six serial keys; false when the write failed
  // (the values in memory are updated either way).
  bool SaveCommSettings(const CommSettings& settings);

  // Stores the switch and writes "USE_RXT4_FolderAlert" (1 or 0); false when the write failed.
  bool SaveFolderAlert(bool folderAlert);

  // Stores the limits profile chosen (its file, or a name) and writes "Limits Profile";
  // false when the write failed.
  bool SaveLimitsProfile(const std::string& profile);

  // Reads the display language alone ("Language": "ja" or "en"; anything else is
  // Japanese): the viewer needs it before it builds a window, before the rest.
  void LoadLanguage();
  // Stores the display language and writes "Language"; false when the write failed.
  bool SaveLanguage(Language language);

  // Stores what the viewer remembers and writes "Data Folder", "Zoom", "Window Left",
  // "Window Top", "Recent Folder 1" to "Recent Folder 8", "Selected Item" and
  // "Expanded Items" (node paths separated by "//", which no folder name holds) after
  // the keys above, which stay as they are. A folder or node whose name holds a line
  // break is not remembered. False when the write failed.
  bool SaveRemembered(const RememberedView& view);

  // Current serial settings.
  const CommSettings& Comm() const { return comm_; }
  // Warn when a chosen data folder's name does not end in "RXT4" (the file's value is
  // nonzero, or the key is missing).
  bool FolderAlert() const { return folderAlert_; }
  // The limits profile chosen in the viewer, as rxt4 check --limits takes it (a file
  // or a name); empty: none chosen, the default applies.
  const std::string& LimitsProfile() const { return limitsProfile_; }
  // The viewer's display language (as read by LoadSettings or LoadLanguage).
  Language DisplayLanguage() const { return language_; }
  // What the viewer remembered at its last exit (as read by LoadSettings).
  const RememberedView& Remembered() const { return remembered_; }
  // Full path of the INI file.
  const std::filesystem::path& IniPath() const { return iniPath_; }

 private:
  // Writes the keys; the serial and warning keys (rememberedKeys false) are put before any
  // of the remembered ones, so the file keeps them first.
  bool WriteKeys(const std::vector<std::pair<std::string, std::string>>& keys, bool rememberedKeys = false) const;

  std::filesystem::path iniPath_;
  CommSettings comm_;
  bool folderAlert_ = true;
  std::string limitsProfile_;
  Language language_ = Language::Japanese;
  RememberedView remembered_;
};

}  // namespace rxt4
