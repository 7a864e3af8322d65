#include "TransferDlg.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <system_error>

#include "ElidedLabel.h"
#include "PortAdviceLabel.h"
#include "QueuedRelay.h"
#include "UiPrompts.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/TransferDestination.h"
#include "rxt4/link/PortAdvice.h"
#include "rxt4/link/TransferText.h"

namespace rxt4 {

// Carries the worker's reports to the dialog's thread, tagged with their attempt.
class CTransferDlg::Relay : public QueuedRelay<CTransferDlg, TransferObserver> {
 public:
  Relay(CTransferDlg* dialog, int attempt) : QueuedRelay(dialog, &CTransferDlg::attempt_, attempt) {}
  void progress(TransferKind kind, int percent) override {
    Post([kind, percent](CTransferDlg* d) { d->OnProgress(static_cast<int>(kind), percent); });
  }
  void modeWait() override {
    Post([](CTransferDlg* d) { d->OnModeWait(); });
  }
  void retrying(TransferKind kind, int retry) override {
    Post([kind, retry](CTransferDlg* d) { d->OnRetry(static_cast<int>(kind), retry); });
  }
  void finished(LinkResult result, int value) override {
    Post([result, value](CTransferDlg* d) { d->OnFinished(result, value); });
  }
};

namespace {

// Offers a new set folder, named after the date, inside the data folder chosen; makes
// it on Yes. Nothing on No, or when it cannot be made (said so).
std::optional<QString> OfferNewSetFolder(QWidget* owner, UiPrompts& prompts, const QString& dataFolder, QDate today) {
  const QString name = QFile::decodeName(NewSetFolderName(FsPath(dataFolder), today.month(), today.day()).c_str());
  if (!prompts.AskYesNo(owner, Tr(StringId::TransferNewSetFolder, {QDir::toNativeSeparators(dataFolder), name})))
    return std::nullopt;
  const QString setFolder = QDir(dataFolder).filePath(name);
  std::error_code ec;
  std::filesystem::create_directory(FsPath(setFolder), ec);
  if (ec) {
    prompts.Inform(owner, Tr(StringId::TransferFolderUnwritable, {setFolder, QString::fromLocal8Bit(ec.message())}),
                   UiPrompts::Icon::Warning);
    return std::nullopt;
  }
  return setFolder;
}

}  // namespace

std::optional<CTransferDlg::Destination> CTransferDlg::ChooseDestination(QWidget* owner, UiPrompts& prompts, QString& start, QDate today) {
  for (;;) {
    std::optional<QString> folder = prompts.ChooseFolder(owner, Tr(StringId::FolderBrowserTitle), start, true);
    if (!folder) return std::nullopt;
    start = *folder;
    switch (ClassifyDestination(FsPath(*folder))) {
      case DestinationKind::SetFolder:
        return Destination{*folder};
      case DestinationKind::SetFolderWithData:
        if (prompts.AskYesNo(owner, Tr(StringId::TransferOverwrite))) return Destination{*folder};
        break;
      case DestinationKind::DataFolder:
        if (std::optional<QString> made = OfferNewSetFolder(owner, prompts, *folder, today)) return Destination{*made, true};
        break;
    }
  }
}

CTransferDlg::CTransferDlg(CommSettings settings, std::filesystem::path setFolder, UiPrompts& prompts, QWidget* parent,
                           JobFactory makeJob)
    : QDialog(parent),
      settings_(std::move(settings)),
      setFolder_(std::move(setFolder)),
      prompts_(prompts),
      makeJob_(std::move(makeJob)) {
  if (!makeJob_) makeJob_ = [](TransferObserver* observer) { return std::make_unique<CTransferThread>(observer); };
  setWindowTitle(Tr(StringId::TransferCaption));
  // The whole path is the tool tip; a long one is elided in the middle.
  destination_ = new ElidedLabel(Qt::ElideMiddle, this);
  destination_->SetText(Tr(StringId::TransferDestination, {QDir::toNativeSeparators(QFile::decodeName(setFolder_.string().c_str()))}));
  text_ = new QLabel(this);
  text_->setMinimumSize(380, 54);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The same fixed area as the settings dialog's: the port advice is never cut.
  detail_ = new PortAdviceLabel(this);
  detail_->hide();
  kind_ = new QLabel(this);
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  retry_ = new QLabel(Tr(StringId::TransferRetrying), this);
  // Its room is kept while hidden, so the bar does not jump when it shows.
  QSizePolicy keepRoom = retry_->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  retry_->setSizePolicy(keepRoom);
  // The lines and the bar that come and go keep their room too: the dialog does not
  // move its lines between the states.
  for (QWidget* w : std::initializer_list<QWidget*>{kind_, detail_, progress_}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  start_ = new QPushButton(Tr(StringId::ButtonOk), this);
  ok_ = new QPushButton(Tr(StringId::ButtonOk), this);
  cancel_ = new QPushButton(Tr(StringId::ButtonCancel), this);
  for (QPushButton* b : {start_, ok_, cancel_}) b->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addWidget(progress_, 3);
  row->addWidget(retry_);
  row->addStretch(1);
  row->addWidget(start_);
  row->addWidget(ok_);  // OK and Cancel share one place: only one is shown
  row->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(destination_);
  layout->addWidget(text_);
  layout->addWidget(detail_);
  layout->addWidget(kind_);
  layout->addLayout(row);
  connect(start_, &QPushButton::clicked, this, &CTransferDlg::Start);
  connect(ok_, &QPushButton::clicked, this, &CTransferDlg::Ok);
  connect(cancel_, &QPushButton::clicked, this, &CTransferDlg::reject);
  Reset();
}

CTransferDlg::~CTransferDlg() { EndJob(); }

QString CTransferDlg::message() const { return text_->text(); }

QString CTransferDlg::detail() const { return detail_->text(); }

QString CTransferDlg::destinationText() const { return destination_->text(); }

QString CTransferDlg::kindText() const { return kind_->isVisibleTo(this) ? kind_->text() : QString(); }

bool CTransferDlg::retryShown() const { return retry_->isVisibleTo(this); }

void CTransferDlg::ShowRetry(bool shown) {
  if (!shown) {
    retryTimer_.stop();
    retryPending_ = false;
  }
  retry_->setVisible(shown);
}

void CTransferDlg::EndJob() {
  if (!job_) return;
  job_->DetachObserver();
  job_.reset();  // aborts a running worker and joins it
  relay_.reset();
}

void CTransferDlg::Reset() {
  state_ = kIdle;
  text_->setText(Tr(StringId::TransferConnecting));
  detail_->clear();
  detail_->hide();
  kind_->clear();
  kind_->hide();
  ShowRetry(false);
  ok_->hide();
  cancel_->show();
  start_->show();
  // The visible start button is the default: Enter starts the transfer.
  start_->setDefault(true);
  progress_->hide();
  progress_->setRange(0, kProgressRange);
  progress_->setValue(0);
}

void CTransferDlg::Start() {
  if (state_ != kIdle) return;
  start_->hide();
  cancel_->hide();
  ok_->show();
  ok_->setEnabled(true);
  ok_->setDefault(true);
  EndJob();
  ++attempt_;
  relay_ = std::make_unique<Relay>(this, attempt_);
  job_ = makeJob_(relay_.get());
  progress_->show();
  state_ = kRunning;
  if (!job_ || !job_->Start(settings_, setFolder_)) {
    // No worker: reported as a communication failure.
    EndJob();
    text_->setText(Tr(StringId::LinkFailed));
    state_ = kFailed;
  }
}

void CTransferDlg::OnProgress(int kind, int percent) {
  text_->setText(Tr(StringId::TransferRunning));
  progress_->setValue(TransferProgressPosition(kind, percent));
  const auto transferKind = static_cast<TransferKind>(kind);
  kind_->setText(Tr(StringId::TransferKindStep, {Tr(RootTextId(transferKind)), QString::number(kind + 1),
                                                         QString::number(kTransferKindCount)}));
  kind_->show();
  // The block asked for again has arrived; the mark goes once it has been seen long enough.
  retryPending_ = false;
  if (!retryTimer_.isActive()) ShowRetry(false);
}

void CTransferDlg::OnRetry(int, int) {
  retryPending_ = true;
  ShowRetry(true);
  retryTimer_.start(kRetryShownMs, this);
}

void CTransferDlg::timerEvent(QTimerEvent* event) {
  if (event->timerId() != retryTimer_.timerId()) {
    QDialog::timerEvent(event);
    return;
  }
  retryTimer_.stop();
  if (!retryPending_) ShowRetry(false);
}

void CTransferDlg::OnModeWait() {
  text_->setText(Tr(StringId::TransferSetMode));
  ok_->setEnabled(false);
}

void CTransferDlg::OnFinished(LinkResult result, int value) {
  // Only the first end of an attempt counts: after a cancel the worker's own report follows.
  ++attempt_;
  state_ = kFailed;
  text_->setText(QString::fromStdString(TransferFinalText(result, value)));
  if (TransferSucceeded(result)) state_ = kDone;
  kind_->hide();
  ShowRetry(false);
  const std::string rates =
      job_ ? TransferRatesText(result, value, settings_.baudRate, job_->instrumentBaudRate()) : std::string();
  if (result == LinkResult::PortOpenFailed && job_) {
    detail_->setText(QString::fromStdString(PortOpenDetail(settings_.comPort, job_->openSystemError())));
    detail_->setVisible(!detail_->text().isEmpty());
  } else if (const auto folder = job_ ? job_->folderProblem() : CTransferThread::FolderProblem{}; folder.reason) {
    const QByteArray reason = QString::fromLocal8Bit(folder.reason.message()).toUtf8();
    detail_->setText(QString::fromStdString(TransferFolderText(folder.folder, reason.toStdString())));
    detail_->show();
  } else if (!rates.empty()) {
    detail_->setText(QString::fromStdString(rates));
    detail_->show();
  }
  ok_->setEnabled(true);
}

void CTransferDlg::CancelRequest() {
  if (!prompts_.AskYesNo(this, Tr(StringId::TransferConfirmCancel), Tr(StringId::TransferCaption))) return;
  if (state_ != kRunning) return;  // the transfer ended while the question was open
  if (job_) job_->Abort();
  OnFinished(LinkResult::Cancelled, 0);
}

void CTransferDlg::Ok() {
  switch (state_) {
    case kIdle:
    case kDone: accept(); break;
    case kFailed: Reset(); break;
    case kRunning: CancelRequest(); break;
  }
}

void CTransferDlg::reject() {
  switch (state_) {
    case kIdle:
    case kDone: QDialog::reject(); break;
    case kFailed: Reset(); break;
    case kRunning: CancelRequest(); break;
  }
}

void CTransferDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // Enter presses the default button: the start button before a transfer, else OK
    // (as long as OK is not disabled while the instrument is asked for its mode).
    if (state_ == kIdle) Start();
    else if (!(state_ == kRunning && !ok_->isEnabled())) Ok();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CTransferDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  reject();
}

}  // namespace rxt4
