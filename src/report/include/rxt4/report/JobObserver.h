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

// Something a job left out or replaced, and went on: what it was, and what it concerns.
struct JobWarning {
  enum class Kind {
    CompanionUnreadable,  // subject: the companion file; its graph is left out
    CompanionsMore,       // count: companion files beyond those named
    ScreenFontMissing,    // subject: the font library's own words; screen texts are boxes
    NoFont,               // no font at all: the report's texts may not show
    FontSubstitute,       // subject: the family used in IPAGothic's place
    NoJapaneseFont,       // Japanese texts may not show
    LogoUnreadable,       // subject: the logo file
    CompareSetMissing,    // subject: the set folder named for the compare pages
    RecordUnreadable,     // subject: the job or company record's file, line and reason
  };
  Kind kind = Kind::CompanionUnreadable;
  std::string subject;  // UTF-8 (a path as the file system spells it)
  int count = 0;
};

// The warning in words, from the string table (Japanese), one line.
std::string WarningText(const JobWarning& warning);

class JobObserver {
 public:
  virtual ~JobObserver() = default;
  // done of total steps handled so far (pages of a report, measurements of an export).
  virtual void Progress(int done, int total) = 0;
  // Something was left out or replaced (a missing font, an unreadable companion
  // file); the job goes on. UTF-8, one line, in the user's words.
  virtual void Warning(const std::string& message) = 0;
  // The same warning as it was found; an observer that keeps warnings apart by kind
  // takes them here. By default it is worded (WarningText) and given to Warning.
  virtual void Warn(const JobWarning& warning) { Warning(WarningText(warning)); }
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
