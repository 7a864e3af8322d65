#include "rxt4/screens/ScreenSet.h"

#include "rxt4/data/Paths.h"
#include "rxt4/screens/BerScreen.h"
#include "rxt4/screens/ConstelScreen.h"
#include "rxt4/screens/LevelScreen.h"
#include "rxt4/screens/MultiScreen.h"
#include "rxt4/screens/ProfileScreen.h"
#include "rxt4/screens/SkyScreen.h"
#include "rxt4/screens/SpectrumScreen.h"

namespace rxt4 {

namespace {

std::size_t SlotOf(DataKind kind) { return static_cast<std::size_t>(static_cast<int>(kind)); }

}  // namespace

ScreenSet::ScreenSet(std::shared_ptr<const FontSet> fonts) : fonts_(std::move(fonts)) {
  if (!fonts_) fonts_ = FontSet::CreatePattern();
  screens_[SlotOf(DataKind::Level)] = std::make_unique<CLevelScreen>(fonts_);
  screens_[SlotOf(DataKind::Ber)] = std::make_unique<CBerScreen>(fonts_);
  screens_[SlotOf(DataKind::Sky)] = std::make_unique<CSkyScreen>(fonts_);
  screens_[SlotOf(DataKind::Constellation)] = std::make_unique<CConstelScreen>(fonts_);
  screens_[SlotOf(DataKind::Multi)] = std::make_unique<CMultiScreen>(fonts_);
  screens_[SlotOf(DataKind::Spectrum)] = std::make_unique<CSpectrumScreen>(fonts_);
  screens_[SlotOf(DataKind::Profile)] = std::make_unique<CProfileScreen>(fonts_);
}

CScreen* ScreenSet::Screen(DataKind kind) const {
  const std::size_t slot = SlotOf(kind);
  return slot < kSlotCount ? screens_[slot].get() : nullptr;
}

CScreen* ScreenSet::Select(DataKind kind, const MeasurementRow& row, std::string_view tablePath) {
  CScreen* screen = Screen(kind);
  current_ = screen != nullptr ? kind : DataKind::None;
  if (screen == nullptr) return nullptr;
  // Each kind's screen has its own SetData; the companion kinds also take the
  // companion base of the table.
  switch (kind) {
    case DataKind::Level:
      static_cast<CLevelScreen*>(screen)->SetData(row);
      break;
    case DataKind::Ber:
      static_cast<CBerScreen*>(screen)->SetData(row);
      break;
    case DataKind::Sky:
      static_cast<CSkyScreen*>(screen)->SetData(row);
      break;
    case DataKind::Constellation:
      static_cast<CConstelScreen*>(screen)->SetData(row, CompanionBase(tablePath));
      break;
    case DataKind::Spectrum:
      static_cast<CSpectrumScreen*>(screen)->SetData(row, CompanionBase(tablePath));
      break;
    case DataKind::Profile:
      static_cast<CProfileScreen*>(screen)->SetData(row, CompanionBase(tablePath));
      break;
    case DataKind::Multi:
      // A single row stands for a table of one channel.
      static_cast<CMultiScreen*>(screen)->SetData(std::vector<MeasurementRow>{row});
      break;
    default:
      break;
  }
  return screen;
}

CScreen* ScreenSet::Select(const CDataSet& record) {
  if (record.kind == DataKind::Multi) return SelectRows(record.rows);
  return Select(record.kind, record.row, record.tablePath());
}

CScreen* ScreenSet::SelectRows(const std::vector<MeasurementRow>& rows) {
  CScreen* screen = Screen(DataKind::Multi);
  current_ = screen != nullptr ? DataKind::Multi : DataKind::None;
  if (screen != nullptr) static_cast<CMultiScreen*>(screen)->SetData(rows);
  return screen;
}

void ScreenSet::Paint(Surface& dc) const {
  if (CScreen* screen = Current()) screen->Draw(dc);
  else CScreen::ClearScreenArea(dc);
  CScreen::FrameScreenArea(dc);
}

}  // namespace rxt4
