#include "ViewerApp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QScreen>
#include <algorithm>
#include <cstring>
#include <utility>

#include "UiFont.h"
#include "MainWindow.h"
#include "ZoomFitter.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4 {

QString JapaneseQtTexts::translate(const char* context, const char* sourceText, const char* disambiguation,
                                   int n) const {
  QString text = QTranslator::translate(context, sourceText, disambiguation, n);
  if (!text.isEmpty() || std::strcmp(context, "QAbstractFileIconProvider") != 0) return text;
  // The type column of the file dialogs; Qt's Japanese translations do not have it.
  static constexpr std::pair<const char*, StringId> kTypes[] = {{"Folder", StringId::FileTypeFolder},
                                                                {"Drive", StringId::FileTypeDrive},
                                                                {"Symbolic Link", StringId::FileTypeSymbolicLink},
                                                                {"Unknown", StringId::FileTypeUnknown}};
  for (const auto& [english, id] : kTypes)
    if (std::strcmp(sourceText, english) == 0) return Tr(id);
  return text;
}

bool UseJapaneseQtTexts(JapaneseQtTexts& translator) {
  if (!translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  return QCoreApplication::installTranslator(&translator);
}

void UseLanguage(Language language, JapaneseQtTexts& translator) {
  SetLanguage(language);
  if (language == Language::Japanese) UseJapaneseQtTexts(translator);
  else QCoreApplication::removeTranslator(&translator);
}

std::optional<QPoint> KeepOnScreens(const QRect& frame, const QList<QRect>& areas) {
  const QRect* best = nullptr;
  qint64 bestOverlap = 0;
  for (const QRect& area : areas) {
    const QRect overlap = area.intersected(frame);
    const qint64 size = qint64{overlap.width()} * overlap.height();
    if (!overlap.isEmpty() && size > bestOverlap) {
      best = &area;
      bestOverlap = size;
    }
  }
  if (best == nullptr) return std::nullopt;
  return ZoomFitter::PlaceInside(frame, *best);
}

CViewerApp::CViewerApp() : prompts_(qtPrompts_), guard_(std::string(kAppName)), settings_(DefaultSettingsPath()) {}

CViewerApp::CViewerApp(UiPrompts& prompts, std::filesystem::path settingsPath)
    : prompts_(prompts), guard_(std::string(kAppName)), settings_(std::move(settingsPath)) {}

int CViewerApp::Run(const QStringList& arguments) {
  // The display language before anything is shown, the second copy's message included.
  settings_.LoadLanguage();
  UseLanguage(settings_.DisplayLanguage(), qtTexts_);
  // A second copy says so and ends before it reads settings or loads a folder.
  if (!guard_.Acquire()) {
    prompts_.Inform(nullptr, Tr(StringId::SecondInstance), UiPrompts::Icon::Warning);
    return 0;
  }
  QApplication::setFont(ProportionalUiFont(QApplication::font()));
  ViewerServices services;
  services.settings = &settings_;
  services.prompts = &prompts_;
  services.listPorts = [] { return ListSerialPorts(); };
  services.fonts = FontSet::CreateDefault();
  services.useLanguage = [this](Language language) { UseLanguage(language, qtTexts_); };
  CMainWindow window(std::move(services));
  window.Initialise();
  // Placed by the program (where it was at the last exit, on a screen present, or
  // else centred on its screen) rather than later by the window manager, so that a
  // message at start, about the folder below, stands over it.
  const RememberedView& last = settings_.Remembered();
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
  // The window's own area is remembered and placed; the frame it will get must fit too.
  const QRect own(QPoint(last.left, last.top), window.sizeHint());
  std::optional<QPoint> remembered;
  if (last.hasPosition)
    if (const std::optional<QPoint> frame = KeepOnScreens(own.marginsAdded(kFrameAllowance), areas))
      remembered = *frame + QPoint(kFrameAllowance.left(), kFrameAllowance.top());
  const QRect area = window.screen() ? window.screen()->availableGeometry() : QRect();
  const QRect frame(QPoint(), window.sizeHint());
  if (remembered) window.setGeometry(QRect(*remembered, window.sizeHint()));
  else if (area.width() >= frame.width() && area.height() >= frame.height()) window.move(area.center() - frame.center());
  window.show();
  // Shown as a folder picker would give it: absolute, without a trailing separator.
  if (arguments.size() > 1) window.OpenStartFolder(QDir::cleanPath(QFileInfo(arguments.at(1)).absoluteFilePath()));
  else window.OpenRememberedFolder();
  const int status = QApplication::exec();
  guard_.Release();
  return status;
}

}  // namespace rxt4
