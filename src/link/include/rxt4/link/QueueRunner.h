#pragma once
// CQueueRunner: runs a FIFO of owned commands on the worker thread. The head's
// step selects the operation; a failure ends the run with its LinkResult and the
// head's request code. The update worker derives from it to handle its own steps.

#include <atomic>
#include <deque>
#include <memory>

#include "rxt4/link/InstrumentCommand.h"
#include "rxt4/link/LinkResult.h"
#include "rxt4/link/SerialPort.h"

namespace rxt4 {

class CQueueRunner {
 public:
  // port and abort must outlive the runner; abort ends the run with Cancelled.
  CQueueRunner(CSerialPort& port, const std::atomic<bool>& abort);
  virtual ~CQueueRunner();

  CQueueRunner(const CQueueRunner&) = delete;
  CQueueRunner& operator=(const CQueueRunner&) = delete;

  // Appends a command (an empty pointer is kept: running it ends with EmptyEntry).
  void Push(std::unique_ptr<CInstrumentCommand> command);
  // Runs until the queue is empty (Success), a command fails, or abort is raised
  // (Cancelled, checked before every step). Commands left over are deleted.
  LinkOutcome Run();

  std::size_t size() const { return queue_.size(); }

 protected:
  // Runs one step of the head command. The base handles SEND, WAIT, READ and DONE;
  // any other step ends the run with EmptyEntry and the step as value. Derived
  // runners handle their own steps and call the base for the rest.
  virtual void Dispatch(int step, CInstrumentCommand& head);
  // Ends the run with this result and value (the first call wins).
  void Finish(LinkResult result, int value);
  // Removes and deletes the head command.
  void PopHead();
  bool finished() const { return finished_; }
  CSerialPort& port() { return port_; }

 private:
  CSerialPort& port_;
  const std::atomic<bool>& abort_;
  std::deque<std::unique_ptr<CInstrumentCommand>> queue_;
  bool finished_ = false;
  LinkOutcome outcome_;
};

}  // namespace rxt4
