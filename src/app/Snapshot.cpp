#include "Snapshot.h"

#include <filesystem>

#include "UiPrompts.h"
#include "rxt4/screens/ImageFiles.h"

namespace rxt4 {

QImage SnapshotImage(const QImage& capture) {
  QImage rgb = capture.convertToFormat(QImage::Format_RGB888);
  rgb.setDevicePixelRatio(1.0);
  return rgb;
}

bool WriteSnapshotFile(const QImage& capture, const QString& path) {
  const QImage rgb = SnapshotImage(capture);
  if (rgb.isNull()) return false;
  RgbImageView view{rgb.width(), rgb.height(), rgb.constBits(), static_cast<std::size_t>(rgb.bytesPerLine())};
  return WriteBitmapFile(FsPath(path), view, kSnapshotBitsPerPixel);
}

}  // namespace rxt4
