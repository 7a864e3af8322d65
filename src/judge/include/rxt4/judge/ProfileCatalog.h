#pragma once
// Where limits profiles are found: the user's own in the settings folder (beside the
// INI file), then the ones installed with the program. A profile is chosen by a file
// path or by a name: the file's stem ("outlet") or the name it gives itself
// ("テレビ端子"). The user's folder is searched first, so that an edited copy that
// keeps its name takes the installed profile's place.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/judge/LimitsProfile.h"

namespace rxt4 {

// The name of the profile used when none is chosen.
inline constexpr std::string_view kDefaultProfileName = "テレビ端子";

// The profiles installed with the program: share/rxt4-viewer/limits beside the
// folder of the running program (bin/); in the build tree the build lays the
// profiles out the same way. Empty when the program's own path is unknown.
std::filesystem::path InstalledLimitsFolder();

// One profile file of the catalogue.
struct ProfileEntry {
  std::filesystem::path file;
  std::string name;         // the profile's name; empty when the file was refused
  std::string description;
  bool user = false;        // in the user's folder
  ProfileError error;       // why the file was refused (error.reason empty when it was read)
};

class ProfileCatalog {
 public:
  // folders: searched in this order (the user's folder first); a missing one is skipped.
  explicit ProfileCatalog(std::vector<std::filesystem::path> folders, std::size_t userFolders = 1);
  // The user's settings folder (the INI file's folder), then the installed folder.
  static ProfileCatalog Standard(const std::filesystem::path& settingsFolder);

  // Every *.toml file of the folders, each folder's by file name, read.
  std::vector<ProfileEntry> List() const;

  // The profile a user chose: a path (one holding a "/" or ending in ".toml", or an
  // existing file) is read as it is; otherwise the first file of the folders whose
  // stem is the name, else the first whose profile has that name. False with error
  // filled in when the file is refused or no profile has the name (error.file is then
  // empty and error.reason says where it looked). skipped receives the files that were
  // refused while looking for a name, so that a caller can say why an edited copy was
  // passed over.
  bool Find(std::string_view nameOrFile, LimitsProfile& profile, ProfileError& error,
            std::vector<ProfileError>* skipped = nullptr) const;

  const std::vector<std::filesystem::path>& folders() const { return folders_; }

 private:
  std::vector<std::filesystem::path> folders_;
  std::size_t userFolders_;
};

}  // namespace rxt4
