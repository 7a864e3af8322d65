#pragma once
// The pieces of the update's presentation shared by the update dialog and the
// command line: the progress bar's range and steps, the version texts and the final
// message.

#include <cstdint>
#include <string>
#include <string_view>

#include "rxt4/link/FirmwareImage.h"
#include "rxt4/link/LinkResult.h"

namespace rxt4 {

// The progress bar's range: over Main, TSNM and Dec, part size / 1024 + 1 each (an
// absent part has size 0 and still counts 1).
int UpdateProgressTotal(const CFirmwareImage& image);

// Turns the reported block numbers into bar steps: one step per block number that is
// not 0 and differs from the last one taken (so NAKs and repeated reports do not move
// the bar). Kept per dialog or job, starting at 0.
class UpdateProgressSteps {
 public:
  // True when the bar moves one step for this block number.
  bool Take(std::uint32_t block);
  // The last block number taken (0 at first).
  std::uint32_t last() const { return last_; }

 private:
  std::uint32_t last_ = 0;
};

// A version text as shown: up to the first 0 byte, trailing white space removed.
std::string TrimVersionText(std::string_view text);

// The old and new version texts of one update: only the first non-empty pair counts
// (the first part updated).
struct UpdateVersionTexts {
  std::string oldVersion;  // the instrument's, trimmed
  std::string newVersion;  // the file's, trimmed
  // Takes a reported pair: each text is set only while it is still empty.
  void Take(std::string_view instrument, std::string_view file);
};

// "Ver.<old> から Ver.<new> にアップデートが完了しました。" (UTF-8; the versions are
// Shift-JIS bytes and are decoded).
std::string UpdateDoneText(std::string_view oldVersion, std::string_view newVersion);

// The final message for a result: the completion text on success,
// "アップデートを中止しました。" when cancelled, otherwise
// "通信に失敗しました。\nRXT4との接続を確認してください。".
std::string UpdateFinalText(LinkResult result, const UpdateVersionTexts& versions);

// True when the result counts as a completed update (only Success).
constexpr bool UpdateSucceeded(LinkResult result) { return result == LinkResult::Success; }

}  // namespace rxt4
