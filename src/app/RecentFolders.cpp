#include "RecentFolders.h"

#include <QDir>
#include <QFile>

#include "rxt4/link/SettingsFile.h"

namespace rxt4 {

void RecentFolders::Load(const std::vector<std::string>& names) {
  folders_.clear();
  for (const std::string& name : names) {
    const QString folder = QDir::cleanPath(QFile::decodeName(QByteArray::fromStdString(name)));
    if (!folder.isEmpty() && !folders_.contains(folder) && folders_.size() < kRecentFolderCount) folders_.append(folder);
  }
}

std::vector<std::string> RecentFolders::Names() const {
  std::vector<std::string> names;
  for (const QString& folder : folders_) names.push_back(QFile::encodeName(folder).toStdString());
  return names;
}

void RecentFolders::Add(const QString& folder) {
  const QString clean = QDir::cleanPath(folder);
  if (clean.isEmpty()) return;
  folders_.removeAll(clean);
  folders_.prepend(clean);
  while (folders_.size() > kRecentFolderCount) folders_.removeLast();
}

}  // namespace rxt4
