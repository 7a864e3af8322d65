#include "GuideWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "Retranslate.h"
#include "UiPrompts.h"

namespace rxt4 {
namespace {

constexpr int kGuideWidthPx = 900;
constexpr int kGuideHeightPx = 760;

// A heading as the guide's links name it: its text, lower case, blanks as "-".
QString Slug(const QString& heading) { return heading.trimmed().toLower().replace(QLatin1Char(' '), QLatin1Char('-')); }

}  // namespace

QStringList CGuideWindow::GuideLocations() {
  return {QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/rxt4-viewer/guide.md"),
          QStringLiteral(RXT4_SOURCE_DOCS "/guide.md")};
}

QString CGuideWindow::FindGuide() {
  for (const QString& place : GuideLocations())
    if (QFileInfo(place).isFile()) return QFileInfo(place).canonicalFilePath();
  return {};
}

CGuideWindow::CGuideWindow(const QString& guidePath, QWidget* parent) : QDialog(parent) {
  BindWindowTitle(this, StringId::GuideTitle);
  setAttribute(Qt::WA_DeleteOnClose);
  browser_ = new QTextBrowser(this);
  browser_->setOpenLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, &CGuideWindow::FollowLink);
  browser_->setSource(QUrl::fromLocalFile(guidePath), QTextDocument::MarkdownResource);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(kGuideWidthPx, kGuideHeightPx);
}

void CGuideWindow::FollowLink(const QUrl& link) {
  const QUrl target = browser_->source().resolved(link);
  if (!target.isLocalFile()) {
    QDesktopServices::openUrl(target);
    return;
  }
  if (target.adjusted(QUrl::RemoveFragment) != browser_->source().adjusted(QUrl::RemoveFragment)) {
    if (target.path().endsWith(QLatin1String(".md")))
      browser_->setSource(target.adjusted(QUrl::RemoveFragment), QTextDocument::MarkdownResource);
    else
      QDesktopServices::openUrl(target);
    if (!target.hasFragment()) return;
  }
  // The markdown has no anchors: the heading whose text the link names.
  const QString wanted = Slug(target.fragment(QUrl::FullyDecoded));
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == 0 || Slug(block.text()) != wanted) continue;
    QTextCursor cursor(block);
    browser_->setTextCursor(cursor);
    // Scrolled so that the heading stands at the top.
    browser_->verticalScrollBar()->setValue(browser_->verticalScrollBar()->maximum());
    browser_->ensureCursorVisible();
    return;
  }
}

}  // namespace rxt4
