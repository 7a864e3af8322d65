#include "ViewerApp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "ViewerDlg.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4 {

CViewerApp::CViewerApp() : prompts_(qtPrompts_), guard_(std::string(kAppName)), settings_(DefaultSettingsPath()) {}

CViewerApp::CViewerApp(UiPrompts& prompts, std::filesystem::path settingsPath)
    : prompts_(prompts), guard_(std::string(kAppName)), settings_(std::move(settingsPath)) {}

int CViewerApp::Run(const QStringList& arguments) {
  // A second copy says so and ends before it reads settings or loads a folder.
  if (!guard_.Acquire()) {
    prompts_.Inform(nullptr, Tr(StringId::SecondInstance), UiPrompts::Icon::Warning);
    return 0;
  }
  ViewerServices services;
  services.settings = &settings_;
  services.prompts = &prompts_;
  services.listPorts = [] { return ListSerialPorts(); };
  services.fonts = FontSet::CreateDefault();
  CViewerDlg window(std::move(services));
  window.Initialise();
  // The window is up before a folder given on the command line loads, so that a long
  // load shows its progress over it.
  window.show();
  // Shown as a folder picker would give it: absolute, without a trailing separator.
  if (arguments.size() > 1) window.OpenFolder(QDir::cleanPath(QFileInfo(arguments.at(1)).absoluteFilePath()));
  const int status = QApplication::exec();
  guard_.Release();
  return status;
}

}  // namespace rxt4
