#include "ReportDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "QueuedRelay.h"
#include "UiPrompts.h"

namespace rxt4 {

// Carries the worker's reports to the dialog's thread.
class CReportDlg::Relay : public QueuedRelay<CReportDlg, JobObserver> {
 public:
  using QueuedRelay::QueuedRelay;
  void Progress(int done, int total) override {
    Post([done, total](CReportDlg* d) { d->OnProgress(done, total); });
  }
  void Warning(const std::string& message) override {
    Post([text = QString::fromStdString(message)](CReportDlg* d) { d->OnWarning(text); });
  }
  void Finished(const JobOutcome& outcome) override {
    Post([outcome](CReportDlg* d) { d->OnFinished(outcome); });
  }
};

CReportDlg::CReportDlg(const QString& text, ReportJob::Work work, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      work_(std::move(work)),
      relay_(std::make_unique<Relay>(this)) {
  setWindowTitle(Tr(StringId::AppCaption));
  setModal(true);
  text_ = new QLabel(text, this);
  text_->setMinimumWidth(320);
  const ProgressRow row = LayOutProgress(this, text_);  // busy until the first report
  progress_ = row.progress;
  cancel_ = row.cancel;
}

CReportDlg::~CReportDlg() {
  job_.Abort();
  job_.Join();
}

JobOutcome CReportDlg::Run() {
  if (!job_.Start(work_, *relay_)) return JobOutcome::Failed(std::string(Text(StringId::NoWorkerThread)));
  if (!finished_) exec();
  return outcome_;
}

void CReportDlg::OnProgress(int done, int total) {
  progress_->setRange(0, total);
  progress_->setValue(done);
}

void CReportDlg::OnWarning(const QString& message) { warnings_ << message; }

void CReportDlg::OnFinished(const JobOutcome& outcome) {
  job_.Join();
  outcome_ = outcome;
  finished_ = true;
  QDialog::accept();
}

void CReportDlg::reject() {
  if (finished_) return QDialog::reject();
  job_.Abort();
  cancel_->setEnabled(false);
}

}  // namespace rxt4
