#include "Snapshot.h"

#include "UiPrompts.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/Strings.h"
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
  if (bytes.empty()) return false;
  // Written staged, so a full disk or a kill on the way leaves an earlier file of the
  // name as it was; the reason is the system's, in words.
  StagedFile file(FsPath(path));
  const bool written = file.Write(bytes.data(), bytes.size()) && file.Commit();
  if (!written && reason != nullptr) *reason = QString::fromStdString(ReasonText(file.error()));
  return written;
}

}  // namespace rxt4
