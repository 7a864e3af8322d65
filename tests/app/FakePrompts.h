#pragma once
// Answers the viewer's questions without a modal loop and records what was asked.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "UiPrompts.h"

namespace rxt4 {

class FakePrompts : public UiPrompts {
 public:
  void Inform(QWidget*, const QString& text, Icon icon, const QString& caption = QString()) override {
    informed << text;
    lastIcon = icon;
    lastCaption = caption;
  }
  bool InformOrSkipRest(QWidget*, const QString& text) override {
    informed << text;
    ++skipOffers;
    return skipRest;
  }
  void InformWithDetails(QWidget*, const QString& text, const QString& detailText, Icon icon) override {
    informed << text;
    details << detailText;
    lastIcon = icon;
  }
  bool AskYesNo(QWidget*, const QString& text, const QString& caption = QString()) override {
    asked << text;
    lastCaption = caption;
    return answers.isEmpty() ? answerYes : answers.takeFirst();
  }
  std::optional<QString> ChooseOpenFile(QWidget*, const QString& filter, const QString& defaultSuffix) override {
    openFilter = filter;
    openSuffix = defaultSuffix;
    return openFile;
  }
  std::optional<QString> ChooseFolder(QWidget*, const QString& title, const QString& start, bool offerNewFolder) override {
    folderTitles << title;
    lastStart = start;
    lastOfferNewFolder = offerNewFolder;
    return folders.isEmpty() ? folder : folders.takeFirst();
  }
  std::optional<QString> ChooseSaveFile(QWidget*, const QString& title, const QString& proposed, const QString& filter,
                                        const QString& defaultSuffix) override {
    saveTitle = title;
    saveProposed = proposed;
    saveFilter = filter;
    saveSuffix = defaultSuffix;
    return saveFile;
  }

  bool answerYes = true;
  QList<bool> answers;  // the answers to AskYesNo in turn; answerYes once they are used up
  bool skipRest = false;  // the answer to InformOrSkipRest
  int skipOffers = 0;
  std::optional<QString> folder;
  QList<std::optional<QString>> folders;  // the folders ChooseFolder gives in turn; folder once they are used up
  std::optional<QString> saveFile;
  std::optional<QString> openFile;
  QString lastCaption, openFilter, openSuffix;
  QStringList informed;
  QStringList details;  // the details of InformWithDetails, in turn
  QStringList asked;
  QStringList folderTitles;
  Icon lastIcon = Icon::None;
  QString lastStart;
  bool lastOfferNewFolder = false;
  QString saveTitle, saveProposed, saveFilter, saveSuffix;
};

}  // namespace rxt4
