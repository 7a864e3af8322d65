#include "MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "AboutDlg.h"
#include "CommSettingDlg.h"
#include "DataTreeModel.h"
#include "ElidedLabel.h"
#include "FolderDrop.h"
#include "GuideWindow.h"
#include "JobCommands.h"
#include "IconButtons.h"
#include "Judging.h"
#include "KeyPad.h"
#include "KeyRouter.h"
#include "LoadProgressDlg.h"
#include "Retranslate.h"
#include "MessageOptionDlg.h"
#include "ReportCommands.h"
#include "ScreenSide.h"
#include "ScreenView.h"
#include "Snapshot.h"
#include "TransferDlg.h"
#include "TreeItemDelegate.h"
#include "TreeMemory.h"
#include "VisitCommands.h"
#include "UiPrompts.h"
#include "UpdateDlg.h"
#include "VerdictLine.h"
#include "ZoomFitter.h"
#include "rxt4/data/FileTexts.h"
#include "rxt4/data/TransferDestination.h"

namespace rxt4 {

void InitViewerResources();

namespace {

// The rows whose height would follow the font, fixed so that the window has one size
// whatever the locale and the fonts installed: the menu bar and the folder row, with
// room for the tallest common Japanese interface face (Noto Sans CJK JP at 9 points).
constexpr int kMenuBarPx = 24;
constexpr int kFolderRowPx = 20;
constexpr int kTreeMinWidthPx = 256;
const QSize kLogoSize(230, 68);

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

CMainWindow::CMainWindow(ViewerServices services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      services_(std::move(services)),
      screens_(services_.fonts),
      surface_() {
  InitViewerResources();
  BindWindowTitle(this, StringId::AppCaption);
  treeModel_ = new DataTreeModel(data_, this);
  BuildWidgets();
  BuildMenus();
  new FolderDrop(this, [this](const QString& folder) { OpenChosenFolder(folder); });
}

CMainWindow::~CMainWindow() {
  // The router watches the widgets' keys and the widgets read the tree model and the
  // surface, which are members: they go first, the router before the widgets.
  delete router_;
  delete takeCentralWidget();
}

void CMainWindow::BuildWidgets() {
  auto* central = new QWidget(this);
  setCentralWidget(central);

  // Folder path across the top.
  // A long path is elided in the middle (the whole path is the tool tip), so that the
  // window's width never depends on it.
  folderPath_ = new ElidedLabel(Qt::ElideMiddle, central);
  folderPath_->setObjectName(QStringLiteral("folderPath"));
  folderPath_->setFrameShape(QFrame::StyledPanel);
  folderPath_->setFixedHeight(kFolderRowPx);
  auto* folderCaption = new QLabel(central);
  BindText(folderCaption, StringId::LabelFolderName);
  folderCaption->setFixedHeight(kFolderRowPx);
  auto* top = new QHBoxLayout;
  top->addWidget(folderCaption);
  top->addWidget(folderPath_, 1);

  // The tree of data sets.
  tree_ = new QTreeView(central);
  tree_->setObjectName(QStringLiteral("tree"));
  tree_->setModel(treeModel_);
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tree_->setAllColumnsShowFocus(true);
  tree_->setDragEnabled(false);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setMinimumWidth(kTreeMinWidthPx);
  tree_->setFont(DataTreeModel::WithTabularDigits(tree_->font()));
  tree_->setItemDelegate(new TreeItemDelegate(tree_));
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { OnSelectionChanged(); });

  screenSide_ = new ScreenSide(surface_, central);
  judging_ = new Judging(data_, *tree_, *treeModel_, *services_.settings, *services_.prompts, *this);
  // The verdict line under the screen side, as wide as it.
  auto* screenColumn = new QVBoxLayout;
  screenColumn->addWidget(screenSide_);
  screenColumn->addWidget(&judging_->line());
  screenColumn->addStretch();

  // Tool buttons.
  const QSize toolSize(kToolButtonPx, kToolButtonPx);
  auto* exit = MakeIconButton(new QPushButton(central), "exit", StringId::ButtonExit, StringId::TipExit, toolSize);
  auto* folder = MakeIconButton(new QPushButton(central), "folder", StringId::ButtonFolder, StringId::TipFolder, toolSize);
  save_ = MakeIconButton(new QPushButton(central), "save", StringId::ButtonSave, StringId::TipSave, toolSize);
  copy_ = MakeIconButton(new QPushButton(central), "copy", StringId::ButtonCopy, StringId::TipCopy, toolSize);
  exit->setObjectName(QStringLiteral("exitButton"));
  folder->setObjectName(QStringLiteral("folderButton"));
  save_->setObjectName(QStringLiteral("saveButton"));
  copy_->setObjectName(QStringLiteral("copyButton"));
  auto* tools = GroupFrame(central);
  auto* toolRow = new QHBoxLayout(tools);
  for (QPushButton* b : {exit, folder, save_, copy_}) toolRow->addWidget(b);

  keyPad_ = new KeyPad(central);

  auto* logo = new QLabel(central);
  logo->setPixmap(QIcon(QStringLiteral(":/viewer/logo.svg")).pixmap(kLogoSize));
  logo->setAlignment(Qt::AlignCenter);

  auto* keyColumn = new QVBoxLayout;
  keyColumn->addWidget(tools);
  keyColumn->addWidget(keyPad_);
  keyColumn->addWidget(logo);
  keyColumn->addStretch();  // a taller window leaves the keys where they are

  // An enlarged window gives its room to the tree; the screen side and the keys keep
  // their size and place at the top.
  auto* middle = new QHBoxLayout;
  middle->addWidget(tree_, 1);
  middle->addLayout(screenColumn);
  middle->addLayout(keyColumn);

  auto* layout = new QVBoxLayout(central);
  layout->addLayout(top);
  layout->addLayout(middle, 1);

  router_ = new KeyRouter(*this, *central, *tree_, *keyPad_, screens_, surface_);
  connect(router_, &KeyRouter::screenChanged, &screenSide_->view(), qOverload<>(&QWidget::update));
  zoom_ = new ZoomFitter(*this, *screenSide_, *screenColumn, *keyColumn);

  connect(exit, &QPushButton::clicked, this, &CMainWindow::ExitCommand);
  connect(folder, &QPushButton::clicked, this, &CMainWindow::ChooseFolder);
  connect(save_, &QPushButton::clicked, this, &CMainWindow::SaveScreen);
  connect(copy_, &QPushButton::clicked, this, &CMainWindow::CopyScreen);
}

void CMainWindow::BuildMenus() {
  menuBar()->setFixedHeight(kMenuBarPx);
  auto add = [this](QMenu* menu, StringId text, const char* name, auto slot) {
    QAction* action = menu->addAction(QString(), this, slot);
    action->setObjectName(QLatin1String(name));
    BindText(action, text);
    return action;
  };
  auto addMenu = [](auto* parent, StringId title) {
    QMenu* menu = parent->addMenu(QString());
    BindText(menu, title);
    return menu;
  };
  QMenu* file = addMenu(menuBar(), StringId::MenuFile);
  QAction* folderAction = add(file, StringId::MenuFolder, "folderAction", &CMainWindow::ChooseFolder);
  recentMenu_ = addMenu(file, StringId::MenuRecentFolders);
  recentMenu_->setObjectName(QStringLiteral("recentMenu"));
  connect(recentMenu_, &QMenu::aboutToShow, this, &CMainWindow::FillRecentMenu);
  saveAction_ = add(file, StringId::MenuSave, "saveAction", &CMainWindow::SaveScreen);
  auto source = [this] {
    return ReportSource{&data_, FsPath(dataFolder_).string(), DataTreeModel::ItemNumber(tree_->currentIndex()),
                        judging_ != nullptr ? &judging_->profile() : nullptr};
  };
  add(file, StringId::MenuReport, "reportAction",
      [this, source] { ReportCommand(this, source(), *services_.prompts, services_.fonts); });
  add(file, StringId::MenuExport, "exportAction", [this, source] { ExportCommand(this, source(), *services_.prompts); });
  file->addSeparator();
  add(file, StringId::MenuExit, "exitAction", &CMainWindow::ExitCommand);
  QMenu* edit = addMenu(menuBar(), StringId::MenuEdit);
  copyAction_ = add(edit, StringId::MenuCopy, "copyAction", &CMainWindow::CopyScreen);
  edit->addSeparator();
  add(edit, StringId::MenuJobRecord, "jobRecordAction", [this, source] { JobRecordCommand(this, source(), *services_.prompts); });
  add(edit, StringId::MenuMeasurementNote, "noteAction",
      [this, source] { MeasurementNoteCommand(this, source(), *services_.prompts); });
  QMenu* view = addMenu(menuBar(), StringId::MenuView);
  zoom_->AddActions(*view);
  view->addSeparator();
  add(view, StringId::MenuTrend, "trendAction",
      [this, source] { TrendCommand(this, source(), judging_->profile(), *services_.prompts); });
  add(view, StringId::MenuCompare, "compareAction",
      [this, source] { CompareCommand(this, source(), judging_->profile(), *services_.prompts, services_.fonts); });
  QMenu* option = addMenu(menuBar(), StringId::MenuOption);
  add(option, StringId::MenuMessage, "messageAction", &CMainWindow::MessageOptionCommand);
  judging_->AddMenu(*option);
  // 表示言語: each language named in itself.
  QMenu* language = addMenu(option, StringId::MenuLanguage);
  language->setObjectName(QStringLiteral("languageMenu"));
  auto* languages = new QActionGroup(language);
  const std::pair<Language, const char*> choices[] = {{Language::Japanese, "languageJapanese"},
                                                      {Language::English, "languageEnglish"}};
  for (const auto& [choice, name] : choices) {
    QAction* action = add(language, choice == Language::Japanese ? StringId::LanguageJapanese : StringId::LanguageEnglish,
                          name, [this, choice] { SwitchLanguage(choice); });
    action->setCheckable(true);
    action->setChecked(choice == CurrentLanguage());
    languages->addAction(action);
  }
  option->addSeparator();
  add(option, StringId::MenuCommSettings, "commSettingsAction", &CMainWindow::CommSettingsCommand);
  add(option, StringId::MenuCompany, "companyAction", [this] {
    CompanyCommand(this, services_.settings->IniPath().parent_path(), *services_.prompts);
  });
  QMenu* comm = addMenu(menuBar(), StringId::MenuComm);
  add(comm, StringId::MenuTransfer, "transferAction", &CMainWindow::TransferCommand);
  add(comm, StringId::MenuUpdate, "updateAction", &CMainWindow::RunUpdateDialog);
  QMenu* help = addMenu(menuBar(), StringId::MenuHelp);
  add(help, StringId::MenuGuide, "guideAction", &CMainWindow::GuideCommand)->setShortcut(QKeySequence(Qt::Key_F1));
  add(help, StringId::MenuAbout, "aboutAction", &CMainWindow::AboutCommand);
  // The accelerators are matched by the key router before anything else sees the key
  // (the texts after the tab show them in the menus); Alt+F4 is taken and does nothing,
  // 終了 being the exit command.
  router_->AddAccelerator(QKeyCombination(Qt::ControlModifier, Qt::Key_O), folderAction);
  router_->AddAccelerator(QKeyCombination(Qt::ControlModifier, Qt::Key_S), saveAction_);
  router_->AddAccelerator(QKeyCombination(Qt::ControlModifier, Qt::Key_C), copyAction_);
  router_->AddAccelerator(QKeyCombination(Qt::AltModifier, Qt::Key_F4), nullptr);
}

void CMainWindow::Initialise() {
  setWindowIcon(QIcon(QStringLiteral(":/viewer/app.svg")));
  std::vector<std::string> names;
  if (services_.listPorts)
    for (const PortInfo& p : services_.listPorts()) names.push_back(p.name);
  services_.settings->LoadSettings(names);
  recent_.Load(services_.settings->Remembered().recentFolders);
  judging_->UseRemembered();
  // The enlargement of the last run; showing the window takes it back to what fits.
  if (const int zoom = services_.settings->Remembered().zoom; zoom > 1 && zoom <= ScreenView::kMaxZoom) zoom_->SetZoom(zoom);
  SetShownState(false);
  screens_.Deselect();
  LoadDataFolder();
  PaintRoutine();
  // The window opens at its layout's size, which is also the least it can have: the
  // user may enlarge it, and only the enlargement changes it otherwise.
  resize(sizeHint());
}

void CMainWindow::SwitchLanguage(Language language) {
  if (services_.useLanguage) services_.useLanguage(language);
  else SetLanguage(language);
  services_.settings->SaveLanguage(language);
  // Checked here too when the switch comes from elsewhere than the menu.
  const char* name = language == Language::English ? "languageEnglish" : "languageJapanese";
  if (auto* chosen = findChild<QAction*>(QLatin1String(name))) chosen->setChecked(true);
  RetranslateUi();
}

void CMainWindow::RetranslateUi() {
  // Every bound text of the window, its menus and the windows it owns (the guide);
  // then what is made of texts: the tree's kind roots, the verdict line.
  Retranslate(*this);
  treeModel_->TextsChanged();
  judging_->Retranslate();
}

void CMainWindow::OpenStartFolder(const QString& path) {
  if (!QFileInfo(path).isDir()) {
    services_.prompts->Inform(this, Tr(StringId::FolderNotFound, {path}), UiPrompts::Icon::None);
    return;
  }
  OpenFolder(path);
}

void CMainWindow::OpenFolder(const QString& path) {
  const QString previous = dataFolder_;
  dataFolder_ = path;
  lastBrowsedFolder_ = path;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!LoadDataFolder()) dataFolder_ = previous;  // cancelled: the previous tree stays, and its folder
  else recent_.Add(path);
  QApplication::restoreOverrideCursor();
  tree_->setFocus();
  folderPath_->SetText(dataFolder_);
}

bool CMainWindow::LoadDataFolder() {
  // The new tree is read beside the old one (on a worker, with a progress dialog when
  // it takes a while) and swapped in whole once its messages have been shown, so the
  // view never sees a half-built model. A cancelled load keeps the old tree.
  DataFolderModel fresh;
  std::vector<LoadMessage> messages;
  if (!LoadWithProgress(this, FsPath(dataFolder_), fresh, messages)) return false;
  ShowLoadMessages(this, *services_.prompts, messages);
  treeModel_->BeginReload();
  data_ = std::move(fresh);
  treeModel_->EndReload();
  judging_->Judge();
  // No item is current until the user picks one: otherwise the tree's first focus
  // would make the first root current, and the selection handler would blank the
  // "データNo." labels.
  tree_->setCurrentIndex(QModelIndex());
  return true;
}

void CMainWindow::ChooseFolder() {
  std::optional<QString> chosen =
      services_.prompts->ChooseFolder(this, Tr(StringId::FolderBrowserTitle), lastBrowsedFolder_, false);
  if (!chosen) {
    tree_->setFocus();
    return;
  }
  lastBrowsedFolder_ = *chosen;
  OpenChosenFolder(*chosen);
}

void CMainWindow::OpenChosenFolder(QString folder) {
  // A set folder chosen by mistake shows an empty tree: its parent is offered instead.
  if (HoldsKindFolder(FsPath(folder))) {
    const QString parent = QFileInfo(folder).absolutePath();
    if (!services_.prompts->AskYesNo(this, Tr(StringId::SetFolderChosen, {folder, parent}))) {
      tree_->setFocus();
      return;
    }
    folder = parent;
  }
  if (services_.settings->FolderAlert() && !folder.endsWith(QString::fromUtf8(filetext::kFolderNameSuffix.data(), static_cast<qsizetype>(filetext::kFolderNameSuffix.size())), Qt::CaseSensitive) &&
      !services_.prompts->AskYesNo(this, Tr(StringId::FolderWarning))) {
    tree_->setFocus();
    return;
  }
  OpenFolder(folder);
}

void CMainWindow::FillRecentMenu() {
  recentMenu_->clear();
  int place = 0;
  for (const QString& folder : recent_.folders()) {
    // "&1 /path/RXT4": the digit chooses it from the keyboard.
    const QString text = QStringLiteral("&%1 %2").arg(++place).arg(QDir::toNativeSeparators(folder));
    recentMenu_->addAction(text, this, [this, folder] { OpenRecentFolder(folder); });
  }
  if (recent_.folders().isEmpty()) return;
  recentMenu_->addSeparator();
  recentMenu_->addAction(Tr(StringId::RecentFoldersClear), this, [this] { recent_.Clear(); });
}

void CMainWindow::OpenRecentFolder(const QString& folder) {
  if (!QFileInfo(folder).isDir()) {
    services_.prompts->Inform(this, Tr(StringId::FolderNotFound, {folder}), UiPrompts::Icon::None);
    return;
  }
  OpenFolder(folder);
}

void CMainWindow::OpenRememberedFolder() {
  const RememberedView& last = services_.settings->Remembered();
  const QString folder = QFile::decodeName(last.dataFolder.c_str());
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) return;
  OpenFolder(folder);
  // The tree as it was left: its open nodes and the measurement shown.
  TreeMemory(*tree_, *treeModel_, data_).Restore(last.expandedItems, last.selectedItem);
}

