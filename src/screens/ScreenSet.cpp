#include "rxt4/screens/ScreenSet.h"

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

CScreen* ScreenSet::Select(const CDataSet& record) {
  CScreen* screen = Screen(record.kind);
  current_ = screen != nullptr ? record.kind : DataKind::None;
  if (screen != nullptr) screen->TakeRecord(record);
  return screen;
}

void ScreenSet::Paint(Surface& dc) const {
  if (CScreen* screen = Current()) screen->Draw(dc);
  else CScreen::ClearScreenArea(dc);
  CScreen::FrameScreenArea(dc);
}

KeyOutcome ScreenSet::PressKey(const KeyPress& press, Surface& dc) {
  CScreen* screen = Current();
  if (screen == nullptr) {
    const bool arrow = press.key != InstrumentKey::Enter;
    return arrow && !press.shift ? KeyOutcome::Tree : KeyOutcome::Nothing;
  }
  const KeyOutcome outcome = screen->PressKey(press);
  // The one place where a key's effect reaches the screen area: it is painted whole,
  // so that it always shows exactly what a Draw of the new state shows (painting only
  // the changed parts left frame lines and the spectrum's centre line missing).
  if (outcome == KeyOutcome::Changed) Paint(dc);
  return outcome;
}

}  // namespace rxt4
