#pragma once
// A folder dragged from a file manager onto the main window opens it. Only a drag of
// exactly one local folder is taken; anything else is refused while it is dragged.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace rxt4 {

class FolderDrop : public QObject {
  Q_OBJECT
 public:
  // Makes target take drops; open receives the dropped folder.
  FolderDrop(QWidget* target, std::function<void(const QString&)> open);

  // The one local folder a drag carries; nothing otherwise.
  static std::optional<QString> FolderOf(const QMimeData* data);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QString&)> open_;
};

}  // namespace rxt4
