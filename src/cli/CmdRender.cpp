// rxt4 render: draws every measurement of a data folder as the viewer shows it right
// after the measurement is selected, one image file per measurement.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/report/CompanionWarnings.h"
#include "rxt4/screens/ImageFiles.h"
#include "rxt4/screens/InstrumentKey.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 render --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageRender); }

// Parses "SHIFT+RIGHT,LEFT,..."; false for an empty or unknown name.
bool ParseKeys(std::string_view text, std::vector<KeyPress>& keys, std::string& bad) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string_view name = text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    bool shift = false;
    const std::optional<InstrumentKey> key = ParseKeyName(name, &shift);
    if (!key) {
      bad = std::string(name);
      return false;
    }
    keys.push_back({*key, shift, 0});
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

int UsageError(std::string_view message) { return cli::UsageError("render", message, UsageText()); }

// A folder name as the file system listed it, kept from climbing out of DIR.
std::string SafeFolderName(std::string name) {
  if (name.empty() || name == "." || name == "..") return "_";
  for (char& c : name)
    if (c == '/') c = '_';
  return name;
}

}  // namespace

int RunRender(Args args) {
  std::string folder, out, format = "png";
  bool haveFolder = false, haveOut = false;
  std::vector<KeyPress> keys;
  int held = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (IsHelpArg(arg)) return PrintHelp(UsageText());
    if (arg == "--out" || arg == "--format" || arg == "--keys" || arg == "--held") {
      if (i + 1 >= args.size()) return UsageError(FillIn(Text(StringId::CheckMissingValue), {arg}));
      const std::string value(args[++i]);
      if (arg == "--out") {
        out = value;
        haveOut = true;
      } else if (arg == "--keys") {
        std::string bad;
        keys.clear();
        if (!ParseKeys(value, keys, bad)) return UsageError(FillIn(Text(StringId::CliBadValue), {"--keys", bad}));
      } else if (arg == "--held") {
        char* end = nullptr;
        errno = 0;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || errno != 0 || n < 0 || n > 1000000)
          return UsageError(FillIn(Text(StringId::CliBadValue), {"--held", value}));
        held = static_cast<int>(n);
      } else {
        format = value;
      }
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(FillIn(Text(StringId::CheckBadArgument), {arg}));
    }
  }
  if (!haveFolder) return UsageError(Text(StringId::CheckNoDataFolder));
  if (!haveOut || out.empty()) return UsageError(FillIn(Text(StringId::CliRequired), {"--out DIR"}));
  if (format != "png" && format != "bmp") return UsageError(FillIn(Text(StringId::CliBadValue), {"--format", format}));
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    std::fprintf(stderr, "rxt4 render: %s\n", FillIn(Text(StringId::CliNotFolder), {folder}).c_str());
    return 2;
  }
  std::filesystem::create_directories(out, ec);
  if (!ec && !std::filesystem::is_directory(out, ec) && !ec) ec = std::make_error_code(std::errc::not_a_directory);
  if (ec) {
    std::fprintf(stderr, "rxt4 render: %s\n", FillIn(Text(StringId::CliCannotCreate), {out, ReasonText(ec)}).c_str());
    return 1;
  }

  DataFolderModel model;
  StderrLoadObserver observer;
  model.Load(folder, observer);
  ConsoleJobObserver jobObserver("render", StringId::CliProgressRender);
  CompanionWarnings companions(jobObserver);

  std::string fontWarning;
  ScreenSet screens(FontSet::CreateDefault(&fontWarning));
  if (!fontWarning.empty())
    std::fprintf(stderr, "rxt4 render: %s\n", FillIn(Text(StringId::ScreenFontBoxes), {fontWarning}).c_str());

  const int total = model.measurementCount();
  int done = 0;
  Surface surface;
  for (TransferKind kind : kAllTransferKinds) {
    const int root = DataFolderModel::RootNumber(kind);
    for (int f = 0; f < model.ChildCount(root); ++f) {
      const int setItem = model.ChildAt(root, f);
      const std::filesystem::path dir =
          std::filesystem::path(out) / SafeFolderName(model.Label(setItem)) / std::string(KindFolderName(kind));
      std::filesystem::create_directories(dir, ec);
      if (ec) {
        std::fprintf(stderr, "rxt4 render: %s\n", FillIn(Text(StringId::FileCreateFailed), {dir.string(), ReasonText(ec)}).c_str());
        return 1;
      }
      for (int m = 0; m < model.ChildCount(setItem); ++m) {
        const CDataSet* record = model.Record(model.ChildAt(setItem, m));
        if (record == nullptr) continue;
        companions.Check(*record);
        screens.Select(*record);
        screens.Paint(surface);
        // The keys act as in the viewer: each leaves the area painted whole.
        for (KeyPress press : keys) {
          press.heldTicks = held;
          screens.PressKey(press, surface);
        }
        char name[32];
        std::snprintf(name, sizeof name, "%03d.%s", record->index, format.c_str());
        const std::filesystem::path file = dir / name;
        std::string error;
        const bool written = format == "png" ? WritePngFile(file, surface.View(), &error)
                                             : WriteBitmapFile(file, surface.View(), 24, &error);
        if (!written) {
          jobObserver.Warning(error);
          return 1;
        }
        jobObserver.Progress(++done, total);
      }
    }
  }
  companions.Finish();
  return observer.folderFailed() ? 1 : 0;
}

}  // namespace rxt4::cli
