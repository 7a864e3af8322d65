// CSerialPort's termios backend on a pseudo-terminal: configuration, waits,
// abort from another thread, a vanishing far end.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "rxt4/link/PortBackend.h"
#include "rxt4/link/SerialPort.h"

namespace rxt4::test {
namespace {

using Clock = std::chrono::steady_clock;

// Waits until thread tid of this process sleeps in the kernel (state S in
// /proc/self/task/TID/stat), as a thread waiting on a port does; false after 10 s.
bool WaitUntilSleeping(pid_t tid) {
  const std::string stat = "/proc/self/task/" + std::to_string(tid) + "/stat";
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (Clock::now() < deadline) {
    std::ifstream in(stat);
    const std::string line((std::istreambuf_iterator<char>(in)), {});
    const std::size_t end = line.rfind(')');  // after the thread's name, which may hold anything
    if (end != std::string::npos && end + 2 < line.size() && line[end + 2] == 'S') return true;
    std::this_thread::yield();
  }
  return false;
}

// The far end of a pseudo-terminal, as an instrument would hold it.
class PtyPair {
 public:
  PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) slave_ = ::ptsname(master_);
  }
  ~PtyPair() { CloseMaster(); }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  void Send(const char* text) { ASSERT_EQ(::write(master_, text, std::strlen(text)), static_cast<ssize_t>(std::strlen(text))); }
  std::string Receive(std::size_t n) {
    std::string got;
    while (got.size() < n) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 2000) <= 0) break;
      char b[64];
      ssize_t r = ::read(master_, b, std::min(sizeof b, n - got.size()));
      if (r <= 0) break;
      got.append(b, static_cast<std::size_t>(r));
    }
    return got;
  }
  const std::string& slave() const { return slave_; }

 private:
  int master_ = -1;
  std::string slave_;
};

CommSettings Settings(const std::string& port, int baud) {
  CommSettings s;
  s.comPort = port;
  s.baudRate = baud;
  s.dataSize = 7;  // ignored: the port always runs 8N1
  s.parity = 1;
  s.stopBits = 2;
  s.flowControl = 1;
  return s;
}

TEST(SerialPortPtyTest, OpensExclusivelyAndMovesBytesBothWays) {
  PtyPair pty;
  ASSERT_FALSE(pty.slave().empty());
  CSerialPort port;
  ASSERT_EQ(port.Open(Settings(pty.slave(), 115200)), PortError::Success);
  EXPECT_EQ(port.GetBaudRate(), 115200);

  CSerialPort second;
  EXPECT_EQ(second.Open(Settings(pty.slave(), 115200)), PortError::OpenFailed);
  EXPECT_FALSE(second.isOpen());

  const std::uint8_t request[] = {0x02, 0x00, 0x0A, 0x0D, 0x11, 0x13, 0xFF};  // raw: no translation, no flow control
  ASSERT_EQ(port.Write(request, sizeof request), PortError::Success);
  EXPECT_EQ(pty.Receive(sizeof request), std::string(reinterpret_cast<const char*>(request), sizeof request));

  EXPECT_EQ(port.WaitEvent(20), PortError::Timeout);
  pty.Send("\r\nabc");
  ASSERT_EQ(port.WaitEvent(2000), PortError::Success);
  // The event may come with the first bytes: wait until all five are queued.
  std::uint32_t queued = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  while (port.GetInQueue(queued) == PortError::Success && queued < 5 && Clock::now() < deadline)
    port.WaitEvent(10);
  EXPECT_EQ(queued, 5u);
  std::uint8_t buffer[8] = {};
  std::size_t n = 3;
  ASSERT_EQ(port.Read(buffer, n), PortError::Success);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), n), "\r\na");

  port.Close();
  EXPECT_EQ(second.Open(Settings(pty.slave(), 9600)), PortError::Success);
  EXPECT_EQ(second.GetBaudRate(), 9600);
}

TEST(SerialPortPtyTest, OpenFailures) {
  CSerialPort port;
  EXPECT_EQ(port.Open(Settings("/nonexistent/ttyRXT4", 9600)), PortError::OpenFailed);
  EXPECT_EQ(port.systemError(), ENOENT);
  EXPECT_EQ(port.Open(Settings("", 9600)), PortError::OpenFailed);
  // Not a terminal: its line state cannot be read.
  EXPECT_EQ(port.Open(Settings("/dev/null", 9600)), PortError::GetStateFailed);
  PtyPair pty;
  EXPECT_EQ(port.Open(Settings(pty.slave(), 12345)), PortError::SetStateFailed);
  EXPECT_FALSE(port.isOpen());
}

TEST(SerialPortPtyTest, ProbeSaysWhyAPortWouldNotOpen) {
  PtyPair pty;
  EXPECT_EQ(ProbePort(pty.slave()), 0);
  CSerialPort holder;
  ASSERT_EQ(holder.Open(Settings(pty.slave(), 9600)), PortError::Success);
  EXPECT_EQ(ProbePort(pty.slave()), EWOULDBLOCK);
  holder.Close();
  EXPECT_EQ(ProbePort(pty.slave()), 0);  // the probe itself holds nothing
  EXPECT_EQ(ProbePort("/nonexistent/ttyRXT4"), ENOENT);
  EXPECT_EQ(ProbePort(""), ENOENT);
  EXPECT_EQ(ProbePort("/dev/null"), ENOTTY);
}

TEST(SerialPortPtyTest, AbortEndsAWaitInProgress) {
  PtyPair pty;
  CSerialPort port;
  ASSERT_EQ(port.Open(Settings(pty.slave(), 9600)), PortError::Success);
  const pid_t waiter = ::gettid();
  std::thread aborter([&port, waiter] {
    if (WaitUntilSleeping(waiter)) port.Abort();
  });
  // Ended by the abort, long before its time-out (which would give Timeout).
  EXPECT_EQ(port.WaitEvent(20000), PortError::Aborted);
  aborter.join();
  std::uint32_t queued = 0;
  EXPECT_EQ(port.GetInQueue(queued), PortError::Aborted);
}

TEST(SerialPortPtyTest, VanishedFarEndFailsAtOnce) {
  PtyPair pty;
  CSerialPort port;
  ASSERT_EQ(port.Open(Settings(pty.slave(), 9600)), PortError::Success);
  pty.CloseMaster();
  // At once: a wait to its time-out would give Timeout.
  EXPECT_EQ(port.WaitEvent(20000), PortError::WaitFailed);
  EXPECT_EQ(port.WaitEvent(20000), PortError::WaitFailed);
  std::uint8_t buffer[4];
  std::size_t n = sizeof buffer;
  EXPECT_EQ(port.Read(buffer, n), PortError::ReadFailed);
}

}  // namespace
}  // namespace rxt4::test