void CMainWindow::RememberView() {
  RememberedView view;
  view.dataFolder = FsPath(dataFolder_).string();
  view.zoom = zoom_->zoom();
  // The window's own area, without the frame: that is what can be placed before the
  // window manager has framed the window at the next start.
  view.hasPosition = true;
  view.left = geometry().x();
  view.top = geometry().y();
  view.recentFolders = recent_.Names();
  const TreeMemory memory(*tree_, *treeModel_, data_);
  view.selectedItem = memory.SelectedNode();
  view.expandedItems = memory.ExpandedNodes();
  services_.settings->SaveRemembered(view);
}

void CMainWindow::OnSelectionChanged() {
  const int number = DataTreeModel::ItemNumber(tree_->currentIndex());
  const CDataSet* record = number > 0 ? data_.Record(number) : nullptr;
  CScreen* screen = record != nullptr ? screens_.Select(*record) : nullptr;
  if (screen) {
    std::optional<QString> name;
    if (std::optional<std::string> shown = screen->ShowDataName()) name = FromUtf8(*shown);
    screenSide_->ShowLabels(FromUtf8(screen->ShowKindName()), name, FromUtf8(record->indexText()),
                            FromUtf8(std::string(record->countText())));
  } else {
    screens_.Deselect();
    screenSide_->BlankLabels();
  }
  PaintRoutine();
  SetShownState(screen != nullptr);
}

