#include "ViewerDlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindow>

#include "AboutDlg.h"
#include "CommSettingDlg.h"
#include "DataTreeModel.h"
#include "FolderDrop.h"
#include "GuideWindow.h"
#include "KeyboardHold.h"
#include "ElidedLabel.h"
#include "LoadProgressDlg.h"
#include "MessageOptionDlg.h"
#include "ReportCommands.h"
#include "RepeatButton.h"
#include "ScreenView.h"
#include "Snapshot.h"
#include "TreeItemDelegate.h"
#include "TreeMemory.h"
#include "TransferDlg.h"
#include "UpdateDlg.h"
#include "UiPrompts.h"
#include "ZoomFitter.h"
#include "rxt4/data/TransferDestination.h"

namespace rxt4 {

void InitViewerResources();

namespace {

constexpr int kIconPx = 28;
constexpr int kToolButtonPx = 42;
// The rows whose height would follow the font, fixed so that the window and the
// snapshot have one size whatever the locale and the fonts installed: the menu bar
// and the folder row, with room for the tallest common Japanese interface face (Noto
// Sans CJK JP at 9 points), and on the screen side the title row and the data name
// row, which hold the ink of a 9-point line.
constexpr int kMenuBarPx = 24;
constexpr int kFolderRowPx = 20;
constexpr int kLabelRowPx = 14;
constexpr int kSideMarginPx = 9;
constexpr int kSideSpacingPx = 6;
constexpr int kTreeMinWidthPx = 256;

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QIcon ResourceIcon(const char* name) { return QIcon(QStringLiteral(":/viewer/") + QLatin1String(name) + QStringLiteral(".svg")); }

QPushButton* MakeIconButton(QPushButton* button, const char* icon, StringId accessibleText, StringId tip, QSize size) {
  button->setIcon(ResourceIcon(icon));
  button->setIconSize(QSize(kIconPx, kIconPx));
  button->setFixedSize(size);
  button->setAccessibleName(Tr(accessibleText));
  button->setToolTip(Tr(tip));
  button->setFocusPolicy(Qt::TabFocus);
  button->setAutoDefault(false);
  return button;
}

QFrame* GroupFrame(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

}  // namespace

CViewerDlg::CViewerDlg(ViewerServices services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      services_(std::move(services)),
      screens_(services_.fonts),
      surface_() {
  InitViewerResources();
  setWindowTitle(Tr(StringId::AppCaption));
  treeModel_ = new DataTreeModel(data_, this);
  BuildWidgets();
  BuildMenus();
  qApp->installEventFilter(this);
  keyHold_ = std::make_unique<KeyboardHold>(centralWidget(), [this] { StopRepetition(); });
  new FolderDrop(this, [this](const QString& folder) { OpenChosenFolder(folder); });
  const std::pair<int, QPushButton*> held[] = {{Qt::Key_Left, left_},    {Qt::Key_Right, right_}, {Qt::Key_Up, up_},
                                               {Qt::Key_Down, down_},    {Qt::Key_Return, enter_}, {Qt::Key_Enter, enter_}};
  for (const auto& [key, button] : held) keyHold_->Add(key, button);
}

CViewerDlg::~CViewerDlg() {
  qApp->removeEventFilter(this);
  keyHold_.reset();
  pollTimer_.stop();
  repeatTimer_.stop();
  // The widgets read the tree model and the surface, which are members: they go first.
  delete takeCentralWidget();
}

void CViewerDlg::BuildWidgets() {
  auto* central = new QWidget(this);
  setCentralWidget(central);

  // Folder path across the top.
  // A long path is elided in the middle (the whole path is the tool tip), so that the
  // window's width never depends on it.
  folderPath_ = new ElidedLabel(Qt::ElideMiddle, central);
  folderPath_->setFrameShape(QFrame::StyledPanel);
  folderPath_->setFixedHeight(kFolderRowPx);
  auto* folderCaption = new QLabel(Tr(StringId::LabelFolderName), central);
  folderCaption->setFixedHeight(kFolderRowPx);
  auto* top = new QHBoxLayout;
  top->addWidget(folderCaption);
  top->addWidget(folderPath_, 1);

  // The tree of data sets.
  tree_ = new QTreeView(central);
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

  // The screen side: title, data number, screen area, data name.
  screenSide_ = new QFrame(central);
  screenSide_->setFrameShape(QFrame::Box);
  screenSide_->setAutoFillBackground(true);
  title_ = new ElidedLabel(Qt::ElideRight, screenSide_);
  index_ = new QLabel(QStringLiteral("0"), screenSide_);
  index_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  index_->setMinimumWidth(32);
  count_ = new QLabel(QStringLiteral("0"), screenSide_);
  count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  count_->setMinimumWidth(32);
  auto* slash = new QLabel(QStringLiteral("/"), screenSide_);
  slash->setAlignment(Qt::AlignCenter);
  slash->setMinimumWidth(16);
  auto* header = new QHBoxLayout;
  header->addWidget(title_, 1);
  header->addWidget(new QLabel(Tr(StringId::LabelDataNo), screenSide_));
  header->addWidget(index_);
  header->addWidget(slash);
  header->addWidget(count_);
  screenView_ = new ScreenView(surface_, screenSide_);
  // Cut at the frame: the screen side, and so the snapshot, keeps its size.
  dataName_ = new ElidedLabel(Qt::ElideRight, screenSide_);
  auto* footer = new QHBoxLayout;
  footer->addWidget(new QLabel(Tr(StringId::LabelDataName), screenSide_));
  footer->addWidget(dataName_, 1);
  auto* side = new QVBoxLayout(screenSide_);
  side->setContentsMargins(kSideMarginPx, kSideMarginPx, kSideMarginPx, kSideMarginPx);
  side->setSpacing(kSideSpacingPx);
  side->addLayout(header);
  side->addWidget(screenView_, 0, Qt::AlignCenter);
  side->addLayout(footer);
  for (QLabel* label : screenSide_->findChildren<QLabel*>()) label->setFixedHeight(kLabelRowPx);
  FitScreenSide();

  // Tool buttons.
  const QSize toolSize(kToolButtonPx, kToolButtonPx);
  exit_ = MakeIconButton(new QPushButton(central), "exit", StringId::ButtonExit, StringId::TipExit, toolSize);
  folder_ = MakeIconButton(new QPushButton(central), "folder", StringId::ButtonFolder, StringId::TipFolder, toolSize);
  save_ = MakeIconButton(new QPushButton(central), "save", StringId::ButtonSave, StringId::TipSave, toolSize);
  copy_ = MakeIconButton(new QPushButton(central), "copy", StringId::ButtonCopy, StringId::TipCopy, toolSize);
  auto* tools = GroupFrame(central);
  auto* toolRow = new QHBoxLayout(tools);
  for (QPushButton* b : {exit_, folder_, save_, copy_}) toolRow->addWidget(b);

  // Instrument keys: シフト top right, ↑ ↓ on the left, ← → tall on the right, 決定 below.
  shift_ = MakeIconButton(new QPushButton(central), "shift", StringId::ButtonShift, StringId::TipShift, toolSize);
  shift_->setCheckable(true);
  const QSize arrowSize(48, 40);
  const QSize tallSize(40, 82);
  up_ = MakeIconButton(new QPushButton(central), "up", StringId::TipUp, StringId::TipUp, arrowSize);
  down_ = MakeIconButton(new QPushButton(central), "down", StringId::TipDown, StringId::TipDown, arrowSize);
  left_ = new CRepeatButton(central);
  MakeIconButton(left_, "left", StringId::TipLeft, StringId::TipLeft, tallSize);
  right_ = new CRepeatButton(central);
  MakeIconButton(right_, "right", StringId::TipRight, StringId::TipRight, tallSize);
  enter_ = MakeIconButton(new QPushButton(central), "enter", StringId::ButtonEnter, StringId::TipEnter, toolSize);
  auto* keys = GroupFrame(central);
  auto* keyGrid = new QGridLayout(keys);
  auto* upDown = GroupFrame(keys);
  auto* upDownLayout = new QVBoxLayout(upDown);
  upDownLayout->addWidget(up_);
  upDownLayout->addWidget(down_);
  auto* leftRight = GroupFrame(keys);
  auto* leftRightLayout = new QHBoxLayout(leftRight);
  leftRightLayout->setSpacing(0);
  leftRightLayout->addWidget(left_);
  leftRightLayout->addWidget(right_);
  keyGrid->addWidget(shift_, 0, 1, Qt::AlignRight);
  keyGrid->addWidget(upDown, 1, 0);
  keyGrid->addWidget(leftRight, 1, 1);
  keyGrid->addWidget(enter_, 2, 1, Qt::AlignRight);

  auto* logo = new QLabel(central);
  logo->setPixmap(QIcon(QStringLiteral(":/viewer/logo.svg")).pixmap(QSize(230, 68)));
  logo->setAlignment(Qt::AlignCenter);

  auto* right = new QVBoxLayout;
  keyColumn_ = right;
  right->addWidget(tools);
  right->addWidget(keys);
  right->addWidget(logo);
  right->addStretch();  // a taller window leaves the keys where they are

  // An enlarged window gives its room to the tree; the screen side and the keys keep
  // their size and place at the top.
  auto* middle = new QHBoxLayout;
  middle->addWidget(tree_, 1);
  middle->addWidget(screenSide_, 0, Qt::AlignTop);
  middle->addLayout(right);

  auto* layout = new QVBoxLayout(central);
  layout->addLayout(top);
  layout->addLayout(middle, 1);

  connect(exit_, &QPushButton::clicked, this, [this] { ExitCommand(); });
  connect(folder_, &QPushButton::clicked, this, &CViewerDlg::ChooseFolder);
  connect(save_, &QPushButton::clicked, this, &CViewerDlg::SaveScreen);
  connect(copy_, &QPushButton::clicked, this, &CViewerDlg::CopyScreen);
  connect(up_, &QPushButton::clicked, this, [this] { ArrowAction(InstrumentKey::Up, true); });
  connect(down_, &QPushButton::clicked, this, [this] { ArrowAction(InstrumentKey::Down, true); });
  connect(left_, &QPushButton::clicked, this, [this] { ArrowAction(InstrumentKey::Left, true); });
  connect(right_, &QPushButton::clicked, this, [this] { ArrowAction(InstrumentKey::Right, true); });
  connect(shift_, &QPushButton::clicked, this, &CViewerDlg::ShiftToggled);
  connect(enter_, &QPushButton::clicked, this, &CViewerDlg::EnterAction);
}

void CViewerDlg::FitScreenSide() {
  // The area, its frame and margins, and the two label rows: nothing that follows the font.
  const int edge = 2 * (kSideMarginPx + screenSide_->frameWidth());
  const QSize area = screenView_->sizeHint();
  screenSide_->setFixedSize(area.width() + edge, area.height() + 2 * (kLabelRowPx + kSideSpacingPx) + edge);
}

void CViewerDlg::BuildMenus() {
  menuBar()->setFixedHeight(kMenuBarPx);
  QMenu* file = menuBar()->addMenu(Tr(StringId::MenuFile));
  folderAction_ = file->addAction(Tr(StringId::MenuFolder), this, &CViewerDlg::ChooseFolder);
  recentMenu_ = file->addMenu(Tr(StringId::MenuRecentFolders));
  connect(recentMenu_, &QMenu::aboutToShow, this, &CViewerDlg::FillRecentMenu);
  saveAction_ = file->addAction(Tr(StringId::MenuSave), this, &CViewerDlg::SaveScreen);
  auto source = [this] { return ReportSource{&data_, FsPath(dataFolder_).string(), DataTreeModel::ItemNumber(tree_->currentIndex())}; };
  file->addAction(Tr(StringId::MenuReport), this, [this, source] { ReportCommand(this, source(), *services_.prompts, services_.fonts); });
  file->addAction(Tr(StringId::MenuExport), this, [this, source] { ExportCommand(this, source(), *services_.prompts); });
  file->addSeparator();
  exitAction_ = file->addAction(Tr(StringId::MenuExit), this, [this] { ExitCommand(); });
  QMenu* edit = menuBar()->addMenu(Tr(StringId::MenuEdit));
  copyAction_ = edit->addAction(Tr(StringId::MenuCopy), this, &CViewerDlg::CopyScreen);
  QMenu* view = menuBar()->addMenu(Tr(StringId::MenuView));
  auto* zoomGroup = new QActionGroup(this);
  const StringId zoomTexts[] = {StringId::MenuZoom1, StringId::MenuZoom2, StringId::MenuZoom3};
  for (int z = 1; z <= ScreenView::kMaxZoom; ++z) {
    QAction* a = view->addAction(Tr(zoomTexts[z - 1]), this, [this, z] { SetZoom(z); });
    a->setCheckable(true);
    a->setChecked(z == 1);
    zoomGroup->addAction(a);
    zoomActions_[z - 1] = a;
  }
  connect(view, &QMenu::aboutToShow, this, [this] { OfferZoomsThatFit(AvailableArea()); });
  QMenu* option = menuBar()->addMenu(Tr(StringId::MenuOption));
  option->addAction(Tr(StringId::MenuMessage), this, &CViewerDlg::MessageOptionCommand);
  option->addSeparator();
  option->addAction(Tr(StringId::MenuCommSettings), this, &CViewerDlg::CommSettingsCommand);
  QMenu* comm = menuBar()->addMenu(Tr(StringId::MenuComm));
  comm->addAction(Tr(StringId::MenuTransfer), this, &CViewerDlg::TransferCommand);
  comm->addAction(Tr(StringId::MenuUpdate), this, &CViewerDlg::UpdateCommand);
  QMenu* help = menuBar()->addMenu(Tr(StringId::MenuHelp));
  QAction* guide = help->addAction(Tr(StringId::MenuGuide), this, &CViewerDlg::GuideCommand);
  guide->setShortcut(QKeySequence(Qt::Key_F1));
  help->addAction(Tr(StringId::MenuAbout), this, &CViewerDlg::AboutCommand);
  // The accelerators are matched by the keyboard routing before anything else sees
  // the key (the texts after the tab show them in the menus).
}

void CViewerDlg::Initialise() {
  setWindowIcon(QIcon(QStringLiteral(":/viewer/app.svg")));
  std::vector<std::string> names;
  if (services_.listPorts)
    for (const PortInfo& p : services_.listPorts()) names.push_back(p.name);
  services_.settings->LoadSettings(names);
  recent_.Load(services_.settings->Remembered().recentFolders);
  // The enlargement of the last run; showing the window takes it back to what fits.
  if (const int zoom = services_.settings->Remembered().zoom; zoom > 1 && zoom <= ScreenView::kMaxZoom) SetZoom(zoom);
  SetShownState(false);
  RefreshArrowImages();
  screens_.Deselect();
  LoadDataFolder();
  PaintRoutine();
  // The window opens at its layout's size, which is also the least it can have: the
  // user may enlarge it, and only the enlargement changes it otherwise.
  resize(sizeHint());
  pollTimer_.start(kPollTimerMs, this);
}

void CViewerDlg::OpenStartFolder(const QString& path) {
  if (!QFileInfo(path).isDir()) {
    services_.prompts->Inform(this, Tr(StringId::FolderNotFound, {path}), UiPrompts::Icon::None);
    return;
  }
  OpenFolder(path);
}

void CViewerDlg::OpenFolder(const QString& path) {
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

bool CViewerDlg::LoadDataFolder() {
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
  // No item is current until the user picks one: otherwise the tree's first focus
  // would make the first root current, and the selection handler would blank the
  // "データNo." labels.
  tree_->setCurrentIndex(QModelIndex());
  return true;
}

void CViewerDlg::ChooseFolder() {
  std::optional<QString> chosen =
      services_.prompts->ChooseFolder(this, Tr(StringId::FolderBrowserTitle), lastBrowsedFolder_, false);
  if (!chosen) {
    tree_->setFocus();
    return;
  }
  lastBrowsedFolder_ = *chosen;
  OpenChosenFolder(*chosen);
}

void CViewerDlg::OpenChosenFolder(QString folder) {
  // A set folder chosen by mistake shows an empty tree: its parent is offered instead.
  if (HoldsKindFolder(FsPath(folder))) {
    const QString parent = QFileInfo(folder).absolutePath();
    if (!services_.prompts->AskYesNo(this, Tr(StringId::SetFolderChosen, {folder, parent}))) {
      tree_->setFocus();
      return;
    }
    folder = parent;
  }
  if (services_.settings->FolderAlert() != 0 && !folder.endsWith(Tr(StringId::FolderNameSuffix), Qt::CaseSensitive) &&
      !services_.prompts->AskYesNo(this, Tr(StringId::FolderWarning))) {
    tree_->setFocus();
    return;
  }
  OpenFolder(folder);
}

void CViewerDlg::FillRecentMenu() {
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

void CViewerDlg::OpenRecentFolder(const QString& folder) {
  if (!QFileInfo(folder).isDir()) {
    services_.prompts->Inform(this, Tr(StringId::FolderNotFound, {folder}), UiPrompts::Icon::None);
    return;
  }
  OpenFolder(folder);
}

void CViewerDlg::GuideCommand() {
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

void CViewerDlg::OnSelectionChanged() {
  const int number = DataTreeModel::ItemNumber(tree_->currentIndex());
  const CDataSet* record = number > 0 ? data_.Record(number) : nullptr;
  CScreen* screen = record != nullptr ? screens_.Select(*record) : nullptr;
  if (screen) {
    title_->setText(FromUtf8(screen->ShowKindName()));
    if (std::optional<std::string> name = screen->ShowDataName()) dataName_->SetText(FromUtf8(*name));
    index_->setText(FromUtf8(record->indexText()));
    count_->setText(FromUtf8(std::string(record->countText())));
  } else {
    screens_.Deselect();
    index_->setText(QStringLiteral("  "));
    count_->setText(QStringLiteral("  "));
    title_->setText(QStringLiteral(" "));
    dataName_->SetText(QStringLiteral(" "));
  }
  PaintRoutine();
  SetShownState(screen != nullptr);
}

int CViewerDlg::currentScreenIndex() const {
  const DataKind kind = screens_.currentKind();
  return kind == DataKind::None ? 0 : static_cast<int>(kind) - 1;
}

void CViewerDlg::PaintRoutine() {
  if (isMinimized()) return;
  if (screens_.Current() != nullptr) screenView_->HideBlankPanel();
  // Draws the current screen, or clears the area when none is shown, then the frame.
  screens_.Paint(surface_);
  screenView_->update();
  emit screenChanged();
}

void CViewerDlg::SetShownState(bool shown) {
  save_->setEnabled(shown);
  copy_->setEnabled(shown);
  saveAction_->setEnabled(shown);
  copyAction_->setEnabled(shown);
}

void CViewerDlg::RefreshArrowImages() {
  const bool s = shift_->isChecked();
  up_->setIcon(ResourceIcon(s ? "up_shift" : "up"));
  down_->setIcon(ResourceIcon(s ? "down_shift" : "down"));
  left_->setIcon(ResourceIcon(s ? "left_shift" : "left"));
  right_->setIcon(ResourceIcon(s ? "right_shift" : "right"));
  // The icon name lets tests see which image a button shows.
  for (QPushButton* b : {up_, down_, static_cast<QPushButton*>(left_), static_cast<QPushButton*>(right_)})
    b->setProperty("shiftImage", s);
}

void CViewerDlg::SetZoom(int zoom) {
  // What the user added to the window's least size stays added.
  const QSize enlarged = (size() - minimumSize()).expandedTo(QSize(0, 0));
  screenView_->SetZoom(zoom);
  zoomActions_[screenView_->zoom() - 1]->setChecked(true);
  FitScreenSide();
  // Laid out at once rather than by the event loop, so that the window's size (and
  // what WindowSizeAt says) follows the enlargement as soon as it is set.
  for (QWidget* w : {static_cast<QWidget*>(screenSide_), centralWidget(), static_cast<QWidget*>(this)}) {
    w->layout()->invalidate();
    w->layout()->activate();
  }
  // The enlargement the user added gives way first where the screen is too small.
  QSize wanted = minimumSize() + enlarged;
  if (const QScreen* s = screen(); s != nullptr && isVisible())
    wanted = wanted.boundedTo(s->availableGeometry().size() - (frameGeometry().size() - size())).expandedTo(minimumSize());
  resize(wanted);
  ZoomFitter(*this).KeepInside();
}

QSize CViewerDlg::WindowSizeAt(int zoom) const {
  // Only the screen area changes with the enlargement. It widens the window by its own
  // growth; it heightens it only where the screen side outgrows the key column.
  const int steps = zoom - screenView_->zoom();
  const QSize area = screenView_->sizeHint() / screenView_->zoom();
  const int keysHeight = keyColumn_->sizeHint().height();
  const int sideHeight = screenSide_->sizeHint().height();
  const int rowNow = std::max(keysHeight, sideHeight);
  const int rowThen = std::max(keysHeight, sideHeight + steps * area.height());
  const QSize frame = frameGeometry().size() - size();
  return sizeHint() + QSize(steps * area.width(), rowThen - rowNow) + frame;
}

bool CViewerDlg::ZoomFits(int zoom, const QSize& available) const {
  const QSize needed = WindowSizeAt(zoom);
  return needed.width() <= available.width() && needed.height() <= available.height();
}

void CViewerDlg::OfferZoomsThatFit(const QSize& available) {
  for (int z = 2; z <= ScreenView::kMaxZoom; ++z) zoomActions_[z - 1]->setEnabled(ZoomFits(z, available));
}

void CViewerDlg::FitZoom(const QSize& available) {
  int zoom = screenView_->zoom();
  while (zoom > 1 && !ZoomFits(zoom, available)) --zoom;
  if (zoom != screenView_->zoom()) SetZoom(zoom);
  OfferZoomsThatFit(available);
}

QSize CViewerDlg::AvailableArea() const {
  const QScreen* s = screen();
  return s ? s->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void CViewerDlg::OnScreenChanged(QScreen* screen) {
  // A window moved to a smaller screen (or on a screen that shrank) falls back to the
  // largest enlargement that still fits.
  if (watchedScreen_) disconnect(watchedScreen_, nullptr, this, nullptr);
  watchedScreen_ = screen;
  if (screen == nullptr) return;
  connect(screen, &QScreen::availableGeometryChanged, this, [this](const QRect& area) { FitZoom(area.size()); });
  FitZoom(screen->availableGeometry().size());
}

void CViewerDlg::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (QWindow* window = windowHandle()) {
    connect(window, &QWindow::screenChanged, this, &CViewerDlg::OnScreenChanged, Qt::UniqueConnection);
    if (watchedScreen_ != window->screen()) OnScreenChanged(window->screen());
  }
}

QImage CViewerDlg::RenderScreenSide() const { return screenSide_->grab().toImage(); }

void CViewerDlg::SaveScreen() {
  std::optional<QString> path = services_.prompts->ChooseSaveFile(
      this, Tr(StringId::SaveDialogTitle), dataName_->text().trimmed(), DialogFilter(Tr(StringId::BitmapFilter)),
      Tr(StringId::BitmapExtension));
  if (path) {
    screenSide_->repaint();
    QString reason;
    if (!WriteSnapshotFile(RenderScreenSide(), *path, &reason))
      services_.prompts->Inform(this, Tr(StringId::SnapshotNotSaved, {*path, reason}), UiPrompts::Icon::None);
  }
  tree_->setFocus();
}

void CViewerDlg::CopyScreen() {
  QApplication::clipboard()->setImage(SnapshotImage(RenderScreenSide()));
  tree_->setFocus();
}

void CViewerDlg::MoveTree(InstrumentKey key) {
  // The tree moves its selection (↑ ↓) or collapses and expands (← →) as it does for
  // the keyboard; the routing must not see this key a second time.
  const Qt::Key qtKey = key == InstrumentKey::Up     ? Qt::Key_Up
                        : key == InstrumentKey::Down ? Qt::Key_Down
                        : key == InstrumentKey::Left ? Qt::Key_Left
                                                     : Qt::Key_Right;
  forwardingKey_ = true;
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
  QCoreApplication::sendEvent(tree_, &press);
  forwardingKey_ = false;
}

void CViewerDlg::PressInstrumentKey(InstrumentKey key) {
  // The ← and → buttons count how long they are held (the delay profile's marker speed).
  const int held = key == InstrumentKey::Left ? left_->heldTicks() : key == InstrumentKey::Right ? right_->heldTicks() : 0;
  switch (screens_.PressKey({key, shift_->isChecked(), held}, surface_)) {
    case KeyOutcome::Changed:  // the area is painted whole for the new state
      screenView_->update();
      emit screenChanged();
      break;
    case KeyOutcome::Tree:
      MoveTree(key);
      break;
    case KeyOutcome::Nothing:
      break;
  }
}

void CViewerDlg::ArrowAction(InstrumentKey key, bool fromButton) {
  lastArrow_ = key;
  PressInstrumentKey(key);
  if (fromButton) tree_->setFocus();
}

void CViewerDlg::EnterAction() {
  PressInstrumentKey(InstrumentKey::Enter);
  tree_->setFocus();
}

void CViewerDlg::ShiftToggled() {
  RefreshArrowImages();
  tree_->setFocus();
}

bool CViewerDlg::ExitCommand() {
  if (!services_.prompts->AskYesNo(this, Tr(StringId::ConfirmExit))) return false;
  exitConfirmed_ = true;
  close();
  return true;
}

void CViewerDlg::closeEvent(QCloseEvent* event) {
  if (exitConfirmed_ || services_.prompts->AskYesNo(this, Tr(StringId::ConfirmExit))) {
    exitConfirmed_ = true;
    RememberView();
    event->accept();
  } else {
    event->ignore();
  }
}

void CViewerDlg::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  if (isActiveWindow()) PaintRoutine();
  else keyHold_->ReleaseAll();  // the key's release goes to another window
}

void CViewerDlg::StopRepetition() {
  // Whatever held a button has let it go: the mouse, the space bar, the repetition.
  mouseHolder_ = nullptr;
  spaceDown_ = false;
  repeatTimer_.stop();
  repeating_ = false;
}

void CViewerDlg::CommSettingsCommand() {
  CCommSettingDlg dialog(services_.settings->Comm(), services_.listPorts ? services_.listPorts() : std::vector<PortInfo>{},
                         this);
  if (dialog.exec() != QDialog::Rejected) services_.settings->SaveCommSettings(dialog.settings());
}

void CViewerDlg::MessageOptionCommand() {
  CMessageOptionDlg dialog(services_.settings->FolderAlert(), this);
  if (dialog.exec() != QDialog::Rejected) services_.settings->SaveFolderAlert(dialog.folderAlert());
}

void CViewerDlg::AboutCommand() {
  CAboutDlg dialog(this);
  dialog.exec();
}

void CViewerDlg::TransferCommand() {
  const std::optional<CTransferDlg::Destination> chosen =
      CTransferDlg::ChooseDestination(this, *services_.prompts, lastBrowsedFolder_, Today());
  if (!chosen) return;
  if (RunTransferDialog(chosen->folder))
    ShowDownloaded(chosen->folder);
  else if (chosen->made)
    QDir().rmdir(chosen->folder);  // made for this download and still empty: gone again (kept when anything came in)
}

void CViewerDlg::UpdateCommand() { RunUpdateDialog(); }

bool CViewerDlg::RunTransferDialog(const QString& folder) {
  CTransferDlg dialog(services_.settings->Comm(), FsPath(folder), *services_.prompts, this);
  dialog.exec();
  return dialog.state() == CTransferDlg::kDone;
}

QDate CViewerDlg::Today() const { return QDate::currentDate(); }

void CViewerDlg::ShowDownloaded(const QString& setFolder) {
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
  SelectFirstMeasurementOf(set.fileName());
}

bool CViewerDlg::SelectFirstMeasurementOf(const QString& setFolder) {
  const std::string name = QFile::encodeName(setFolder).toStdString();
  for (TransferKind kind : kAllTransferKinds) {
    const int root = DataFolderModel::RootNumber(kind);
    for (int row = 0; row < data_.ChildCount(root); ++row) {
      const int folder = data_.ChildAt(root, row);
      if (data_.Label(folder) != name || data_.ChildCount(folder) == 0) continue;
      const QModelIndex first = treeModel_->IndexOf(data_.ChildAt(folder, 0));
      tree_->setCurrentIndex(first);
      tree_->scrollTo(first);
      return true;
    }
  }
  return false;
}

void CViewerDlg::OpenRememberedFolder() {
  const RememberedView& last = services_.settings->Remembered();
  const QString folder = QFile::decodeName(last.dataFolder.c_str());
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) return;
  OpenFolder(folder);
  // The tree as it was left: its open nodes and the measurement shown.
  TreeMemory(*tree_, *treeModel_, data_).Restore(last.expandedItems, last.selectedItem);
}

void CViewerDlg::RememberView() {
  RememberedView view;
  view.dataFolder = FsPath(dataFolder_).string();
  view.zoom = screenView_->zoom();
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

void CViewerDlg::RunUpdateDialog() {
  CUpdateDlg dialog(services_.settings->Comm(), *services_.prompts, this);
  dialog.exec();
}

QPushButton* CViewerDlg::ArrowButton(InstrumentKey key) const {
  switch (key) {
    case InstrumentKey::Up: return up_;
    case InstrumentKey::Down: return down_;
    case InstrumentKey::Left: return left_;
    case InstrumentKey::Right: return right_;
    case InstrumentKey::Enter: return enter_;
  }
  return nullptr;
}

InstrumentKey CViewerDlg::HeldArrow(bool* found) const {
  // The button that holds the mouse: pressed with the left button and not released.
  *found = false;
  InstrumentKey held = InstrumentKey::Up;
  const std::pair<QPushButton*, InstrumentKey> order[] = {
      {up_, InstrumentKey::Up}, {left_, InstrumentKey::Left}, {right_, InstrumentKey::Right}, {down_, InstrumentKey::Down}};
  for (const auto& [button, key] : order) {
    if (button == mouseHolder_ || (button->isDown() && button->hasFocus() && spaceDown_)) {
      held = key;
      *found = true;
    }
  }
  return held;
}

void CViewerDlg::timerEvent(QTimerEvent* event) {
  if (event->timerId() == pollTimer_.timerId()) TimerTick(true);
  else if (event->timerId() == repeatTimer_.timerId()) TimerTick(false);
  else QMainWindow::timerEvent(event);
}

void CViewerDlg::TimerTick(bool poll) {
  bool found = false;
  const InstrumentKey key = HeldArrow(&found);
  if (!found) {
    repeatTimer_.stop();
    repeating_ = false;
    return;
  }
  lastArrow_ = key;
  if (poll) {
    if (!repeating_) {
      repeatTimer_.start(kRepeatTimerMs, this);
      repeating_ = true;
    }
    return;
  }
  QPushButton* button = ArrowButton(key);
  const bool leftDown = QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
  const bool inside = button->rect().contains(button->mapFromGlobal(QCursor::pos()));
  // Moving off the button pauses the repetition; a button held by the space bar repeats too.
  if (!((inside && leftDown) || (spaceDown_ && !leftDown))) {
    repeatTimer_.stop();
    repeating_ = false;
    return;
  }
  ArrowAction(key, false);
}

bool CViewerDlg::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::MouseButtonPress &&
      type != QEvent::MouseButtonRelease)
    return QMainWindow::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return QMainWindow::eventFilter(watched, event);

  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      if (type == QEvent::MouseButtonRelease) mouseHolder_ = nullptr;
      else if (widget == up_ || widget == down_ || widget == left_ || widget == right_)
        mouseHolder_ = static_cast<QPushButton*>(widget);
    }
    return QMainWindow::eventFilter(watched, event);
  }
  if (forwardingKey_ || !RoutesKeysOf(watched)) return QMainWindow::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  return type == QEvent::KeyPress ? HandleKeyPress(key) : HandleKeyRelease(key);
}

bool CViewerDlg::RoutesKeysOf(QObject* watched) const {
  // A key travels from the focus widget up to its parents; it is routed once, at the
  // start. Keys of the menu bar and of open menus are theirs: a key pressed there
  // must not press an instrument key, whose release would never come here.
  if (QApplication::activePopupWidget() != nullptr) return false;
  const QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return watched == this;
  return watched == focus && centralWidget()->isAncestorOf(focus);
}

bool CViewerDlg::HandleKeyPress(QKeyEvent* event) {
  // Accelerators first: a matching key is consumed even when its command is greyed.
  const QKeyCombination combo = event->keyCombination();
  const Qt::KeyboardModifiers mods = combo.keyboardModifiers() & ~Qt::KeypadModifier;
  const int k = combo.key();
  if (mods == Qt::ControlModifier && (k == Qt::Key_O || k == Qt::Key_S || k == Qt::Key_C)) {
    QAction* action = k == Qt::Key_O ? folderAction_ : k == Qt::Key_S ? saveAction_ : copyAction_;
    if (action->isEnabled() && !event->isAutoRepeat()) action->trigger();
    return true;
  }
  if (mods == Qt::AltModifier && k == Qt::Key_F4) return true;  // consumed; 終了 is the exit command

  switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      keyHold_->Press(k);
      EnterAction();
      return true;
    case Qt::Key_Escape:
      return true;
    case Qt::Key_Space:
      spaceDown_ = true;
      return false;
    case Qt::Key_Shift:
      shift_->setChecked(true);
      RefreshArrowImages();
      return false;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      keyHold_->Press(k);  // the held ← → count ticks (the delay profile's marker speed)
      if (screens_.Current() == nullptr) return false;  // the tree's, by the normal route
      ArrowAction(k == Qt::Key_Left ? InstrumentKey::Left : InstrumentKey::Right, false);
      return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
      keyHold_->Press(k);
      if (!shift_->isChecked()) return false;
      ArrowAction(k == Qt::Key_Up ? InstrumentKey::Up : InstrumentKey::Down, false);
      return true;
    }
    default:
      return false;
  }
}

bool CViewerDlg::HandleKeyRelease(QKeyEvent* event) {
  // The buttons the keys hold are let go by keyHold_, wherever the release goes.
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      return true;
    case Qt::Key_Space:
      spaceDown_ = false;
      return false;
    case Qt::Key_Shift:
      shift_->setChecked(false);
      RefreshArrowImages();
      return false;
    default:
      return false;
  }
}

}  // namespace rxt4
