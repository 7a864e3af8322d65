#include "UpdateDlg.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QWindow>

#include "PortAdviceLabel.h"
#include "QueuedRelay.h"
#include "UiPrompts.h"
#include "rxt4/data/FileTexts.h"
#include "rxt4/link/FirmwareImage.h"
#include "rxt4/link/PortAdvice.h"

namespace rxt4 {

// Carries the worker's reports to the dialog's thread (copying the texts), tagged
// with their attempt.
class CUpdateDlg::Relay : public QueuedRelay<CUpdateDlg, UpdateObserver> {
 public:
  Relay(CUpdateDlg* dialog, int attempt) : QueuedRelay(dialog, &CUpdateDlg::attempt_, attempt) {}
  void state(bool updating, int total) override {
    Post([updating, total](CUpdateDlg* d) { d->OnState(updating, total); });
  }
  void progress(std::uint32_t block, std::uint32_t blocks) override {
    Post([block, blocks](CUpdateDlg* d) { d->OnProgress(block, blocks); });
  }
  void versions(const std::string& instrument, const std::string& file) override {
    Post([instrument, file](CUpdateDlg* d) { d->OnVersions(instrument, file); });
  }
  void finished(LinkResult result, int value) override {
    Post([result, value](CUpdateDlg* d) { d->OnFinished(result, value); });
  }
};

CUpdateDlg::CUpdateDlg(CommSettings settings, UiPrompts& prompts, QWidget* parent, JobFactory makeJob)
    : QDialog(parent), settings_(std::move(settings)), prompts_(prompts), makeJob_(std::move(makeJob)) {
  if (!makeJob_) makeJob_ = [](UpdateObserver* observer) { return std::make_unique<CUpdateThread>(observer); };
  setWindowTitle(Tr(StringId::UpdateCaption));
  // The message takes the place of the file row while an update runs: one stack, so
  // the dialog keeps one size in every state.
  stack_ = new QStackedWidget(this);
  auto* fileRow = new QWidget(stack_);
  fileLabel_ = new QLabel(Tr(StringId::UpdateFileLabel), fileRow);
  path_ = new QLineEdit(fileRow);
  path_->setMinimumWidth(320);
  open_ = new QPushButton(Tr(StringId::UpdateOpen), fileRow);
  auto* fileLayout = new QHBoxLayout(fileRow);
  fileLayout->setContentsMargins(0, 0, 0, 0);
  fileLayout->addWidget(fileLabel_);
  fileLayout->addWidget(path_, 1);
  fileLayout->addWidget(open_);
  text_ = new QLabel(stack_);
  text_->setMinimumHeight(40);
  stack_->addWidget(fileRow);
  stack_->addWidget(text_);
  update_ = new QPushButton(Tr(StringId::UpdateStart), this);
  detail_ = new PortAdviceLabel(this);
  detail_->hide();
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  cancel_ = new QPushButton(Tr(StringId::UpdateCancel), this);
  ok_ = new QPushButton(Tr(StringId::ButtonOk), this);
  for (QPushButton* b : {open_, update_, cancel_, ok_}) b->setAutoDefault(false);
  ok_->setDefault(true);  // Enter closes the dialog once OK is shown
  auto* row = new QHBoxLayout;
  row->addWidget(progress_, 1);
  row->addStretch();
  row->addWidget(update_);
  row->addWidget(cancel_);
  row->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  // The dialog always takes its layout's size: after a failure it is as compact as
  // at the start (the port's reason, shown below the buttons, adds its own row).
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(stack_);
  layout->addLayout(row);
  layout->addWidget(detail_);
  connect(open_, &QPushButton::clicked, this, &CUpdateDlg::Browse);
  connect(update_, &QPushButton::clicked, this, &CUpdateDlg::StartUpdate);
  connect(cancel_, &QPushButton::clicked, this, &CUpdateDlg::CancelUpdate);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  ok_->hide();
  cancel_->hide();
  progress_->hide();
}

CUpdateDlg::~CUpdateDlg() { EndJob(); }

QString CUpdateDlg::message() const { return text_->text(); }

QString CUpdateDlg::detail() const { return detail_->text(); }

void CUpdateDlg::EndJob() {
  if (!job_) return;
  job_->DetachObserver();
  job_.reset();  // aborts a running worker and joins it
  relay_.reset();
}

void CUpdateDlg::EnableCloseBox(bool enabled) {
  // Set on the native window directly: setWindowFlags would hide the dialog, which
  // ends its modal run. (A window manager may keep drawing the box; closeEvent then
  // ignores it while busy.)
  Qt::WindowFlags flags = windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  flags.setFlag(Qt::WindowCloseButtonHint, enabled);
  overrideWindowFlags(flags);
  if (QWindow* window = windowHandle()) window->setFlags(flags);
}

void CUpdateDlg::ShowFileSelection(bool shown) {
  stack_->setCurrentIndex(shown ? 0 : 1);
  update_->setVisible(shown);
}

void CUpdateDlg::Browse() {
  const std::optional<QString> file =
      prompts_.ChooseOpenFile(this, DialogFilter(Tr(StringId::ImageFilter)), QString::fromUtf8(filetext::kImageExtension.data(), static_cast<qsizetype>(filetext::kImageExtension.size())));
  if (!file) return;
  // A damaged image is refused as soon as it is chosen, with the check that failed in
  // the words of rxt4 image.
  CFirmwareImage image;
  if (!image.Load(FsPath(*file))) {
    prompts_.Inform(this, Tr(StringId::ImageCheckFailed, {Tr(StringId::InvalidImage), QString::fromStdString(image.FaultText())}),
                    UiPrompts::Icon::None, Tr(StringId::UpdateCaption));
    return;
  }
  path_->setText(*file);
}

void CUpdateDlg::StartUpdate() {
  if (busy_) return;
  EndJob();
  ++attempt_;
  relay_ = std::make_unique<Relay>(this, attempt_);
  job_ = makeJob_(relay_.get());
  if (!job_) return;
  if (!job_->Prepare(FsPath(path_->text()))) {
    EndJob();
    prompts_.Inform(this, Tr(StringId::InvalidImage), UiPrompts::Icon::None, Tr(StringId::UpdateCaption));
    return;
  }
  versions_ = UpdateVersionTexts{};
  steps_ = UpdateProgressSteps{};
  if (!job_->Start(settings_)) {
    EndJob();
    return;
  }
  ShowFileSelection(false);
  text_->clear();
  detail_->clear();
  detail_->hide();
  busy_ = true;
  EnableCloseBox(false);
}

void CUpdateDlg::CancelUpdate() {
  if (job_) job_->Abort();
}

void CUpdateDlg::OnState(bool, int progressTotal) {
  if (progressTotal != 0) {
    text_->setText(Tr(StringId::Updating));
    progress_->setRange(0, progressTotal);
    progress_->setValue(0);
    progress_->show();
    cancel_->hide();
  } else {
    text_->setText(Tr(StringId::UpdateWaitMode));
    cancel_->show();
  }
}

void CUpdateDlg::OnProgress(std::uint32_t block, std::uint32_t) {
  if (steps_.Take(block)) progress_->setValue(progress_->value() + 1);
}

void CUpdateDlg::OnVersions(const std::string& instrument, const std::string& file) { versions_.Take(instrument, file); }

void CUpdateDlg::OnFinished(LinkResult result, int) {
  ++attempt_;  // nothing more from this attempt
  busy_ = false;
  EnableCloseBox(true);
  progress_->hide();
  cancel_->hide();
  if (UpdateSucceeded(result)) {
    text_->setText(QString::fromStdString(UpdateFinalText(result, versions_)));
    ok_->show();
    ok_->setFocus();
  } else {
    prompts_.Inform(this, QString::fromStdString(UpdateFinalText(result, versions_)), UiPrompts::Icon::None,
                    Tr(StringId::UpdateCaption));
    ShowFileSelection(true);
    if (result == LinkResult::PortOpenFailed && job_) {
      detail_->setText(QString::fromStdString(PortOpenDetail(settings_.comPort, job_->openSystemError())));
      detail_->setVisible(!detail_->text().isEmpty());
    }
  }
}

void CUpdateDlg::reject() {
  // No closing while the instrument is being written.
  if (!busy_) QDialog::reject();
}

void CUpdateDlg::closeEvent(QCloseEvent* event) {
  if (busy_) event->ignore();
  else QDialog::closeEvent(event);
}

}  // namespace rxt4