void CMainWindow::PaintRoutine() {
  if (isMinimized()) return;
  if (screens_.Current() != nullptr) screenSide_->view().HideBlankPanel();
  // Draws the current screen, or clears the area when none is shown, then the frame.
  screens_.Paint(surface_);
  screenSide_->view().update();
}

void CMainWindow::SetShownState(bool shown) {
  save_->setEnabled(shown);
  copy_->setEnabled(shown);
  saveAction_->setEnabled(shown);
  copyAction_->setEnabled(shown);
}

void CMainWindow::SaveScreen() {
  std::optional<QString> path = services_.prompts->ChooseSaveFile(
      this, Tr(StringId::SaveDialogTitle), screenSide_->dataName().trimmed(), DialogFilter(Tr(StringId::BitmapFilter)),
      QString::fromUtf8(filetext::kBitmapExtension.data(), static_cast<qsizetype>(filetext::kBitmapExtension.size())));
  if (path) {
    screenSide_->repaint();
    QString reason;
    if (!WriteSnapshotFile(screenSide_->Render(), *path, &reason))
      services_.prompts->Inform(this, Tr(StringId::SnapshotNotSaved, {*path, reason}), UiPrompts::Icon::None);
  }
  tree_->setFocus();
}

void CMainWindow::CopyScreen() {
  QApplication::clipboard()->setImage(SnapshotImage(screenSide_->Render()));
  tree_->setFocus();
}

