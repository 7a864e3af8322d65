// The termios backend of CSerialPort: real USB serial adapters and pseudo-terminals.

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "rxt4/link/PortBackend.h"

namespace rxt4 {
namespace {

// Waits are cut into slices so that an abort raised on another thread is noticed
// well within 100 ms without any cross-thread wake-up object.
constexpr int kPollSliceMs = 20;

speed_t SpeedFor(int baudRate) {
  switch (baudRate) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
#ifdef B460800
    case 460800: return B460800;
#endif
#ifdef B921600
    case 921600: return B921600;
#endif
    default: return B0;
  }
}

int RateOf(speed_t speed) {
  constexpr int rates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
  for (int r : rates)
    if (SpeedFor(r) == speed && speed != B0) return r;
  return 0;
}

using Clock = std::chrono::steady_clock;

// Opens the device for reading and writing and takes its exclusive lock (the port is
// used by one program at a time). The descriptor, or -1 with errno set.
int OpenExclusive(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
  const int error = errno;
  ::close(fd);
  errno = error;
  return -1;
}

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

class PosixPortBackend final : public PortBackend {
 public:
  ~PosixPortBackend() override { Close(); }

  PortError Open(const std::string& device, int baudRate) override {
    Close();
    error_ = 0;
    if (device.empty()) {
      error_ = ENOENT;
      return PortError::OpenFailed;
    }
    fd_ = OpenExclusive(device);
    if (fd_ < 0) return Fail(PortError::OpenFailed);
    ::tcflush(fd_, TCIOFLUSH);
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return Fail(PortError::GetStateFailed);
    speed_t speed = SpeedFor(baudRate);
    if (speed == B0) {
      error_ = EINVAL;
      return PortError::SetStateFailed;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF | IXANY);
    // VMIN 1 with O_NONBLOCK: an empty queue reads as EAGAIN, a vanished device as
    // EIO (VMIN 0 would read an empty queue as 0, indistinguishable from a hang-up).
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return Fail(PortError::SetStateFailed);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return Fail(PortError::SetStateFailed);
    // Many USB adapters only talk once DTR is up; pseudo-terminals have no modem
    // lines, so a failure here is expected and ignored.
    int dtr = TIOCM_DTR;
    (void)::ioctl(fd_, TIOCMBIS, &dtr);
    return PortError::Success;
  }

  void Close() override {
    if (fd_ >= 0) {
      ::close(fd_);  // also releases the flock
      fd_ = -1;
    }
  }

  PortError Write(const std::uint8_t* bytes, std::size_t length, int timeoutMs,
                  const std::atomic<bool>& abort) override {
    if (fd_ < 0) return PortError::NotOpen;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < length) {
      ssize_t n = ::write(fd_, bytes + done, length - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Fail(PortError::WriteFailed);
      // Output queue full: wait for room, in slices so an abort is seen.
      if (abort) return PortError::Aborted;
      int left = RemainingMs(deadline);
      if (left == 0) {
        error_ = ETIMEDOUT;
        return PortError::WriteFailed;
      }
      pollfd p{fd_, POLLOUT, 0};
      int r = ::poll(&p, 1, std::min(left, kPollSliceMs));
      if (r < 0 && errno != EINTR) return Fail(PortError::WriteFailed);
      if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) {
        error_ = EIO;
        return PortError::WriteFailed;
      }
    }
    return PortError::Success;
  }

  PortError Read(std::uint8_t* buffer, std::size_t& length, int intervalMs) override {
    if (fd_ < 0) return PortError::NotOpen;
    std::size_t got = 0;
    while (got < length) {
      ssize_t n = ::read(fd_, buffer + got, length - got);
      if (n > 0) {
        got += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
        // End of file or EIO: the device went away (a pulled cable, a closed pty).
        if (n == 0) errno = EIO;
        length = got;
        return Fail(PortError::ReadFailed);
      }
      // Queue ran dry before the requested count: wait one interval for more.
      pollfd p{fd_, POLLIN, 0};
      int r = ::poll(&p, 1, intervalMs);
      if (r <= 0 || !(p.revents & POLLIN)) break;
    }
    length = got;
    return PortError::Success;
  }

  PortError Poll(int timeoutMs, const std::atomic<bool>& abort) override {
    if (fd_ < 0) return PortError::NotOpen;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
      if (abort) return PortError::Aborted;
      int left = RemainingMs(deadline);
      pollfd p{fd_, POLLIN, 0};
      int r = ::poll(&p, 1, std::min(left, kPollSliceMs));
      if (r < 0) {
        if (errno == EINTR) continue;
        return Fail(PortError::WaitFailed);
      }
      if (r > 0) {
        // Bytes still queued are delivered even after a hang-up. Readable with an
        // empty queue, or POLLHUP/POLLERR, means the far end is gone (a pulled
        // cable, a closed pty master): those conditions repeat on every poll, so
        // report them at once instead of spinning.
        int queued = 0;
        if ((p.revents & POLLIN) && ::ioctl(fd_, FIONREAD, &queued) == 0 && queued > 0) return PortError::Success;
        error_ = EIO;
        return PortError::WaitFailed;
      }
      if (left == 0) return PortError::Timeout;
    }
  }

  PortError Queued(std::uint32_t& count) override {
    if (fd_ < 0) return PortError::NotOpen;
    int n = 0;
    if (::ioctl(fd_, FIONREAD, &n) != 0) return Fail(PortError::ReadFailed);
    count = n > 0 ? static_cast<std::uint32_t>(n) : 0;
    return PortError::Success;
  }

  int BaudRate() const override {
    if (fd_ < 0) return 0;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return 0;
    return RateOf(::cfgetospeed(&tio));
  }

  int SystemError() const override { return error_; }

 private:
  PortError Fail(PortError e) {
    error_ = errno;
    return e;
  }

  int fd_ = -1;
  int error_ = 0;
};

}  // namespace

std::unique_ptr<PortBackend> MakePlatformPortBackend() { return std::make_unique<PosixPortBackend>(); }

int ProbePort(const std::string& device) {
  if (device.empty()) return ENOENT;
  const int fd = OpenExclusive(device);
  if (fd < 0) return errno;
  termios tio{};
  const int error = ::tcgetattr(fd, &tio) == 0 ? 0 : errno;
  ::close(fd);
  return error;
}

}  // namespace rxt4
