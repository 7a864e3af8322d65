#include "PtyTransport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace rxt4::sim {
namespace {

// Paced replies are written in slices; each slice leaves when its last byte
// would have left a real line.
constexpr std::size_t kPacedSliceBytes = 64;
// The last slice of a reply ends the exchange: a sleep may overshoot by the
// scheduler's wake-up latency, so the final stretch before it is spun.
constexpr std::chrono::microseconds kFinalSliceSpin{600};

constexpr int kBitsPerByte = 10;  // start bit, 8 data bits, stop bit
// A reply nobody reads (the PC side gone with the line's buffer full) is given up.
constexpr std::chrono::seconds kStuckWriteLimit{2};

}  // namespace

PtyTransport::PtyTransport(std::filesystem::path linkPath, int baudRate, bool lineRate, bool log)
    : linkPath_(std::move(linkPath)), baudRate_(baudRate), lineRate_(lineRate), log_(log) {
  if (baudRate_ > 0) byteTime_ = std::chrono::nanoseconds(1'000'000'000LL * kBitsPerByte / baudRate_);
  // Paced sleeps should end when asked, not up to 50 us later.
  if (lineRate_) ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

PtyTransport::~PtyTransport() {
  ClosePty();
  if (linkMade_) {
    std::error_code ec;
    std::filesystem::remove(linkPath_, ec);
  }
}

std::string PtyTransport::OpenPty() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return std::string("posix_openpt: ") + std::strerror(errno);
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return std::string("unlockpt: ") + std::strerror(errno);
  const char* name = ::ptsname(master_);
  if (name == nullptr) return "ptsname failed";
  std::string slaveName = name;
  slaveKeeper_ = ::open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slaveKeeper_ < 0) return "open " + slaveName + ": " + std::strerror(errno);
  termios tio{};
  if (::tcgetattr(slaveKeeper_, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(slaveKeeper_, TCSANOW, &tio);
  }
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  // Replace the symlink atomically so a PC side never sees it missing.
  std::filesystem::path temp = linkPath_;
  temp += ".new";
  std::error_code ec;
  std::filesystem::remove(temp, ec);
  std::filesystem::create_symlink(slaveName, temp, ec);
  if (ec) return "symlink " + temp.string() + ": " + ec.message();
  std::filesystem::rename(temp, linkPath_, ec);
  if (ec) return "rename to " + linkPath_.string() + ": " + ec.message();
  linkMade_ = true;
  Log("line " + linkPath_.string() + " -> " + slaveName);
  return {};
}

void PtyTransport::ClosePty() {
  if (master_ >= 0) ::close(master_);
  if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
  master_ = slaveKeeper_ = -1;
}

std::string PtyTransport::Create() { return OpenPty(); }

void PtyTransport::Log(const std::string& line) {
  if (log_) std::fprintf(stderr, "rxt4-sim: %s\n", line.c_str());
}

void PtyTransport::SleepUntil(std::chrono::steady_clock::time_point t) {
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
  timespec ts{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

void PtyTransport::ReceiveTime(std::size_t count) {
  if (!lineRate_ || count == 0) return;
  // The request's bytes would still be arriving: the reply cannot start before
  // they have. No sleep here; Send starts its clock at this point.
  replyEarliest_ = std::chrono::steady_clock::now() + byteTime_ * static_cast<long>(count);
}

void PtyTransport::Send(std::span<const std::uint8_t> bytes) {
  if (master_ < 0 || hungUp_) return;
  const auto start = std::max(std::chrono::steady_clock::now(), replyEarliest_);
  const auto giveUp = start + kStuckWriteLimit + byteTime_ * static_cast<long>(bytes.size());
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t slice = bytes.size() - done;
    if (lineRate_) {
      slice = std::min(slice, kPacedSliceBytes);
      const auto due = start + byteTime_ * static_cast<long>(done + slice);
      const bool last = done + slice == bytes.size();
      SleepUntil(last ? due - kFinalSliceSpin : due);
      while (last && std::chrono::steady_clock::now() < due) {
      }
    }
    ssize_t n = ::write(master_, bytes.data() + done, slice);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (std::chrono::steady_clock::now() > giveUp) {
        Log("nobody reads the line: reply dropped");
        return;
      }
      pollfd p{master_, POLLOUT, 0};
      ::poll(&p, 1, 50);
    } else {
      Log(std::string("write failed: ") + std::strerror(errno));
      return;
    }
  }
}

void PtyTransport::Hangup() {
  Log("hang-up");
  ClosePty();
  hungUp_ = true;
}

int PtyTransport::Run(SimulatedInstrument& instrument, int stopFd) {
  std::uint8_t buffer[4096];
  for (;;) {
    if (hungUp_) {
      // The cable was pulled; plug a new one in under the same name.
      hungUp_ = false;
      if (std::string e = OpenPty(); !e.empty()) {
        std::fprintf(stderr, "rxt4-sim: %s\n", e.c_str());
        return 1;
      }
      instrument.OnNewLine();
    }
    pollfd fds[2] = {{master_, POLLIN, 0}, {stopFd, POLLIN, 0}};
    int r = ::poll(fds, 2, -1);
    if (r < 0) {
      if (errno == EINTR) continue;
      std::perror("rxt4-sim: poll");
      return 1;
    }
    if (fds[1].revents != 0) return 0;
    if (fds[0].revents & POLLIN) {
      ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n > 0) {
        instrument.OnReceived({buffer, static_cast<std::size_t>(n)}, *this);
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    }
    if (fds[0].revents & (POLLHUP | POLLERR)) {
      // Cannot happen while our own slave descriptor is open; do not spin if it does.
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
}

}  // namespace rxt4::sim
