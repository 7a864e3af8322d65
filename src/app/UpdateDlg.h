#pragma once
// CUpdateDlg: the firmware update dialog. The user picks an image file; UPDATE loads
// and verifies it and starts a CUpdateThread; the dialog shows the waiting message,
// the upload's progress and, at the end, the old and new versions.

#include <QDialog>
#include <functional>
#include <memory>

#include "rxt4/link/CommSettings.h"
#include "rxt4/link/UpdateText.h"
#include "rxt4/link/UpdateThread.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace rxt4 {

class UiPrompts;

class CUpdateDlg : public QDialog {
  Q_OBJECT
 public:
  // Makes the job of one attempt; the default runs on the serial port of the settings.
  using JobFactory = std::function<std::unique_ptr<CUpdateThread>(UpdateObserver*)>;

  CUpdateDlg(CommSettings settings, UiPrompts& prompts, QWidget* parent = nullptr, JobFactory makeJob = {});
  ~CUpdateDlg() override;

  bool busy() const { return busy_; }
  QString message() const;
  // The reason a port could not be opened (empty otherwise).
  QString detail() const;
  QLineEdit* pathEdit() const { return path_; }
  QProgressBar* progressBar() const { return progress_; }
  QPushButton* updateButton() const { return update_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* okButton() const { return ok_; }

  // --- buttons ---
  void Browse();
  void StartUpdate();
  void CancelUpdate();

  // --- the handlers of the job's reports, run on the dialog's thread ---
  void OnState(bool updating, int progressTotal);
  void OnProgress(std::uint32_t block, std::uint32_t blocks);
  void OnVersions(const std::string& instrument, const std::string& file);
  void OnFinished(LinkResult result, int value);

  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  class Relay;
  void ShowFileSelection(bool shown);
  void EnableCloseBox(bool enabled);
  void EndJob();

  CommSettings settings_;
  UiPrompts& prompts_;
  JobFactory makeJob_;
  bool busy_ = false;
  int attempt_ = 0;
  UpdateVersionTexts versions_;
  UpdateProgressSteps steps_;
  std::unique_ptr<Relay> relay_;
  std::unique_ptr<CUpdateThread> job_;
  QStackedWidget* stack_ = nullptr;  // the file row, or the message in its place
  QLabel* fileLabel_ = nullptr;
  QLineEdit* path_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* update_ = nullptr;
  QLabel* text_ = nullptr;
  QLabel* detail_ = nullptr;  // why the port could not be opened
  QProgressBar* progress_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace rxt4
