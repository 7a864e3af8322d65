#pragma once
// CViewerDlg: the main window. The tree of data sets, the screen side (title,
// "データNo.", the screen area, the data name), the instrument keys, the tool
// buttons and the menus; it routes the keyboard to the tree or to the shown screen.

#include <QBasicTimer>
#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "ElidedLabel.h"
#include "RecentFolders.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/link/PortInfo.h"
#include "rxt4/link/SettingsFile.h"
#include "rxt4/screens/InstrumentKey.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/Surface.h"

class QAction;
class QFrame;
class QLabel;
class QLayout;
class QMenu;
class QPushButton;
class QScreen;
class QTreeView;

namespace rxt4 {

class CGuideWindow;
class CRepeatButton;
class DataTreeModel;
class KeyboardHold;
class ScreenView;
class UiPrompts;

// What the main window needs from the application object.
struct ViewerServices {
  SettingsFile* settings = nullptr;
  UiPrompts* prompts = nullptr;
  std::function<std::vector<PortInfo>()> listPorts;  // the serial ports present
  std::shared_ptr<const FontSet> fonts;               // the screens' font set
};

class CViewerDlg : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kPollTimerMs = 500;
  static constexpr int kRepeatTimerMs = 100;

  explicit CViewerDlg(ViewerServices services, QWidget* parent = nullptr);
  ~CViewerDlg() override;

  // Loads the settings and the (empty) data folder, paints the empty screen area and
  // starts the poll timer.
  void Initialise();
  // Opens a data folder as if chosen, without the folder name warning.
  void OpenFolder(const QString& path);
  // Opens the folder named when the program was started; a folder that does not exist
  // is said so and nothing is loaded.
  void OpenStartFolder(const QString& path);
  // Opens the data folder open at the last exit, when it still exists (at start,
  // without a folder named).
  void OpenRememberedFolder();
  // Stores the data folder, the enlargement and the window's position in the settings
  // file (at exit).
  void RememberView();
  // Selects the first measurement of the named set folder (the first kind that has
  // one, in the tree's order); false when the tree has none.
  bool SelectFirstMeasurementOf(const QString& setFolder);

  // --- commands (menu items, buttons) ---
  void ChooseFolder();
  // A folder chosen by the user (picker, drop): a set folder's parent is offered
  // instead, a name not ending in "RXT4" is warned about, then it opens.
  void OpenChosenFolder(QString folder);
  // ファイル → 最近使ったフォルダ: opens a folder opened before (a folder gone is said so).
  void OpenRecentFolder(const QString& folder);
  // ヘルプ → ユーザーガイド (F1).
  void GuideCommand();
  void SaveScreen();
  void CopyScreen();
  // An arrow key (from a button when fromButton, else from the keyboard or the
  // repetition) on the screen shown, or on the tree when the screen says it is the tree's.
  void ArrowAction(InstrumentKey key, bool fromButton);
  void EnterAction();
  void ShiftToggled();
  void CommSettingsCommand();
  void MessageOptionCommand();
  void AboutCommand();
  void TransferCommand();
  void UpdateCommand();
  // Asks for confirmation and closes the window on Yes; true when it closes.
  bool ExitCommand();
  // One tick of the 500 ms poll (poll) or of the 100 ms repeat timer: starts, runs or
  // stops the repetition of a held arrow button.
  void TimerTick(bool poll);
  // Sets the enlargement of the screen area (1, 2 or 3).
  void SetZoom(int zoom);
  // The size of the window, with its frame, at an enlargement (the window's size
  // depends on the enlargement alone, never on the data shown).
  QSize WindowSizeAt(int zoom) const;
  // Offers in the menu only the enlargements whose window fits the available area.
  void OfferZoomsThatFit(const QSize& available);
  // Falls back to the largest enlargement whose window fits the available area.
  void FitZoom(const QSize& available);

  // The screen side as it is shown: title, "データNo.", screen area and data name.
  QImage RenderScreenSide() const;

