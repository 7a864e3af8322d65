#pragma once
// What a report or export tells its owner while it runs, and how it ended.

#include <string>
#include <utility>

namespace rxt4 {

struct JobOutcome {
  enum class Status { Done, Failed, Cancelled };
  Status status = Status::Done;
  std::string message;  // why it failed (UTF-8); empty otherwise

  bool done() const { return status == Status::Done; }
  static JobOutcome Failed(std::string why) { return {Status::Failed, std::move(why)}; }
  static JobOutcome Cancelled() { return {Status::Cancelled, {}}; }
};

class JobObserver {
 public:
  virtual ~JobObserver() = default;
  // done of total steps handled so far (pages of a report, measurements of an export).
  virtual void Progress(int done, int total) = 0;
  // Something was left out or replaced (a missing font, an unreadable companion
  // file); the job goes on. UTF-8, one line.
  virtual void Warning(const std::string& message) = 0;
  // A job run by ReportJob has ended (its last report).
  virtual void Finished(const JobOutcome&) {}
};

// An observer that drops everything.
class NullJobObserver : public JobObserver {
 public:
  void Progress(int, int) override {}
  void Warning(const std::string&) override {}
};

}  // namespace rxt4
