#pragma once
// The job record (案件情報) of a set folder, a measurement's label and remark, and the
// company record (会社情報) as forms: one row per field, a line for a one-line field
// and a box for one that takes several lines. OK checks every field as the record
// file does and names the first it refuses (the dialog stays open); the caller writes
// the record. Fixed sizes: the forms look the same whatever the locale.

#include <QDialog>
#include <map>

#include "rxt4/data/JobRecord.h"

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace rxt4 {

class UiPrompts;

class CJobRecordDlg : public QDialog {
  Q_OBJECT
 public:
  CJobRecordDlg(const QString& setName, const JobRecord& record, UiPrompts& prompts, QWidget* parent = nullptr);
  // The record with the fields as entered (its labels and remarks as given).
  const JobRecord& record() const { return record_; }
  // The editor of a field: a QLineEdit or a QPlainTextEdit.
  QWidget* editor(JobField field) const { return editors_.at(field); }
  void accept() override;

 private:
  JobRecord record_;
  UiPrompts& prompts_;
  std::map<JobField, QWidget*> editors_;
};

class CMeasurementNoteDlg : public QDialog {
  Q_OBJECT
 public:
  CMeasurementNoteDlg(const QString& dataName, const MeasurementNote& note, UiPrompts& prompts,
                      QWidget* parent = nullptr);
  const MeasurementNote& note() const { return note_; }
  QLineEdit* labelEdit() const { return label_; }
  QPlainTextEdit* remarkEdit() const { return remark_; }
  void accept() override;

 private:
  MeasurementNote note_;
  UiPrompts& prompts_;
  QLineEdit* label_ = nullptr;
  QPlainTextEdit* remark_ = nullptr;
};

class CCompanyDlg : public QDialog {
  Q_OBJECT
 public:
  CCompanyDlg(const CompanyRecord& record, UiPrompts& prompts, QWidget* parent = nullptr);
  const CompanyRecord& record() const { return record_; }
  QWidget* editor(CompanyField field) const { return editors_.at(field); }
  void accept() override;

 private:
  CompanyRecord record_;
  UiPrompts& prompts_;
  std::map<CompanyField, QWidget*> editors_;
};

// The text of a field's editor (a QLineEdit or a QPlainTextEdit), and setting it.
QString EditorText(const QWidget* editor);
void SetEditorText(QWidget* editor, const QString& text);

}  // namespace rxt4
