#pragma once
// Fixed label texts of the screens that the string table does not hold, as the
// Shift-JIS bytes the screens draw.

#include <string>

namespace rxt4 {

enum class Label {
  BandName,       // "バンド名"
  SatelliteName,  // "衛星名"
  Frequency,      // "周波数"
  MegaHertz,      // "MHz"
  GigaHertz,      // "GHz"
  Level,          // "ﾚﾍﾞﾙ"
  Cn,             // "C/N"
  Decibel,        // "dB"
  Mer,            // "MER"
  Ber,            // "BER"
  Below,          // "以下"
  Above,          // "以上"
  Correction,     // "補正"
  CorrectionOff,  // two ideographic spaces
  Channel,        // "ch"
  BsPassThrough,  // "BSパススルー"
  Count,
};

// Shift-JIS bytes of a label.
const std::string& LabelText(Label label);

}  // namespace rxt4
