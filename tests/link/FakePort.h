#pragma once
// An in-memory serial line for command tests: what the PC writes is recorded and
// may be answered by a scripted responder; received bytes arrive in chunks, one
// chunk per wait, so split deliveries can be replayed; errors can be injected per
// operation. Use: auto line = std::make_shared<FakeLine>();
//                 CSerialPort port(std::make_unique<FakePortBackend>(line));

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "rxt4/link/PortBackend.h"

namespace rxt4::test {

using Bytes = std::vector<std::uint8_t>;

struct FakeLine {
  // Every byte the PC wrote, and each write separately.
  Bytes written;
  std::vector<Bytes> writes;
  // Bytes readable now.
  std::deque<std::uint8_t> queued;
  // Chunks still on the way: each wait that finds the queue empty makes the next arrive.
  std::deque<Bytes> deliveries;
  // Called after each write with the bytes written; may Deliver or Queue replies.
  std::function<void(FakeLine&, std::span<const std::uint8_t>)> onWrite;

  // Errors to return from the next calls of each operation (consumed in order).
  std::deque<PortError> openErrors, writeErrors, readErrors, pollErrors, queuedErrors;

  std::string openedDevice;
  int baudRate = 9600;
  bool open = false;
  int polls = 0;
  int timeouts = 0;

  // Makes bytes arrive as one chunk at the next wait.
  void Deliver(std::span<const std::uint8_t> bytes) { deliveries.emplace_back(bytes.begin(), bytes.end()); }
  void Deliver(std::initializer_list<std::uint8_t> bytes) { deliveries.emplace_back(bytes); }
  // Makes bytes readable at once.
  void Queue(std::span<const std::uint8_t> bytes) { queued.insert(queued.end(), bytes.begin(), bytes.end()); }
};

class FakePortBackend final : public PortBackend {
 public:
  explicit FakePortBackend(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}

  PortError Open(const std::string& device, int baudRate) override {
    if (PortError e; Take(line_->openErrors, e)) return e;
    line_->openedDevice = device;
    line_->baudRate = baudRate;
    line_->open = true;
    return PortError::Success;
  }
  void Close() override { line_->open = false; }

  PortError Write(const std::uint8_t* bytes, std::size_t length, int, const std::atomic<bool>&) override {
    if (PortError e; Take(line_->writeErrors, e)) return e;
    std::span<const std::uint8_t> data(bytes, length);
    line_->written.insert(line_->written.end(), data.begin(), data.end());
    line_->writes.emplace_back(data.begin(), data.end());
    if (line_->onWrite) line_->onWrite(*line_, data);
    return PortError::Success;
  }

  PortError Read(std::uint8_t* buffer, std::size_t& length, int) override {
    if (PortError e; Take(line_->readErrors, e)) {
      length = 0;
      return e;
    }
    std::size_t n = 0;
    while (n < length && !line_->queued.empty()) {
      buffer[n++] = line_->queued.front();
      line_->queued.pop_front();
    }
    length = n;
    return PortError::Success;
  }

  PortError Poll(int, const std::atomic<bool>& abort) override {
    ++line_->polls;
    if (abort) return PortError::Aborted;
    if (PortError e; Take(line_->pollErrors, e)) return e;
    if (line_->queued.empty() && !line_->deliveries.empty()) {
      line_->Queue(line_->deliveries.front());
      line_->deliveries.pop_front();
    }
    if (line_->queued.empty()) {
      ++line_->timeouts;
      return PortError::Timeout;
    }
    return PortError::Success;
  }

  PortError Queued(std::uint32_t& count) override {
    if (PortError e; Take(line_->queuedErrors, e)) return e;
    count = static_cast<std::uint32_t>(line_->queued.size());
    return PortError::Success;
  }

  int BaudRate() const override { return line_->open ? line_->baudRate : 0; }
  int SystemError() const override { return 0; }

 private:
  static bool Take(std::deque<PortError>& errors, PortError& e) {
    if (errors.empty()) return false;
    e = errors.front();
    errors.pop_front();
    return true;
  }

  std::shared_ptr<FakeLine> line_;
};

}  // namespace rxt4::test
