#pragma once
// The viewer's questions to the user: message boxes, file dialogs and the folder
// picker. The main window asks through this interface so that tests can answer
// without a modal loop.

#include <QString>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>

#include "rxt4/data/Strings.h"

class QDialog;
class QDialogButtonBox;
class QProgressBar;
class QPushButton;
class QFileDialog;
class QMessageBox;
class QWidget;

namespace rxt4 {

class UiPrompts {
 public:
  enum class Icon { None, Information, Warning, Error, Question };

  virtual ~UiPrompts() = default;

  // A message box with an OK button; an empty caption means "RXT4 ビューア".
  virtual void Inform(QWidget* owner, const QString& text, Icon icon, const QString& caption = QString()) = 0;
  // A message box of one of a series (a load's messages after the first): OK, and
  // beside it "以降のメッセージを表示しない", which skips the rest of the series; true
  // when that was chosen. The caption is "RXT4 ビューア".
  virtual bool InformOrSkipRest(QWidget* owner, const QString& text) {
    Inform(owner, text, Icon::None);
    return false;
  }
  // A message box with an OK button and, behind "詳細を表示...", details (several
  // lines); the caption is "RXT4 ビューア".
  virtual void InformWithDetails(QWidget* owner, const QString& text, const QString& details, Icon icon) {
    Inform(owner, text + QStringLiteral("\n\n") + details, icon);
  }
  // A Yes/No message box; true for Yes. An empty caption means "RXT4 ビューア".
  virtual bool AskYesNo(QWidget* owner, const QString& text, const QString& caption = QString()) = 0;
  // The folder picker; nothing when cancelled.
  virtual std::optional<QString> ChooseFolder(QWidget* owner, const QString& title, const QString& start,
                                              bool offerNewFolder) = 0;
  // The save-file dialog (asks before overwriting); nothing when cancelled.
  virtual std::optional<QString> ChooseSaveFile(QWidget* owner, const QString& title, const QString& proposed,
                                                const QString& filter, const QString& defaultSuffix) = 0;
  // The open-file dialog for an existing file; nothing when cancelled.
  virtual std::optional<QString> ChooseOpenFile(QWidget* owner, const QString& filter, const QString& defaultSuffix) = 0;
};

// The real dialogs.
class QtUiPrompts : public UiPrompts {
 public:
  void Inform(QWidget* owner, const QString& text, Icon icon, const QString& caption = QString()) override;
  bool InformOrSkipRest(QWidget* owner, const QString& text) override;
  void InformWithDetails(QWidget* owner, const QString& text, const QString& details, Icon icon) override;
  bool AskYesNo(QWidget* owner, const QString& text, const QString& caption = QString()) override;
  std::optional<QString> ChooseFolder(QWidget* owner, const QString& title, const QString& start,
                                      bool offerNewFolder) override;
  std::optional<QString> ChooseSaveFile(QWidget* owner, const QString& title, const QString& proposed,
                                        const QString& filter, const QString& defaultSuffix) override;
  std::optional<QString> ChooseOpenFile(QWidget* owner, const QString& filter, const QString& defaultSuffix) override;
};

// The message box of Inform (OK) or AskYesNo (Yes and No), built but not shown. Only
// the icon asked for is shown: the questions carry none.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text, UiPrompts::Icon icon,
                                            const QString& caption, bool yesNo);
// The folder picker of ChooseFolder, built but not shown: Qt's own dialog, whose
// new-folder button is hidden unless offered.
std::unique_ptr<QFileDialog> MakeFolderDialog(QWidget* owner, const QString& title, const QString& start,
                                              bool offerNewFolder);

// Widens the date column of a file dialog's detail view (and the dialog) so that the
// date and time of the last change are shown whole.
void GiveDateColumnRoom(QFileDialog& dialog);

// The "OK" (default) and "ｷｬﾝｾﾙ" buttons of a settings dialog, wired to its accept
// and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// The layout of a dialog that waits on a job: text over a bar, busy until the first
// report, beside "ｷｬﾝｾﾙ", which rejects the dialog.
struct ProgressRow {
  QProgressBar* progress;
  QPushButton* cancel;
};
ProgressRow LayOutProgress(QDialog* dialog, QWidget* text);

// A UTF-8 text of the string table as a QString.
QString Tr(StringId id);
// The same with its placeholders %1 .. %9 filled in by the values (FillIn).
QString Tr(StringId id, std::initializer_list<QString> values);

// A file name as the file system takes it (the platform's encoding of names).
std::filesystem::path FsPath(const QString& name);

// A filter of the form "desc|pattern|desc|pattern||" in the file dialog's form.
QString DialogFilter(const QString& pipeFilter);

}  // namespace rxt4