void CMainWindow::GuideCommand() {
  const QString path = CGuideWindow::FindGuide();
  if (path.isEmpty()) {
    services_.prompts->Inform(this, Tr(StringId::GuideNotFound, {CGuideWindow::GuideLocations().join(QLatin1Char('\n'))}),
                              UiPrompts::Icon::None);
    return;
  }
  if (!guide_) guide_ = new CGuideWindow(path, this);
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

void CMainWindow::ExitCommand() {
  if (!services_.prompts->AskYesNo(this, Tr(StringId::ConfirmExit))) return;
  exitConfirmed_ = true;
  close();
}

void CMainWindow::closeEvent(QCloseEvent* event) {
  if (exitConfirmed_ || services_.prompts->AskYesNo(this, Tr(StringId::ConfirmExit))) {
    exitConfirmed_ = true;
    RememberView();
    event->accept();
  } else {
    event->ignore();
  }
}

void CMainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) PaintRoutine();
}

void CMainWindow::CommSettingsCommand() {
  CCommSettingDlg dialog(services_.settings->Comm(), services_.listPorts ? services_.listPorts() : std::vector<PortInfo>{},
                         this);
  if (dialog.exec() != QDialog::Rejected) services_.settings->SaveCommSettings(dialog.settings());
}

void CMainWindow::MessageOptionCommand() {
  CMessageOptionDlg dialog(services_.settings->FolderAlert(), this);
  if (dialog.exec() != QDialog::Rejected) services_.settings->SaveFolderAlert(dialog.folderAlert());
}