  // --- state, for the tests ---
  // 0 when nothing is shown, else the shown kind's DataKind value minus one.
  int currentScreenIndex() const;
  const Surface& surface() const { return surface_; }
  const DataFolderModel& dataModel() const { return data_; }
  const ScreenSet& screens() const { return screens_; }
  QTreeView* tree() const { return tree_; }
  DataTreeModel* treeModel() const { return treeModel_; }
  ScreenView* screenView() const { return screenView_; }
  QFrame* screenSide() const { return screenSide_; }
  QLabel* titleLabel() const { return title_; }
  QLabel* indexLabel() const { return index_; }
  QLabel* countLabel() const { return count_; }
  ElidedLabel* dataNameLabel() const { return dataName_; }
  ElidedLabel* folderLabel() const { return folderPath_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* copyButton() const { return copy_; }
  QPushButton* shiftButton() const { return shift_; }
  QPushButton* enterButton() const { return enter_; }
  QPushButton* upButton() const { return up_; }
  QPushButton* downButton() const { return down_; }
  CRepeatButton* leftButton() const { return left_; }
  CRepeatButton* rightButton() const { return right_; }
  QAction* saveAction() const { return saveAction_; }
  QAction* copyAction() const { return copyAction_; }
  QAction* zoomAction(int zoom) const { return zoomActions_[zoom - 1]; }
  QString dataFolder() const { return dataFolder_; }
  InstrumentKey lastArrowKey() const { return lastArrow_; }
  bool repeating() const { return repeating_; }

 signals:
  // The screen area was repainted (whole or by a key action).
  void screenChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

  // The transfer and update dialogs; tests replace them. True when the transfer completed.
  virtual bool RunTransferDialog(const QString& folder);
  virtual void RunUpdateDialog();
  // Today, as the name of a new set folder gives it; tests fix it.
  virtual QDate Today() const;

 private:
  void BuildWidgets();
  void BuildMenus();
  // The screen side's size: the screen area at its enlargement, the label rows and margins.
  void FitScreenSide();
  void FillRecentMenu();
  // After a completed download into setFolder: the tree reloads when it lies in the
  // open data folder; otherwise the user is offered its data folder. Its first
  // measurement is selected.
  void ShowDownloaded(const QString& setFolder);
  // Loads the current data folder into the tree; false when the user cancelled.
  bool LoadDataFolder();
  void OnSelectionChanged();
  void PaintRoutine();
  void SetShownState(bool shown);
  void RefreshArrowImages();
  void MoveTree(InstrumentKey key);
  void PressInstrumentKey(InstrumentKey key);
  bool HandleKeyPress(QKeyEvent* event);
  bool HandleKeyRelease(QKeyEvent* event);
  bool RoutesKeysOf(QObject* watched) const;
  void StopRepetition();
  bool ZoomFits(int zoom, const QSize& available) const;
  void OnScreenChanged(QScreen* screen);
  QSize AvailableArea() const;
  QPushButton* ArrowButton(InstrumentKey key) const;
  InstrumentKey HeldArrow(bool* found) const;

  ViewerServices services_;
  DataFolderModel data_;
  ScreenSet screens_;
  Surface surface_;
  QString dataFolder_;
  QString lastBrowsedFolder_;
  InstrumentKey lastArrow_ = InstrumentKey::Up;  // the arrow run last
  bool repeating_ = false;
  bool exitConfirmed_ = false;
  bool forwardingKey_ = false;
  bool spaceDown_ = false;
  QPushButton* mouseHolder_ = nullptr;  // the arrow button the left mouse button holds
  QBasicTimer pollTimer_;    // timer 2
  QBasicTimer repeatTimer_;  // timer 1

  DataTreeModel* treeModel_ = nullptr;
  QTreeView* tree_ = nullptr;
  QFrame* screenSide_ = nullptr;
  ScreenView* screenView_ = nullptr;
  ElidedLabel* folderPath_ = nullptr;
  ElidedLabel* title_ = nullptr;
  QLabel* index_ = nullptr;
  QLabel* count_ = nullptr;
  ElidedLabel* dataName_ = nullptr;
  QLayout* keyColumn_ = nullptr;  // tool buttons, instrument keys and logo beside the screen side
  QPushButton* exit_ = nullptr;
  QPushButton* folder_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* copy_ = nullptr;
  QPushButton* shift_ = nullptr;
  QPushButton* up_ = nullptr;
  QPushButton* down_ = nullptr;
  CRepeatButton* left_ = nullptr;
  CRepeatButton* right_ = nullptr;
  QPushButton* enter_ = nullptr;
  QAction* folderAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* copyAction_ = nullptr;
  QAction* exitAction_ = nullptr;
  QAction* altF4Action_ = nullptr;
  QAction* zoomActions_[3] = {};
  QMenu* recentMenu_ = nullptr;
  RecentFolders recent_;
  QPointer<CGuideWindow> guide_;
  QPointer<QScreen> watchedScreen_;
  std::unique_ptr<KeyboardHold> keyHold_;  // the key buttons the keyboard holds down
};

}  // namespace rxt4
