#include "rxt4/judge/ProfileCatalog.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "rxt4/data/JobRecord.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {
namespace {

constexpr std::string_view kProfileExtension = ".toml";

// The profile files of a folder, by file name; none when it cannot be listed.
std::vector<std::filesystem::path> ProfileFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    // The company record shares the settings folder: it is no profile.
    if (it->path().filename() == kCompanyRecordFileName) continue;
    if (it->path().extension() == kProfileExtension && it->is_regular_file(typeError)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A user's choice that is a file rather than a name.
bool IsFileChoice(std::string_view choice) {
  if (choice.find('/') != std::string_view::npos) return true;
  if (choice.size() >= kProfileExtension.size() &&
      choice.substr(choice.size() - kProfileExtension.size()) == kProfileExtension)
    return true;
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(choice), ec);
}

}  // namespace

ProfileCatalog::ProfileCatalog(std::vector<std::filesystem::path> folders, std::size_t userFolders)
    : folders_(std::move(folders)), userFolders_(userFolders) {}

ProfileCatalog ProfileCatalog::Standard(const std::filesystem::path& settingsFolder) {
  std::vector<std::filesystem::path> folders{settingsFolder};
  if (std::filesystem::path installed = InstalledLimitsFolder(); !installed.empty()) folders.push_back(installed);
  return ProfileCatalog(std::move(folders), 1);
}

std::vector<ProfileEntry> ProfileCatalog::List() const {
  std::vector<ProfileEntry> entries;
  for (std::size_t f = 0; f < folders_.size(); ++f) {
    for (const std::filesystem::path& file : ProfileFiles(folders_[f])) {
      ProfileEntry entry;
      entry.file = file;
      entry.user = f < userFolders_;
      LimitsProfile profile;
      if (LimitsProfile::Load(file, profile, entry.error)) {
        entry.name = profile.name();
        entry.description = profile.description();
      }
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

bool ProfileCatalog::Find(std::string_view nameOrFile, LimitsProfile& profile, ProfileError& error,
                          std::vector<ProfileError>* skipped) const {
  if (IsFileChoice(nameOrFile)) return LimitsProfile::Load(std::filesystem::path(nameOrFile), profile, error);

  // First by file stem, then by the name a profile gives itself.
  for (const std::filesystem::path& folder : folders_)
    for (const std::filesystem::path& file : ProfileFiles(folder))
      if (file.stem() == nameOrFile) return LimitsProfile::Load(file, profile, error);
  for (const std::filesystem::path& folder : folders_) {
    for (const std::filesystem::path& file : ProfileFiles(folder)) {
      LimitsProfile candidate;
      ProfileError refused;
      if (!LimitsProfile::Load(file, candidate, refused)) {
        if (skipped) skipped->push_back(std::move(refused));
        continue;
      }
      if (candidate.name() == nameOrFile) {
        profile = std::move(candidate);
        return true;
      }
    }
  }
  std::string where;
  for (const std::filesystem::path& folder : folders_) {
    if (!where.empty()) where += ", ";
    where += folder.string();
  }
  error = ProfileError{};
  error.reason = FillIn(Text(StringId::ProfileNotFound), {nameOrFile, where});
  return false;
}

}  // namespace rxt4
