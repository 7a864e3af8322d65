#include "rxt4/link/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>
#include <optional>
#include <sstream>
#include <system_error>

#include "rxt4/data/FileTexts.h"
#include "rxt4/data/ReadOnlyFile.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {
namespace {

// Text values are read to at most this many bytes, one less for the end: a value is a
// port or folder path, and a longer one is cut rather than read without bound.
constexpr size_t kValueBufferChars = 260;

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The settings file is a few hundred bytes; a longer file is no settings file of ours
// and is neither read nor written over.
constexpr std::uint64_t kMaxSettingsFileBytes = 1 << 20;

// One line of the file, with its end-of-line bytes removed.
struct IniLines {
  std::vector<std::string> lines;
  std::string eol = "\n";
  bool unreadable = false;  // there is a file, but it could not be read whole

  static IniLines Read(const std::filesystem::path& path) {
    IniLines ini;
    std::string bytes, message;
    const FileStatus status = ReadFileBytes(path, kMaxSettingsFileBytes, bytes, message);
    if (status != FileStatus::Ok) {
      ini.unreadable = status != FileStatus::OpenFailed;
      return ini;
    }
    std::istringstream in(bytes);
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
      bool cr = !line.empty() && line.back() == '\r';
      if (cr) line.pop_back();
      if (first && cr) ini.eol = "\r\n";
      first = false;
      ini.lines.push_back(std::move(line));
    }
    return ini;
  }

  // Section name of a "[name]" line.
  static std::optional<std::string_view> SectionOf(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
  }

  // Key of a "key=value" line.
  static std::optional<std::string_view> KeyOf(std::string_view line) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, eq));
  }

  // [begin, end) line range of the section's body, or nothing.
  std::optional<std::pair<size_t, size_t>> Section(std::string_view name) const {
    for (size_t i = 0; i < lines.size(); ++i) {
      auto s = SectionOf(lines[i]);
      if (!s || !EqualsNoCase(*s, name)) continue;
      size_t end = i + 1;
      while (end < lines.size() && !SectionOf(lines[end])) ++end;
      return std::pair{i + 1, end};
    }
    return std::nullopt;
  }

  std::optional<std::string> Get(std::string_view section, std::string_view key,
                                 size_t maxChars = kValueBufferChars - 1) const {
    auto range = Section(section);
    if (!range) return std::nullopt;
    for (size_t i = range->first; i < range->second; ++i) {
      auto k = KeyOf(lines[i]);
      if (!k || !EqualsNoCase(*k, key)) continue;
      std::string_view v = Trim(std::string_view(lines[i]).substr(lines[i].find('=') + 1));
      // A value in matching quotes is read without them.
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
      return std::string(v.substr(0, std::min(v.size(), maxChars)));
    }
    return std::nullopt;
  }

  // Replaces the key's line, or adds one after the section's last entry; when one of
  // the keys in before is there, a new line goes in front of the first of them.
  void Set(std::string_view section, std::string_view key, std::string_view value,
           const std::vector<std::string_view>& before = {}) {
    std::string line(key);
    line.append("=").append(value);
    auto range = Section(section);
    if (!range) {
      if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
      std::string header("[");
      header.append(section).append("]");
      lines.push_back(std::move(header));
      lines.push_back(std::move(line));
      return;
    }
    size_t lastEntry = range->first;  // insert after the last non-blank line of the section
    std::optional<size_t> firstBefore;
    for (size_t i = range->first; i < range->second; ++i) {
      auto k = KeyOf(lines[i]);
      if (k && EqualsNoCase(*k, key)) {
        lines[i] = std::move(line);
        return;
      }
      if (k && !firstBefore &&
          std::any_of(before.begin(), before.end(), [&](std::string_view b) { return EqualsNoCase(*k, b); }))
        firstBefore = i;
      if (!Trim(lines[i]).empty()) lastEntry = i + 1;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(firstBefore.value_or(lastEntry)), std::move(line));
  }

  std::string Text() const {
    std::string out;
    for (const std::string& l : lines) out += l + eol;
    return out;
  }
};

int ReadInt(const IniLines& ini, std::string_view key, int defaultValue) {
  std::optional<std::string> v = ini.Get(kAppName, key);
  return ProfileInt(v ? &*v : nullptr, defaultValue);
}

// The display language: its key and values are the file's, not words a user reads.
constexpr std::string_view kLanguageKey = "Language";
constexpr std::string_view kLanguageJapanese = "ja";
constexpr std::string_view kLanguageEnglish = "en";

Language ReadLanguage(const IniLines& ini) {
  const std::optional<std::string> value = ini.Get(kAppName, kLanguageKey);
  return value && *value == kLanguageEnglish ? Language::English : Language::Japanese;
}

