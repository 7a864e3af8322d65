#include "Snapshot.h"

#include <QFile>

#include "rxt4/screens/ImageFiles.h"

namespace rxt4 {

QImage SnapshotImage(const QImage& capture) {
  QImage rgb = capture.convertToFormat(QImage::Format_RGB888);
  rgb.setDevicePixelRatio(1.0);
  return rgb;
}

bool WriteSnapshotFile(const QImage& capture, const QString& path, QString* reason) {
  const QImage rgb = SnapshotImage(capture);
  RgbImageView view{rgb.width(), rgb.height(), rgb.constBits(), static_cast<std::size_t>(rgb.bytesPerLine())};
  const std::vector<std::uint8_t> bytes = rgb.isNull() ? std::vector<std::uint8_t>{} : EncodeBitmapFile(view, kSnapshotBitsPerPixel);
  QFile file(path);
  // QFile gives the system's own words for a refusal (permissions, a missing folder, a full disk).
  const bool written = !bytes.empty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
                           static_cast<qint64>(bytes.size()) &&
                       file.flush();
  if (!written && reason != nullptr) *reason = file.errorString();
  return written;
}

}  // namespace rxt4
