#pragma once
// CViewerApp: the application object. It refuses to run a second copy, holds the
// settings for the whole run and runs the main window.

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QTranslator>
#include <memory>
#include <optional>

#include "InstanceGuard.h"
#include "UiPrompts.h"
#include "rxt4/link/SettingsFile.h"

namespace rxt4 {

// Qt's own texts in Japanese: Qt's translations (qtbase_ja), and the few words of the
// file dialogs they lack (the type column's "Folder", "Drive", ...).
class JapaneseQtTexts : public QTranslator {
 public:
  QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                    int n = -1) const override;
  bool isEmpty() const override { return false; }
};

// Installs Qt's own Japanese texts (qtbase_ja, from Qt's translations folder) whatever
// the system's locale: the standard buttons and the file and folder dialogs then
// speak the viewer's language. False when the translations are not installed (the
// dialogs then stay in Qt's English).
bool UseJapaneseQtTexts(JapaneseQtTexts& translator);

// Puts the process in a display language: the string table's, and Qt's own texts in
// Japanese (translator installed) or in Qt's English (translator removed).
void UseLanguage(Language language, JapaneseQtTexts& translator);

// Where a window of frame's size goes when its remembered top-left corner is
// frame.topLeft(): moved inside the screen area it overlaps most, so that none of it
// is off that screen (its top-left corner first, when it is larger than the area);
// nothing when it overlaps no area (a screen since removed).
std::optional<QPoint> KeepOnScreens(const QRect& frame, const QList<QRect>& areas);

// Room for the window manager's frame around the window's own area, which is all
// that is known of a window before it is first shown: a title bar above, borders.
inline constexpr QMargins kFrameAllowance(8, 32, 8, 8);

class CViewerApp {
 public:
  // The application with its real dialogs and the user's settings file.
  CViewerApp();
  // The application with other prompts and another settings file (tests).
  CViewerApp(UiPrompts& prompts, std::filesystem::path settingsPath);

  // Runs the viewer; arguments: an optional data folder to open at start. Returns
  // the process exit status.
  int Run(const QStringList& arguments);

 private:
  JapaneseQtTexts qtTexts_;  // Qt's own texts (standard buttons, file dialogs) in Japanese
  QtUiPrompts qtPrompts_;
  UiPrompts& prompts_;
  InstanceGuard guard_;
  SettingsFile settings_;
};

}  // namespace rxt4
