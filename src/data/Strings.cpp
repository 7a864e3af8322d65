#include "rxt4/data/Strings.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <unordered_map>
#include <utility>

#include "rxt4/data/Sjis.h"

namespace rxt4 {
namespace {

struct Entry {
  StringId id;
  std::string_view text;  // Japanese
  std::string_view en{};  // English; empty for the instrument's own words (Japanese is shown)
};

// The texts, keyed by their ids: one line each, the Japanese then the English, with
// the same placeholders %1 .. %9. The instrument's own words have no English.
constexpr Entry kTable[] = {
    {StringId::ConfirmExit, "RXT4 ビューアを終了します\nよろしいですか？", "RXT4 Viewer will close.\nAre you sure?"},
    {StringId::SecondInstance, "多重起動は禁止されています", "RXT4 Viewer is already running."},
    {StringId::FolderWarning, "RXT4以外のフォルダを選択した場合\n正常にデータが読み込めない可能性があります。\nよろしいですか？", "This folder is not an RXT4 folder:\nits data may not be read correctly.\nContinue?"},
    {StringId::FolderBrowserTitle, "フォルダ選択", "Choose a folder"},
    {StringId::ParityNone, "なし", "None"},
    {StringId::ParityEven, "偶数", "Even"},
    {StringId::ParityOdd, "奇数", "Odd"},
    {StringId::StopBitsOne, "1   ビット", "1 bit"},
    {StringId::StopBitsOneHalf, "1.5 ビット", "1.5 bits"},
    {StringId::StopBitsTwo, "2   ビット", "2 bits"},
    {StringId::FlowNone, "なし", "None"},
    {StringId::FlowHardware, "ハードウェア", "Hardware"},
    {StringId::FlowXonXoff, "Xon / Xoff", "Xon / Xoff"},
    {StringId::TransferConnecting, "RXT4との接続確認を行います。", "Checking the connection to the RXT4."},
    {StringId::TransferNoInstrument, "RXT4との接続が確認できません。", "The RXT4 does not answer."},
    {StringId::TransferRunning, "データ転送中", "Downloading"},
    {StringId::LinkFailed, "通信に失敗しました。\nRXT4との接続を確認してください。", "The link failed.\nCheck the connection to the RXT4."},
    {StringId::TransferDone, "データ転送が完了しました。", "The download is complete."},
    {StringId::RootLevel, "レベル測定データ", "Level measurements"},
    {StringId::RootBer, "BER測定データ", "BER measurements"},
    {StringId::RootSky, "スカパー測定データ", "SKY measurements"},
    {StringId::RootConstellation, "コンスタレーションデータ", "Constellations"},
    {StringId::RootMulti, "多チャンネル測定データ", "Multi-channel measurements"},
    {StringId::RootSpectrum, "スペクトラムデータ", "Spectra"},
    {StringId::RootProfile, "遅延プロファイルデータ", "Delay profiles"},
    {StringId::BitmapFilter, "ビットマップ(*.bmp)|*.bmp|すべて (*.*)|*.*||", "Bitmap (*.bmp)|*.bmp|All files (*.*)|*.*||"},
    {StringId::InvalidImage, "指定したファイルは有効なアップデート用ファイルではありません。\nフォルダ・ファイルを選択しなおしてください。", "This file is not a valid update file.\nChoose another folder or file."},
    // The instrument's own words, drawn on its screens and matched in its files: Japanese only.
    {StringId::ScreenTerrestrial, "地上デジタル"},
    {StringId::ScreenOneSeg, "ワンセグ"},
    {StringId::ScreenBs, "BS"},
    {StringId::ScreenE2Sky, "ｅ２ｂｙスカパー！"},
    {StringId::ScreenVuCatv, "ＶＵ・ＣＡＴＶ"},
    {StringId::ScreenOtherSatellite, "その他衛星"},
    {StringId::ScreenCatvUp, "ＣＡＴＶ上り"},
    {StringId::ScreenSkyPerfect, "スカイパーフェクトＴＶ！"},
    {StringId::ModulationLabel, "変調方式"},
    {StringId::Analog, "Analog"},
    {StringId::AnalogKana, "ｱﾅﾛｸﾞ"},
    {StringId::SatNsat110, "N-SAT110"},
    {StringId::SatJcsat3a, "JCSAT-3A"},
    {StringId::SatJcsat4a, "JCSAT-4A"},
    {StringId::SatBs, "BS"},
    {StringId::LayerLabel, "階層"},
    {StringId::ConverterLabel, "ｺﾝﾊﾞｰﾀｰ"},
    {StringId::MarkerLabel, "マーカー"},
    {StringId::Updating, "アップデート中。\nUSBケーブルを抜かないでください。", "Updating.\nDo not unplug the USB cable."},
    {StringId::UpdateDone, "Ver.%1 から Ver.%2 にアップデートが完了しました。", "Updated from Ver.%1 to Ver.%2."},
    {StringId::UpdateWaitMode, "リモート更新モードで接続します。\nRXT4 を更新モードで起動してください。", "Connecting in remote update mode.\nStart the RXT4 in update mode."},
    {StringId::UpdateCaption, "アップデート", "Update"},
    {StringId::TransferCancelled, "データ転送を中止しました。", "The download was stopped."},
    {StringId::TransferConfirmCancel, "データ転送を中止します。\nよろしいですか？", "Stop the download?"},
    {StringId::TransferCaption, "データ転送", "Download"},
    {StringId::ImageFilter, "firm image(*.img)|*.img|すべて(*.*)|*.*||", "Firmware image (*.img)|*.img|All files (*.*)|*.*||"},
    {StringId::UnitDbMicroVolt, "dBμV", "dBμV"},
    {StringId::TransferSetMode, "通信に成功しました。\nRXT4をデータ転送モードに設定して下さい。", "The RXT4 answers.\nPut the RXT4 into data transfer mode."},
    {StringId::AppCaption, "RXT4 ビューア", "RXT4 Viewer"},
    {StringId::TransferNotSaved, "データを保存できませんでした。\n%1\n保存先のフォルダを確認してください。", "The data could not be saved.\n%1\nCheck the destination folder."},
    {StringId::CountWarning, "%1 のデータ数が記録情報と異なります。\nデータが正常に表示できない可能性があります。\nCSVファイルを確認してください。", "%1: the number of rows differs from the count file.\nThe data may not be shown correctly.\nCheck the CSV file."},
    {StringId::AboutVersion, "RXT4 ビューア Version %1", "RXT4 Viewer version %1"},
    {StringId::UpdateCancelled, "アップデートを中止しました。", "The update was stopped."},
    {StringId::FolderNotFound, "%1\nフォルダが見つかりません。", "%1\nThe folder does not exist."},
    {StringId::SnapshotNotSaved, "%1\n画面を保存できませんでした。\n%2", "%1\nThe screen could not be saved.\n%2"},
    {StringId::AboutCaption, "RXT4 ビューアのﾊﾞｰｼﾞｮﾝ情報", "About RXT4 Viewer"},
    {StringId::MessageOptionText, "[RXT4]以外のフォルダを選択したときに警告を表示する。", "Warn when a folder other than an RXT4 folder is chosen."},
    {StringId::NotRegularFile, "通常のファイルではありません", "Not a regular file"},
    {StringId::SkipLoadMessages, "以降のメッセージを表示しない", "Do not show further messages"},
    {StringId::LoadingFolder, "データフォルダを読み込んでいます...", "Reading the data folder..."},
    {StringId::TransferFolderUnwritable, "保存先のフォルダに書き込めません: %1（%2）", "Cannot write into the destination folder: %1 (%2)"},
    {StringId::TransferSaveFailed, "データを保存できませんでした。", "The data could not be saved."},
    {StringId::TransferFolderBusy, "保存先のフォルダには別のデータ転送が書き込んでいます: %1", "Another download is writing into the destination folder: %1"},
    {StringId::FolderUnreadable, "フォルダを読み込めません: %1（%2）", "Cannot read the folder: %1 (%2)"},
    {StringId::CountFileInvalid, "%1 の記録情報が正しくありません。\nこのフォルダのデータは表示されません。", "%1: the count file is not valid.\nThe data of this folder is not shown."},
    {StringId::MenuFile, "ファイル(&F)", "&File"},
    {StringId::MenuFolder, "フォルダ選択(&O)\tCTRL+O", "&Open folder\tCTRL+O"},
    {StringId::MenuSave, "画面を保存(&S) \tCTRL+S", "&Save screen\tCTRL+S"},
    {StringId::MenuExit, "終了(&X)\tALT+F4", "E&xit\tALT+F4"},
    {StringId::MenuEdit, "編集(&E)", "&Edit"},
    {StringId::MenuCopy, "画面をコピー(&C)\tCTRL+C", "&Copy screen\tCTRL+C"},
    {StringId::MenuOption, "オプション(&O)", "&Options"},
    {StringId::MenuMessage, "メッセージ(&M)", "&Messages"},
    {StringId::MenuCommSettings, "通信設定(&C)", "&Link settings"},
    {StringId::MenuComm, "通信(&C)", "&Link"},
    {StringId::MenuTransfer, "データ転送(&T)", "&Download"},
    {StringId::MenuUpdate, "アップデート(&U)", "&Update firmware"},
    {StringId::MenuHelp, "ヘルプ(&H)", "&Help"},
    {StringId::MenuAbout, "このソフトについて(&H)", "&About"},
    {StringId::TipSave, "表示画面をビットマップに保存します", "Save the screen as a bitmap"},
    {StringId::TipCopy, "表示画面をクリップボードにコピーします", "Copy the screen to the clipboard"},
    {StringId::TipFolder, "フォルダを選択します", "Choose a folder"},
    {StringId::TipExit, "ソフトウェアを終了します", "Close the program"},
    {StringId::TipShift, "キーの機能を変更します", "Change what the keys do"},
    {StringId::TipEnter, "決定", "Enter"},
    {StringId::TipUp, "衛星・バンド↑", "Satellite / band ↑"},
    {StringId::TipRight, "ch →", "ch →"},
    {StringId::TipLeft, "ch ←", "ch ←"},
    {StringId::TipDown, "衛星・バンド↓", "Satellite / band ↓"},
    {StringId::LabelDataNo, "データNo.", "Data No."},
    {StringId::LabelDataName, "データ名", "Data name"},
    {StringId::LabelFolderName, "フォルダ名", "Folder"},
    {StringId::ButtonExit, "終了", "Exit"},
    {StringId::ButtonFolder, "フォルダを選択する", "Choose folder"},
    {StringId::ButtonSave, "ファイルへ保存", "Save to file"},
    {StringId::ButtonCopy, "クリップボードへコピー", "Copy to clipboard"},
    {StringId::ButtonShift, "シフト", "Shift"},
    {StringId::ButtonEnter, "決定", "Enter"},
    {StringId::SaveDialogTitle, "画面を保存", "Save screen"},
    {StringId::CommDialogTitle, "通信設定", "Link settings"},
    {StringId::CommLabelPort, "COM", "Port"},
    {StringId::CommLabelSpeed, "通信速度", "Speed"},
    {StringId::CommLabelDataSize, "データサイズ", "Data bits"},
    {StringId::CommLabelParity, "パリティ", "Parity"},
    {StringId::CommLabelStopBits, "ストップビット", "Stop bits"},
    {StringId::CommLabelFlow, "フロー制御", "Flow control"},
    {StringId::DataSize7, "7 ビット", "7 bits"},
    {StringId::DataSize8, "8 ビット", "8 bits"},
    {StringId::ButtonOk, "OK", "OK"},
    {StringId::ButtonCancel, "ｷｬﾝｾﾙ", "Cancel"},
    {StringId::MessageOptionTitle, "メッセージ", "Messages"},
    {StringId::MenuView, "表示(&V)", "&View"},
    {StringId::MenuZoom1, "等倍(&1)", "Actual size (&1)"},
    {StringId::MenuZoom2, "2倍(&2)", "Double size (&2)"},
    {StringId::MenuZoom3, "3倍(&3)", "Triple size (&3)"},
    {StringId::UpdateFileLabel, "ｱｯﾌﾟﾃﾞｰﾄﾌｧｲﾙ", "Update file"},
    {StringId::UpdateOpen, "開く", "Open"},
    {StringId::UpdateStart, "UPDATE", "UPDATE"},
    {StringId::UpdateCancel, "キャンセル", "Cancel"},
    {StringId::ReportTitle, "測定レポート", "Measurement report"},
    {StringId::ReportDataFolder, "データフォルダ", "Data folder"},
    {StringId::ReportDate, "作成日", "Date"},
    {StringId::ReportSetFolders, "データセット", "Data sets"},
    {StringId::ReportCounts, "種類別の測定数", "Measurements by kind"},
    {StringId::ReportTotal, "合計", "Total"},
    {StringId::ReportCountUnit, "%1 件", "%1"},
    {StringId::ReportDateFormat, "%1年%2月%3日", "%1-%2-%3"},
    {StringId::MenuReport, "レポートを作成(&R)...", "&Report..."},
    {StringId::MenuExport, "エクスポート(&E)...", "&Export..."},
    {StringId::ReportFilter, "PDF ファイル (*.pdf)|*.pdf||", "PDF file (*.pdf)|*.pdf||"},
    {StringId::ExportFilter, "SQLite データベース (*.db)|*.db|Excel ブック (*.xlsx)|*.xlsx|CSV ファイル (*.csv)|*.csv||", "SQLite database (*.db)|*.db|Excel workbook (*.xlsx)|*.xlsx|CSV files (*.csv)|*.csv||"},
    {StringId::ReportRunning, "レポートを作成しています...", "Writing the report..."},
    {StringId::ExportRunning, "エクスポートしています...", "Exporting..."},
    {StringId::ReportDone, "レポートを作成しました。\n%1", "The report is written.\n%1"},
    {StringId::ExportDone, "エクスポートが完了しました。\n%1", "The export is complete.\n%1"},
    {StringId::ReportFailed, "レポートを作成できませんでした。\n%1", "The report could not be written.\n%1"},
    {StringId::ExportFailed, "エクスポートできませんでした。\n%1", "The export failed.\n%1"},
    {StringId::ReportNothing, "測定データがありません。\nデータフォルダを選択してください。", "There are no measurements.\nChoose a data folder."},
    {StringId::ReportWarnings, "警告が %1 件ありました。", "%1 warnings."},
    {StringId::ReportDialogTitle, "レポートを作成", "Report"},
    {StringId::ExportDialogTitle, "エクスポート", "Export"},
    {StringId::TransferOverwrite, "このフォルダには既にデータがあります。上書きしますか？", "This folder already holds measurements. Overwrite them?"},
    {StringId::TransferNewSetFolder, "データフォルダ「%1」の中に新しいフォルダ「%2」を作成して保存しますか？", "Save into a new folder \"%2\" in the data folder \"%1\"?"},
    {StringId::OpenDownloaded, "ダウンロードしたデータを開きますか？", "Open the downloaded data?"},
    {StringId::TransferRetrying, "再送中...", "Asking again..."},
    {StringId::TransferDestination, "保存先: %1", "Saving to: %1"},
    {StringId::TransferKindStep, "%1 (%2/%3)", "%1 (%2/%3)"},
    {StringId::TransferRates, "通信速度が一致しません（PC: %1 bps、RXT4: %2 bps）", "The speeds differ (PC: %1 bps, RXT4: %2 bps)"},
    {StringId::PortAdvicePermission, "このポートを使う権限がありません。RXT4 を接続したまま「rxt4 udev-rule ポート名 | sudo tee /etc/udev/rules.d/70-rxt4.rules」でルールを入れてから RXT4 を接続し直すか、ユーザーを dialout グループに加えて（sudo usermod -aG dialout $USER）ログインし直してください。", "You may not use this port. With the RXT4 connected, install a rule with \"rxt4 udev-rule PORT | sudo tee /etc/udev/rules.d/70-rxt4.rules\" and connect the RXT4 again, or add yourself to the dialout group (sudo usermod -aG dialout $USER) and log in again."},
    {StringId::PortAdviceBusy, "このポートは他のプログラムが使用中です。そのプログラムを終了してください。RXT4 を接続した直後は ModemManager が数秒間ポートを調べます。少し待つか、rxt4 udev-rule のルールで ModemManager から外してください。", "Another program is using this port. Close that program. Right after the RXT4 is connected, ModemManager probes the port for a few seconds: wait a little, or keep ModemManager away with the rule of rxt4 udev-rule."},
    {StringId::PortAdviceMissing, "このポートは見つかりません。ケーブルと RXT4 の電源を確かめ、通信設定でポートを選び直してください。", "This port does not exist. Check the cable and that the RXT4 is on, then choose the port again in the link settings."},
    {StringId::PortAdviceInvalid, "このポートはシリアルポートとして使えないか、この通信速度に対応していません。通信設定を確かめてください。", "This port is no serial port or does not take this speed. Check the link settings."},
    {StringId::MenuRecentFolders, "最近使ったフォルダ(&R)", "&Recent folders"},
    {StringId::MenuGuide, "ユーザーガイド(&G)\tF1", "User &guide\tF1"},
    {StringId::GuideTitle, "RXT4 ビューア ユーザーガイド", "RXT4 Viewer user guide"},
    {StringId::GuideNotFound, "ユーザーガイドが見つかりません。\n%1", "The user guide is not found.\n%1"},
    {StringId::AboutLicence, "このソフトウェアは MIT ライセンスで提供されます。", "This software is provided under the MIT licence."},
    {StringId::SetFolderChosen, "選択したフォルダ「%1」は、種類のフォルダ（LEVEL、BER など）を直接含むセットフォルダです。\n一つ上のフォルダ「%2」をデータフォルダとして開きますか？", "The folder \"%1\" holds kind folders (LEVEL, BER, ...): it is a set folder.\nOpen the folder above it, \"%2\", as the data folder?"},
    {StringId::ReportWarningList, "警告の内容:", "Warnings:"},
    {StringId::ImageCheckFailed, "%1\n%2", "%1\n%2"},
    {StringId::RecentFoldersClear, "一覧を消去(&C)", "&Clear the list"},
    {StringId::VerdictPass, "合格", "Pass"},
    {StringId::VerdictCaution, "注意", "Caution"},
    {StringId::VerdictFail, "不合格", "Fail"},
    {StringId::VerdictNone, "判定なし", "Not judged"},
    {StringId::ClassTerrestrial, "地上デジタル", "Terrestrial digital"},
    {StringId::ClassOneSeg, "ワンセグ", "One-seg"},
    {StringId::ClassBs, "BS", "BS"},
    {StringId::ClassCs110, "110度CS", "110° CS"},
    {StringId::ClassOtherCs, "その他の通信衛星", "Other satellites"},
    {StringId::ClassCable, "ケーブル (QAM)", "Cable (QAM)"},
    {StringId::ClassAnalogue, "アナログ", "Analogue"},
    {StringId::ClassUnplaced, "区分不明", "Class unknown"},
    {StringId::ReadingLevel, "レベル", "Level"},
    {StringId::ReadingCn, "C/N", "C/N"},
    {StringId::ReadingMer, "MER", "MER"},
    {StringId::ReadingBer, "BER", "BER"},
    {StringId::ValueNoMeasurement, "測定なし", "Not measured"},
    {StringId::ValueBelowRange, "測定範囲未満", "Below range"},
    {StringId::ValueAboveRange, "測定範囲超過", "Above range"},
    {StringId::ReasonNoLimit, "基準なし", "No limit"},
    {StringId::ReasonUnreadable, "数値ではありません", "Not a number"},
    {StringId::ReasonAnalogue, "アナログは判定しません", "Analogue is not judged"},
    {StringId::ReasonUnplaced, "区分を決められません", "Class unknown"},
    {StringId::LimitRange, "%1〜%2", "%1 to %2"},
    {StringId::LimitAtLeast, "%1 以上", "at least %1"},
    {StringId::LimitAtMost, "%1 以下", "at most %1"},
    {StringId::ReadingVerdict, "%1 %2 %3 (%4)", "%1 %2 %3 (%4)"},
    {StringId::CheckProfile, "判定基準: %1 (%2)", "Limits profile: %1 (%2)"},
    {StringId::CheckSummary, "%1: %2 (測定 %3 件: 合格 %4 / 注意 %5 / 不合格 %6 / 判定なし %7、測定なしの読み値 %8)", "%1: %2 (%3 measurements: pass %4 / caution %5 / fail %6 / not judged %7; readings not measured %8)"},
    {StringId::CheckOverall, "全体", "Overall"},
    {StringId::CheckPlace, "#%1 ch %2", "#%1 ch %2"},
    {StringId::ProfileUnreadable, "判定基準を読めません: %1", "Cannot read the limits profile: %1"},
    {StringId::ProfileNotFound, "判定基準「%1」が見つかりません（探した場所: %2）", "Limits profile \"%1\" not found (looked in: %2)"},
    {StringId::ProfileSyntax, "TOML として読めません: %1", "Not readable as TOML: %1"},
    {StringId::ProfileUnknownTable, "[%1] という区分はありません（使えるのは %2）", "No class [%1] (valid: %2)"},
    {StringId::ProfileUnknownKey, "「%1」という項目はありません（使えるのは %2）", "No key \"%1\" (valid: %2)"},
    {StringId::ProfileNotNumber, "「%1」は数値で書いてください", "Write \"%1\" as a number"},
    {StringId::ProfileNotText, "「%1」は文字列で書いてください", "Write \"%1\" as a string"},
    {StringId::ProfileBadValue, "「%1」の値 %2 は使えません: %3", "The value %2 of \"%1\" cannot be used: %3"},
    {StringId::ProfileMinAboveMax, "%1 が %2 より大きくなっています", "%1 is greater than %2"},
    {StringId::ProfileNotTable, "[%1] は表（[%2] の見出しの下に項目を並べる形）で書いてください", "Write [%1] as a table (keys listed under a [%2] heading)"},
    {StringId::ProfileWhyFinite, "有限の数値にしてください", "it must be a finite number"},
    {StringId::ProfileWhyNotNegative, "0 以上にしてください", "it must not be negative"},
    {StringId::ProfileWhyBerRange, "0 より大きく 1 以下にしてください", "it must be above 0 and at most 1"},
    {StringId::ProfileSkipped, "読めない判定基準を飛ばしました: %1", "Skipped an unreadable limits profile: %1"},
    {StringId::ProfileListRefused, "（読めません: %1）", "(cannot be read: %1)"},
    {StringId::CheckNoFolder, "データフォルダがありません: %1", "No such data folder: %1"},
    {StringId::CheckNoSetFolder, "セットフォルダ「%1」が %2 にありません", "No set folder \"%1\" in %2"},
    {StringId::CheckBadArgument, "使えない引数です: %1", "Unexpected argument: %1"},
    {StringId::CheckMissingValue, "%1 の後に値がありません", "%1 needs a value"},
    {StringId::CheckNoDataFolder, "データフォルダを指定してください", "No data folder given"},
    {StringId::CheckBadFormat, "--format には text か json を指定してください: %1", "--format takes text or json: %1"},
    {StringId::CheckWriteFailed, "結果を書き出せません: %1", "Cannot write the result: %1"},
    {StringId::ErrnoOther, "エラー %1: %2", "Error %1: %2"},
    {StringId::ErrnoNoPermission, "アクセスが許可されていません", "Permission denied"},
    {StringId::ErrnoNotAllowed, "この操作は許可されていません", "Operation not permitted"},
    {StringId::ErrnoReadOnly, "読み取り専用のメディアです", "Read-only medium"},
    {StringId::ErrnoDiskFull, "ディスクの空き容量が足りません", "The disk is full"},
    {StringId::ErrnoQuota, "ディスクの使用量の上限に達しています", "Disk quota exceeded"},
    {StringId::ErrnoMissing, "ファイルまたはフォルダがありません", "No such file or folder"},
    {StringId::ErrnoNotFolder, "フォルダではありません", "Not a folder"},
    {StringId::ErrnoExists, "同じ名前のファイルがあります", "A file of that name exists"},
    {StringId::ErrnoIsFolder, "フォルダです", "Is a folder"},
    {StringId::ErrnoNameTooLong, "名前が長すぎます", "Name too long"},
    {StringId::ErrnoIo, "ディスクの読み書きでエラーが起きました", "Input/output error"},
    {StringId::ErrnoLinkLoop, "シンボリックリンクが循環しています", "Symbolic links form a loop"},
    {StringId::ErrnoTooManyFiles, "開いているファイルが多すぎます", "Too many open files"},
    {StringId::ErrnoTooLarge, "ファイルが大きすぎます", "File too large"},
    {StringId::ErrnoNoMemory, "メモリが足りません", "Out of memory"},
    {StringId::ErrnoBusy, "使用中です", "In use"},
    {StringId::ErrnoOtherDevice, "別のドライブにあります", "On another drive"},
    {StringId::ErrnoNotEmpty, "フォルダが空ではありません", "Folder not empty"},
    {StringId::ErrnoUnsupported, "このドライブでは使えない操作です", "Not supported on this drive"},
    // The measurement report's pages (48400-48599): the report prints them in Japanese.
    {StringId::RptCoverSubject, "件名", "Subject"},
    {StringId::RptCoverCustomer, "お客様名", "Customer"},
    {StringId::RptCoverSite, "物件名", "Site"},
    {StringId::RptCoverAddress, "住所", "Address"},
    {StringId::RptCoverMeasuredAt, "測定日時", "Measured on"},
    {StringId::RptCoverWeather, "天候", "Weather"},
    {StringId::RptCoverTechnician, "測定者", "Measured by"},
    {StringId::RptCoverInstrument, "計器", "Instrument"},
    {StringId::RptCoverRemarks, "所見", "Findings"},
    {StringId::RptCoverCompany, "会社", "Company"},
    {StringId::RptCoverPhone, "電話", "Telephone"},
    {StringId::RptCoverNumber, "報告書番号", "Report number"},
    {StringId::RptCoverIssued, "発行日", "Issued on"},
    {StringId::RptCoverStamp, "確認印", "Approved"},
    {StringId::RptCoverSignature, "署名", "Signature"},
    {StringId::RptCoverData, "データ", "Data"},
    {StringId::RptSummaryTitle, "総合判定", "Overall verdict"},
    {StringId::RptSummaryProfile, "判定基準: %1", "Limits profile: %1"},
    {StringId::RptSummaryCounts, "セットフォルダ・種類別の判定（測定数）", "Verdicts by set folder and kind (measurements)"},
    {StringId::RptHeadSetFolder, "セットフォルダ", "Set folder"},
    {StringId::RptHeadKind, "種類", "Kind"},
    {StringId::RptHeadCount, "測定数", "Measurements"},
    {StringId::RptSetTotal, "計", "Total"},
    {StringId::RptFindings, "不合格・注意の読み値", "Readings that fail or need attention"},
    {StringId::RptHeadReading, "項目", "Reading"},
    {StringId::RptHeadValue, "値", "Value"},
    {StringId::RptHeadVerdict, "判定", "Verdict"},
    {StringId::RptHeadLimit, "基準", "Limit"},
    {StringId::RptNoFindings, "不合格・注意の読み値はありません。", "No reading fails or needs attention."},
    {StringId::RptNotJudged, "判定基準を使えないため、判定していません。", "Not judged: the limits profile cannot be used."},
    {StringId::RptHeadNo, "No.", "No."},
    {StringId::RptHeadLabel, "測定箇所", "Place"},
    {StringId::RptHeadDataName, "データ名", "Data name"},
    {StringId::RptHeadBand, "バンド", "Band"},
    {StringId::RptHeadChannel, "チャンネル", "Channel"},
    {StringId::RptHeadFrequency, "周波数", "Frequency"},
    {StringId::RptHeadPolarization, "偏波", "Polarisation"},
    {StringId::RptHeadModulation, "変調方式", "Modulation"},
    {StringId::RptHeadLayer, "階層", "Layer"},
    {StringId::RptHeadCorrection, "補正値", "Correction"},
    {StringId::RptHeadField, "欄", "Field"},
    {StringId::RptHeadChannelRow, "行", "Row"},
    {StringId::RptWithUnit, "%1 (%2)", "%1 (%2)"},
    {StringId::RptMarkerBelow, "範囲外(下)", "Below range"},
    {StringId::RptMarkerAbove, "範囲外(上)", "Above range"},
    {StringId::RptMarkerNone, "未測定", "Not measured"},
    {StringId::RptClampedAbove, "%1 以上", "at least %1"},
    {StringId::RptClampedBelow, "%1 以下", "at most %1"},
    {StringId::RptLegend, "凡例: 範囲外(下) 計器の測定範囲より低い　範囲外(上) 計器の測定範囲より高い　未測定 測定値がない　以上・以下 画面の目盛りの端の値", "Legend: Below range: under the meter's range  Above range: over the meter's range  Not measured: no value  at least / at most: the value at the end of the screen's scale"},
    {StringId::RptLegendMarks, "判定: ○ 合格（基準内、余裕あり）　△ 注意（基準内、余裕なし）　× 不合格（基準外）　– 判定なし", "Verdicts: ○ pass (inside the limits, with margin)  △ caution (inside, no margin)  × fail (outside the limits)  – not judged"},
    {StringId::RptMarkPass, "○", "○"},
    {StringId::RptMarkCaution, "△", "△"},
    {StringId::RptMarkFail, "×", "×"},
    {StringId::RptMarkNone, "–", "–"},
    {StringId::RptTablesTitle, "測定値", "Readings"},
    {StringId::RptScreensTitle, "付録: 測定画面", "Appendix: measurement screens"},
    {StringId::RptCaption, "No.%1 %2", "No.%1 %2"},
    {StringId::RptCompareTitle, "調整前後の比較: %1 → %2", "Before and after: %1 → %2"},
    {StringId::RptCompareBefore, "前: %1", "Before: %1"},
    {StringId::RptCompareAfter, "後: %1", "After: %1"},
    {StringId::RptCompareChange, "変化", "Change"},
    {StringId::RptCompareMissing, "（なし）", "(none)"},
    {StringId::RptCompareNothing, "比較できる測定がありません。", "Nothing to compare."},
    {StringId::RptCoverBookmark, "表紙", "Cover"},
    {StringId::RptWarnLogo, "ロゴ画像を読めません（PNG か SVG にしてください）: %1", "Cannot read the logo image (use PNG or SVG): %1"},
    {StringId::RptWarnCompareSet, "比較するセットフォルダ「%1」がありません", "No set folder \"%1\" to compare"},
    {StringId::RptInstrumentSerial, "製造番号 %1", "Serial %1"},
    {StringId::RptInstrumentFirmware, "ファームウェア %1", "Firmware %1"},
    {StringId::RptContinued, "%1（続き）", "%1 (continued)"},
    {StringId::RptMeasuredAtFormat, "%1年%2月%3日 %4", "%1-%2-%3 %4"},
    // The viewer's judging (block 48000).
    {StringId::MenuLimits, "判定基準(&J)", "&Limits profile"},
    {StringId::LimitsRefusedEntry, "%1（読めません）", "%1 (cannot be read)"},
    {StringId::LimitsKeptPrevious, "判定基準を読めません。判定基準「%1」のまま判定します。\n%2", "The profile cannot be read; judging stays with profile \"%1\".\n%2"},
    {StringId::LimitsStartFallback, "前回の判定基準を読めません。判定基準「%1」で判定します。\n%2", "The profile of the last run cannot be read; judging with profile \"%1\".\n%2"},
    {StringId::LimitsUserFolder, "自分の判定基準: %1 に *.toml を置く", "Your own profiles: put *.toml files in %1"},
    {StringId::VerdictLineSeparator, "　", "   "},
    {StringId::VerdictLineNone, "%1 (%2)", "%1 (%2)"},
    // The job record and the company record.
    {StringId::JobTitle, "件名", "Subject"},
    {StringId::JobCustomer, "お客様名", "Customer"},
    {StringId::JobProperty, "物件名", "Site"},
    {StringId::JobAddress, "住所", "Address"},
    {StringId::JobMeasuredAt, "測定日時", "Measured on"},
    {StringId::JobWeather, "天候", "Weather"},
    {StringId::JobTechnician, "測定者", "Measured by"},
    {StringId::JobInstrumentModel, "計器 機種", "Instrument model"},
    {StringId::JobInstrumentSerial, "計器 製造番号", "Instrument serial"},
    {StringId::JobInstrumentFirmware, "計器 ファームウェア", "Instrument firmware"},
    {StringId::JobFindings, "所見", "Findings"},
    {StringId::JobLabel, "ラベル", "Label"},
    {StringId::JobRemark, "備考", "Remark"},
    {StringId::JobInstrument, "計器", "Instrument"},
    {StringId::CompanyName, "会社名", "Company"},
    {StringId::CompanyAddress, "住所", "Address"},
    {StringId::CompanyPhone, "電話", "Telephone"},
    {StringId::CompanyLogo, "ロゴ画像", "Logo image"},
    {StringId::RecordSyntax, "TOML として読めません: %1", "Not readable as TOML: %1"},
    {StringId::RecordUnknownKey, "「%1」という項目はありません（使えるのは %2）", "No key \"%1\" (valid: %2)"},
    {StringId::RecordNotText, "「%1」は文字列で書いてください", "Write \"%1\" as a string"},
    {StringId::RecordNotTable, "[%1] は表で書いてください", "Write [%1] as a table"},
    {StringId::RecordBadKind, "「%1」という測定の種類はありません（使えるのは %2）", "No measurement kind \"%1\" (valid: %2)"},
    {StringId::RecordBadNumber, "測定番号「%1」は 1 から 999999 までの整数で書いてください", "The measurement number \"%1\" must be a whole number from 1 to 999999"},
    {StringId::RecordTooLong, "「%1」が長すぎます（%2 バイトまで）", "\"%1\" is too long (at most %2 bytes)"},
    {StringId::RecordLineBreak, "「%1」に改行は使えません", "\"%1\" cannot hold line breaks"},
    {StringId::RecordControl, "「%1」に制御文字は使えません", "\"%1\" cannot hold control characters"},
    {StringId::RecordNotUtf8, "「%1」に文字として読めないバイトがあります", "\"%1\" holds bytes that are no characters"},
    {StringId::RecordBadTime, "「%1」は「YYYY-MM-DD HH:MM」か「YYYY-MM-DD」の形で書いてください: %2", "Write \"%1\" as YYYY-MM-DD HH:MM or YYYY-MM-DD: %2"},
    {StringId::RecordBadLogo, "「%1」は PNG か SVG のファイル（.png / .svg）にしてください: %2", "\"%1\" must be a PNG or SVG file (.png / .svg): %2"},
    {StringId::RecordBadKey, "測定は「種類:番号」の形で指定してください（例 LEVEL:3）: %1", "Name a measurement as KIND:NUMBER (e.g. LEVEL:3): %1"},
    {StringId::RecordIgnored, "案件情報を読めないため使いません: %1", "The job record cannot be read and is not used: %1"},
    {StringId::RecordWriteFailed, "書き込めません: %1", "Cannot write: %1"},
    {StringId::RecordKeptDamaged, "読めない案件情報はそのまま残し、測定日時は書き込みませんでした: %1", "The unreadable job record was left as it is and the measuring time not written: %1"},
    {StringId::CompanionUnreadable, "%1: 付属ファイルがないか壊れているため、グラフを載せていません", "%1: the companion file is missing or damaged; its graph is left out"},
    {StringId::CompanionsMore, "ほかに %1 個の付属ファイルが読めず、グラフを載せていません", "%1 more companion files could not be read; their graphs are left out"},
    {StringId::ReportNoFont, "レポートのフォントが見つかりません。文字が表示されないことがあります", "No font for the report was found; texts may not show"},
    {StringId::ReportFontInstead, "IPAゴシックが見つからないため、%1 で作成しました", "IPAGothic was not found; the report uses %1"},
    {StringId::ReportNoJapaneseFont, "日本語のフォントが見つかりません（fonts-ipafont-gothic を入れてください）。日本語が表示されないことがあります", "No Japanese font was found (install fonts-ipafont-gothic); Japanese texts may not show"},
    {StringId::JobCmdNoSet, "--set でセットフォルダを指定してください", "Name the set folder with --set"},
    {StringId::JobCmdNotAssignment, "%1 は「%2」の形で指定してください: %3", "%1 takes the form %2: %3"},
    {StringId::JobCmdDamaged, "案件情報を読めません（直すか消してから変更してください）: %1", "The job record cannot be read (fix or remove it before changing it): %1"},
    {StringId::JobCmdUnreadable, "案件情報を読めません: %1", "The job record cannot be read: %1"},
    {StringId::MenuJobRecord, "案件情報(&J)...", "&Job record..."},
    {StringId::MenuMeasurementNote, "ラベル・備考(&L)...", "&Label and remark..."},
    {StringId::MenuCompany, "会社情報(&I)...", "Company &information..."},
    {StringId::JobDlgTitle, "案件情報 - %1", "Job record - %1"},
    {StringId::NoteDlgTitle, "ラベル・備考 - %1", "Label and remark - %1"},
    {StringId::CompanyDlgTitle, "会社情報", "Company information"},
    {StringId::JobNoSetFolder, "セットフォルダか測定を選んでください。", "Select a set folder or a measurement."},
    {StringId::JobNoMeasurement, "測定を選んでください。", "Select a measurement."},
    {StringId::RecordReplaceDamaged, "%1\n\nこの内容を新しい内容で置き換えますか？", "%1\n\nReplace it with the new contents?"},
    {StringId::JobSaveFailed, "案件情報を保存できませんでした。\n%1", "The job record could not be saved.\n%1"},
    {StringId::CompanySaveFailed, "会社情報を保存できませんでした。\n%1", "The company information could not be saved.\n%1"},
    {StringId::CompanyBrowse, "参照...", "Browse..."},
    {StringId::CompanyLogoFilter, "画像 (PNG, SVG)|*.png;*.svg|すべて (*.*)|*.*||", "Images (PNG, SVG)|*.png;*.svg|All files (*.*)|*.*||"},
    {StringId::NoteDataName, "データ名", "Data name"},
    {StringId::ScreenFontMissing, "画面の日本語フォントが見つかりません（fonts-ipafont-gothic を入れてください）", "No Japanese font for the screens was found (install fonts-ipafont-gothic)"},
    {StringId::ScreenFontInit, "FreeType を初期化できません", "FreeType cannot be initialised"},
    {StringId::ScreenFontOpen, "フォントファイルを開けません: %1", "Cannot open the font file: %1"},
    {StringId::ScreenFontNoUnicode, "フォントファイルに Unicode の文字表がありません: %1", "The font file has no Unicode character map: %1"},
    {StringId::ScreenFontBoxes, "画面: %1。文字は四角で描かれます", "Screens: %1. Texts are drawn as boxes"},
    // The trend of a place across visits and two visits compared.
    {StringId::TrendNeedPlace, "--band と --channel を指定してください", "Give --band and --channel"},
    {StringId::TrendBadReading, "--reading には level、cn、mer、ber のどれかを指定してください: %1", "--reading takes level, cn, mer or ber: %1"},
    {StringId::TrendBadFormat, "--format には csv か png を指定してください: %1", "--format takes csv or png: %1"},
    {StringId::TrendUnknownBand, "バンド「%1」の測定がありません（あるバンド: %2）", "No measurement in band \"%1\" (bands there: %2)"},
    {StringId::TrendUnknownChannel, "バンド %1 にチャンネル「%2」の測定がありません（あるチャンネル: %3）", "No measurement of channel \"%2\" in band %1 (channels there: %3)"},
    {StringId::TrendNoReading, "バンド %1 チャンネル %2 の%3を表示する測定がありません", "No measurement shows %3 for band %1 channel %2"},
    {StringId::TrendPngNeedsOut, "png は --out で書き出すファイルを指定してください", "png needs the file to write: --out FILE"},
    {StringId::TrendWriteFailed, "%1 を書き出せません: %2", "Cannot write %1: %2"},
    {StringId::TrendTitle, "%1 %2 の%3の推移", "%3 of %1 %2 over time"},
    {StringId::TrendAxisVisits, "セットフォルダ", "Set folder"},
    {StringId::TrendLimitMin, "下限 %1", "Minimum %1"},
    {StringId::TrendLimitMax, "上限 %1", "Maximum %1"},
    {StringId::TrendMarginLine, "注意 (%1 dB)", "Caution (%1 dB)"},
    {StringId::TrendProfile, "判定基準: %1", "Limits profile: %1"},
    {StringId::TrendOutsideRange, "▼ 測定範囲未満 / ▲ 測定範囲超過", "▼ below range / ▲ above range"},
    {StringId::TrendWindowTitle, "推移", "Trend"},
    {StringId::MenuTrend, "推移(&T)...", "&Trend..."},
    {StringId::MenuCompare, "比較(&C)...", "&Compare..."},
    {StringId::MenuCompareReport, "比較レポート(&R)...", "Compare &report..."},
    {StringId::TrendReading, "読み値:", "Reading:"},
    {StringId::TrendSave, "PNG で保存...", "Save as PNG..."},
    {StringId::TrendCopy, "コピー", "Copy"},
    {StringId::TrendSelectMeasurement, "推移を見る測定をツリーで選んでください", "Select a measurement in the tree first"},
    {StringId::TrendNoPlace, "この測定には推移を描ける読み値がありません", "This measurement has no reading to follow"},
    {StringId::TrendPngFilter, "PNG 画像 (*.png)", "PNG image (*.png)"},
    {StringId::TrendSaveFailed, "%1 を保存できませんでした。\n%2", "%1 could not be saved.\n%2"},
    {StringId::TrendPlace, "場所:", "Place:"},
    {StringId::TrendClose, "閉じる", "Close"},
    {StringId::TrendNoPoints, "この読み値はどのセットフォルダにもありません", "No set folder has this reading here"},
    {StringId::CompareWindowTitle, "比較", "Compare"},
    {StringId::CompareBefore, "前:", "Before:"},
    {StringId::CompareAfter, "後:", "After:"},
    {StringId::CompareKind, "種類", "Kind"},
    {StringId::CompareBand, "バンド", "Band"},
    {StringId::CompareChannel, "チャンネル", "Channel"},
    {StringId::CompareReading, "読み値", "Reading"},
    {StringId::CompareValueBefore, "前の値", "Value before"},
    {StringId::CompareVerdictBefore, "前の判定", "Verdict before"},
    {StringId::CompareValueAfter, "後の値", "Value after"},
    {StringId::CompareVerdictAfter, "後の判定", "Verdict after"},
    {StringId::CompareChange, "変化", "Change"},
    {StringId::CompareNeedTwo, "比較するには 2 つ以上のセットフォルダが要ります", "Comparing needs two set folders or more"},
    {StringId::CompareMissing, "なし", "none"},
    // The command-line tool.
    {StringId::CliUsage, "使い方: rxt4 コマンド [引数...]\n\nコマンド:\n", "Usage: rxt4 COMMAND [ARGS...]\n\ncommands:\n"},
    {StringId::CliUsageEnd, "\nrxt4 コマンド --help でコマンドのオプションを、rxt4 --version でバージョンを表示します。\n", "\nrxt4 COMMAND --help shows the options of a command; rxt4 --version the version.\n"},
    {StringId::CliUnknownCommand, "「%1」というコマンドはありません", "unknown command '%1'"},
    {StringId::CliNotFolder, "「%1」はフォルダではありません", "'%1' is not a folder"},
    {StringId::CliNoSetFolder, "セットフォルダ「%1」が「%2」にありません", "there is no set folder '%1' in '%2'"},
    {StringId::CliSummaryList, "list DATA_FOLDER [--summary]      データフォルダのツリーを表示する", "list DATA_FOLDER [--summary]      print the tree of a data folder"},
    {StringId::CliSummaryRender, "render DATA_FOLDER --out DIR ...   すべての測定を画像に描く", "render DATA_FOLDER --out DIR ...   draw every measurement as an image"},
    {StringId::CliSummaryReport, "report DATA_FOLDER --out FILE.pdf   測定レポート (PDF) を作成する", "report DATA_FOLDER --out FILE.pdf   write a measurement report (PDF)"},
    {StringId::CliSummaryExport, "export DATA_FOLDER --sqlite FILE   SQLite や CSV (--csv DIR) にエクスポートする", "export DATA_FOLDER --sqlite FILE   export to SQLite and/or CSV (--csv DIR)"},
    {StringId::CliSummaryCheck, "check DATA_FOLDER [--limits NAME]   すべての読み値を判定基準で判定する", "check DATA_FOLDER [--limits NAME]   judge every reading against a limits profile"},
    {StringId::CliSummaryJob, "job DATA_FOLDER --set NAME ...   セットフォルダの案件情報を表示・変更する", "job DATA_FOLDER --set NAME ...   print or change a set folder's job record"},
    {StringId::CliSummaryTrend, "trend DATA_FOLDER --band B --channel C   1 チャンネルの全セットフォルダでの推移 (CSV, PNG)", "trend DATA_FOLDER --band B --channel C   one channel across every set folder (CSV, PNG)"},
    {StringId::CliSummaryDownload, "download --port PORT --out SET    すべての測定をダウンロードする", "download --port PORT --out SET    download every measurement"},
    {StringId::CliSummaryUpdate, "update --port PORT IMAGE          計器のファームウェアをアップデートする", "update --port PORT IMAGE          update the instrument's firmware"},
    {StringId::CliSummaryImage, "image IMAGE                       ファームウェアのイメージファイルを調べる", "image IMAGE                       check a firmware image file"},
    {StringId::CliSummarySample, "sample DIR                        デモ用のデータフォルダを書き出す", "sample DIR                        write a demonstration data folder"},
    {StringId::CliSummaryUdevRule, "udev-rule PORT                    計器のポートの udev ルールを表示する", "udev-rule PORT                    print a udev rule for the instrument's port"},
    {StringId::CliUnknownOption, "「%1」というオプションはありません", "unknown option '%1'"},
    {StringId::CliBadValue, "%1 に「%2」は使えません", "%1 cannot take '%2'"},
    {StringId::CliRequired, "%1 を指定してください", "%1 is required"},
    {StringId::CliOneOnly, "%1 は 1 つだけ指定できます: %2", "only one %1 can be given: %2"},
    {StringId::CliCannotCreate, "出力フォルダ「%1」を作成できません: %2", "cannot create the output folder '%1': %2"},
    {StringId::CliNotWritten, "「%1」に書き込めませんでした", "could not write '%1'"},
    {StringId::CliProgressRender, "描画 %1 / %2", "rendered %1 of %2"},
    {StringId::CliProgressExport, "測定 %1 / %2", "measurement %1 of %2"},
    {StringId::CliProgressReport, "ページ %1 / %2", "page %1 of %2"},
    {StringId::CliNoPort, "ポートがありません: --port PORT を指定するか、%1 に \"COM Port\" を設定してください（ビューアの オプション → 通信設定）", "no port: give --port PORT, or set \"COM Port\" in %1 (the viewer's Options → Link settings)"},
    {StringId::CliPortUsed, "ポート %1", "port %1"},
    {StringId::CliPortRate, "ポート %1、%2 baud", "port %1 at %2 baud"},
    {StringId::CliPortFromSettings, "（ポートは設定ファイル %1 から）", " (port from the settings file %1)"},
    {StringId::CliRateFromSettings, "（通信速度は設定ファイル %1 から）", " (rate from the settings file %1)"},
    {StringId::CliBothFromSettings, "（ポートと通信速度は設定ファイル %1 から）", " (port and rate from the settings file %1)"},
    {StringId::CliCannotOpen, "%1 を開けません", "cannot open %1"},
    {StringId::CliNewSetFolder, "新しいセットフォルダ %1 に保存します", "into the new set folder %1"},
    {StringId::CliSetHoldsData, "%1 にはすでに測定があり、ダウンロードで上書きされます。\n  上書きするには --force を付けるか、--out で別のセットフォルダを指定してください。", "%1 already holds measurements; the download would overwrite them.\n  Give --force to overwrite them, or name another set folder with --out."},
    {StringId::CliIsDataFolder, "%1 はデータフォルダです: そこに直接書いた種類のフォルダは表示されません。\n  新しいセットフォルダ %2 にダウンロードするには --new-set を付けるか、--out でセットフォルダを指定してください。", "%1 is a data folder: kind folders written straight into it are never shown.\n  Give --new-set to download into the new set folder %2, or name a set folder with --out."},
    {StringId::CliExported, "%1: 測定 %2 件", "%1: %2 measurements"},
    {StringId::CliReported, "%1: セットフォルダ %3 個の測定 %2 件", "%1: %2 measurements of %3 set folders"},
    {StringId::CliNotUsbSerial, "%1 (%2) は接続されている USB シリアル機器ではありません", "%1 (%2) is not a USB serial device that is plugged in"},
    // The usage of each command (rxt4 COMMAND --help): the Japanese, then the English.
    {StringId::CliUsageList,
     "使い方: rxt4 list DATA_FOLDER [--summary]\n"
     "\n"
     "データフォルダをビューアと同じように読み込み、そのツリーを UTF-8 で 1 行に 1 項目ずつ、\n"
     "階層ごとに空白 2 つ字下げして表示します: 種類、データセットフォルダ、番号付きの測定。\n"
     "読み込みのメッセージは標準エラー出力に出ます。\n"
     "UTF-8 として正しくないセットフォルダ名は、正しい文字にならないバイトと制御文字を \\xNN、\n"
     "バックスラッシュを \\\\ として表示します（エクスポートも名前を同じように記録します）。\n"
     "\n"
     "終了ステータス: 0 表示した、1 読めないフォルダがあった（標準エラー出力に名前を出し、\n"
     "残りは表示します）、2 引数の誤り、またはデータフォルダがない。\n"
     "\n"
     "  --summary   代わりに種類ごとに 1 行: ツリーの見出し、TAB、データセットフォルダの数、\n"
     "              TAB、測定の数\n"
     "  --help      この説明を表示する\n",
     "usage: rxt4 list DATA_FOLDER [--summary]\n"
     "\n"
     "Loads the data folder as the viewer does and prints its tree in UTF-8, one item\n"
     "per line, indented by two blanks per level: the kind roots, the data set folders\n"
     "and the numbered measurements. Messages of the loader go to standard error.\n"
     "A set folder name that is no valid UTF-8 is printed with each byte that is no\n"
     "part of a valid character, and each control character, as \\xNN, and a backslash\n"
     "as \\\\ (the export stores the names the same way).\n"
     "\n"
     "Exit status: 0 listed, 1 a folder could not be read (named on standard error; the\n"
     "rest is listed), 2 bad arguments or a data folder that does not exist.\n"
     "\n"
     "  --summary   print one line per kind instead: root text, TAB, number of data set\n"
     "              folders, TAB, number of measurements\n"
     "  --help      show this text\n"},
    {StringId::CliUsageSample,
     "使い方: rxt4 sample DIR\n"
     "        rxt4 sample --firmware FILE\n"
     "\n"
     "デモ用のデータフォルダを DIR に書き出します（なければ作ります）: レベル、BER、スカパー、\n"
     "コンスタレーション、多チャンネル、スペクトラム、遅延プロファイルの測定を持つデータセット\n"
     "フォルダで、計器からダウンロードしたときと同じファイルです。\n"
     "--firmware を付けると、代わりにデモ用のファームウェアイメージ（Main、TSNM、Dec の部分）を\n"
     "FILE に書き出します。rxt4-sim --update-mode でアップデートを試すためのものです。\n"
     "\n"
     "  --help   この説明を表示する\n",
     "usage: rxt4 sample DIR\n"
     "       rxt4 sample --firmware FILE\n"
     "\n"
     "Writes a demonstration data folder into DIR (created when missing): data set\n"
     "folders with level, BER, SKY, constellation, multi-channel, spectrum and delay\n"
     "profile measurements, in the files a download from the instrument gives.\n"
     "With --firmware, writes a demonstration firmware image (Main, TSNM and Dec\n"
     "parts) to FILE instead, to try an update against rxt4-sim --update-mode.\n"
     "\n"
     "  --help   show this text\n"},
    {StringId::CliUsageImage,
     "使い方: rxt4 image IMAGE\n"
     "\n"
     "ファームウェアのイメージファイル (*.img) を読み込み、すべての部分を確かめます（ヘッダーの\n"
     "チェックサム、CRC-32、Dec のレコード）。ある部分ごとに 1 行: 種類、名前、バイト数、\n"
     "バージョン。終了ステータスはイメージが正しければ 0、正しくなければ 1 で、そのときは\n"
     "標準エラー出力のメッセージの次の行が通らなかった確認を示します（ファイルがない・読めない、\n"
     "短すぎる、ヘッダーのチェックサム、長さ、CRC と、その部分、Dec ではそのレコード）。\n",
     "usage: rxt4 image IMAGE\n"
     "\n"
     "Loads a firmware image file (*.img) and verifies every part (header checksums,\n"
     "CRC-32, Dec records). Prints one line per part present: type, name, size in\n"
     "bytes, version. Exit status 0 when the image is valid, 1 when it is not; then the\n"
     "line under the message on standard error names the check that failed (the file\n"
     "missing or unreadable, too short, a header checksum, a length or a CRC, with the\n"
     "part and, in a Dec part, the record).\n"},
    {StringId::CliUsageUdevRule,
     "使い方: rxt4 udev-rule PORT [--sysfs DIR]\n"
     "\n"
     "PORT（例 /dev/ttyACM0、または /dev/serial/by-id の下のリンク）に接続した計器のための\n"
     "udev ルールファイルを表示します。ルールはその機器の USB ベンダー ID とプロダクト ID\n"
     "（製造番号を報告する機器ではそれも）に合うもので、コンピューターにログインしている\n"
     "ユーザーにポートを使えるようにし (TAG+=\"uaccess\")、ModemManager に調べさせません\n"
     "(ENV{ID_MM_DEVICE_IGNORE}=\"1\")。ModemManager は新しい /dev/ttyACM 機器に数秒間\n"
     "モデムのコマンドを送り、計器との最初のやりとりを乱します。\n"
     "\n"
     "ルールを入れてから、計器を抜いて接続し直してください:\n"
     "\n"
     "  rxt4 udev-rule /dev/ttyACM0 | sudo tee /etc/udev/rules.d/70-rxt4.rules\n"
     "  sudo udevadm control --reload\n"
     "\n"
     "ルールがなくても、dialout グループに入ればポートを開けます\n"
     "(sudo usermod -aG dialout $USER の後、ログインし直す)。その場合、ModemManager は\n"
     "接続後の数秒間ポートを調べることがあります。\n"
     "\n"
     "  --sysfs DIR   /sys の代わりに DIR から機器を読む\n"
     "  --help        この説明を表示する\n"
     "\n"
     "終了ステータス: 0 表示した、1 PORT が USB シリアル機器ではない、2 引数の誤り。\n",
     "usage: rxt4 udev-rule PORT [--sysfs DIR]\n"
     "\n"
     "Prints a udev rule file for the instrument plugged in at PORT (e.g. /dev/ttyACM0,\n"
     "or a link under /dev/serial/by-id). The rule matches that device's USB vendor and\n"
     "product ids (and its serial number when it reports one). It gives the user logged\n"
     "in at the computer access to the port (TAG+=\"uaccess\"), and keeps ModemManager\n"
     "from probing it (ENV{ID_MM_DEVICE_IGNORE}=\"1\"): ModemManager sends modem commands\n"
     "to every new /dev/ttyACM device for some seconds, which disturbs the first\n"
     "exchanges with the instrument.\n"
     "\n"
     "Install it, then unplug the instrument and plug it in again:\n"
     "\n"
     "  rxt4 udev-rule /dev/ttyACM0 | sudo tee /etc/udev/rules.d/70-rxt4.rules\n"
     "  sudo udevadm control --reload\n"
     "\n"
     "Without a rule, membership of the dialout group also opens the port\n"
     "(sudo usermod -aG dialout $USER, then log in again); ModemManager may then\n"
     "still probe it for some seconds after it is plugged in.\n"
     "\n"
     "  --sysfs DIR   read the device from DIR instead of /sys\n"
     "  --help        show this text\n"
     "\n"
     "Exit status: 0 printed, 1 PORT is not a USB serial device, 2 bad arguments.\n"},
    {StringId::CliUsageCheck,
     "使い方: rxt4 check DATA_FOLDER [--set NAME]... [--limits NAME|FILE] [--format text|json] [--verbose]\n"
     "        rxt4 check --list-limits\n"
     "\n"
     "データフォルダをビューアと同じように読み込み、画面に出るすべての読み値を判定基準で判定\n"
     "します: 合格、注意（基準内だが余裕がない）、不合格、判定なし。使った判定基準、合格でない\n"
     "判定済みの読み値（基準があって測定のないものを含む）を 1 行に 1 つ（セットフォルダ、種類、\n"
     "測定、区分、項目、値、判定、基準）、セットフォルダごとと全体のまとめを表示します。\n"
     "読み込みのメッセージは標準エラー出力に出ます。\n"
     "\n"
     "  --set NAME          このセットフォルダだけ（繰り返せる。既定: すべてのセットフォルダ）\n"
     "  --limits NAME|FILE  判定基準: TOML ファイル、または設定フォルダ\n"
     "                      ($XDG_CONFIG_HOME/RXT4_Viewer) かプログラムと一緒に入れた判定基準の\n"
     "                      名前（既定: テレビ端子）\n"
     "  --format text|json  text（既定）か 1 つの JSON 文書 (docs/check.md)\n"
     "  --verbose           合格と基準のないものを含め、すべての読み値を表示する\n"
     "  --list-limits       見つかった判定基準の一覧: 名前、ファイル、説明（TAB 区切り）\n"
     "  --help              この説明を表示する\n"
     "\n"
     "終了ステータス: 0 不合格なし、1 不合格あり、2 引数の誤り、読めない判定基準、ない\n"
     "データフォルダかセットフォルダ、または書き出せない出力。\n",
     "usage: rxt4 check DATA_FOLDER [--set NAME]... [--limits NAME|FILE] [--format text|json] [--verbose]\n"
     "       rxt4 check --list-limits\n"
     "\n"
     "Loads the data folder as the viewer does and judges every reading its screens show\n"
     "against a limits profile: pass, caution (inside the limits, within the margin),\n"
     "fail or not judged. Prints the profile used, one line per judged reading that does\n"
     "not pass, one that has a limit but no measurement included (set folder, kind,\n"
     "measurement, service class, reading, value, verdict and limit), a summary per set\n"
     "folder and an overall one.\n"
     "Loader messages go to standard error.\n"
     "\n"
     "  --set NAME          only this set folder (repeatable; default: every set folder)\n"
     "  --limits NAME|FILE  the limits profile: a TOML file, or the name of a profile in\n"
     "                      the settings folder ($XDG_CONFIG_HOME/RXT4_Viewer) or of one\n"
     "                      installed with the program (default: the outlet profile)\n"
     "  --format text|json  text (default) or one JSON document (docs/check.md)\n"
     "  --verbose           every reading, passes and those without a limit included\n"
     "  --list-limits       list the profiles found: name, file and description, TAB-separated\n"
     "  --help              show this text\n"
     "\n"
     "Exit status: 0 nothing fails, 1 something fails, 2 bad arguments, a profile that\n"
     "cannot be read, a data folder or set folder that does not exist, or output that\n"
     "cannot be written.\n"},
    {StringId::CliUsageRender,
     "使い方: rxt4 render DATA_FOLDER --out DIR [--format bmp|png] [--keys KEYS [--held N]]\n"
     "\n"
     "データフォルダをビューアと同じように読み込み、すべての測定をビューアの画面の領域のとおりに\n"
     "描きます（321 × 240 ピクセル、枠付き）。画像は\n"
     "DIR/<データセットフォルダ>/<種類のフォルダ>/<NNN>.<形式> に書き出します。NNN は測定の\n"
     "番号（「データNo.」）を 3 桁にしたものです。読み込みのメッセージは標準エラー出力に出ます。\n"
     "\n"
     "  --out DIR       画像のフォルダ（なければ作る）\n"
     "  --format FMT    png（既定）か bmp（1 ピクセル 24 ビット、「画面を保存」と同じ）\n"
     "  --keys KEYS     各測定を表示した後に押す計器のキー。カンマ区切りで LEFT、RIGHT、UP、\n"
     "                  DOWN、ENTER、それぞれ前に SHIFT+ を付けられる（例 SHIFT+RIGHT,LEFT,ENTER）。\n"
     "                  表示中の画面にビューアと同じように働く。SHIFT のない UP と DOWN は\n"
     "                  ビューアのツリーの選択を動かすもので、ここでは何もしない\n"
     "  --held N        LEFT と RIGHT を押し続ける 1.4 秒の回数（遅延プロファイルのマーカーの\n"
     "                  速さ: 0 で 1 つ、1 で 2 つ、2 以上で 3 つずつ動く。既定 0）\n"
     "  --help          この説明を表示する\n"
     "\n"
     "画像は一時的な名前で書き、書き終えてから名前を変えます。グラフの描けない付属ファイルは\n"
     "標準エラー出力に一度だけ名前を出します。\n"
     "終了ステータス: 0 描いた、1 書き出せない画像か読めないフォルダがあった、2 引数の誤り、\n"
     "またはデータフォルダがない。\n",
     "usage: rxt4 render DATA_FOLDER --out DIR [--format bmp|png] [--keys KEYS [--held N]]\n"
     "\n"
     "Loads the data folder as the viewer does and draws every measurement as the\n"
     "viewer's screen area shows it (321 x 240 pixels, framed). Each image goes to\n"
     "DIR/<data set folder>/<KIND FOLDER>/<NNN>.<format>, NNN being the measurement's\n"
     "number (the viewer's \"Data No.\") with three digits. Loader messages go to\n"
     "standard error.\n"
     "\n"
     "  --out DIR       folder for the images (created when missing)\n"
     "  --format FMT    png (default) or bmp (24 bits per pixel, as the viewer's Save screen writes)\n"
     "  --keys KEYS     instrument keys pressed after each measurement is shown,\n"
     "                  comma-separated: LEFT, RIGHT, UP, DOWN, ENTER, each optionally\n"
     "                  prefixed SHIFT+ (e.g. SHIFT+RIGHT,LEFT,ENTER); they act as in\n"
     "                  the viewer on the screen shown. UP and DOWN without SHIFT move\n"
     "                  the viewer's tree selection and do nothing here\n"
     "  --held N        ticks of 1.4 s that LEFT and RIGHT are held (delay profile\n"
     "                  marker speed: 0 single, 1 double, 2 or more triple step; default 0)\n"
     "  --help          show this text\n"
     "\n"
     "Each image is written under a temporary name and renamed when complete. A companion\n"
     "file that gives no graph is named once on standard error.\n"
     "Exit status: 0 drawn, 1 an image could not be written or a folder could not be read,\n"
     "2 bad arguments or a data folder that does not exist.\n"},
    {StringId::CliUsageReport,
     "使い方: rxt4 report DATA_FOLDER [--set NAME]... --out FILE.pdf [--limits NAME|FILE]\n"
     "                    [--screens none|failed|all] [--per-page 2|4] [--kinds KIND,...]\n"
     "                    [--compare SET_A SET_B] [--number TEXT] [--date TEXT]\n"
     "\n"
     "データフォルダをビューアと同じように読み込み、技術者がお客様に渡すレポートを書き出します:\n"
     "日本語の A4 の PDF で、表紙（案件、会社、報告書番号、確認印と署名の欄）、総合判定（セット\n"
     "フォルダ・種類別の判定、不合格と注意の読み値とその基準）、セットフォルダ・種類別の測定値、\n"
     "付録として測定画面。表紙と測定のラベルは、セットフォルダの案件情報（job.toml、rxt4 job を\n"
     "参照）と設定フォルダの会社情報から取ります。判定は同じ判定基準での rxt4 check と同じです。\n"
     "読み込みのメッセージは標準エラー出力に出ます。ファイルは隣に一時的な名前で書き、書き終えて\n"
     "から名前を変えます。\n"
     "\n"
     "  --set NAME          このセットフォルダだけ（繰り返せる。既定: すべてのセットフォルダ）\n"
     "  --out FILE          書き出す PDF ファイル\n"
     "  --limits NAME|FILE  判定基準。rxt4 check と同じ（既定: テレビ端子）\n"
     "  --screens WHICH     付録の画面: all（既定）、failed（不合格の測定のもの）、none\n"
     "  --per-page N        1 ページの画面の数: 4（既定）か 2（2 倍の大きさ）\n"
     "  --kinds K,...       これらの種類だけ: level、ber、sky、constellation、multi、spectrum、\n"
     "                      profile（既定: すべての種類）\n"
     "  --compare A B       セットフォルダ A（前）と B（後）をバンドとチャンネルで合わせて比べる\n"
     "                      ページを種類ごとに加える\n"
     "  --number TEXT       表紙の報告書番号（既定: 日付と時刻から）\n"
     "  --date TEXT         表紙の発行日（既定: 今日）\n"
     "  --help              この説明を表示する\n"
     "\n"
     "セットフォルダは 1 つずつ読み込むので（数えるとき、判定するとき、書くとき）、大きな\n"
     "アーカイブでも一度にメモリに載せることはありません。\n"
     "\n"
     "終了ステータス: 0 書き出した、1 ファイルを書き出せないか読めないフォルダがあった（何も\n"
     "書き出しません）、2 引数の誤り、読めない判定基準、ないデータフォルダかセットフォルダ、\n"
     "130 中止した。\n",
     "usage: rxt4 report DATA_FOLDER [--set NAME]... --out FILE.pdf [--limits NAME|FILE]\n"
     "                   [--screens none|failed|all] [--per-page 2|4] [--kinds KIND,...]\n"
     "                   [--compare SET_A SET_B] [--number TEXT] [--date TEXT]\n"
     "\n"
     "Loads the data folder as the viewer does and writes the report a technician hands\n"
     "to the customer: an A4 PDF in Japanese with a cover (the job, the company, the\n"
     "report number, boxes for the seal and the signature), a summary (the overall\n"
     "verdict, the verdicts per set folder and kind, every reading that fails or needs\n"
     "attention with its limit), the readings per set folder and kind, and the screens\n"
     "as an appendix. The cover and the measurements' labels come from the set folders'\n"
     "job records (job.toml, see rxt4 job) and the company record of the settings\n"
     "folder. The verdicts are those of `rxt4 check` with the same profile. Loader\n"
     "messages go to standard error. The file is written under a temporary name beside\n"
     "it and renamed when complete.\n"
     "\n"
     "  --set NAME          only this set folder (repeatable; default: every set folder)\n"
     "  --out FILE          the PDF file to write\n"
     "  --limits NAME|FILE  the limits profile, as for rxt4 check (default: the outlet profile)\n"
     "  --screens WHICH     the screens' appendix: all (default), failed (those of\n"
     "                      failed measurements) or none\n"
     "  --per-page N        screens per page: 4 (default) or 2 (twice as large)\n"
     "  --kinds K,...       only these kinds: level, ber, sky, constellation, multi,\n"
     "                      spectrum, profile (default: every kind)\n"
     "  --compare A B       add a page per kind comparing set folder A (before) with B\n"
     "                      (after), matched by band and channel\n"
     "  --number TEXT       the report number on the cover (default: from the date and time)\n"
     "  --date TEXT         the issue date on the cover (default: today)\n"
     "  --help              show this text\n"
     "\n"
     "The set folders are read one at a time (to count, to judge, to write), so a large\n"
     "archive never has to fit into memory at once.\n"
     "\n"
     "Exit status: 0 written, 1 the file could not be written or a folder could not be\n"
     "read (nothing is written then), 2 bad arguments, a profile that cannot be read, or\n"
     "a data folder or set folder that does not exist, 130 cancelled.\n"},
    {StringId::CliUsageExport,
     "使い方: rxt4 export DATA_FOLDER [--set NAME]... [--limits NAME|FILE] [--samples]\n"
     "                    [--sqlite FILE.db] [--csv DIR] [--xlsx FILE.xlsx]\n"
     "\n"
     "データフォルダをビューアと同じように読み込み、すべての読み値を判定基準で判定して測定を\n"
     "エクスポートします: セットフォルダの表（set_id、案件、ダウンロード日時、判定）、種類ごとの\n"
     "表（文字列は UTF-8、数値は数値、計器のマーカーは NULL で記録された文字列を隣に、測定と\n"
     "読み値ごとの判定）、多チャンネルの行、読み値（判定した読み値ごとに 1 行、マーカーは言葉で）、\n"
     "使った判定基準。表は docs/export.md で説明しています。読み込みのメッセージは標準エラー\n"
     "出力に出ます。各ファイルは一時的な名前で書き、書き終えてから名前を変えます。\n"
     "\n"
     "  --set NAME          このセットフォルダだけ（繰り返せる。既定: すべてのセットフォルダ）\n"
     "  --limits NAME|FILE  判定基準。rxt4 check と同じ（既定: テレビ端子）\n"
     "  --samples           付属ファイルのグラフのデータも: スペクトラムと遅延プロファイルの\n"
     "                      サンプル、コンスタレーションの画像 (PNG)\n"
     "  --sqlite FILE       SQLite データベースを書き出す（FILE を置き換える）\n"
     "  --csv DIR           同じ表を DIR/<表>.csv として書き出す（UTF-8、バイトオーダーマーク\n"
     "                      付き）。--samples では画像を DIR/constellation_images/*.png に\n"
     "  --xlsx FILE         Excel ブックを書き出す（FILE を置き換える）: 概要、判定、種類ごとの\n"
     "                      シート、判定基準。グラフのサンプルは含まない\n"
     "  --help              この説明を表示する\n"
     "\n"
     "セットフォルダは 1 つずつ読み込むので（数えるときと書くとき）、大きなアーカイブでも一度に\n"
     "メモリに載せることはありません。\n"
     "\n"
     "終了ステータス: 0 書き出した、1 ファイルを書き出せないか読めないフォルダがあった（何も\n"
     "書き出しません）、2 引数の誤り、読めない判定基準、ないデータフォルダかセットフォルダ、\n"
     "130 中止した。\n",
     "usage: rxt4 export DATA_FOLDER [--set NAME]... [--limits NAME|FILE] [--samples]\n"
     "                   [--sqlite FILE.db] [--csv DIR] [--xlsx FILE.xlsx]\n"
     "\n"
     "Loads the data folder as the viewer does, judges every reading against a limits\n"
     "profile and exports the measurements: a table of the set folders (set_id, job,\n"
     "download time, verdict), one table per kind (texts in UTF-8, numbers as numbers,\n"
     "the instrument's markers as NULL with the stored text beside them, a verdict per\n"
     "measurement and per reading), the multi-channel rows, the readings (one row per\n"
     "judged reading, markers in words) and the profile used. docs/export.md describes\n"
     "the tables. Loader messages go to standard error. Each file is written under a\n"
     "temporary name and renamed when complete.\n"
     "\n"
     "  --set NAME          only this set folder (repeatable; default: every set folder)\n"
     "  --limits NAME|FILE  the limits profile, as for rxt4 check (default: the outlet profile)\n"
     "  --samples           also the graph data of the companion files: spectrum and\n"
     "                      delay-profile samples, constellation images as PNG\n"
     "  --sqlite FILE       write an SQLite database (replacing FILE)\n"
     "  --csv DIR           write the same tables as DIR/<table>.csv (UTF-8 with a\n"
     "                      byte-order mark); with --samples the images as\n"
     "                      DIR/constellation_images/*.png\n"
     "  --xlsx FILE         write an Excel workbook (replacing FILE): a summary sheet, the\n"
     "                      readings, a sheet per kind and the limits (sheet names in\n"
     "                      Japanese); never the graph samples\n"
     "  --help              show this text\n"
     "\n"
     "The set folders are read one at a time (once to count, once to write), so a large\n"
     "archive never has to fit into memory at once.\n"
     "\n"
     "Exit status: 0 written, 1 a file could not be written or a folder could not be\n"
     "read (nothing is written then), 2 bad arguments, a profile that cannot be read, or\n"
     "a data folder or set folder that does not exist, 130 cancelled.\n"},
    {StringId::CliUsageJob,
     "使い方: rxt4 job DATA_FOLDER --set NAME [--field KEY=VALUE]... [--label KIND:NUMBER=TEXT]...\n"
     "                 [--remark KIND:NUMBER=TEXT]...\n"
     "        rxt4 job --company [--field KEY=VALUE]...\n"
     "\n"
     "セットフォルダ NAME の案件情報（NAME/job.toml）を表示します: 項目ごとに 1 行\n"
     "「名前 (key): 値」、続いてラベルか備考のある測定ごとに「KIND:NUMBER ラベル: 文字列」。\n"
     "--field、--label、--remark を付けると、代わりにそれらを変えて記録を書き込みます（一時\n"
     "ファイル経由: 失敗しても前のファイルが残ります）。空の VALUE や TEXT は消します。読めない\n"
     "記録は変えません。\n"
     "\n"
     "  --set NAME              セットフォルダ\n"
     "  --field KEY=VALUE       項目。キーか日本語の名前で:\n"
     "                            title 件名、customer お客様名、property 物件名、\n"
     "                            address 住所、measured_at 測定日時（YYYY-MM-DD HH:MM か\n"
     "                            YYYY-MM-DD）、weather 天候、technician 測定者、\n"
     "                            instrument.model、instrument.serial、instrument.firmware\n"
     "                            （計器）、findings 所見\n"
     "  --label KIND:NUMBER=TEXT   測定のラベル。例 --label LEVEL:3=101号室\n"
     "                          KIND は種類のフォルダ（LEVEL、BER、CONSTEL、SPECTRUM、\n"
     "                          PROFILE、SKY、MULTI）、NUMBER はツリーでの番号\n"
     "  --remark KIND:NUMBER=TEXT  測定の備考\n"
     "  --company               代わりに設定の会社情報（$XDG_CONFIG_HOME/RXT4_Viewer の\n"
     "                          company.toml）。キー:\n"
     "                            name 会社名、address 住所、phone 電話、logo ロゴ画像\n"
     "                            (.png か .svg のファイル)\n"
     "  --help                  この説明を表示する\n"
     "\n"
     "値の中の \"\\n\" は複数行を取る項目（住所、所見、備考）での改行、\"\\\\\" はバックスラッシュです。\n"
     "\n"
     "終了ステータス: 0 完了、1 読めないか書き込めない記録、2 引数の誤り、記録に入らないキーか\n"
     "値、ないデータフォルダかセットフォルダ。\n",
     "usage: rxt4 job DATA_FOLDER --set NAME [--field KEY=VALUE]... [--label KIND:NUMBER=TEXT]...\n"
     "                [--remark KIND:NUMBER=TEXT]...\n"
     "       rxt4 job --company [--field KEY=VALUE]...\n"
     "\n"
     "Prints the job record of set folder NAME, kept in NAME/job.toml: one line per\n"
     "field, \"name (key): value\", then the label and remark of each measurement that\n"
     "has one (\"KIND:NUMBER label: text\"). With --field, --label or --remark it changes\n"
     "those instead and writes the record (staged: a failure leaves the earlier file);\n"
     "an empty VALUE or TEXT clears it. A record that cannot be read is not changed.\n"
     "\n"
     "  --set NAME              the set folder\n"
     "  --field KEY=VALUE       a field, by key or by its Japanese name: title, customer,\n"
     "                            property, address, measured_at (YYYY-MM-DD HH:MM or\n"
     "                            YYYY-MM-DD), weather, technician, instrument.model,\n"
     "                            instrument.serial, instrument.firmware, findings\n"
     "  --label KIND:NUMBER=TEXT   a measurement's label, e.g. --label LEVEL:3=Room-101\n"
     "                          KIND is its kind folder (LEVEL, BER, CONSTEL, SPECTRUM,\n"
     "                          PROFILE, SKY, MULTI), NUMBER its number in the tree\n"
     "  --remark KIND:NUMBER=TEXT  a measurement's remark\n"
     "  --company               the company record of the settings instead,\n"
     "                          company.toml in $XDG_CONFIG_HOME/RXT4_Viewer; its keys:\n"
     "                            name, address, phone, logo (a .png or .svg file)\n"
     "  --help                  show this text\n"
     "\n"
     "In a value, \"\\n\" is a line break where the field takes several lines (address,\n"
     "findings, remarks) and \"\\\\\" a backslash.\n"
     "\n"
     "Exit status: 0 done, 1 a record that cannot be read or written, 2 bad arguments, a\n"
     "key or value the record cannot hold, a data folder or set folder that does not exist.\n"},
    {StringId::CliUsageTrend,
     "使い方: rxt4 trend DATA_FOLDER --band BAND --channel CHANNEL [--reading level|cn|mer|ber]\n"
     "                   [--limits NAME|FILE] [--format csv|png] [--out FILE]\n"
     "\n"
     "1 つのバンドとチャンネルを、データフォルダのすべてのセットフォルダにわたって訪問の順\n"
     "（案件情報の測定日時の順。ないセットフォルダは名前順で先に）にたどり、各読み値を判定基準で\n"
     "判定します。そのチャンネルを測っていないセットフォルダは除きます。\n"
     "\n"
     "  --band BAND         計器の表示するバンド（UHF、BS など。大文字小文字は問わない）\n"
     "  --channel CHANNEL   計器の表示するチャンネル（27、BS1 など）\n"
     "  --reading R         level（既定）、cn、mer、ber\n"
     "  --limits NAME|FILE  判定基準（既定: テレビ端子）。rxt4 check と同じ\n"
     "  --format csv|png    csv（既定）: 読み値ごとに 1 行、UTF-8、見出し行付き:\n"
     "                      set_folder, measured_at, kind, number, data_name, band, channel,\n"
     "                      service_class, reading, stored, value, value_kind, verdict,\n"
     "                      reason, min, max, margin_db;\n"
     "                      png: グラフ（--out が必要）\n"
     "  --out FILE          標準出力の代わりに FILE に書き出す（一時ファイル経由: 新しい\n"
     "                      ファイルができるまで前のファイルが残る）\n"
     "  --help              この説明を表示する\n"
     "\n"
     "終了ステータス: 0 書き出した、2 引数の誤り、読めない判定基準、ないデータフォルダ、どの\n"
     "測定にもないバンド・チャンネル・読み値、または書き出せない出力。\n",
     "usage: rxt4 trend DATA_FOLDER --band BAND --channel CHANNEL [--reading level|cn|mer|ber]\n"
     "                  [--limits NAME|FILE] [--format csv|png] [--out FILE]\n"
     "\n"
     "Follows one band and channel across every set folder of the data folder, in the\n"
     "order of the visits (the job record's measuring time; set folders without one\n"
     "first, by name), and judges each reading against a limits profile. Set folders\n"
     "where the channel was not measured are left out.\n"
     "\n"
     "  --band BAND         the band as the instrument shows it (UHF, BS, ...; any case)\n"
     "  --channel CHANNEL   the channel as the instrument shows it (27, BS1, ...)\n"
     "  --reading R         level (default), cn, mer or ber\n"
     "  --limits NAME|FILE  the limits profile (default: the outlet profile), as for rxt4 check\n"
     "  --format csv|png    csv (default): one line per reading, UTF-8, with a header:\n"
     "                      set_folder, measured_at, kind, number, data_name, band, channel,\n"
     "                      service_class, reading, stored, value, value_kind, verdict,\n"
     "                      reason, min, max, margin_db;\n"
     "                      png: the chart (needs --out)\n"
     "  --out FILE          write to FILE (staged: an earlier file stays until the new one\n"
     "                      is complete) instead of standard output\n"
     "  --help              show this text\n"
     "\n"
     "Exit status: 0 written, 2 bad arguments, a profile that cannot be read, a data\n"
     "folder that does not exist, a band, channel or reading that no measurement shows,\n"
     "or output that cannot be written.\n"},
    {StringId::CliUsageDownload,
     "使い方: rxt4 download [--port PORT] --out SET_FOLDER [--baud RATE] [--force]\n"
     "        rxt4 download [--port PORT] --out DATA_FOLDER --new-set [--baud RATE]\n"
     "\n"
     "RXT4 に記録されたすべての測定を SET_FOLDER（なければ作る）に、種類ごとに種類のフォルダへ、\n"
     "ビューアのデータ転送と同じようにダウンロードします。メッセージは標準エラー出力に、端末\n"
     "では進み具合のバーと一緒に出ます。最後のメッセージは標準出力に出ます。Ctrl+C で転送を\n"
     "中止します。\n"
     "\n"
     "すでに測定のある SET_FOLDER は、--force を付けない限り使いません。付けると新しい\n"
     "ダウンロードを隣に書き、すべての種類を保存できたときだけ置き換えます（失敗や Ctrl+C では\n"
     "前のものがそのまま残ります）。別のダウンロードが書き込んでいる SET_FOLDER は使いません。\n"
     "データフォルダ（名前が RXT4 で終わるか、セットフォルダを含むフォルダ）は SET_FOLDER に\n"
     "使えません: そこに直接書いた種類のフォルダをビューアは表示しません。\n"
     "--new-set を付けると、その中に計器と同じく今日の日付の名前（MMDD、MMDD-2、MMDD-3 …）で\n"
     "新しいセットフォルダを作ってダウンロードします。\n"
     "\n"
     "  --port PORT      シリアル機器。例 /dev/ttyUSB0、/dev/ttyACM0（シンボリックリンクも可）。\n"
     "                   既定: 設定ファイルの \"COM Port\"\n"
     "  --out FOLDER     書き込むデータセットフォルダ（--new-set ではデータフォルダ）\n"
     "  --baud RATE      通信速度（既定: 設定ファイルの \"Baud Rate\"、なければ 9600）\n"
     "  --force          セットフォルダにすでにある測定を上書きする\n"
     "  --new-set        データフォルダ FOLDER の中に新しいセットフォルダ MMDD を作る\n"
     "  --help           この説明を表示する\n"
     "\n"
     "設定ファイルはビューアのもの ($XDG_CONFIG_HOME/RXT4_Viewer/RXT4_Viewer.ini) です。\n"
     "終了ステータス: 0 完了、1 失敗（ファイルを書き込めないフォルダを含む）、2 引数の誤り、\n"
     "または始める前に断ったフォルダ（--force なしで測定のあるもの、データフォルダ）、130 中止した。\n",
     "usage: rxt4 download [--port PORT] --out SET_FOLDER [--baud RATE] [--force]\n"
     "       rxt4 download [--port PORT] --out DATA_FOLDER --new-set [--baud RATE]\n"
     "\n"
     "Downloads every measurement stored in the RXT4 into SET_FOLDER (created when\n"
     "missing), one kind folder per kind, as the viewer's data transfer does.\n"
     "Messages go to standard error, with a progress bar on a terminal; the final\n"
     "message goes to standard output. Ctrl+C cancels the transfer.\n"
     "\n"
     "A SET_FOLDER that already holds measurements is refused unless --force is given;\n"
     "with it the new download is written beside it and takes its place only when\n"
     "every kind has been saved (a failure or Ctrl+C leaves the earlier one as it was).\n"
     "A SET_FOLDER another download is writing into is refused.\n"
     "A data folder (a name ending in RXT4, or a folder holding set folders) is refused\n"
     "as SET_FOLDER: the viewer would never show kind folders written straight into it.\n"
     "With --new-set the download goes into a new set folder inside it, named after\n"
     "today's date as the instrument names its own (MMDD, then MMDD-2, MMDD-3, ...).\n"
     "\n"
     "  --port PORT      serial device, e.g. /dev/ttyUSB0 or /dev/ttyACM0 (a symlink works);\n"
     "                   default: \"COM Port\" of the settings file\n"
     "  --out FOLDER     the data set folder to write (with --new-set: the data folder)\n"
     "  --baud RATE      line speed (default: \"Baud Rate\" of the settings file, else 9600)\n"
     "  --force          overwrite the measurements a set folder already holds\n"
     "  --new-set        make a new set folder MMDD inside the data folder FOLDER\n"
     "  --help           show this text\n"
     "\n"
     "The settings file is the viewer's ($XDG_CONFIG_HOME/RXT4_Viewer/RXT4_Viewer.ini).\n"
     "Exit status: 0 done, 1 failed (a folder that takes no files included), 2 bad\n"
     "arguments or a folder refused before the start (holding measurements without\n"
     "--force, a data folder), 130 cancelled.\n"},
    {StringId::CliUsageUpdate,
     "使い方: rxt4 update [--port PORT] IMAGE\n"
     "\n"
     "イメージファイル IMAGE (*.img) の部分（Main、TSNM、Dec）で RXT4 のファームウェアを、\n"
     "ビューアのアップデートと同じようにアップデートします。ポートはいつも 115200 baud です。\n"
     "求められたら RXT4 を更新モードで起動してください。メッセージは標準エラー出力に、端末では\n"
     "進み具合のバーと一緒に出ます。最後のメッセージは標準出力に出ます。Ctrl+C で中止します。\n"
     "\n"
     "  --port PORT   シリアル機器。例 /dev/ttyUSB0、/dev/ttyACM0（シンボリックリンクも可）。\n"
     "                既定: ビューアの設定ファイルの \"COM Port\"\n"
     "  --help        この説明を表示する\n"
     "\n"
     "終了ステータス: 0 アップデートした、1 失敗か正しくないイメージ、2 引数の誤り、130 中止した。\n",
     "usage: rxt4 update [--port PORT] IMAGE\n"
     "\n"
     "Updates the RXT4's firmware with the parts (Main, TSNM, Dec) of the image file\n"
     "IMAGE (*.img), as the viewer's update dialog does. The port always runs at\n"
     "115200 baud. Start the RXT4 in its update mode when asked. Messages go to\n"
     "standard error, with a progress bar on a terminal; the final message goes to\n"
     "standard output. Ctrl+C cancels.\n"
     "\n"
     "  --port PORT   serial device, e.g. /dev/ttyUSB0 or /dev/ttyACM0 (a symlink works);\n"
     "                default: \"COM Port\" of the viewer's settings file\n"
     "  --help        show this text\n"
     "\n"
     "Exit status: 0 updated, 1 failed or invalid image, 2 bad arguments, 130 cancelled.\n"},
    // Why a firmware image was refused.
    {StringId::ImageNoPart, "Main、TSNM、Dec のどの部分もありません", "no Main, TSNM or Dec part found"},
    {StringId::ImageNoMemory, "イメージを読み込むためのメモリが足りません", "not enough memory to hold the image"},
    {StringId::ImagePartWhere, "%1 部分", "%1 part"},
    {StringId::ImageRecordWhere, "%1 部分のレコード %2", "%1 part, record %2"},
    {StringId::ImageTooShort, "%1: ヘッダーの途中でファイルが終わっています", "%1: the file ends inside its header"},
    {StringId::ImageHeaderSum, "%1: ヘッダーのチェックサムが一致しません", "%1: header checksum does not match"},
    {StringId::ImagePartLength, "%1: 長さが部分に収まりません", "%1: its length does not fit the part"},
    {StringId::ImageFileLength, "%1: 長さがファイルに収まりません", "%1: its length does not fit the file"},
    {StringId::ImageCrc, "%1: CRC-32 が一致しません", "%1: CRC-32 does not match"},
    {StringId::FileWriteFailed, "%1 に書き込めません: %2", "cannot write %1: %2"},
    {StringId::FileCreateFailed, "%1 を作成できません: %2", "cannot create %1: %2"},
    // The viewer's display language, the words Qt's Japanese file dialogs lack, its --help.
    {StringId::MenuLanguage, "表示言語(&L)", "Display &language"},
    {StringId::LanguageJapanese, "日本語", "日本語"},
    {StringId::LanguageEnglish, "English", "English"},
    {StringId::FileTypeFolder, "フォルダ", "Folder"},
    {StringId::FileTypeDrive, "ドライブ", "Drive"},
    {StringId::FileTypeSymbolicLink, "シンボリックリンク", "Symbolic Link"},
    {StringId::FileTypeUnknown, "不明", "Unknown"},
    {StringId::ViewerUsage,
     "使い方: rxt4-viewer [データフォルダ]\n"
     "\n"
     "RXT4 ビューアは、RXT4 のデータフォルダ（計測器から取り込んだセットフォルダの\n"
     "並ぶフォルダ）の測定を計測器の画面として表示し、計測器に保存された測定を USB\n"
     "シリアルポートから取り込み（通信 → データ転送）、ファームウェアを更新します\n"
     "（通信 → アップデート）。\n"
     "データフォルダを指定すると起動時に開きます。指定しなければ前回終了時に開いていた\n"
     "データフォルダ（まだあれば）を開きます。Ctrl+O で選べます。\n"
     "ユーザーごとに一つだけ起動できます。\n"
     "\n"
     "  --help             この説明を表示して終了します\n"
     "  --version          バージョンを表示して終了します\n"
     "  --quit-after MS    起動から MS ミリ秒後に終了します（動作確認用）。終了コードは\n"
     "                     そのときメインウィンドウが表示され、答えを待つメッセージが\n"
     "                     なければ 0、そうでなければ 3 です\n"
     "\n"
     "設定（シリアルポートと速度、フォルダ名の注意、表示言語、前回のデータフォルダ、\n"
     "倍率、ウィンドウの位置）は $XDG_CONFIG_HOME/RXT4_Viewer/RXT4_Viewer.ini\n"
     "（既定では ~/.config/RXT4_Viewer/RXT4_Viewer.ini）に保存されます。\n"
     "\n"
     "シリアルポートには権限が要ります: rxt4 udev-rule --help を見てください。\n",
     "Usage: rxt4-viewer [DATA_FOLDER]\n"
     "\n"
     "RXT4 Viewer shows the measurements of an RXT4 data folder (a folder of data set\n"
     "folders downloaded from the instrument) as the instrument's screens, downloads\n"
     "the measurements stored in the instrument over its USB serial port and updates\n"
     "its firmware (both in the communication menu).\n"
     "DATA_FOLDER is opened at start; without it, the data folder open at the last\n"
     "exit (when it is still there), or none: choose one with Ctrl+O.\n"
     "Only one copy runs per user.\n"
     "\n"
     "  --help             show this text and exit\n"
     "  --version          show the version and exit\n"
     "  --quit-after MS    end MS milliseconds after start (for smoke tests); the exit\n"
     "                     status is 0 only when the main window is then showing and\n"
     "                     no message box waits for an answer, else 3\n"
     "\n"
     "The settings (serial port and speed, the folder name warning, the display\n"
     "language; the last data folder, enlargement and window position) live in\n"
     "$XDG_CONFIG_HOME/RXT4_Viewer/RXT4_Viewer.ini (by default\n"
     "~/.config/RXT4_Viewer/RXT4_Viewer.ini).\n"
     "\n"
     "The serial port needs permission: see rxt4 udev-rule --help.\n"},
    {StringId::NoWorkerThread, "作業スレッドを開始できません", "The work could not be started on a thread of its own"},
};

// The error numbers with words of their own.
struct Reason {
  int err;
  StringId id;
};
constexpr Reason kReasons[] = {
    {EACCES, StringId::ErrnoNoPermission}, {EPERM, StringId::ErrnoNotAllowed},
    {EROFS, StringId::ErrnoReadOnly},      {ENOSPC, StringId::ErrnoDiskFull},
    {EDQUOT, StringId::ErrnoQuota},        {ENOENT, StringId::ErrnoMissing},
    {ENOTDIR, StringId::ErrnoNotFolder},   {EEXIST, StringId::ErrnoExists},
    {EISDIR, StringId::ErrnoIsFolder},     {ENAMETOOLONG, StringId::ErrnoNameTooLong},
    {EIO, StringId::ErrnoIo},              {ELOOP, StringId::ErrnoLinkLoop},
    {EMFILE, StringId::ErrnoTooManyFiles}, {ENFILE, StringId::ErrnoTooManyFiles},
    {EFBIG, StringId::ErrnoTooLarge},      {ENOMEM, StringId::ErrnoNoMemory},
    {EBUSY, StringId::ErrnoBusy},          {EXDEV, StringId::ErrnoOtherDevice},
    {ENOTEMPTY, StringId::ErrnoNotEmpty},  {EOPNOTSUPP, StringId::ErrnoUnsupported},
};

// The instrument's own words: drawn on its screens (always Japanese) or matched in its
// files. Every other text has its English.
constexpr StringId kInstrumentWords[] = {
    StringId::ScreenTerrestrial, StringId::ScreenOneSeg,     StringId::ScreenBs,        StringId::ScreenE2Sky,
    StringId::ScreenVuCatv,      StringId::ScreenOtherSatellite, StringId::ScreenCatvUp, StringId::ScreenSkyPerfect,
    StringId::ModulationLabel,   StringId::Analog,           StringId::AnalogKana,      StringId::SatNsat110,
    StringId::SatJcsat3a,        StringId::SatJcsat4a,       StringId::SatBs,           StringId::LayerLabel,
    StringId::ConverterLabel,    StringId::MarkerLabel,
};

struct Texts {
  std::string_view japanese;
  std::string_view english;
  std::string sjis;
};

// Built once on first use and never changed afterwards.
const std::unordered_map<int, Texts>& Table() {
  static const auto table = [] {
    std::unordered_map<int, Texts> map;
    for (const Entry& e : kTable) map.emplace(static_cast<int>(e.id), Texts{e.text, e.en, EncodeSjis(e.text)});
    return map;
  }();
  return table;
}

// The language of the texts a user reads. Process-wide like the locale it stands for:
// set at start (the viewer's setting, the command line's locale) and by the viewer's
// language menu; every other reader only reads it.
std::atomic<Language> g_language{Language::Japanese};

}  // namespace

void SetLanguage(Language language) { g_language.store(language, std::memory_order_relaxed); }

Language CurrentLanguage() { return g_language.load(std::memory_order_relaxed); }

std::string_view Text(StringId id, Language language) {
  auto it = Table().find(static_cast<int>(id));
  if (it == Table().end()) return {};
  if (language == Language::English && !it->second.english.empty()) return it->second.english;
  return it->second.japanese;
}

std::string_view Text(StringId id) { return Text(id, CurrentLanguage()); }

bool HasEnglish(StringId id) {
  auto it = Table().find(static_cast<int>(id));
  return it != Table().end() && !it->second.english.empty();
}

bool IsInstrumentWord(StringId id) {
  return std::find(std::begin(kInstrumentWords), std::end(kInstrumentWords), id) != std::end(kInstrumentWords);
}

std::vector<StringId> AllStringIds() {
  std::vector<StringId> ids;
  ids.reserve(std::size(kTable));
  for (const Entry& e : kTable) ids.push_back(e.id);
  return ids;
}

const std::string& SjisText(StringId id) {
  static const std::string empty;
  auto it = Table().find(static_cast<int>(id));
  return it == Table().end() ? empty : it->second.sjis;
}

std::string FillIn(std::string_view text, std::span<const std::string_view> values) {
  std::string out;
  FillInto(out, text, values);
  return out;
}

void FillInto(std::string& out, std::string_view text, std::span<const std::string_view> values) {
  std::size_t from = 0;
  for (std::size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i + 1)) {
    if (i + 1 >= text.size() || text[i + 1] < '1' || text[i + 1] > '9') continue;
    const auto slot = static_cast<std::size_t>(text[i + 1] - '1');
    if (slot >= values.size()) continue;
    out += text.substr(from, i - from);
    out += values[slot];
    from = i + 2;
    ++i;
  }
  out += text.substr(from);
}

std::string ReasonText(std::error_code reason) {
  if (reason.category() == std::generic_category() || reason.category() == std::system_category())
    for (const Reason& r : kReasons)
      if (r.err == reason.value()) return std::string(Text(r.id));
  return FillIn(Text(StringId::ErrnoOther), {std::to_string(reason.value()), reason.message()});
}

}  // namespace rxt4
