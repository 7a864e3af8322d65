#pragma once
// CUpdateThread: one firmware update attempt. Prepare loads and verifies the image;
// Start opens the port at 115200 baud whatever the settings say, wakes the
// instrument into its update mode and, for Main, TSNM and Dec in this order when
// present, asks the part's version and uploads it with XMODEM-1K, then (after Dec)
// waits for the completion status. The worker thread is owned by the job and joined
// by its destructor.
//
// Abort makes the current port operation fail; an update that fails after an abort
// ends with LinkResult::Cancelled (value 0), so that a cancel is reported as one.
// Abort, DetachObserver, Join and the worker's state are CLinkThread's.

#include <atomic>
#include <filesystem>
#include <memory>

#include "rxt4/link/CommSettings.h"
#include "rxt4/link/FirmwareImage.h"
#include "rxt4/link/LinkResult.h"
#include "rxt4/link/LinkThread.h"
#include "rxt4/link/PortBackend.h"
#include "rxt4/link/UpdateObserver.h"

namespace rxt4 {

class CUpdateThread : public CLinkThread<UpdateObserver> {
 public:
  // The update mode of the instrument always runs at this rate.
  static constexpr int kUpdateBaudRate = 115200;

  // A job on this platform's serial port.
  explicit CUpdateThread(UpdateObserver* observer);
  // A job on the given port backend (tests).
  CUpdateThread(UpdateObserver* observer, std::unique_ptr<PortBackend> backend);
  ~CUpdateThread();

  // Loads and verifies the image file (before Start, on the caller's thread). False
  // when it is not a valid image; Start then refuses.
  bool Prepare(const std::filesystem::path& path);
  // Starts the worker with a copy of settings at 115200 baud. False when no valid image
  // was prepared, the job was started before, or no thread could be made.
  bool Start(const CommSettings& settings);
  // The prepared image (read-only; the worker reads it while running).
  const CFirmwareImage& image() const { return image_; }

 private:
  class Steps;

  LinkOutcome Work(const CommSettings& settings);

  CFirmwareImage image_;
  bool prepared_ = false;
  // The queue runner's own cancel flag: never raised, since an abort shows up as the
  // failure of the port operation it interrupts.
  const std::atomic<bool> runnerNeverCancels_{false};
};

}  // namespace rxt4
