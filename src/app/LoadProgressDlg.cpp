#include "LoadProgressDlg.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "UiPrompts.h"

namespace rxt4 {

CLoadProgressDlg::CLoadProgressDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tr(StringId::AppCaption));
  const ProgressRow row = LayOutProgress(this, new QLabel(Tr(StringId::LoadingFolder), this));
  progress_ = row.progress;  // busy until the set folders are counted
  progress_->setFormat(QStringLiteral("%v / %m"));
  progress_->setMinimumWidth(320);
  cancel_ = row.cancel;
  connect(&refresh_, &QTimer::timeout, this, &CLoadProgressDlg::Refresh);
}

void CLoadProgressDlg::finished(bool) {
  // The dialog outlives the job (whose destructor waits for the worker).
  QMetaObject::invokeMethod(this, &CLoadProgressDlg::OnFinished, Qt::QueuedConnection);
}

void CLoadProgressDlg::OnFinished() {
  finished_ = true;
  if (glance_) glance_->quit();
  if (isVisible()) accept();
}

void CLoadProgressDlg::Refresh() {
  if (!job_) return;
  const int total = job_->setFolderTotal();
  if (total <= 0) return;
  progress_->setRange(0, total);
  progress_->setValue(job_->setFoldersRead());
}

bool CLoadProgressDlg::Wait(FolderLoadJob& job, int showAfterMs) {
  job_ = &job;
  if (!finished_) {
    // Most folders load in a glance: no dialog, and no input taken meanwhile.
    QEventLoop glance;
    glance_ = &glance;
    QTimer::singleShot(showAfterMs, &glance, &QEventLoop::quit);
    glance.exec(QEventLoop::ExcludeUserInputEvents);
    glance_ = nullptr;
  }
  if (finished_) return true;
  Refresh();
  refresh_.start(kRefreshMs);
  QApplication::setOverrideCursor(Qt::ArrowCursor);  // the wait cursor makes way for Cancel
  const int result = exec();
  QApplication::restoreOverrideCursor();
  refresh_.stop();
  if (result == QDialog::Accepted) return true;
  job.Cancel();
  return false;
}

bool LoadWithProgress(QWidget* owner, const std::filesystem::path& folder, DataFolderModel& model,
                      std::vector<LoadMessage>& messages) {
  CLoadProgressDlg dialog(owner);
  FolderLoadJob job(&dialog);  // goes first: its destructor waits for the worker
  if (!job.Start(folder)) return model.Load(folder, messages, LoadOptions{});  // no thread to be had
  if (!dialog.Wait(job)) return false;
  job.Join();
  model = std::move(job.model());
  messages = std::move(job.messages());
  return true;
}

void ShowLoadMessages(QWidget* owner, UiPrompts& prompts, const std::vector<LoadMessage>& messages) {
  if (messages.empty()) return;
  QApplication::setOverrideCursor(Qt::ArrowCursor);  // the wait cursor makes way for the boxes
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const QString text = QString::fromUtf8(messages[i].text.data(), static_cast<qsizetype>(messages[i].text.size()));
    if (i == 0)
      prompts.Inform(owner, text, UiPrompts::Icon::None);
    else if (prompts.InformOrSkipRest(owner, text))
      break;
  }
  QApplication::restoreOverrideCursor();
}

}  // namespace rxt4
