#pragma once
// The service class of a measurement row: which broadcast the instrument measured,
// told from what the row says, never guessed. A limits profile sets its limits per
// class.
//
// The rule, in this order (columns as the measurement table numbers them; texts
// compared after trimming blanks):
//  1. Modulation (column 8) "Analog": analogue, which is not judged.
//  2. By screen type (column 20), with the band class of the band number (column 14:
//     below 26 a satellite band, 26 or more a terrestrial or cable band):
//     | screen type                  | band class  | service class                       |
//     | 0 地上デジタル                | terrestrial | terrestrial digital                 |
//     | 1 ワンセグ                    | terrestrial | one-segment                         |
//     | 2 BS                         | satellite   | BS                                  |
//     | 3 ｅ２ｂｙスカパー！          | satellite   | 110° CS                             |
//     | 4, 5, 6 スカイパーフェクＴＶ！ | satellite   | other communications satellites     |
//     | 7, 8 ＶＵ・ＣＡＴＶ           | terrestrial | by modulation: "OFDM" terrestrial   |
//     |                              |             | digital (carried on the cable),     |
//     |                              |             | "64QAM" or "256QAM" cable (QAM)     |
//     | 9, 10 その他衛星              | satellite   | by satellite name (column 2): "BS"  |
//     |                              |             | BS, "N-SAT110" 110° CS, any other   |
//     |                              |             | name other communications satellites|
//  3. Anything else is unplaced (判定なし): screen type 11 (ＣＡＴＶ上り, the return
//     path) and other types, a band class that contradicts the screen type, a
//     VU・CATV row with another modulation, an その他衛星 row without a name, a
//     screen type or band number column that holds no number.

#include <array>
#include <string_view>

#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {

enum class ServiceClass : unsigned char {
  Terrestrial,  // 地上デジタル
  OneSeg,       // ワンセグ
  Bs,           // BS
  Cs110,        // 110度CS
  OtherCs,      // その他の通信衛星 (124°/128° CS)
  Cable,        // ケーブル (QAM)
  Analogue,     // アナログ: never judged
  Unplaced,     // the rule cannot place the row: never judged
};

// The classes a profile can set limits for, in the order profiles and the guide list them.
inline constexpr std::array<ServiceClass, 6> kJudgedClasses = {ServiceClass::Terrestrial, ServiceClass::OneSeg,
                                                               ServiceClass::Bs,          ServiceClass::Cs110,
                                                               ServiceClass::OtherCs,     ServiceClass::Cable};

// The class of a row by the rule above. fields are the row's 30 fields (Fields()).
ServiceClass ClassOfRow(const std::array<std::string_view, MeasurementRow::kColumnCount>& fields);
inline ServiceClass ClassOfRow(const MeasurementRow& row) { return ClassOfRow(row.Fields()); }

// The class's name from the string table (地上デジタル, ...).
std::string_view ServiceClassName(ServiceClass c, Language language = CurrentLanguage());
// The class's table name in a limits profile and its stable name in files and
// scripts: "terrestrial", "oneseg", "bs", "cs110", "other_cs", "cable"; "analogue"
// and "unplaced" for the two that are never judged.
std::string_view ServiceClassKey(ServiceClass c);

}  // namespace rxt4
