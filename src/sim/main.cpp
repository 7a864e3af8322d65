// rxt4-sim: the instrument simulator on a pseudo-terminal.

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FaultPlan.h"
#include "PtyTransport.h"
#include "TransferInstrument.h"
#include "UpdateInstrument.h"
#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/DemoImages.h"

namespace {

// The write end of the self-pipe the signal handler wakes the main loop with.
// A signal handler can reach nothing else; it is set once before the handlers.
int g_stopPipeWrite = -1;

void OnStopSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(g_stopPipeWrite, &byte, 1);
}

struct Options {
  std::string link;
  std::string data;
  int baud = 9600;
  int modeWait = 0;
  bool lineRate = false;
  bool log = false;
  rxt4::sim::FaultPlan faults;
  bool baudGiven = false;
  bool updateMode = false;
  rxt4::sim::UpdateSettings update;
  std::string writeServed;
};

int Usage(FILE* out, int status) {
  std::fprintf(out,
               "Usage: rxt4-sim --link PATH [OPTION]...\n\n"
               "Simulates an RXT4 on a pseudo-terminal whose slave is reachable at PATH (a symlink).\n"
               "Runs until SIGTERM or SIGINT, then removes PATH.\n\n"
               "  --link PATH         where to put the symlink to the pseudo-terminal\n"
               "  --data SET_FOLDER   serve this data set folder's kinds (default: the demonstration data)\n"
               "  --baud RATE         the rate the instrument reports to 0x23 and paces at (default 9600)\n"
               "  --mode-wait N       answer 0x26 with mode 0 (not in transfer mode) for the first N polls\n"
               "  --line-rate         pace every byte in both directions at 10 bits per byte at RATE\n"
               "  --fault FAULT       inject a fault (repeatable):\n%s"
               "  --log               log every request received to standard error\n"
               "  --write-served SET_FOLDER  write the kind images it would serve into SET_FOLDER with the\n"
               "                      data set writer (what a download must give), print each kind's number\n"
               "                      and total size, and exit\n",
               rxt4::sim::FaultSyntaxHelp());
  std::fputs(rxt4::sim::UpdateOptionsHelp(), out);
  return status;
}

// Writes what a download of images must give into setFolder, as the writer does, and
// prints "KIND TOTAL" per kind: the reference a soak compares a download with.
int WriteServed(rxt4::KindImages images, const std::filesystem::path& setFolder) {
  std::error_code ec;
  std::filesystem::create_directories(setFolder, ec);
  bool ok = true;
  for (rxt4::TransferKind k : rxt4::kAllTransferKinds) {
    rxt4::KindImage& image = images[static_cast<std::size_t>(k)];
    if (image.size() < rxt4::sim::kEmptyKindImage.size()) image = rxt4::sim::kEmptyKindImage;
    rxt4::DataSetWriter writer;
    writer.SelectKind(k);
    ok = writer.PrepareFolder(setFolder) && writer.Allocate(static_cast<std::uint32_t>(image.size())) && ok;
    writer.Append(image.data(), image.size());
    ok = writer.Write() && ok;
    std::printf("%d %zu\n", static_cast<int>(k), image.size());
  }
  if (!ok) std::fprintf(stderr, "rxt4-sim: could not write %s\n", setFolder.string().c_str());
  return ok ? 0 : 1;
}

bool ParseInt(std::string_view text, int& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    auto value = [&](std::string_view& v) {
      if (i + 1 >= argc) return false;
      v = argv[++i];
      return true;
    };
    std::string_view v;
    if (a == "--help" || a == "-h") return Usage(stdout, 0);
    if (a == "--version") return std::puts("rxt4-sim (RXT4 Viewer) " RXT4_VERSION) < 0;
    if (a == "--line-rate") {
      o.lineRate = true;
    } else if (a == "--log") {
      o.log = true;
    } else if (a == "--link" && value(v)) {
      o.link = v;
    } else if (a == "--data" && value(v)) {
      o.data = v;
    } else if (a == "--write-served" && value(v)) {
      o.writeServed = v;
    } else if (a == "--baud" && value(v) && ParseInt(v, o.baud) && o.baud > 0) {
      o.baudGiven = true;
    } else if (a == "--update-mode") {
      o.updateMode = true;
    } else if (rxt4::sim::UpdateSettings::Takes(a) && value(v)) {
      if (auto error = o.update.Add(a, v)) {
        std::fprintf(stderr, "rxt4-sim: %s\n\n", error->c_str());
        return Usage(stderr, 2);
      }
    } else if (a == "--mode-wait" && value(v) && ParseInt(v, o.modeWait)) {
    } else if (a == "--fault" && value(v)) {
      if (auto error = o.faults.Add(std::string(v))) {
        std::fprintf(stderr, "rxt4-sim: %s\n\n", error->c_str());
        return Usage(stderr, 2);
      }
    } else {
      std::fprintf(stderr, "rxt4-sim: bad argument '%s'\n\n", argv[i]);
      return Usage(stderr, 2);
    }
  }
  if (o.link.empty() && o.writeServed.empty()) {
    std::fprintf(stderr, "rxt4-sim: --link PATH is required\n\n");
    return Usage(stderr, 2);
  }

  rxt4::KindImages images;
  if (o.data.empty()) {
    images = rxt4::BuildDemoImages();
  } else {
    if (!std::filesystem::is_directory(o.data)) {
      std::fprintf(stderr, "rxt4-sim: %s is not a folder\n", o.data.c_str());
      return 2;
    }
    for (rxt4::TransferKind k : rxt4::kAllTransferKinds)
      if (auto image = rxt4::ReadKindImage(o.data, k)) images[static_cast<std::size_t>(k)] = std::move(*image);
  }

  if (!o.writeServed.empty()) return WriteServed(images, o.writeServed);

  int stopPipe[2];
  if (::pipe2(stopPipe, O_CLOEXEC) != 0) {
    std::perror("rxt4-sim: pipe");
    return 1;
  }
  g_stopPipeWrite = stopPipe[1];
  struct sigaction sa{};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  // The update mode runs at 115200 baud.
  if (o.updateMode && !o.baudGiven) o.baud = 115200;
  rxt4::sim::PtyTransport transport(o.link, o.baud, o.lineRate, o.log);
  if (std::string e = transport.Create(); !e.empty()) {
    std::fprintf(stderr, "rxt4-sim: %s\n", e.c_str());
    return 1;
  }
  if (o.updateMode) {
    rxt4::sim::UpdateInstrument updater(std::move(o.update));
    return transport.Run(updater, stopPipe[0]);
  }
  rxt4::sim::TransferInstrument instrument(std::move(images), static_cast<std::uint32_t>(o.baud), o.modeWait,
                                           std::move(o.faults));
  return transport.Run(instrument, stopPipe[0]);
}
