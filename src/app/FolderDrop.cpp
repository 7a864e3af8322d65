#include "FolderDrop.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace rxt4 {

FolderDrop::FolderDrop(QWidget* target, std::function<void(const QString&)> open)
    : QObject(target), open_(std::move(open)) {
  target->setAcceptDrops(true);
  target->installEventFilter(this);
}

std::optional<QString> FolderDrop::FolderOf(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return std::nullopt;
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return std::nullopt;
  const QFileInfo folder(url.toLocalFile());
  if (!folder.isDir()) return std::nullopt;
  // As the folder picker gives a folder: absolute, without a trailing separator.
  return QDir::cleanPath(folder.absoluteFilePath());
}

bool FolderDrop::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      if (FolderOf(drag->mimeData())) drag->acceptProposedAction();
      else drag->ignore();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::optional<QString> folder = FolderOf(drop->mimeData());
      if (!folder) return false;
      drop->acceptProposedAction();
      // Opened once the drop has ended: the questions a folder may bring must not hold
      // the file manager's drag.
      QMetaObject::invokeMethod(this, [this, path = *folder] { open_(path); }, Qt::QueuedConnection);
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace rxt4
