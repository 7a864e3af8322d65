#pragma once
// The final result of a link worker (transfer or firmware update) with its value.

namespace rxt4 {

enum class LinkResult : int {
  Cancelled = -1,          // cancelled by the user; value 0
  Success = 0,             // every command completed; value 0
  PortOpenFailed = 1,      // opening the port failed; value 0
  EmptyEntry = 2,          // the queue held an empty entry (or a step no handler knows); value 0 or the step
  SetupFailed = 3,         // creating or setting up the commands failed; value 0
  SendFailed = 4,          // a send failed; value = the request code
  WaitFailed = 5,          // a wait failed or timed out; value = the request code
  ReplyFailed = 6,         // a reply was missing, malformed, negative or did not match; value = request code
  NotSaved = 7,            // transfer: every block arrived but some kinds' files could not be written;
                           // value = bit mask of those kinds (bit k = TransferKind k)
  FolderRefused = 8,       // transfer: the set folder refused the download before the first request
                           // (missing, held by another download, taking no files); value 0
  ImagePartMissing = 100,  // update: a part of the firmware image is missing
};

// A result with its value, as a worker reports it when it ends.
struct LinkOutcome {
  LinkResult result = LinkResult::Success;
  int value = 0;
};

constexpr int ToInt(LinkResult r) { return static_cast<int>(r); }

}  // namespace rxt4
