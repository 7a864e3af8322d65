#pragma once
// CMainWindow: the viewer's one top-level window. It lays out and wires its parts: the
// tree of data sets (DataTreeModel), the screen side (ScreenSide), the tool buttons,
// the key pad (KeyPad), the menus; the key router (KeyRouter) sends every key to the
// key pad, the tree or the screen shown; the zoom fitter (ZoomFitter) sizes the window
// for the enlargement. Its own jobs are the data folder session (choosing, opening and
// remembering folders, showing the data set selected), the snapshots and the commands
// of the menus.

#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "RecentFolders.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/link/PortInfo.h"
#include "rxt4/link/SettingsFile.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/Surface.h"

class QAction;
class QMenu;
class QPushButton;
class QTreeView;

namespace rxt4 {

class CGuideWindow;
class DataTreeModel;
class ElidedLabel;
class Judging;
class KeyPad;
class KeyRouter;
class ScreenSide;
class UiPrompts;
class ZoomFitter;

// What the main window needs from the application object.
struct ViewerServices {
  SettingsFile* settings = nullptr;
  UiPrompts* prompts = nullptr;
  std::function<std::vector<PortInfo>()> listPorts;  // the serial ports present
  std::shared_ptr<const FontSet> fonts;               // the screens' font set
  // Puts the process in a display language: the string table and Qt's own texts
  // (without it, the string table alone).
  std::function<void(Language)> useLanguage;
};

class CMainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainWindow(ViewerServices services, QWidget* parent = nullptr);
  ~CMainWindow() override;

  // Loads the settings and the (empty) data folder and paints the empty screen area.
  void Initialise();
  // オプション → 表示言語: speaks language from now on (every text of the window
  // at once, the tree, selection, screen and size as they are) and remembers it.
  void SwitchLanguage(Language language);
  // Opens a data folder as if chosen, without the folder name warning.
  void OpenFolder(const QString& path);
  // Opens the folder named when the program was started; a folder that does not exist
  // is said so and nothing is loaded.
  void OpenStartFolder(const QString& path);
  // Opens the data folder open at the last exit, when it still exists (at start,
  // without a folder named).
  void OpenRememberedFolder();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

  // The transfer and update dialogs; tests replace them. True when the transfer completed.
  virtual bool RunTransferDialog(const QString& folder);
  virtual void RunUpdateDialog();
  // Today, as the name of a new set folder gives it; tests fix it.
  virtual QDate Today() const;

 private:
  void BuildWidgets();
  void BuildMenus();
  void FillRecentMenu();
  // Takes every text of the window from the table again, in the current language.
  void RetranslateUi();

  // --- the data folder session ---
  // Loads the current data folder into the tree; false when the user cancelled.
  bool LoadDataFolder();
  void ChooseFolder();
  // A folder chosen by the user (picker, drop): a set folder's parent is offered
  // instead, a name not ending in "RXT4" is warned about, then it opens.
  void OpenChosenFolder(QString folder);
  // ファイル → 最近使ったフォルダ: opens a folder opened before (a folder gone is said so).
  void OpenRecentFolder(const QString& folder);
  // After a completed download into setFolder: the tree reloads when it lies in the
  // open data folder; otherwise the user is offered its data folder. Its first
  // measurement is selected.
  void ShowDownloaded(const QString& setFolder);
  // Stores the data folder, the enlargement and the window's position in the settings
  // file (at exit).
  void RememberView();
  void OnSelectionChanged();
  void PaintRoutine();
  void SetShownState(bool shown);

  // --- commands ---
  void SaveScreen();
  void CopyScreen();
  void GuideCommand();
  void CommSettingsCommand();
  void MessageOptionCommand();
  void AboutCommand();
  void TransferCommand();
  // Asks for confirmation and closes the window on Yes.
  void ExitCommand();

  ViewerServices services_;
  DataFolderModel data_;
  ScreenSet screens_;
  Surface surface_;
  QString dataFolder_;
  QString lastBrowsedFolder_;
  bool exitConfirmed_ = false;
  RecentFolders recent_;

  DataTreeModel* treeModel_ = nullptr;
  QTreeView* tree_ = nullptr;
  ElidedLabel* folderPath_ = nullptr;
  ScreenSide* screenSide_ = nullptr;
  KeyPad* keyPad_ = nullptr;
  KeyRouter* router_ = nullptr;
  ZoomFitter* zoom_ = nullptr;
  Judging* judging_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* copy_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* copyAction_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QPointer<CGuideWindow> guide_;
};

}  // namespace rxt4
