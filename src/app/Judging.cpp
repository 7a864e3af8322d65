#include "Judging.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTreeView>
#include <system_error>
#include <utility>

#include "DataTreeModel.h"
#include "Retranslate.h"
#include "UiPrompts.h"
#include "VerdictLine.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/link/SettingsFile.h"

namespace rxt4 {
namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Why a profile was not taken: its file, line and reason, or where a name was looked for.
QString ErrorText(const ProfileError& error) {
  return FromUtf8(error.file.empty() ? error.reason : error.Text());
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return a == b || (!a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec));
}

}  // namespace

Judging::Judging(const DataFolderModel& data, QTreeView& tree, DataTreeModel& model, SettingsFile& settings,
                 UiPrompts& prompts, QWidget& window)
    : QObject(&window),
      data_(data),
      tree_(tree),
      model_(model),
      settings_(settings),
      prompts_(prompts),
      window_(window),
      catalog_(ProfileCatalog::Standard(settings.IniPath().parent_path())),
      lines_(std::make_unique<VerdictLineFormatter>(profile_)) {
  setObjectName(QStringLiteral("judging"));
  line_ = new VerdictLine(&window);
  tree_.setIconSize(QSize(VerdictLine::kMarkPx, VerdictLine::kMarkPx));
  model_.SetVerdictSource([this](int number) { return ItemVerdict(number); }, VerdictLine::kMarkPx);
  connect(tree_.selectionModel(), &QItemSelectionModel::currentChanged, this, &Judging::ShowLine);
}

Judging::~Judging() = default;

QMenu* Judging::AddMenu(QMenu& menu) {
  menu_ = menu.addMenu(QString());
  BindText(menu_, StringId::MenuLimits);
  menu_->setObjectName(QStringLiteral("limitsMenu"));
  menu_->setToolTipsVisible(true);
  connect(menu_, &QMenu::aboutToShow, this, &Judging::FillMenu);
  return menu_;
}

void Judging::FillMenu() {
  // The actions and their group go with the menu's previous filling.
  for (QActionGroup* group : menu_->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly)) delete group;
  menu_->clear();
  auto* group = new QActionGroup(menu_);
  for (const ProfileEntry& entry : catalog_.List()) {
    // "テレビ端子<TAB>outlet.toml": the file beside the name tells two of one name apart.
    const QString file = QFile::decodeName(entry.file.filename().c_str());
    const bool refused = !entry.error.reason.empty();
    QAction* action = menu_->addAction((refused ? Tr(StringId::LimitsRefusedEntry, {file}) : FromUtf8(entry.name)) +
                                       QLatin1Char('\t') + file);
    action->setObjectName(QStringLiteral("limits:") + QFile::decodeName(entry.file.stem().c_str()));
    action->setToolTip(refused ? ErrorText(entry.error)
                               : FromUtf8(entry.description) + QLatin1Char('\n') + QFile::decodeName(entry.file.c_str()));
    action->setCheckable(true);
    action->setChecked(SameFile(entry.file, profile_.file()));
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, file = entry.file] { Choose(file); });
  }
  menu_->addSeparator();
  QAction* note = menu_->addAction(
      Tr(StringId::LimitsUserFolder, {QFile::decodeName(settings_.IniPath().parent_path().c_str())}));
  note->setEnabled(false);
}

void Judging::UseRemembered() {
  const std::string& remembered = settings_.LimitsProfile();
  LimitsProfile chosen;
  ProfileError error;
  if (!remembered.empty() && catalog_.Find(remembered, chosen, error)) {
    profile_ = std::move(chosen);
  } else {
    LimitsProfile fallback;
    ProfileError fallbackError;
    if (!catalog_.Find(kDefaultProfileName, fallback, fallbackError)) {
      prompts_.Inform(&window_, ErrorText(fallbackError), UiPrompts::Icon::Warning);
    } else {
      profile_ = std::move(fallback);
      if (!remembered.empty())
        prompts_.Inform(&window_, Tr(StringId::LimitsStartFallback, {FromUtf8(profile_.name()), ErrorText(error)}),
                        UiPrompts::Icon::Warning);
    }
  }
  lines_ = std::make_unique<VerdictLineFormatter>(profile_);
}

bool Judging::Choose(const std::filesystem::path& file) {
  // Read afresh: the file may have been edited since the menu listed it.
  LimitsProfile chosen;
  ProfileError error;
  if (!LimitsProfile::Load(file, chosen, error)) {
    prompts_.Inform(&window_, Tr(StringId::LimitsKeptPrevious, {FromUtf8(profile_.name()), ErrorText(error)}),
                    UiPrompts::Icon::Warning);
    return false;
  }
  profile_ = std::move(chosen);
  lines_ = std::make_unique<VerdictLineFormatter>(profile_);
  settings_.SaveLimitsProfile(profile_.file().string());
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Judge();
  QApplication::restoreOverrideCursor();
  return true;
}

void Judging::Judge() {
  judgement_ = FolderJudgement(data_, profile_);
  model_.VerdictsChanged();
  ShowLine();
}

void Judging::Retranslate() {
  lines_ = std::make_unique<VerdictLineFormatter>(profile_);
  ShowLine();
}

QString Judging::LineText(const CDataSet& record) {
  JudgeMeasurement(record, profile_, scratch_);
  const QString separator = Tr(StringId::VerdictLineSeparator);
  const std::string_view place = Text(StringId::CheckPlace);
  QString text;
  std::string line;
  for (const PartJudgement& part : scratch_.parts)
    for (std::size_t i = part.first; i < part.first + part.count; ++i) {
      const ReadingResult& r = scratch_.readings[i];
      if (!Judged(r)) continue;
      line.clear();
      // A channel row of a multi-channel table or a field row of a SKY row: "#3 ch 27 ".
      if (part.row > 0 || part.field > 0) {
        const std::string number = std::to_string(part.row > 0 ? part.row : part.field);
        const std::string channel = DecodeSjis(part.channel);
        line = FillIn(place, {number, channel});
        line += ' ';
      }
      lines_->Append(line, r);
      if (!text.isEmpty()) text += separator;
      text += FromUtf8(line);
    }
  if (!text.isEmpty()) return text;
  // Nothing judged: 判定なし, and why when the readings say (analogue, no limit, ...).
  const QString none = FromUtf8(VerdictText(Verdict::None));
  const std::string why = scratch_.readings.empty() ? std::string() : LimitOrReasonText(scratch_.readings.front());
  return why.empty() ? none : Tr(StringId::VerdictLineNone, {none, FromUtf8(why)});
}

void Judging::ShowLine() {
  const int number = DataTreeModel::ItemNumber(tree_.currentIndex());
  // Set folder items and kind roots have a record of no kind: no line for them.
  const CDataSet* record = number > 0 && data_.Kind(number) != DataKind::None ? data_.Record(number) : nullptr;
  if (record == nullptr) {
    line_->Show(std::nullopt, QString());
    return;
  }
  const QString text = LineText(*record);
  line_->Show(scratch_.verdict, text);
}

}  // namespace rxt4
