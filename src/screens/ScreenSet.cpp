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

// A kind's slot: its row in the kind table.
std::size_t SlotOf(const KindInfo& info) { return static_cast<std::size_t>(&info - kKinds.data()); }

}  // namespace

std::unique_ptr<CScreen> MakeScreen(DataKind kind, std::shared_ptr<const FontSet> fonts) {
  switch (kind) {
    case DataKind::Level: return std::make_unique<CLevelScreen>(std::move(fonts));
    case DataKind::Ber: return std::make_unique<CBerScreen>(std::move(fonts));
    case DataKind::Sky: return std::make_unique<CSkyScreen>(std::move(fonts));
    case DataKind::Constellation: return std::make_unique<CConstelScreen>(std::move(fonts));
    case DataKind::Multi: return std::make_unique<CMultiScreen>(std::move(fonts));
    case DataKind::Spectrum: return std::make_unique<CSpectrumScreen>(std::move(fonts));
    case DataKind::Profile: return std::make_unique<CProfileScreen>(std::move(fonts));
    case DataKind::None: break;
  }
  return nullptr;
}

ScreenSet::ScreenSet(std::shared_ptr<const FontSet> fonts) : fonts_(std::move(fonts)) {
  if (!fonts_) fonts_ = FontSet::CreatePattern();
  for (const KindInfo& info : kKinds) screens_[SlotOf(info)] = MakeScreen(info.data, fonts_);
}

CScreen* ScreenSet::Screen(DataKind kind) const {
  const KindInfo* info = FindKind(kind);
  return info != nullptr ? screens_[SlotOf(*info)].get() : nullptr;
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
