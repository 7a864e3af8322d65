#pragma once
// Opening a data folder without a frozen window: the load runs on its job's worker;
// when it takes longer than a glance, CLoadProgressDlg shows the set folders read of
// the total, and its Cancel keeps the previous tree. The loader's messages are shown
// once the load has ended, in their order; from the second on, each box offers to
// skip the rest of them.

#include <QDialog>
#include <QTimer>
#include <filesystem>
#include <vector>

#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/FolderLoadJob.h"

class QEventLoop;
class QProgressBar;
class QPushButton;

namespace rxt4 {

class UiPrompts;

class CLoadProgressDlg : public QDialog, public FolderLoadObserver {
  Q_OBJECT
 public:
  static constexpr int kShowAfterMs = 300;
  static constexpr int kRefreshMs = 100;

  explicit CLoadProgressDlg(QWidget* parent = nullptr);

  // Waits for job, which reports to this dialog, keeping the window painted; after
  // showAfterMs the dialog shows. True when the load completed, false when the user
  // cancelled it (the job is then told to stop).
  bool Wait(FolderLoadJob& job, int showAfterMs = kShowAfterMs);

  // The job's report, on its worker: passed on to the dialog's thread.
  void finished(bool cancelled) override;

  QProgressBar* progressBar() const { return progress_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  void OnFinished();
  void Refresh();

  QProgressBar* progress_;
  QPushButton* cancel_;
  QTimer refresh_;
  FolderLoadJob* job_ = nullptr;
  bool finished_ = false;
  QEventLoop* glance_ = nullptr;  // the wait before the dialog shows
};

// Loads folder into model and messages on a worker, with CLoadProgressDlg over owner
// when it takes a while. False when the user cancelled (model and messages untouched).
bool LoadWithProgress(QWidget* owner, const std::filesystem::path& folder, DataFolderModel& model,
                      std::vector<LoadMessage>& messages);

// Shows a load's messages in their order, owner the given window; from the second
// message on, the user may skip the rest.
void ShowLoadMessages(QWidget* owner, UiPrompts& prompts, const std::vector<LoadMessage>& messages);

}  // namespace rxt4
