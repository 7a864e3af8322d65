#pragma once
// The data folders opened last, newest first, for ファイル → 最近使ったフォルダ: at most
// kRecentFolderCount; a folder opened again moves to the front.

#include <QStringList>
#include <string>
#include <vector>

namespace rxt4 {

class RecentFolders {
 public:
  // The folders as the settings file keeps them (file system names).
  void Load(const std::vector<std::string>& names);
  std::vector<std::string> Names() const;

  void Add(const QString& folder);
  void Clear() { folders_.clear(); }
  const QStringList& folders() const { return folders_; }

 private:
  QStringList folders_;
};

}  // namespace rxt4
