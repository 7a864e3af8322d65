#pragma once
// QueuedRelay: the base of a dialog's relay, the observer a worker thread reports to.
// Each report is queued onto the dialog's (user-interface) thread and reaches the
// dialog there only while it exists and, for a dialog that runs attempts, only while
// the attempt that made the relay is still the dialog's current one.

#include <QMetaObject>
#include <QPointer>

namespace rxt4 {

template <class Dialog, class Observer>
class QueuedRelay : public Observer {
 public:
  // Every report reaches the dialog while it exists.
  explicit QueuedRelay(Dialog* dialog) : dialog_(dialog) {}
  // Reports reach the dialog only while its counter still holds attempt: a report of
  // an earlier attempt (after a cancel, or from a finished worker) is dropped.
  QueuedRelay(Dialog* dialog, int Dialog::*counter, int attempt)
      : dialog_(dialog), counter_(counter), attempt_(attempt) {}

 protected:
  // Runs call(dialog) on the dialog's thread, later.
  template <class Call>
  void Post(Call call) {
    QMetaObject::invokeMethod(
        dialog_,
        [dialog = QPointer<Dialog>(dialog_), counter = counter_, attempt = attempt_, call] {
          if (dialog && (counter == nullptr || dialog.data()->*counter == attempt)) call(dialog.data());
        },
        Qt::QueuedConnection);
  }

 private:
  Dialog* dialog_;
  int Dialog::*counter_ = nullptr;
  int attempt_ = 0;
};

}  // namespace rxt4
