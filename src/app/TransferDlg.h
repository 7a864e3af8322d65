#pragma once
// CTransferDlg: the data transfer dialog. It starts a CTransferThread into the
// chosen folder, shows that folder, the current message, the kind being transferred,
// the progress over the seven kinds and "再送中..." while a block is asked for again,
// and lets the user cancel (after a confirmation). It never closes while a transfer
// runs. ChooseDestination asks for the folder before the dialog opens.

#include <QBasicTimer>
#include <QDate>
#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "rxt4/link/CommSettings.h"
#include "rxt4/link/TransferThread.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace rxt4 {

class ElidedLabel;
class UiPrompts;

class CTransferDlg : public QDialog {
  Q_OBJECT
 public:
  enum State { kIdle = 0, kFailed = 1, kRunning = 2, kDone = 3 };
  static constexpr int kProgressRange = 700;
  // "再送中..." stays at least this long, so that a quick retry is seen.
  static constexpr int kRetryShownMs = 2000;

  // Makes the job of one attempt; the default runs on the serial port of the settings.
  using JobFactory = std::function<std::unique_ptr<CTransferThread>(TransferObserver*)>;

  CTransferDlg(CommSettings settings, std::filesystem::path setFolder, UiPrompts& prompts, QWidget* parent = nullptr,
               JobFactory makeJob = {});
  ~CTransferDlg() override;

  // The folder picker (with its new-folder button) until the chosen folder may take
  // the download: a set folder that holds measurements is taken only when the user
  // agrees to overwrite them; for a data folder a new set folder named after today's
  // date is offered, made and taken on Yes. No, and a new folder that cannot be made,
  // return to the picker. start is the folder the picker opens at; it becomes the
  // folder chosen last. Nothing when the picker is cancelled.
  struct Destination {
    QString folder;
    bool made = false;  // the new set folder offered and made here
  };
  static std::optional<Destination> ChooseDestination(QWidget* owner, UiPrompts& prompts, QString& start, QDate today);

  State state() const { return state_; }
  QString message() const;
  // The line under the message: why the port could not be opened, why the folder takes
  // no files, or the two rates that differ (empty otherwise).
  QString detail() const;
  // The destination line, the kind being transferred and the retry mark as shown.
  QString destinationText() const;
  QString kindText() const;
  bool retryShown() const;
  // The moment a retry mark stays at least is still running.
  bool retryMomentRunning() const { return retryTimer_.isActive(); }
  QProgressBar* progressBar() const { return progress_; }
  QPushButton* startButton() const { return start_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // --- the handlers of the job's reports, run on the dialog's thread ---
  void OnProgress(int kind, int percent);
  void OnModeWait();
  void OnRetry(int kind, int retry);
  void OnFinished(LinkResult result, int value);

  // Start button.
  void Start();
  // OK (button 1, or Enter once a transfer has started) and Cancel (button 2, Esc or
  // the close box) by state.
  void Ok();
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  class Relay;
  void Reset();
  void CancelRequest();
  void EndJob();
  void ShowRetry(bool shown);

  CommSettings settings_;
  std::filesystem::path setFolder_;
  UiPrompts& prompts_;
  JobFactory makeJob_;
  State state_ = kIdle;
  int attempt_ = 0;  // reports of an earlier attempt are ignored
  std::unique_ptr<Relay> relay_;
  std::unique_ptr<CTransferThread> job_;
  ElidedLabel* destination_ = nullptr;
  QLabel* text_ = nullptr;
  QLabel* detail_ = nullptr;  // why the port could not be opened, the folder problem, the rates
  QLabel* kind_ = nullptr;    // the kind being transferred
  QProgressBar* progress_ = nullptr;
  QLabel* retry_ = nullptr;   // "再送中..." beside the bar
  QBasicTimer retryTimer_;    // runs for kRetryShownMs after the last retry
  bool retryPending_ = false; // a retry came and its block has not arrived yet
  QPushButton* start_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace rxt4