// The keys of what the viewer remembers, in the order they are written.
constexpr std::string_view kRememberedKeys[] = {filetext::kKeyDataFolder, filetext::kKeyZoom, filetext::kKeyWindowLeft,
                                                filetext::kKeyWindowTop};

// Between two node paths of "Expanded Items": a folder name never holds a "/".
constexpr std::string_view kNodeSeparator = "//";

std::string RecentFolderKey(int place) { return std::string(filetext::kKeyRecentFolder) + ' ' + std::to_string(place); }

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

RememberedView ReadRemembered(const IniLines& ini) {
  RememberedView view;
  // A folder path is kept whole (the 260-character limit of the other keys would
  // cut it into the name of another folder).
  std::optional<std::string> folder =
      ini.Get(kAppName, filetext::kKeyDataFolder, std::numeric_limits<size_t>::max());
  if (folder) view.dataFolder = *folder;
  view.zoom = ReadInt(ini, filetext::kKeyZoom, 0);
  std::optional<std::string> left = ini.Get(kAppName, filetext::kKeyWindowLeft);
  std::optional<std::string> top = ini.Get(kAppName, filetext::kKeyWindowTop);
  view.hasPosition = left && top && !left->empty() && !top->empty();
  if (view.hasPosition) {
    view.left = ProfileInt(&*left, 0);
    view.top = ProfileInt(&*top, 0);
  }
  constexpr size_t kWhole = std::numeric_limits<size_t>::max();
  for (int place = 1; place <= kRecentFolderCount; ++place)
    if (std::optional<std::string> recent = ini.Get(kAppName, RecentFolderKey(place), kWhole); recent && !recent->empty())
      view.recentFolders.push_back(*recent);
  if (std::optional<std::string> selected = ini.Get(kAppName, filetext::kKeySelectedItem, kWhole))
    view.selectedItem = *selected;
  if (std::optional<std::string> expanded = ini.Get(kAppName, filetext::kKeyExpandedItems, kWhole)) {
    std::string_view rest = *expanded;
    while (!rest.empty()) {
      const size_t end = rest.find(kNodeSeparator);
      if (end != 0) view.expandedItems.emplace_back(rest.substr(0, end));
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + kNodeSeparator.size());
    }
  }
  return view;
}

}  // namespace

std::filesystem::path DefaultSettingsPath() {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".config";
  }
  std::string app(kAppName);
  return base / app / (app + ".ini");
}

int ProfileInt(const std::string* value, int defaultValue) {
  if (!value || value->empty()) return defaultValue;
  long long v = ParseInt(*value);
  v = std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  return static_cast<int>(v);
}

SettingsFile::SettingsFile(std::filesystem::path iniPath) : iniPath_(std::move(iniPath)) {}

void SettingsFile::LoadSettings(const std::vector<std::string>& presentPorts) {
  const IniLines ini = IniLines::Read(iniPath_);
  folderAlert_ = ReadInt(ini, filetext::kKeyFolderAlert, 1) != 0;
  std::optional<std::string> port = ini.Get(kAppName, filetext::kKeyComPort);
  comm_.comPort = port ? *port : (presentPorts.empty() ? std::string() : presentPorts.front());
  comm_.baudRate = ReadInt(ini, filetext::kKeyBaudRate, 9600);
  // The 8-bit fields keep the low byte of whatever integer the file holds.
  comm_.dataSize = static_cast<uint8_t>(ReadInt(ini, filetext::kKeyDataSize, 8) & 0xFF);
  comm_.parity = static_cast<uint8_t>(ReadInt(ini, filetext::kKeyParity, 0) & 0xFF);
  comm_.stopBits = static_cast<uint8_t>(ReadInt(ini, filetext::kKeyStopBits, 0) & 0xFF);
  comm_.flowControl = static_cast<uint8_t>(ReadInt(ini, filetext::kKeyFlowControl, 0) & 0xFF);
  // A file path, kept whole (in quotes, so that blanks at either end are kept).
  std::optional<std::string> limits =
      ini.Get(kAppName, filetext::kKeyLimitsProfile, std::numeric_limits<size_t>::max());
  limitsProfile_ = limits ? *limits : std::string();
  language_ = ReadLanguage(ini);
  remembered_ = ReadRemembered(ini);
}

void SettingsFile::LoadLanguage() { language_ = ReadLanguage(IniLines::Read(iniPath_)); }

bool SettingsFile::SaveLanguage(Language language) {
  language_ = language;
  return WriteKeys({{std::string(kLanguageKey),
                     std::string(language == Language::English ? kLanguageEnglish : kLanguageJapanese)}});
}

