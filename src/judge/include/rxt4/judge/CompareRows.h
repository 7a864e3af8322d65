#pragma once
// Two visits compared as the table a user reads (the viewer's 比較): one row per
// reading of a place, with the value and verdict of each visit and the change.

#include <string>
#include <vector>

#include "rxt4/judge/ChannelPoints.h"

namespace rxt4 {

struct CompareRow {
  TransferKind kind = TransferKind::None;
  std::string band;     // UTF-8, decoded from the stored bytes
  std::string channel;  // likewise
  Reading reading = Reading::Level;
  std::string before;   // the value as shown ("45.5 dBμV", 測定範囲未満); なし when that visit has none
  std::string after;
  Verdict beforeVerdict = Verdict::None;  // 判定なし also when that visit has none
  Verdict afterVerdict = Verdict::None;
  bool beforeMissing = false;
  bool afterMissing = false;
  // After minus before, signed, with the unit ("+12.5 dB"), when both are numbers;
  // empty otherwise and for the BER, whose difference says nothing.
  std::string change;
};

// The rows of ComparePoints' result, place by place, reading by reading.
std::vector<CompareRow> CompareRows(const std::vector<ComparedPoint>& compared);

}  // namespace rxt4
