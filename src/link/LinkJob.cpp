#include "rxt4/link/LinkJob.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace rxt4 {

CLinkJob::CLinkJob(std::unique_ptr<PortBackend> backend) : port_(std::move(backend)) {}

CLinkJob::~CLinkJob() {
  Abort();
  Join();
}

bool CLinkJob::Start(Work work, Report report) {
  if (started()) return false;
  running_ = true;
  try {
    worker_ = std::thread(&CLinkJob::Run, this, std::move(work), std::move(report));
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  return true;
}

void CLinkJob::Abort() {
  {
    std::lock_guard lock(mutex_);
    abort_ = true;
  }
  wake_.notify_all();
  port_.Abort();
}

void CLinkJob::Join() {
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

LinkOutcome CLinkJob::outcome() const {
  std::lock_guard lock(mutex_);
  return outcome_;
}

bool CLinkJob::OpenPort(const CommSettings& settings) {
  if (port_.Open(settings) != PortError::Success) {
    openSystemError_ = port_.systemError();
    return false;
  }
  // An abort that came before the port was open could not raise its flag.
  if (abort_) port_.Abort();
  return true;
}

void CLinkJob::AbortableSleep(int ms) {
  std::unique_lock lock(mutex_);
  wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return abort_.load(); });
}

void CLinkJob::Run(Work work, Report report) {
  const LinkOutcome outcome = work();
  port_.Close();
  {
    std::lock_guard lock(mutex_);
    outcome_ = outcome;
  }
  report(outcome);
  running_ = false;
}

}  // namespace rxt4
