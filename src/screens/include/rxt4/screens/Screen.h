#pragma once
// CScreen: the base of the seven measurement screens. It holds what every screen
// shares: the font set, the derived texts and numbers the main window and the
// drawing code read, the screen type names, the band class rule, the display number
// formats and the drawing primitives of the screen area (clear, frame, the two
// bottom rows, the channel tag, the dotted line). Texts are Shift-JIS bytes.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Columns.h"
#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/Strings.h"
#include "rxt4/screens/Fonts.h"
#include "rxt4/screens/InstrumentKey.h"
#include "rxt4/screens/Surface.h"

namespace rxt4 {

// The texts the instrument stores instead of a number.
inline constexpr std::string_view kNoMeasurement = "---.-";
inline constexpr std::string_view kBelowRange = "___._";
inline constexpr std::string_view kAboveRange = "~~~.~";
inline constexpr std::string_view kBerNoMeasurement = "-.-----";
inline constexpr std::string_view kBerBelowRange = "_._____";
inline constexpr std::string_view kBerAboveRange = "~.~~~~~";
// Five-character display forms of the one-decimal markers.
inline constexpr std::string_view kNoMeasurementShown = " --.-";
inline constexpr std::string_view kBelowRangeShown = " __._";
inline constexpr std::string_view kAboveRangeShown = " ~~.~";

// One line of a graph screen's key table: a key, with シフト or without, and the
// action it runs on the screen.
template <typename Screen>
struct KeyBinding {
  InstrumentKey key;
  bool shift;
  void (*run)(Screen& screen, int heldTicks);
};

// Limit flag of a clamped reading: 0 inside, 1 clamped to the lower limit ("以下"),
// 2 clamped to the upper limit ("以上").
struct ClampedReading {
  double value = 0;
  int flag = 0;
};

class CScreen {
 public:
  // Number of entries of the screen type table (types 0..11).
  static constexpr int kScreenTypeCount = 12;

  explicit CScreen(std::shared_ptr<const FontSet> fonts);
  virtual ~CScreen() = default;
  CScreen(const CScreen&) = delete;
  CScreen& operator=(const CScreen&) = delete;

  // Takes the measurement of a tree record of this screen's kind: the row (with the
  // companion base of its table where the screen reads companion files), or the
  // multi-channel rows. The base takes nothing.
  virtual void TakeRecord(const CDataSet&) {}
  // An instrument key pressed while this screen is shown. Each graph screen runs its
  // own key table; the base (the text screens, and any key a table leaves out) gives
  // ↑ and ↓ without シフト to the tree and does nothing with the others.
  virtual KeyOutcome PressKey(const KeyPress& press);
  // Text for the data-name label (UTF-8); nothing when the screen leaves the label
  // as it is (the base).
  virtual std::optional<std::string> ShowDataName() const { return std::nullopt; }
  // Draws the screen into the screen area; the base draws nothing.
  virtual void Draw(Surface&) {}
  // Derives the display texts from the screen's row; the base derives nothing.
  virtual void Format() {}
  // Text for the title label (UTF-8): kindName.
  virtual std::string ShowKindName() const;

  // --- primitives (all draw into the surface; the font selected last stays) ---

  // Selects font index of this screen's font set into the surface.
  void SelectFont(int index, Surface& dc) const;
  // Sets bandNumber (column 14) and bandClass from a row.
  void DeriveBandClass(const MeasurementRow& row);
  // Fills (1, 1, w - 1, h - 1) white, leaving the outermost pixel ring unchanged.
  static void ClearScreenArea(Surface& dc);
  // Draws a one-pixel black frame on (0, 0, w, h).
  static void FrameScreenArea(Surface& dc);
  // The satellite bottom row's label box and outline.
  void DrawSatelliteFooterBox(Surface& dc) const;
  // "ｺﾝﾊﾞｰﾀｰ" on a white label box.
  void DrawConverterLabel(Surface& dc) const;
  // oscillatorText followed by "GHz" at (232, 225), unless it begins with "*".
  void DrawOscillatorText(Surface& dc) const;
  // The terrestrial bottom row's label box and outline.
  void DrawTerrestrialFooterBox(Surface& dc) const;
  // "変調方式" on a white label box.
  void DrawModulationLabel(Surface& dc) const;
  // The modulation (polarizationOrModulation), centred in the field at x 80.
  void DrawModulationText(Surface& dc) const;
  // An inverted "ch" box at (x, y) and text at (x + 33, y + 1).
  void DrawChannelTag(Surface& dc, std::string_view text, int x, int y) const;
  // The converter power text at (140, 225).
  void DrawConverterPower(Surface& dc, std::string_view text) const;
  // One painted pixel in every two along (x1, y1) to (x2, y2).
  static void DrawDottedLine(Surface& dc, int x1, int y1, int x2, int y2);
  // The outline shared by every field and footer: left x0, top y, right R, bottoms b1, b2.
  static void DrawFieldFrame(Surface& dc, int x0, int y, int right, int bottom1, int bottom2);

  // --- shared rules ---

  // Band class of a band number: 1 below 26, 2 for 26..42, 3 from 43.
  static int BandClassOf(long long bandNumber);
  // String id of a screen type's name; nothing outside 0..11.
  static std::optional<StringId> ScreenTypeNameId(int screenType);
  // Shift-JIS name of a screen type, or a single blank outside 0..11.
  static std::string ScreenTypeName(int screenType);
  // "      %3.1f", rightmost 5 characters.
  static std::string FormatOneDecimal(double value);
  // "    %d" of the value truncated toward zero, rightmost 4 characters.
  static std::string FormatInteger(double value);
  // "      %4.2f", rightmost 6 characters.
  static std::string FormatTwoDecimals(double value);
  // The value clamped to [lower, upper] with its limit flag (limits themselves clamp).
  static ClampedReading Clamp(double value, double lower, double upper);
  // Display form of a one-decimal marker (" --.-", " __._", " ~~.~"); nothing for a number.
  static std::optional<std::string> ShownMarker(std::string_view text);

  // --- the text slots and numbers (Shift-JIS texts) ---
  std::string bandName;
  std::string kindName;
  std::string dataName;
  std::string oscillatorText;
  std::string polarizationOrModulation;
  std::string bandName2;
  std::string polarization2;
  int bandClass = 0;
  long long bandNumber = 0;
  int screenType = 0;

  const FontSet& fonts() const { return *fonts_; }
  const std::shared_ptr<const FontSet>& sharedFonts() const { return fonts_; }

 protected:
  // Copies data into `into` and returns true; an absent row leaves `into` as it is,
  // resets bandClass to 0 and returns false (the screens' SetData).
  bool TakeRow(const MeasurementRow& data, MeasurementRow& into);
  // dataName decoded for the data-name label (the screens' ShowDataName).
  std::optional<std::string> DataNameLabel() const;

 private:
  std::shared_ptr<const FontSet> fonts_;
};

// Runs the line of a screen's key table that matches the press (Changed); a key the
// table leaves out gets the base rule (CScreen::PressKey).
template <typename Screen, std::size_t N>
KeyOutcome PressFromTable(Screen& screen, const KeyBinding<Screen> (&table)[N], const KeyPress& press) {
  for (const KeyBinding<Screen>& line : table) {
    if (line.key == press.key && line.shift == press.shift) {
      line.run(screen, press.heldTicks);
      return KeyOutcome::Changed;
    }
  }
  return screen.CScreen::PressKey(press);
}

}  // namespace rxt4
