#include "JobRecordDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>
#include <string>

#include "UiPrompts.h"

namespace rxt4 {
namespace {

// The editors' sizes: wide enough for an address on one line, four lines of findings.
constexpr int kEditorWidthPx = 400;
constexpr int kLineHeightPx = 24;
constexpr int kBoxHeightPx = 72;

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

QWidget* MakeEditor(QWidget* parent, bool multiLine, const std::string& text) {
  QWidget* editor;
  if (multiLine) {
    auto* box = new QPlainTextEdit(parent);
    box->setTabChangesFocus(true);
    box->setFixedHeight(kBoxHeightPx);
    editor = box;
  } else {
    editor = new QLineEdit(parent);
    editor->setFixedHeight(kLineHeightPx);
  }
  editor->setFixedWidth(kEditorWidthPx);
  SetEditorText(editor, FromUtf8(text));
  return editor;
}

QFormLayout* MakeForm(QDialog* dialog) {
  auto* outer = new QVBoxLayout(dialog);
  outer->setSizeConstraint(QLayout::SetFixedSize);  // the dialog keeps the size its rows give
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignTop);
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  outer->addLayout(form);
  return form;
}

void AddButtons(QDialog* dialog) { static_cast<QVBoxLayout*>(dialog->layout())->addWidget(OkCancelButtons(dialog)); }

// Says why a field is refused and puts the cursor in it; false.
bool Refuse(UiPrompts& prompts, QDialog* dialog, QWidget* editor, const std::string& why) {
  prompts.Inform(dialog, FromUtf8(why), UiPrompts::Icon::Warning);
  editor->setFocus();
  return false;
}

// A line edit's text loses the line breaks a paste may bring; a box keeps them.
std::string FieldValue(const QWidget* editor) { return ToUtf8(EditorText(editor)); }

}  // namespace

QString EditorText(const QWidget* editor) {
  if (const auto* line = qobject_cast<const QLineEdit*>(editor)) return line->text();
  if (const auto* box = qobject_cast<const QPlainTextEdit*>(editor)) return box->toPlainText();
  return {};
}

void SetEditorText(QWidget* editor, const QString& text) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setText(text);
  if (auto* box = qobject_cast<QPlainTextEdit*>(editor)) box->setPlainText(text);
}

CJobRecordDlg::CJobRecordDlg(const QString& setName, const JobRecord& record, UiPrompts& prompts, QWidget* parent)
    : QDialog(parent), record_(record), prompts_(prompts) {
  setObjectName(QStringLiteral("jobRecordDialog"));
  setWindowTitle(Tr(StringId::JobDlgTitle, {setName}));
  QFormLayout* form = MakeForm(this);
  for (const JobFieldInfo& f : JobFields()) {
    QWidget* editor = MakeEditor(this, f.multiLine, FieldText(record_, f.field));
    editor->setObjectName(QString::fromLatin1(f.key.data(), static_cast<qsizetype>(f.key.size())));
    if (f.field == JobField::MeasuredAt) static_cast<QLineEdit*>(editor)->setPlaceholderText(QStringLiteral("YYYY-MM-DD HH:MM"));
    editors_[f.field] = editor;
    form->addRow(Tr(f.label), editor);
  }
  AddButtons(this);
}

void CJobRecordDlg::accept() {
  JobRecord entered = record_;
  for (const JobFieldInfo& f : JobFields()) {
    QWidget* editor = editors_.at(f.field);
    const std::string value = f.multiLine ? FieldValue(editor) : ToUtf8(EditorText(editor).trimmed());
    if (std::optional<std::string> why = CheckJobFieldText(f, value)) {
      Refuse(prompts_, this, editor, *why);
      return;
    }
    FieldText(entered, f.field) = value;
  }
  record_ = std::move(entered);
  QDialog::accept();
}

CMeasurementNoteDlg::CMeasurementNoteDlg(const QString& dataName, const MeasurementNote& note, UiPrompts& prompts,
                                         QWidget* parent)
    : QDialog(parent), note_(note), prompts_(prompts) {
  setObjectName(QStringLiteral("noteDialog"));
  setWindowTitle(Tr(StringId::NoteDlgTitle, {dataName}));
  QFormLayout* form = MakeForm(this);
  auto* name = new QLabel(dataName, this);
  name->setFixedWidth(kEditorWidthPx);
  form->addRow(Tr(StringId::NoteDataName), name);
  label_ = static_cast<QLineEdit*>(MakeEditor(this, false, note.label));
  label_->setObjectName(QStringLiteral("label"));
  form->addRow(Tr(StringId::JobLabel), label_);
  remark_ = static_cast<QPlainTextEdit*>(MakeEditor(this, true, note.remark));
  remark_->setObjectName(QStringLiteral("remark"));
  form->addRow(Tr(StringId::JobRemark), remark_);
  AddButtons(this);
}

void CMeasurementNoteDlg::accept() {
  MeasurementNote entered{ToUtf8(label_->text().trimmed()), ToUtf8(remark_->toPlainText())};
  if (std::optional<std::string> why = CheckNoteText(false, entered.label)) {
    Refuse(prompts_, this, label_, *why);
    return;
  }
  if (std::optional<std::string> why = CheckNoteText(true, entered.remark)) {
    Refuse(prompts_, this, remark_, *why);
    return;
  }
  note_ = std::move(entered);
  QDialog::accept();
}

CCompanyDlg::CCompanyDlg(const CompanyRecord& record, UiPrompts& prompts, QWidget* parent)
    : QDialog(parent), record_(record), prompts_(prompts) {
  setObjectName(QStringLiteral("companyDialog"));
  setWindowTitle(Tr(StringId::CompanyDlgTitle));
  QFormLayout* form = MakeForm(this);
  for (const CompanyFieldInfo& f : CompanyFields()) {
    QWidget* editor = MakeEditor(this, f.multiLine, FieldText(record_, f.field));
    editor->setObjectName(QString::fromLatin1(f.key.data(), static_cast<qsizetype>(f.key.size())));
    editors_[f.field] = editor;
    if (f.field != CompanyField::Logo) {
      form->addRow(Tr(f.label), editor);
      continue;
    }
    // The logo: its path, and a button that picks the file.
    auto* browse = new QPushButton(Tr(StringId::CompanyBrowse), this);
    browse->setObjectName(QStringLiteral("browseLogo"));
    editor->setFixedWidth(kEditorWidthPx - 88);
    browse->setFixedSize(80, kLineHeightPx);
    auto* row = new QHBoxLayout;
    row->addWidget(editor);
    row->addWidget(browse);
    form->addRow(Tr(f.label), row);
    connect(browse, &QPushButton::clicked, this, [this, editor] {
      if (std::optional<QString> file =
              prompts_.ChooseOpenFile(this, DialogFilter(Tr(StringId::CompanyLogoFilter)), QStringLiteral("png")))
        SetEditorText(editor, *file);
    });
  }
  AddButtons(this);
}

void CCompanyDlg::accept() {
  CompanyRecord entered = record_;
  for (const CompanyFieldInfo& f : CompanyFields()) {
    QWidget* editor = editors_.at(f.field);
    std::string value = f.multiLine ? FieldValue(editor) : ToUtf8(EditorText(editor).trimmed());
    if (std::optional<std::string> why = CheckCompanyFieldText(f, value)) {
      Refuse(prompts_, this, editor, *why);
      return;
    }
    FieldText(entered, f.field) = value;
  }
  record_ = std::move(entered);
  QDialog::accept();
}

}  // namespace rxt4
