#pragma once
// The viewer's questions to the user: message boxes, file dialogs and the folder
// picker. The main window asks through this interface so that tests can answer
// without a modal loop.

#include <QString>
#include <optional>

#include "rxt4/data/Strings.h"

class QWidget;

namespace rxt4 {

class UiPrompts {
 public:
  enum class Icon { None, Information, Warning, Error, Question };

  virtual ~UiPrompts() = default;

  // A message box with an OK button.
  virtual void Inform(QWidget* owner, const QString& text, Icon icon) = 0;
  // A Yes/No message box; true for Yes.
  virtual bool AskYesNo(QWidget* owner, const QString& text) = 0;
  // The folder picker; nothing when cancelled.
  virtual std::optional<QString> ChooseFolder(QWidget* owner, const QString& title, const QString& start,
                                              bool offerNewFolder) = 0;
  // The save-file dialog (asks before overwriting); nothing when cancelled.
  virtual std::optional<QString> ChooseSaveFile(QWidget* owner, const QString& title, const QString& proposed,
                                                const QString& filter, const QString& defaultSuffix) = 0;
};

// The real dialogs, all with the caption "RXT4 ビューア".
class QtUiPrompts : public UiPrompts {
 public:
  void Inform(QWidget* owner, const QString& text, Icon icon) override;
  bool AskYesNo(QWidget* owner, const QString& text) override;
  std::optional<QString> ChooseFolder(QWidget* owner, const QString& title, const QString& start,
                                      bool offerNewFolder) override;
  std::optional<QString> ChooseSaveFile(QWidget* owner, const QString& title, const QString& proposed,
                                        const QString& filter, const QString& defaultSuffix) override;
};

// A UTF-8 text of the string table as a QString.
QString Tr(StringId id);

// A filter of the form "desc|pattern|desc|pattern||" in the file dialog's form.
QString DialogFilter(const QString& pipeFilter);

}  // namespace rxt4
