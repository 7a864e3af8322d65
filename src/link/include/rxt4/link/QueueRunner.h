#pragma once
// CQueueRunner: runs a FIFO of owned commands on the worker thread. The head's
// step selects the operation (a step beyond SEND, WAIT, READ and DONE is the
// command's own: RunOwnStep, reporting to the runner's StepHost); a failure ends the
// run with its LinkResult and the head's request code.

#include <atomic>
#include <deque>
#include <memory>

#include "rxt4/link/InstrumentCommand.h"
#include "rxt4/link/LinkResult.h"
#include "rxt4/link/SerialPort.h"
#include "rxt4/link/StepHost.h"

namespace rxt4 {

class CQueueRunner {
 public:
  // port, abort and host must outlive the runner; abort ends the run with Cancelled.
  // host hears the commands' own steps (none: a StepHost that hears nothing).
  CQueueRunner(CSerialPort& port, const std::atomic<bool>& abort, StepHost* host = nullptr);
  ~CQueueRunner();

  CQueueRunner(const CQueueRunner&) = delete;
  CQueueRunner& operator=(const CQueueRunner&) = delete;

  // Appends a command (an empty pointer is kept: running it ends with EmptyEntry).
  void Push(std::unique_ptr<CInstrumentCommand> command);
  // Runs until the queue is empty (Success), a command fails, or abort is raised
  // (Cancelled, checked before every step). Commands left over are deleted.
  LinkOutcome Run();

  std::size_t size() const { return queue_.size(); }

 private:
  // Runs one step of the head command.
  void Dispatch(LinkStep step, CInstrumentCommand& head);
  // Ends the run with this result and value (the first call wins).
  void Finish(LinkResult result, int value);

  CSerialPort& port_;
  const std::atomic<bool>& abort_;
  StepHost* host_;
  std::deque<std::unique_ptr<CInstrumentCommand>> queue_;
  bool finished_ = false;
  LinkOutcome outcome_;
};

}  // namespace rxt4
