// The companion files of the graph screens: arbitrary bytes as the file a
// constellation, spectrum or delay profile row names, each screen drawn on it and
// every instrument key pressed a few times, with シフト and without.

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FuzzEntry.h"
#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/MeasurementRow.h"
#include "rxt4/screens/Fonts.h"
#include "rxt4/screens/InstrumentKey.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/Surface.h"

namespace rxt4::fuzz {
namespace {

constexpr int kPressesPerKey = 3;

// A terrestrial row (screen type 0) whose column 0 names companion file "001".
MeasurementRow CompanionRow() {
  std::vector<std::string> fields(MeasurementRow::kColumnCount);
  fields[0] = "001";
  fields[1] = "FUZZ";
  fields[2] = "UHF";
  fields[3] = "13";
  fields[5] = "473.143";
  fields[6] = "60.0";
  fields[8] = "64QAM";
  fields[13] = "A";
  fields[14] = "13";
  fields[20] = "0";
  fields[22] = "25.0";
  return MeasurementRow::FromFields(fields);
}

}  // namespace

RXT4_FUZZ_ENTRY(FuzzCompanion) {
  static const TempFolder folder("fuzz_companion");
  static const std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  static const MeasurementRow row = CompanionRow();

  const std::string tablePath = (folder.path() / "0001.CSV").string();
  {
    std::ofstream out(folder.path() / "0001.001", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) return 0;
  }

  ScreenSet screens(fonts);
  Surface dc;
  static const auto table = std::make_shared<DataSetTable>(DataSetTable{tablePath, "1"});
  for (DataKind kind : {DataKind::Constellation, DataKind::Spectrum, DataKind::Profile}) {
    CDataSet record;
    record.kind = kind;
    record.row = row;
    record.table = table;
    if (screens.Select(record) == nullptr) __builtin_trap();
    screens.Paint(dc);
    for (int held = 0; held < kPressesPerKey; ++held)
      for (InstrumentKey key : {InstrumentKey::Up, InstrumentKey::Down, InstrumentKey::Left, InstrumentKey::Right,
                                InstrumentKey::Enter})
        for (bool shift : {false, true}) screens.PressKey({key, shift, held}, dc);
  }
  return 0;
}

}  // namespace rxt4::fuzz
