#pragma once
// The 30 columns of a measurement table, named once: their position, a stable ASCII
// name and a title (export), whether the stored text is a number, the unit of that
// number, and whether the column is the instrument's own control data that a reader
// of a report never needs. The title the table file's own header holds is
// ColumnTitle (FileTexts.h): the instrument's wording, units in brackets.

#include <array>
#include <string_view>

#include "rxt4/data/MeasurementRow.h"

namespace rxt4 {

enum class Column : int {
  No = 0,           // record number; its last three characters name the companion file
  DataName,         // 1
  BandName,         // 2
  Channel,          // 3
  Polarization,     // 4
  Frequency,        // 5, MHz
  Level,            // 6, dBμV
  Cn,               // 7, dB
  Modulation,       // 8
  Oscillator,       // 9, local oscillator, GHz
  Correction,       // 10
  BoosterPower,     // 11
  ConverterPower,   // 12
  Layer,            // 13
  BandNumber,       // 14, control: band number
  DisplayWidth,     // 15, control
  ScaleWidth,       // 16, control
  Mode,             // 17, control
  CursorPosition,   // 18, control
  ChannelCount,     // 19, control: number of measured channels
  ScreenType,       // 20
  Ber,              // 21
  Mer,              // 22, dB
  BandName2,        // 23
  Channel2,         // 24
  Polarization2,    // 25
  Level2,           // 26, dBμV
  Ber2,             // 27
  Cn2,              // 28, dB
  Correction2,      // 29
};

inline constexpr int kColumnCount = MeasurementRow::kColumnCount;

// How a column's text is read: as it stands, or as a number (the instrument's
// markers stand in for numbers it could not measure).
enum class ColumnValue { Text, Integer, Real };

struct ColumnInfo {
  Column column;
  std::string_view asciiName;  // stable name in the export ("level_dbuv")
  std::string_view title;      // its title in the export's tables and workbook ("レベル"); a
                               // number column's unit follows it there
  ColumnValue value;
  std::string_view unit;       // unit of the number, UTF-8 ("dBμV"); empty when it has none
  bool control;                // the instrument's control data, not a reading or a setting
};

// Descriptors in column order.
inline constexpr std::array<ColumnInfo, kColumnCount> kColumnInfo = {{
    {Column::No, "record_no", "No.", ColumnValue::Text, "", false},
    {Column::DataName, "data_name", "データ名", ColumnValue::Text, "", false},
    {Column::BandName, "band_name", "バンド名", ColumnValue::Text, "", false},
    {Column::Channel, "channel", "チャンネル", ColumnValue::Text, "", false},
    {Column::Polarization, "polarization", "偏波面", ColumnValue::Text, "", false},
    {Column::Frequency, "frequency_mhz", "周波数", ColumnValue::Real, "MHz", false},
    {Column::Level, "level_dbuv", "レベル", ColumnValue::Real, "dBμV", false},
    {Column::Cn, "cn_db", "C/N", ColumnValue::Real, "dB", false},
    {Column::Modulation, "modulation", "変調方式", ColumnValue::Text, "", false},
    {Column::Oscillator, "lo_frequency_ghz", "局部発振周波数", ColumnValue::Real, "GHz", false},
    {Column::Correction, "correction", "補正値", ColumnValue::Real, "dB", false},
    {Column::BoosterPower, "booster_power", "ブースター給電", ColumnValue::Text, "", false},
    {Column::ConverterPower, "converter_power", "コンバーター給電", ColumnValue::Text, "", false},
    {Column::Layer, "layer", "階層", ColumnValue::Text, "", false},
    {Column::BandNumber, "band_no", "バンドNo.", ColumnValue::Integer, "", true},
    {Column::DisplayWidth, "display_width", "表示幅", ColumnValue::Integer, "", true},
    {Column::ScaleWidth, "scale_width", "スケール幅", ColumnValue::Integer, "", true},
    {Column::Mode, "mode", "モード", ColumnValue::Text, "", true},
    {Column::CursorPosition, "cursor_position", "測定カーソル位置", ColumnValue::Integer, "", true},
    {Column::ChannelCount, "channel_count", "測定全チャンネル数", ColumnValue::Integer, "", true},
    {Column::ScreenType, "screen_type", "画面種別", ColumnValue::Integer, "", true},
    {Column::Ber, "ber", "BER", ColumnValue::Real, "", false},
    {Column::Mer, "mer_db", "MER", ColumnValue::Real, "dB", false},
    {Column::BandName2, "band_name2", "バンド名２", ColumnValue::Text, "", false},
    {Column::Channel2, "channel2", "チャンネル２", ColumnValue::Text, "", false},
    {Column::Polarization2, "polarization2", "偏波面２", ColumnValue::Text, "", false},
    {Column::Level2, "level2_dbuv", "レベル２", ColumnValue::Real, "dBμV", false},
    {Column::Ber2, "ber2", "BER２", ColumnValue::Real, "", false},
    {Column::Cn2, "cn2_db", "C/N２", ColumnValue::Real, "dB", false},
    {Column::Correction2, "correction2", "補正値２", ColumnValue::Real, "dB", false},
}};

constexpr int Index(Column c) { return static_cast<int>(c); }
constexpr const ColumnInfo& Info(Column c) { return kColumnInfo[static_cast<std::size_t>(c)]; }

// A row's field of a column, exactly as stored.
inline std::string_view Field(const MeasurementRow& row, Column c) { return row.Field(Index(c)); }

// The descriptors are in column order: Info(c).column == c for every column.
static_assert([] {
  for (int i = 0; i < kColumnCount; ++i)
    if (Index(kColumnInfo[static_cast<std::size_t>(i)].column) != i) return false;
  return true;
}());

}  // namespace rxt4
