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

constexpr const char* kRenderUsage =
    "usage: rxt4 render DATA_FOLDER --out DIR [--format bmp|png] [--keys KEYS [--held N]]\n"
    "\n"
    "Loads the data folder as the viewer does and draws every measurement as the\n"
    "viewer's screen area shows it (321 x 240 pixels, framed). Each image goes to\n"
    "DIR/<data set folder>/<KIND FOLDER>/<NNN>.<format>, NNN being the measurement's\n"
    "number (\"データNo.\") with three digits. Loader messages go to standard error.\n"
    "\n"
    "  --out DIR       folder for the images (created when missing)\n"
    "  --format FMT    png (default) or bmp (24 bits per pixel, as \"画面を保存\" writes)\n"
    "  --keys KEYS     instrument keys pressed after each measurement is shown,\n"
    "                  comma-separated: LEFT, RIGHT, UP, DOWN, ENTER, each optionally\n"
    "                  prefixed SHIFT+ (e.g. SHIFT+RIGHT,LEFT,ENTER); they act as in\n"
    "                  the viewer on the screen shown. UP and DOWN without SHIFT move\n"
    "                  the viewer's tree selection and do nothing here\n"
    "  --held N        ticks of 1.4 s that LEFT and RIGHT are held (delay profile\n"
    "                  marker speed: 0 single, 1 double, 2 or more triple step; default 0)\n"
    "  --help          show this text\n"
    "\n"
    "Each image is written under a temporary name and renamed when complete. A companion\n"
    "file that gives no graph is named once on standard error.\n"
    "Exit status: 0 drawn, 1 an image could not be written or a folder could not be read,\n"
    "2 bad arguments or a data folder that does not exist.\n";

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

int UsageError(std::string_view message) { return cli::UsageError("render", message, kRenderUsage); }

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
    if (IsHelpArg(arg)) return PrintHelp(kRenderUsage);
    if (arg == "--out" || arg == "--format" || arg == "--keys" || arg == "--held") {
      if (i + 1 >= args.size()) return UsageError(std::string(arg) + " needs a value");
      const std::string value(args[++i]);
      if (arg == "--out") {
        out = value;
        haveOut = true;
      } else if (arg == "--keys") {
        std::string bad;
        keys.clear();
        if (!ParseKeys(value, keys, bad)) return UsageError("unknown key '" + bad + "' in --keys");
      } else if (arg == "--held") {
        char* end = nullptr;
        errno = 0;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || errno != 0 || n < 0 || n > 1000000)
          return UsageError("--held needs a count of 0 or more");
        held = static_cast<int>(n);
      } else {
        format = value;
      }
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(Quoted("unexpected argument", arg));
    }
  }
  if (!haveFolder) return UsageError("no data folder given");
  if (!haveOut || out.empty()) return UsageError("no output folder given (--out DIR)");
  if (format != "png" && format != "bmp") return UsageError("unknown format '" + format + "' (bmp or png)");
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    std::fprintf(stderr, "rxt4 render: '%s' is not a folder\n", folder.c_str());
    return 2;
  }
  std::filesystem::create_directories(out, ec);
  if (!ec && !std::filesystem::is_directory(out, ec) && !ec) ec = std::make_error_code(std::errc::not_a_directory);
  if (ec) {
    std::fprintf(stderr, "rxt4 render: cannot create the output folder '%s': %s\n", out.c_str(), ec.message().c_str());
    return 1;
  }

  DataFolderModel model;
  StderrLoadObserver observer;
  model.Load(folder, observer);
  ConsoleJobObserver jobObserver("render", "rendered");
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
        std::fprintf(stderr, "rxt4 render: cannot create '%s': %s\n", dir.c_str(), ec.message().c_str());
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
