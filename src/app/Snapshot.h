#pragma once
// The screen snapshot: the screen side of the main window as an RGB image, and the
// bitmap file written from it.

#include <QImage>
#include <QString>

namespace rxt4 {

// Bits per pixel of the bitmap file: the depth of the display's pixels.
inline constexpr int kSnapshotBitsPerPixel = 32;

// The capture as 8-bit RGB, one device pixel per image pixel.
QImage SnapshotImage(const QImage& capture);

// Writes the capture as a bitmap file (32 bits per pixel, rows bottom-up, no colour
// table); false with the system's reason in *reason when it could not be written.
bool WriteSnapshotFile(const QImage& capture, const QString& path, QString* reason = nullptr);

}  // namespace rxt4
