#pragma once
// CReportDlg: the progress dialog of a report or an export. It runs the job on the
// job's worker, shows its progress and ends when the job has ended; キャンセル (or Esc,
// or the close box) asks the job to stop, and the dialog waits for it.

#include <QDialog>
#include <QStringList>
#include <memory>

#include "rxt4/report/ReportJob.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace rxt4 {

class CReportDlg : public QDialog {
  Q_OBJECT
 public:
  CReportDlg(const QString& text, ReportJob::Work work, QWidget* parent = nullptr);
  ~CReportDlg() override;

  // Starts the job and runs the dialog until the job has ended; its outcome.
  JobOutcome Run();
  // The warnings the job reported, in order.
  const QStringList& warnings() const { return warnings_; }
  QProgressBar* progressBar() const { return progress_; }
  QPushButton* cancelButton() const { return cancel_; }

  // --- the job's reports, run on the dialog's thread ---
  void OnProgress(int done, int total);
  void OnWarning(const QString& message);
  void OnFinished(const JobOutcome& outcome);

  // Cancel: asks the job to stop; the dialog closes when it has.
  void reject() override;

 private:
  class Relay;
  ReportJob::Work work_;
  std::unique_ptr<Relay> relay_;
  ReportJob job_;
  JobOutcome outcome_;
  bool finished_ = false;
  QStringList warnings_;
  QLabel* text_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace rxt4