void CMainWindow::AboutCommand() {
  CAboutDlg dialog(this);
  dialog.exec();
}

void CMainWindow::TransferCommand() {
  const std::optional<CTransferDlg::Destination> chosen =
      CTransferDlg::ChooseDestination(this, *services_.prompts, lastBrowsedFolder_, Today());
  if (!chosen) return;
  if (RunTransferDialog(chosen->folder))
    ShowDownloaded(chosen->folder);
  else if (chosen->made)
    QDir().rmdir(chosen->folder);  // made for this download and still empty: gone again (kept when anything came in)
}

bool CMainWindow::RunTransferDialog(const QString& folder) {
  CTransferDlg dialog(services_.settings->Comm(), FsPath(folder), *services_.prompts, this);
  dialog.exec();
  return dialog.state() == CTransferDlg::kDone;
}

void CMainWindow::RunUpdateDialog() {
  CUpdateDlg dialog(services_.settings->Comm(), *services_.prompts, this);
  dialog.exec();
}

QDate CMainWindow::Today() const { return QDate::currentDate(); }

void CMainWindow::ShowDownloaded(const QString& setFolder) {
  const QFileInfo set(setFolder);
  const QString dataFolder = set.absolutePath();
  const bool inOpenFolder =
      !dataFolder_.isEmpty() && QFileInfo(dataFolder).canonicalFilePath() == QFileInfo(dataFolder_).canonicalFilePath();
  if (!inOpenFolder && !services_.prompts->AskYesNo(this, Tr(StringId::OpenDownloaded))) return;
  // Opened as the folder browser would give it; the browser still starts where the
  // user chose last.
  const QString browsed = lastBrowsedFolder_;
  OpenFolder(inOpenFolder ? dataFolder_ : QDir::cleanPath(dataFolder));
  lastBrowsedFolder_ = browsed;
  const QModelIndex first = treeModel_->FirstMeasurementOf(set.fileName());
  if (!first.isValid()) return;
  tree_->setCurrentIndex(first);
  tree_->scrollTo(first);
}

}  // namespace rxt4
