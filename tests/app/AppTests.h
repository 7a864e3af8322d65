#pragma once
// The viewer's test objects, and helpers they share.

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "FakePrompts.h"
#include "ViewerDlg.h"
#include "rxt4/link/SettingsFile.h"

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

inline std::vector<QObject*> AllTests() {
  return {NewViewerWindowTest(), NewKeyRoutingTest(), NewSettingsDialogTest(), NewInstanceGuardTest(),
          NewSnapshotTest(), NewLinkDialogsTest(), NewGraphKeysTest(),
          NewTransferEndToEndTest(), NewReportMenuTest(), NewLoadProgressTest(), NewDownloadPathTest(),
          NewGeometryTest(), NewDailyUseTest()};
}

// Writes a file (and its folders) under root.
void PutFile(const QString& root, const QString& relative, const std::string& bytes);

// A measurement table line of 30 fields: number, data name, then plausible values
// (screen type 0 terrestrial, 4 SKY).
std::string MeasurementLine(int number, const std::string& dataName, int screenType = 0);

// A data folder "<tmp>/RXT4" with set folder 0412 holding three level rows, two BER
// rows and one SKY row (data names A1..A3, B1..B2, S1).
QString MakeDataFolder(const QTemporaryDir& dir);

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
  std::unique_ptr<CViewerDlg> window;
};

}  // namespace rxt4::test
