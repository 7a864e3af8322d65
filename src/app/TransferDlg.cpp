#include "TransferDlg.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "PortErrorText.h"
#include "UiPrompts.h"
#include "rxt4/link/TransferText.h"

namespace rxt4 {

// Carries the worker's reports to the dialog's thread, tagged with their attempt.
class CTransferDlg::Relay : public TransferObserver {
 public:
  Relay(CTransferDlg* dialog, int attempt) : dialog_(dialog), attempt_(attempt) {}
  void progress(TransferKind kind, int percent) override {
    Post([kind, percent](CTransferDlg* d) { d->OnProgress(static_cast<int>(kind), percent); });
  }
  void modeWait() override {
    Post([](CTransferDlg* d) { d->OnModeWait(); });
  }
  void finished(LinkResult result, int value) override {
    Post([result, value](CTransferDlg* d) { d->OnFinished(result, value); });
  }

 private:
  template <typename F>
  void Post(F f) {
    QPointer<CTransferDlg> dialog = dialog_;
    const int attempt = attempt_;
    QMetaObject::invokeMethod(
        dialog_, [dialog, attempt, f] {
          if (dialog && dialog->attempt_ == attempt) f(dialog.data());
        },
        Qt::QueuedConnection);
  }
  CTransferDlg* dialog_;
  int attempt_;
};

CTransferDlg::CTransferDlg(CommSettings settings, std::filesystem::path setFolder, UiPrompts& prompts, QWidget* parent,
                           JobFactory makeJob)
    : QDialog(parent),
      settings_(std::move(settings)),
      setFolder_(std::move(setFolder)),
      prompts_(prompts),
      makeJob_(std::move(makeJob)) {
  if (!makeJob_) makeJob_ = [](TransferObserver* observer) { return std::make_unique<CTransferThread>(observer); };
  setWindowTitle(Tr(StringId::TransferCaption));
  text_ = new QLabel(this);
  text_->setMinimumSize(380, 54);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  detail_ = new QLabel(this);
  detail_->setWordWrap(true);
  detail_->hide();
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  start_ = new QPushButton(Tr(StringId::ButtonOk), this);
  ok_ = new QPushButton(Tr(StringId::ButtonOk), this);
  cancel_ = new QPushButton(Tr(StringId::ButtonCancel), this);
  for (QPushButton* b : {start_, ok_, cancel_}) b->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addWidget(progress_, 3);
  row->addStretch(1);
  row->addWidget(start_);
  row->addWidget(ok_);  // OK and Cancel share one place: only one is shown
  row->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(detail_);
  layout->addLayout(row);
  connect(start_, &QPushButton::clicked, this, &CTransferDlg::Start);
  connect(ok_, &QPushButton::clicked, this, &CTransferDlg::Ok);
  connect(cancel_, &QPushButton::clicked, this, &CTransferDlg::reject);
  Reset();
}

CTransferDlg::~CTransferDlg() { EndJob(); }

QString CTransferDlg::message() const { return text_->text(); }

QString CTransferDlg::detail() const { return detail_->text(); }

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
  ok_->hide();
  cancel_->show();
  start_->show();
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
  if (result == LinkResult::PortOpenFailed && job_) {
    detail_->setText(PortOpenDetail(settings_.comPort, job_->openSystemError()));
    detail_->setVisible(!detail_->text().isEmpty());
  } else if (const auto folder = job_ ? job_->folderProblem() : CTransferThread::FolderProblem{}; folder.reason) {
    const QByteArray reason = QString::fromLocal8Bit(folder.reason.message()).toUtf8();
    detail_->setText(QString::fromStdString(TransferFolderText(folder.folder, reason.toStdString())));
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
    // Enter is OK, as long as OK is not disabled (while the instrument is asked for its mode).
    if (!(state_ == kRunning && !ok_->isEnabled())) Ok();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CTransferDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  reject();
}

}  // namespace rxt4
