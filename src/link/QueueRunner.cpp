#include "rxt4/link/QueueRunner.h"

#include <utility>

namespace rxt4 {

CQueueRunner::CQueueRunner(CSerialPort& port, const std::atomic<bool>& abort, StepHost* host)
    : port_(port), abort_(abort), host_(host) {}

CQueueRunner::~CQueueRunner() = default;

void CQueueRunner::Push(std::unique_ptr<CInstrumentCommand> command) { queue_.push_back(std::move(command)); }

void CQueueRunner::Finish(LinkResult result, int value) {
  if (finished_) return;
  finished_ = true;
  outcome_ = {result, value};
}

LinkOutcome CQueueRunner::Run() {
  while (!finished_) {
    if (abort_) {
      Finish(LinkResult::Cancelled, 0);
      break;
    }
    if (queue_.empty()) {
      Finish(LinkResult::Success, 0);
      break;
    }
    CInstrumentCommand* head = queue_.front().get();
    if (head == nullptr) {
      Finish(LinkResult::EmptyEntry, 0);
      break;
    }
    Dispatch(head->step(), *head);
  }
  queue_.clear();
  return outcome_;
}

void CQueueRunner::Dispatch(LinkStep step, CInstrumentCommand& head) {
  switch (step) {
    case LinkStep::Send:
      if (!head.Send(port_)) Finish(LinkResult::SendFailed, head.requestCode());
      break;
    case LinkStep::Read:
      if (!head.Receive(port_)) Finish(LinkResult::ReplyFailed, head.requestCode());
      break;
    case LinkStep::Wait:
      if (!head.Wait(port_)) Finish(LinkResult::WaitFailed, head.requestCode());
      break;
    case LinkStep::Done:
      queue_.pop_front();
      break;
    case LinkStep::Entry:
    case LinkStep::Version:
    case LinkStep::XmodemSend:
    case LinkStep::XmodemReceive: {
      StepHost none;
      const LinkOutcome own = head.RunOwnStep(step, port_, host_ != nullptr ? *host_ : none);
      if (own.result != LinkResult::Success) Finish(own.result, own.value);
      break;
    }
  }
}

}  // namespace rxt4
