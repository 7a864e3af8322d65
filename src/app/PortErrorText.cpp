#include "PortErrorText.h"

#include <cerrno>
#include <cstring>

#include "UiPrompts.h"

namespace rxt4 {

QString PortOpenDetail(const std::string& port, int systemError) {
  if (systemError == 0) return {};
  QString text = QString::fromStdString(port) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(systemError));
  // On Linux the serial devices belong to the dialout group.
  if (systemError == EACCES || systemError == EPERM) text += QLatin1Char('\n') + Tr(StringId::PortPermissionHint);
  return text;
}

}  // namespace rxt4
