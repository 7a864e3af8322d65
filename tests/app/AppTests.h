#pragma once
// The viewer's test objects, and helpers they share.

#include <QImage>
#include <QModelIndex>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "FakePrompts.h"
#include "MainWindow.h"
#include "rxt4/link/SettingsFile.h"
#include "rxt4/screens/InstrumentKey.h"

class QTreeView;

namespace rxt4::test {

QObject* NewViewerWindowTest();
QObject* NewKeyRoutingTest();
QObject* NewSettingsDialogTest();
QObject* NewInstanceGuardTest();
QObject* NewSnapshotTest();
QObject* NewLinkDialogsTest();
QObject* NewGraphKeysTest();
QObject* NewTransferEndToEndTest();
QObject* NewReportMenuTest();
QObject* NewLoadProgressTest();
QObject* NewDownloadPathTest();
QObject* NewGeometryTest();
QObject* NewDailyUseTest();
QObject* NewJobRecordMenuTest();
QObject* NewJudgingTest();
QObject* NewVisitsMenuTest();
QObject* NewLanguageTest();

inline std::vector<QObject*> AllTests() {
  return {NewViewerWindowTest(), NewKeyRoutingTest(), NewSettingsDialogTest(), NewInstanceGuardTest(),
          NewSnapshotTest(), NewLinkDialogsTest(), NewGraphKeysTest(),
          NewTransferEndToEndTest(), NewReportMenuTest(), NewLoadProgressTest(), NewDownloadPathTest(),
          NewGeometryTest(), NewDailyUseTest(), NewJudgingTest(), NewVisitsMenuTest(), NewJobRecordMenuTest(), NewLanguageTest()};
}

// Writes a file (and its folders) under root.
void PutFile(const QString& root, const QString& relative, const std::string& bytes);

// A measurement table line of 30 fields: number, data name, then plausible values
// (screen type 0 terrestrial, 4 SKY).
std::string MeasurementLine(int number, const std::string& dataName, int screenType = 0);

// A data folder "<tmp>/RXT4" with set folder 0412 holding three level rows, two BER
// rows and one SKY row (data names A1..A3, B1..B2, S1).
QString MakeDataFolder(const QTemporaryDir& dir);

// A data folder "<tmp>/RXT4" whose measurements, against テレビ端子 (terrestrial
// 50〜81 dBμV, C/N at least 24 dB, margin 3 dB), give every verdict:
//   レベル  0601: P ○ 65.2, C △ 52.0, F × 45.0, N – ---.-     0602: P2 ○
//   BER    0601: B △ (C/N 26.0)                             0602: U – (band number and type contradict)
//   SKY    0601: S ○ (two field rows, 65.2 and 70.0 dBμV, other satellites 57〜81)
QString MakeJudgedFolder(const QTemporaryDir& dir);

// The window's widgets and parts, found as a user's tools find them: by their object
// names ("tree", "dataNo", "saveButton", "saveAction", "upKey", "zoomFitter"...).
// A name the window does not have fails the test at once.
template <class T>
T& Find(QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QLatin1String(name));
  if (found == nullptr) qFatal("the main window has no %s", name);
  return *found;
}
QTreeView& Tree(QWidget& window);
// The tree's item at rows from the top (kind, set folder, measurement).
QModelIndex TreeItem(QWidget& window, std::initializer_list<int> rows);
// Makes the window the active one, with the keyboard focus in its tree; false when
// it does not become active.
bool Activate(QWidget& window);
// The text of a label ("title", "dataNo", "dataCount", "dataName", "folderPath").
QString LabelText(QWidget& window, const char* name);
// Triggers a menu command ("folderAction", "saveAction", "exitAction"...).
void Trigger(QWidget& window, const char* action);
// The screen area as it is shown, pixel for pixel at 1x.
QImage ScreenArea(QWidget& window);
// The measurements in the tree (the items below the set folders).
int MeasurementCount(QWidget& window);

// Runs action once, from the event loop, after widget has been shown (inside the
// modal loop of a dialog that shows itself, say).
void OnceShown(QWidget& widget, std::function<void()> action);

// What the screens draw for the measurement a tree item of the window shows, drawn
// apart from the window by the screens library: the data folder loaded anew, the
// item's record given to a screen set of its own, then the key presses. The window
// must show exactly this: its own path from tree to screen area is under test.
QImage DrawnApart(const QString& dataFolder, const QModelIndex& item, const std::vector<KeyPress>& presses = {});

// The services of a test window: the prompts and settings given, one present port,
// the pattern fonts.
ViewerServices TestServices(FakePrompts& prompts, SettingsFile& settings);

// A main window over fake prompts and a settings file in a temporary folder,
// initialised and shown.
struct ViewerFixture {
  ViewerFixture();
  ~ViewerFixture();
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<SettingsFile> settings;
  std::unique_ptr<CMainWindow> window;
};

}  // namespace rxt4::test