bool SettingsFile::SaveCommSettings(const CommSettings& settings) {
  comm_ = settings;
  return WriteKeys({
      {std::string(filetext::kKeyComPort), settings.comPort},
      {std::string(filetext::kKeyBaudRate), std::to_string(settings.baudRate)},
      {std::string(filetext::kKeyDataSize), std::to_string(unsigned{settings.dataSize})},
      {std::string(filetext::kKeyParity), std::to_string(unsigned{settings.parity})},
      {std::string(filetext::kKeyStopBits), std::to_string(unsigned{settings.stopBits})},
      {std::string(filetext::kKeyFlowControl), std::to_string(unsigned{settings.flowControl})},
  });
}

bool SettingsFile::SaveFolderAlert(bool folderAlert) {
  folderAlert_ = folderAlert;
  return WriteKeys({{std::string(filetext::kKeyFolderAlert), folderAlert ? "1" : "0"}});
}

bool SettingsFile::SaveLimitsProfile(const std::string& profile) {
  limitsProfile_ = HasLineBreak(profile) ? std::string() : profile;
  return WriteKeys({{std::string(filetext::kKeyLimitsProfile), '"' + limitsProfile_ + '"'}});
}

bool SettingsFile::SaveRemembered(const RememberedView& view) {
  // Keys stored before and now empty are emptied; keys never used are not written.
  const RememberedView before = remembered_;
  remembered_ = view;
  // A line break cannot be stored; a cut path could name another folder.
  if (remembered_.dataFolder.find_first_of("\r\n") != std::string::npos) remembered_.dataFolder.clear();
  std::vector<std::pair<std::string, std::string>> keys = {
      // In quotes, so that blanks at either end of a folder name are kept.
      {std::string(filetext::kKeyDataFolder), '"' + remembered_.dataFolder + '"'},
      {std::string(filetext::kKeyZoom), std::to_string(view.zoom)},
  };
  if (view.hasPosition) {
    keys.emplace_back(filetext::kKeyWindowLeft, std::to_string(view.left));
    keys.emplace_back(filetext::kKeyWindowTop, std::to_string(view.top));
  }
  std::erase_if(remembered_.recentFolders, [](const std::string& f) { return f.empty() || HasLineBreak(f); });
  if (remembered_.recentFolders.size() > static_cast<size_t>(kRecentFolderCount))
    remembered_.recentFolders.resize(kRecentFolderCount);
  const size_t places = std::max(remembered_.recentFolders.size(), before.recentFolders.size());
  for (size_t at = 0; at < places; ++at)
    keys.emplace_back(RecentFolderKey(static_cast<int>(at) + 1),
                      at < remembered_.recentFolders.size() ? '"' + remembered_.recentFolders[at] + '"' : std::string());
  if (HasLineBreak(remembered_.selectedItem)) remembered_.selectedItem.clear();
  std::erase_if(remembered_.expandedItems, [](const std::string& n) { return n.empty() || HasLineBreak(n); });
  std::string expanded;
  for (const std::string& node : remembered_.expandedItems) {
    if (!expanded.empty()) expanded += kNodeSeparator;
    expanded += node;
  }
  if (!remembered_.selectedItem.empty() || !before.selectedItem.empty())
    keys.emplace_back(filetext::kKeySelectedItem, '"' + remembered_.selectedItem + '"');
  if (!expanded.empty() || !before.expandedItems.empty())
    keys.emplace_back(filetext::kKeyExpandedItems, '"' + expanded + '"');
  return WriteKeys(keys, true);
}

bool SettingsFile::WriteKeys(const std::vector<std::pair<std::string, std::string>>& keys, bool rememberedKeys) const {
  std::error_code ec;
  if (iniPath_.has_parent_path()) std::filesystem::create_directories(iniPath_.parent_path(), ec);
  IniLines ini = IniLines::Read(iniPath_);
  // A pipe, a device or an outsized file in the settings file's place stays as it is.
  if (ini.unreadable) return false;
  std::vector<std::string_view> before;
  if (!rememberedKeys)
    for (std::string_view key : kRememberedKeys) before.push_back(key);
  for (const auto& [key, value] : keys) {
    // A line break in a value would start a new line of the file: keep only the first line.
    std::string_view v = value;
    v = v.substr(0, v.find_first_of("\r\n"));
    ini.Set(kAppName, key, v, before);
  }
  // Written beside the file and renamed over it, so a failed write never leaves a
  // half-written settings file.
  StagedFile out(iniPath_);
  return out.Write(ini.Text()) && out.Commit();
}

}  // namespace rxt4
