#include "rxt4/link/SerialPort.h"

#include <utility>

namespace rxt4 {

CSerialPort::CSerialPort() : CSerialPort(MakePlatformPortBackend()) {}

CSerialPort::CSerialPort(std::unique_ptr<PortBackend> backend) : backend_(std::move(backend)) {}

CSerialPort::~CSerialPort() { Close(); }

PortError CSerialPort::Open(const CommSettings& settings) {
  Close();
  // Only the port and the rate are taken: the line always runs 8N1.
  PortError e = backend_->Open(settings.comPort, settings.baudRate);
  if (e != PortError::Success) {
    backend_->Close();
    return e;
  }
  open_ = true;
  return PortError::Success;
}

void CSerialPort::Close() {
  if (backend_) backend_->Close();
  open_ = false;
  abort_ = false;
  pendingCount_ = 0;
}

void CSerialPort::Abort() {
  if (open_) abort_ = true;
}

PortError CSerialPort::AbortRule(PortError result) const {
  return abort_ ? PortError::Aborted : result;
}

PortError CSerialPort::Write(const std::uint8_t* bytes, std::size_t length) {
  if (!open_) return PortError::NotOpen;
  const int timeoutMs = kWriteTotalConstantMs + kWriteTotalMultiplierMs * static_cast<int>(length);
  PortError e = backend_->Write(bytes, length, timeoutMs, abort_);
  return AbortRule(e == PortError::Aborted ? PortError::Success : e);
}

PortError CSerialPort::Read(std::uint8_t* buffer, std::size_t& length) {
  if (!open_) return PortError::NotOpen;
  PortError e = backend_->Read(buffer, length, kReadIntervalMs);
  return AbortRule(e);
}

PortError CSerialPort::WaitEvent(int timeoutMs) {
  if (!open_) return PortError::NotOpen;
  if (pendingCount_ != 0) {
    pendingCount_ = 0;
    return PortError::Success;
  }
  PortError e = backend_->Poll(timeoutMs, abort_);
  // A plain time-out stays Timeout even with the abort flag raised; an abort noticed
  // during the wait ends it early as Aborted.
  if (e == PortError::Timeout) return e;
  if (e == PortError::Aborted) return PortError::Aborted;
  return AbortRule(e);
}

PortError CSerialPort::GetInQueue(std::uint32_t& count) {
  if (!open_) return PortError::NotOpen;
  PortError e = backend_->Queued(count);
  return AbortRule(e);
}

int CSerialPort::GetBaudRate() const { return open_ ? backend_->BaudRate() : 0; }

int CSerialPort::systemError() const { return backend_ ? backend_->SystemError() : 0; }

}  // namespace rxt4
