#pragma once
// CTransferDlg: the data transfer dialog. It starts a CTransferThread into the
// chosen folder, shows the current message and the progress over the seven kinds,
// and lets the user cancel (after a confirmation). It never closes while a
// transfer runs.

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>

#include "rxt4/link/CommSettings.h"
#include "rxt4/link/TransferThread.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace rxt4 {

class UiPrompts;

class CTransferDlg : public QDialog {
  Q_OBJECT
 public:
  enum State { kIdle = 0, kFailed = 1, kRunning = 2, kDone = 3 };
  static constexpr int kProgressRange = 700;

  // Makes the job of one attempt; the default runs on the serial port of the settings.
  using JobFactory = std::function<std::unique_ptr<CTransferThread>(TransferObserver*)>;

  CTransferDlg(CommSettings settings, std::filesystem::path setFolder, UiPrompts& prompts, QWidget* parent = nullptr,
               JobFactory makeJob = {});
  ~CTransferDlg() override;

  State state() const { return state_; }
  QString message() const;
  // The reason a port could not be opened (empty otherwise).
  QString detail() const;
  QProgressBar* progressBar() const { return progress_; }
  QPushButton* startButton() const { return start_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // --- the handlers of the job's reports, run on the dialog's thread ---
  void OnProgress(int kind, int percent);
  void OnModeWait();
  void OnFinished(LinkResult result, int value);

  // Start button.
  void Start();
  // OK (button 1 or Enter) and Cancel (button 2, Esc or the close box) by state.
  void Ok();
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  class Relay;
  void Reset();
  void CancelRequest();
  void EndJob();

  CommSettings settings_;
  std::filesystem::path setFolder_;
  UiPrompts& prompts_;
  JobFactory makeJob_;
  State state_ = kIdle;
  int attempt_ = 0;  // reports of an earlier attempt are ignored
  std::unique_ptr<Relay> relay_;
  std::unique_ptr<CTransferThread> job_;
  QLabel* text_ = nullptr;
  QLabel* detail_ = nullptr;  // why the port could not be opened
  QProgressBar* progress_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace rxt4
