#pragma once
// ヘルプ → ユーザーガイド: the installed user guide (guide.md with its pictures) in a
// window of its own. A link to a heading of the guide moves to that heading; a link
// to another page of the documentation opens that page in the same window.

#include <QDialog>
#include <QString>

class QTextBrowser;
class QUrl;

namespace rxt4 {

class CGuideWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CGuideWindow(const QString& guidePath, QWidget* parent = nullptr);

  // The installed guide: beside the program in ../share/doc/rxt4-viewer (the package,
  // or an installation under any prefix), else in the source tree the program was
  // built from. Empty when neither is there.
  static QString FindGuide();
  // Where FindGuide looks, in its order (for the message when it finds nothing).
  static QStringList GuideLocations();

  QTextBrowser* browser() const { return browser_; }

 private:
  void FollowLink(const QUrl& link);

  QTextBrowser* browser_ = nullptr;
};

}  // namespace rxt4
