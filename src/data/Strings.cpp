#include "rxt4/data/Strings.h"

#include <array>
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
  std::string_view en{};  // English; empty while a text has none yet (Japanese is shown)
};

// The texts, keyed by their ids.
constexpr Entry kTable[] = {
    {StringId::ConfirmExit, "RXT4 ビューアを終了します\nよろしいですか？"},
    {StringId::SecondInstance, "多重起動は禁止されています"},
    {StringId::FolderWarning,
     "RXT4以外のフォルダを選択した場合\n正常にデータが読み込めない可能性があります。\nよろしいですか？"},
    {StringId::FolderBrowserTitle, "フォルダ選択"},
    {StringId::KeyFolderAlert, "USE_RXT4_FolderAlert"},
    {StringId::FolderNameSuffix, "RXT4"},
    {StringId::KeyComPort, "COM Port"},
    {StringId::KeyBaudRate, "Baud Rate"},
    {StringId::KeyDataSize, "Data Size"},
    {StringId::KeyParity, "Parity"},
    {StringId::KeyStopBits, "Stop Bits"},
    {StringId::KeyFlowControl, "Flow Ctrl"},
    {StringId::ParityNone, "なし"},
    {StringId::ParityEven, "偶数"},
    {StringId::ParityOdd, "奇数"},
    {StringId::StopBitsOne, "1   ビット"},
    {StringId::StopBitsOneHalf, "1.5 ビット"},
    {StringId::StopBitsTwo, "2   ビット"},
    {StringId::FlowNone, "なし"},
    {StringId::FlowHardware, "ハードウェア"},
    {StringId::FlowXonXoff, "Xon / Xoff"},
    {StringId::TransferConnecting, "RXT4との接続確認を行います。"},
    {StringId::TransferNoInstrument, "RXT4との接続が確認できません。"},
    {StringId::TransferRunning, "データ転送中"},
    {StringId::LinkFailed, "通信に失敗しました。\nRXT4との接続を確認してください。"},
    {StringId::TransferDone, "データ転送が完了しました。"},
    {StringId::RootLevel, "レベル測定データ"},
    {StringId::RootBer, "BER測定データ"},
    {StringId::RootSky, "スカパー測定データ"},
    {StringId::RootConstellation, "コンスタレーションデータ"},
    {StringId::RootMulti, "多チャンネル測定データ"},
    {StringId::RootSpectrum, "スペクトラムデータ"},
    {StringId::RootProfile, "遅延プロファイルデータ"},
    {StringId::BitmapExtension, "bmp"},
    {StringId::BitmapFilter, "ビットマップ(*.bmp)|*.bmp|すべて (*.*)|*.*||"},
    {StringId::InvalidImage,
     "指定したファイルは有効なアップデート用ファイルではありません。\nフォルダ・ファイルを選択しなおしてください。"},
    {StringId::ScreenTerrestrial, "地上デジタル"},
    {StringId::ScreenOneSeg, "ワンセグ"},
    {StringId::ScreenBs, "BS"},
    {StringId::ScreenE2Sky, "ｅ２ｂｙスカパー！"},
    {StringId::ScreenVuCatv, "ＶＵ・ＣＡＴＶ"},
    {StringId::ScreenOtherSatellite, "その他衛星"},
    {StringId::ScreenCatvUp, "ＣＡＴＶ上り"},
    {StringId::ScreenSkyPerfect, "スカイパーフェクトＴＶ！"},
    {StringId::Updating, "アップデート中。\nUSBケーブルを抜かないでください。"},
    {StringId::UpdateDone, "Ver.%s から Ver.%s にアップデートが完了しました。"},
    {StringId::ModulationLabel, "変調方式"},
    {StringId::Analog, "Analog"},
    {StringId::AnalogKana, "ｱﾅﾛｸﾞ"},
    {StringId::FolderLevel, "LEVEL"},
    {StringId::FolderBer, "BER"},
    {StringId::FolderSky, "SKY"},
    {StringId::FolderConstel, "CONSTEL"},
    {StringId::FolderMulti, "MULTI"},
    {StringId::FolderSpectrum, "SPECTRUM"},
    {StringId::FolderProfile, "PROFILE"},
    {StringId::SatNsat110, "N-SAT110"},
    {StringId::SatJcsat3a, "JCSAT-3A"},
    {StringId::SatJcsat4a, "JCSAT-4A"},
    {StringId::SatBs, "BS"},
    {StringId::LayerLabel, "階層"},
    {StringId::ConverterLabel, "ｺﾝﾊﾞｰﾀｰ"},
    {StringId::UpdateWaitMode, "リモート更新モードで接続します。\nRXT4 を更新モードで起動してください。"},
    {StringId::UpdateCaption, "アップデート"},
    {StringId::MarkerLabel, "マーカー"},
    {StringId::TransferCancelled, "データ転送を中止しました。"},
    {StringId::TransferConfirmCancel, "データ転送を中止します。\nよろしいですか？"},
    {StringId::TransferCaption, "データ転送"},
    {StringId::ImageExtension, "img"},
    {StringId::ImageFilter, "firm image(*.img)|*.img|すべて(*.*)|*.*||"},
    {StringId::FolderProfileAlias, "PROFILE"},
    {StringId::UnitDbMicroVolt, "dBμV"},
    {StringId::TransferSetMode, "通信に成功しました。\nRXT4をデータ転送モードに設定して下さい。"},
    {StringId::AppCaption, "RXT4 ビューア"},
    {StringId::TransferNotSaved,
     "データを保存できませんでした。\n%s\n保存先のフォルダを確認してください。"},
    {StringId::CountWarning,
     " のデータ数が記録情報と異なります。\nデータが正常に表示できない可能性があります。\nCSVファイルを確認してください。"},
    {StringId::AboutVersion, "RXT4 ビューア Version %s"},
    {StringId::UpdateCancelled, "アップデートを中止しました。"},
    {StringId::FolderNotFound, "%s\nフォルダが見つかりません。"},
    {StringId::SnapshotNotSaved, "%s\n画面を保存できませんでした。\n%s"},
    {StringId::AboutCaption, "RXT4 ビューアのﾊﾞｰｼﾞｮﾝ情報"},
    {StringId::MessageOptionText, "[RXT4]以外のフォルダを選択したときに警告を表示する。"},
    {StringId::NotRegularFile, "通常のファイルではありません"},
    {StringId::SkipLoadMessages, "以降のメッセージを表示しない"},
    {StringId::LoadingFolder, "データフォルダを読み込んでいます..."},
    {StringId::TransferFolderUnwritable, "保存先のフォルダに書き込めません: %s（%s）"},
    {StringId::TransferSaveFailed, "データを保存できませんでした。"},
    {StringId::TransferFolderBusy, "保存先のフォルダには別のデータ転送が書き込んでいます: %s"},
    {StringId::FolderUnreadable, "フォルダを読み込めません: %s（%s）"},
    {StringId::CountFileInvalid, " の記録情報が正しくありません。\nこのフォルダのデータは表示されません。"},
    {StringId::MenuFile, "ファイル(&F)"},
    {StringId::MenuFolder, "フォルダ選択(&O)\tCTRL+O"},
    {StringId::MenuSave, "画面を保存(&S) \tCTRL+S"},
    {StringId::MenuExit, "終了(&X)\tALT+F4"},
    {StringId::MenuEdit, "編集(&E)"},
    {StringId::MenuCopy, "画面をコピー(&C)\tCTRL+C"},
    {StringId::MenuOption, "オプション(&O)"},
    {StringId::MenuMessage, "メッセージ(&M)"},
    {StringId::MenuCommSettings, "通信設定(&C)"},
    {StringId::MenuComm, "通信(&C)"},
    {StringId::MenuTransfer, "データ転送(&T)"},
    {StringId::MenuUpdate, "アップデート(&U)"},
    {StringId::MenuHelp, "ヘルプ(&H)"},
    {StringId::MenuAbout, "このソフトについて(&H)"},
    {StringId::TipSave, "表示画面をビットマップに保存します"},
    {StringId::TipCopy, "表示画面をクリップボードにコピーします"},
    {StringId::TipFolder, "フォルダを選択します"},
    {StringId::TipExit, "ソフトウェアを終了します"},
    {StringId::TipShift, "キーの機能を変更します"},
    {StringId::TipEnter, "決定"},
    {StringId::TipUp, "衛星・バンド↑"},
    {StringId::TipRight, "ch →"},
    {StringId::TipLeft, "ch ←"},
    {StringId::TipDown, "衛星・バンド↓"},
    {StringId::LabelDataNo, "データNo."},
    {StringId::LabelDataName, "データ名"},
    {StringId::LabelFolderName, "フォルダ名"},
    {StringId::ButtonExit, "終了"},
    {StringId::ButtonFolder, "フォルダを選択する"},
    {StringId::ButtonSave, "ファイルへ保存"},
    {StringId::ButtonCopy, "クリップボードへコピー"},
    {StringId::ButtonShift, "シフト"},
    {StringId::ButtonEnter, "決定"},
    {StringId::SaveDialogTitle, "画面を保存"},
    {StringId::CommDialogTitle, "通信設定"},
    {StringId::CommLabelPort, "COM"},
    {StringId::CommLabelSpeed, "通信速度"},
    {StringId::CommLabelDataSize, "データサイズ"},
    {StringId::CommLabelParity, "パリティ"},
    {StringId::CommLabelStopBits, "ストップビット"},
    {StringId::CommLabelFlow, "フロー制御"},
    {StringId::DataSize7, "7 ビット"},
    {StringId::DataSize8, "8 ビット"},
    {StringId::ButtonOk, "OK"},
    {StringId::ButtonCancel, "ｷｬﾝｾﾙ"},
    {StringId::MessageOptionTitle, "メッセージ"},
    {StringId::MenuView, "表示(&V)"},
    {StringId::MenuZoom1, "等倍(&1)"},
    {StringId::MenuZoom2, "2倍(&2)"},
    {StringId::MenuZoom3, "3倍(&3)"},
    {StringId::UpdateFileLabel, "ｱｯﾌﾟﾃﾞｰﾄﾌｧｲﾙ"},
    {StringId::UpdateOpen, "開く"},
    {StringId::UpdateStart, "UPDATE"},
    {StringId::UpdateCancel, "キャンセル"},
    {StringId::ReportTitle, "測定レポート"},
    {StringId::ReportDataFolder, "データフォルダ"},
    {StringId::ReportDate, "作成日"},
    {StringId::ReportSetFolders, "データセット"},
    {StringId::ReportCounts, "種類別の測定数"},
    {StringId::ReportTotal, "合計"},
    {StringId::ReportCountUnit, "%d 件"},
    {StringId::ReportDateFormat, "%Y年%m月%d日"},
    {StringId::MenuReport, "レポートを作成(&R)..."},
    {StringId::MenuExport, "エクスポート(&E)..."},
    {StringId::ReportFilter, "PDF ファイル (*.pdf)|*.pdf||"},
    {StringId::ExportFilter, "SQLite データベース (*.db)|*.db|Excel ブック (*.xlsx)|*.xlsx|CSV ファイル (*.csv)|*.csv||"},
    {StringId::ReportRunning, "レポートを作成しています..."},
    {StringId::ExportRunning, "エクスポートしています..."},
    {StringId::ReportDone, "レポートを作成しました。\n%s"},
    {StringId::ExportDone, "エクスポートが完了しました。\n%s"},
    {StringId::ReportFailed, "レポートを作成できませんでした。\n%s"},
    {StringId::ExportFailed, "エクスポートできませんでした。\n%s"},
    {StringId::ReportNothing, "測定データがありません。\nデータフォルダを選択してください。"},
    {StringId::ReportWarnings, "警告が %d 件ありました。"},
    {StringId::ReportDialogTitle, "レポートを作成"},
    {StringId::ExportDialogTitle, "エクスポート"},
    {StringId::TransferOverwrite, "このフォルダには既にデータがあります。上書きしますか？"},
    {StringId::TransferNewSetFolder, "データフォルダ「%s」の中に新しいフォルダ「%s」を作成して保存しますか？"},
    {StringId::OpenDownloaded, "ダウンロードしたデータを開きますか？"},
    {StringId::TransferRetrying, "再送中..."},
    {StringId::TransferDestination, "保存先: %s"},
    {StringId::TransferKindStep, "%s (%s/%s)"},
    {StringId::TransferRates, "通信速度が一致しません（PC: %s bps、RXT4: %s bps）"},
    {StringId::KeyDataFolder, "Data Folder"},
    {StringId::KeyZoom, "Zoom"},
    {StringId::KeyWindowLeft, "Window Left"},
    {StringId::KeyWindowTop, "Window Top"},
    {StringId::KeyRecentFolder, "Recent Folder"},
    {StringId::KeySelectedItem, "Selected Item"},
    {StringId::KeyExpandedItems, "Expanded Items"},
    {StringId::PortAdvicePermission,
     "このポートを使う権限がありません。RXT4 を接続したまま「rxt4 udev-rule ポート名 | sudo tee "
     "/etc/udev/rules.d/70-rxt4.rules」でルールを入れてから RXT4 を接続し直すか、"
     "ユーザーを dialout グループに加えて（sudo usermod -aG dialout $USER）ログインし直してください。"},
    {StringId::PortAdviceBusy,
     "このポートは他のプログラムが使用中です。そのプログラムを終了してください。RXT4 を接続した直後は "
     "ModemManager が数秒間ポートを調べます。少し待つか、rxt4 udev-rule のルールで ModemManager "
     "から外してください。"},
    {StringId::PortAdviceMissing, "このポートは見つかりません。ケーブルと RXT4 の電源を確かめ、通信設定でポートを選び直してください。"},
    {StringId::PortAdviceInvalid, "このポートはシリアルポートとして使えないか、この通信速度に対応していません。通信設定を確かめてください。"},
    {StringId::MenuRecentFolders, "最近使ったフォルダ(&R)"},
    {StringId::MenuGuide, "ユーザーガイド(&G)\tF1"},
    {StringId::GuideTitle, "RXT4 ビューア ユーザーガイド"},
    {StringId::GuideNotFound, "ユーザーガイドが見つかりません。\n%s"},
    {StringId::AboutLicence, "このソフトウェアは MIT ライセンスで提供されます。"},
    {StringId::SetFolderChosen,
     "選択したフォルダ「%s」は、種類のフォルダ（LEVEL、BER など）を直接含むセットフォルダです。\n"
     "一つ上のフォルダ「%s」をデータフォルダとして開きますか？"},
    {StringId::ReportWarningList, "警告の内容:"},
    {StringId::ImageCheckFailed, "%s\n%s"},
    {StringId::RecentFoldersClear, "一覧を消去(&C)"},
    {StringId::VerdictPass, "合格"},
    {StringId::VerdictCaution, "注意"},
    {StringId::VerdictFail, "不合格"},
    {StringId::VerdictNone, "判定なし"},
    {StringId::ClassTerrestrial, "地上デジタル"},
    {StringId::ClassOneSeg, "ワンセグ"},
    {StringId::ClassBs, "BS"},
    {StringId::ClassCs110, "110度CS"},
    {StringId::ClassOtherCs, "その他の通信衛星"},
    {StringId::ClassCable, "ケーブル (QAM)"},
    {StringId::ClassAnalogue, "アナログ"},
    {StringId::ClassUnplaced, "区分不明"},
    {StringId::ReadingLevel, "レベル"},
    {StringId::ReadingCn, "C/N"},
    {StringId::ReadingMer, "MER"},
    {StringId::ReadingBer, "BER"},
    {StringId::ValueNoMeasurement, "測定なし"},
    {StringId::ValueBelowRange, "測定範囲未満"},
    {StringId::ValueAboveRange, "測定範囲超過"},
    {StringId::ReasonNoLimit, "基準なし"},
    {StringId::ReasonUnreadable, "数値ではありません"},
    {StringId::ReasonAnalogue, "アナログは判定しません"},
    {StringId::ReasonUnplaced, "区分を決められません"},
    {StringId::LimitRange, "%s〜%s"},
    {StringId::LimitAtLeast, "%s 以上"},
    {StringId::LimitAtMost, "%s 以下"},
    {StringId::ReadingVerdict, "%s %s %s (%s)"},
    {StringId::CheckProfile, "判定基準: %s (%s)"},
    {StringId::CheckSummary, "%s: %s (測定 %s 件: 合格 %s / 注意 %s / 不合格 %s / 判定なし %s、測定なしの読み値 %s)"},
    {StringId::CheckOverall, "全体"},
    {StringId::CheckPlace, "#%s ch %s"},
    {StringId::ProfileUnreadable, "判定基準を読めません: %s"},
    {StringId::ProfileNotFound, "判定基準「%s」が見つかりません（探した場所: %s）"},
    {StringId::ProfileSyntax, "TOML として読めません: %s"},
    {StringId::ProfileUnknownTable, "[%s] という区分はありません（使えるのは %s）"},
    {StringId::ProfileUnknownKey, "「%s」という項目はありません（使えるのは %s）"},
    {StringId::ProfileNotNumber, "「%s」は数値で書いてください"},
    {StringId::ProfileNotText, "「%s」は文字列で書いてください"},
    {StringId::ProfileBadValue, "「%s」の値 %s は使えません: %s"},
    {StringId::ProfileMinAboveMax, "%s が %s より大きくなっています"},
    {StringId::ProfileNotTable, "[%s] は表（[%s] の見出しの下に項目を並べる形）で書いてください"},
    {StringId::ProfileWhyFinite, "有限の数値にしてください"},
    {StringId::ProfileWhyNotNegative, "0 以上にしてください"},
    {StringId::ProfileWhyBerRange, "0 より大きく 1 以下にしてください"},
    {StringId::ProfileSkipped, "読めない判定基準を飛ばしました: %s"},
    {StringId::ProfileListRefused, "（読めません: %s）"},
    {StringId::CheckNoFolder, "データフォルダがありません: %s"},
    {StringId::CheckNoSetFolder, "セットフォルダ「%s」が %s にありません"},
    {StringId::CheckBadArgument, "使えない引数です: %s"},
    {StringId::CheckMissingValue, "%s の後に値がありません"},
    {StringId::CheckNoDataFolder, "データフォルダを指定してください"},
    {StringId::CheckBadFormat, "--format には text か json を指定してください: %s"},
    {StringId::CheckWriteFailed, "結果を書き出せません: %s"},
    {StringId::ErrnoOther, "エラー %s: %s"},
    {StringId::ErrnoNoPermission, "アクセスが許可されていません"},
    {StringId::ErrnoNotAllowed, "この操作は許可されていません"},
    {StringId::ErrnoReadOnly, "読み取り専用のメディアです"},
    {StringId::ErrnoDiskFull, "ディスクの空き容量が足りません"},
    {StringId::ErrnoQuota, "ディスクの使用量の上限に達しています"},
    {StringId::ErrnoMissing, "ファイルまたはフォルダがありません"},
    {StringId::ErrnoNotFolder, "フォルダではありません"},
    {StringId::ErrnoExists, "同じ名前のファイルがあります"},
    {StringId::ErrnoIsFolder, "フォルダです"},
    {StringId::ErrnoNameTooLong, "名前が長すぎます"},
    {StringId::ErrnoIo, "ディスクの読み書きでエラーが起きました"},
    {StringId::ErrnoLinkLoop, "シンボリックリンクが循環しています"},
    {StringId::ErrnoTooManyFiles, "開いているファイルが多すぎます"},
    {StringId::ErrnoTooLarge, "ファイルが大きすぎます"},
    {StringId::ErrnoNoMemory, "メモリが足りません"},
    {StringId::ErrnoBusy, "使用中です"},
    {StringId::ErrnoOtherDevice, "別のドライブにあります"},
    {StringId::ErrnoNotEmpty, "フォルダが空ではありません"},
    {StringId::ErrnoUnsupported, "このドライブでは使えない操作です"},
    // The measurement report (48400-48599).
    {StringId::RptCoverSubject, "件名"},
    {StringId::RptCoverCustomer, "お客様名"},
    {StringId::RptCoverSite, "物件名"},
    {StringId::RptCoverAddress, "住所"},
    {StringId::RptCoverMeasuredAt, "測定日時"},
    {StringId::RptCoverWeather, "天候"},
    {StringId::RptCoverTechnician, "測定者"},
    {StringId::RptCoverInstrument, "計器"},
    {StringId::RptCoverRemarks, "所見"},
    {StringId::RptCoverCompany, "会社"},
    {StringId::RptCoverPhone, "電話"},
    {StringId::RptCoverNumber, "報告書番号"},
    {StringId::RptCoverIssued, "発行日"},
    {StringId::RptCoverStamp, "確認印"},
    {StringId::RptCoverSignature, "署名"},
    {StringId::RptCoverData, "データ"},
    {StringId::RptSummaryTitle, "総合判定"},
    {StringId::RptSummaryProfile, "判定基準: %s"},
    {StringId::RptSummaryCounts, "セットフォルダ・種類別の判定（測定数）"},
    {StringId::RptHeadSetFolder, "セットフォルダ"},
    {StringId::RptHeadKind, "種類"},
    {StringId::RptHeadCount, "測定数"},
    {StringId::RptSetTotal, "計"},
    {StringId::RptFindings, "不合格・注意の読み値"},
    {StringId::RptHeadReading, "項目"},
    {StringId::RptHeadValue, "値"},
    {StringId::RptHeadVerdict, "判定"},
    {StringId::RptHeadLimit, "基準"},
    {StringId::RptNoFindings, "不合格・注意の読み値はありません。"},
    {StringId::RptNotJudged, "判定基準を使えないため、判定していません。"},
    {StringId::RptHeadNo, "No."},
    {StringId::RptHeadLabel, "測定箇所"},
    {StringId::RptHeadDataName, "データ名"},
    {StringId::RptHeadBand, "バンド"},
    {StringId::RptHeadChannel, "チャンネル"},
    {StringId::RptHeadFrequency, "周波数"},
    {StringId::RptHeadPolarization, "偏波"},
    {StringId::RptHeadModulation, "変調方式"},
    {StringId::RptHeadLayer, "階層"},
    {StringId::RptHeadCorrection, "補正値"},
    {StringId::RptHeadField, "欄"},
    {StringId::RptHeadChannelRow, "行"},
    {StringId::RptWithUnit, "%s (%s)"},
    {StringId::RptMarkerBelow, "範囲外(下)"},
    {StringId::RptMarkerAbove, "範囲外(上)"},
    {StringId::RptMarkerNone, "未測定"},
    {StringId::RptClampedAbove, "%s 以上"},
    {StringId::RptClampedBelow, "%s 以下"},
    {StringId::RptLegend, "凡例: 範囲外(下) 計器の測定範囲より低い　範囲外(上) 計器の測定範囲より高い　未測定 測定値がない　以上・以下 画面の目盛りの端の値"},
    {StringId::RptLegendMarks, "判定: ○ 合格（基準内、余裕あり）　△ 注意（基準内、余裕なし）　× 不合格（基準外）　– 判定なし"},
    {StringId::RptMarkPass, "○"},
    {StringId::RptMarkCaution, "△"},
    {StringId::RptMarkFail, "×"},
    {StringId::RptMarkNone, "–"},
    {StringId::RptTablesTitle, "測定値"},
    {StringId::RptScreensTitle, "付録: 測定画面"},
    {StringId::RptCaption, "No.%s %s"},
    {StringId::RptCompareTitle, "調整前後の比較: %s → %s"},
    {StringId::RptCompareBefore, "前: %s"},
    {StringId::RptCompareAfter, "後: %s"},
    {StringId::RptCompareChange, "変化"},
    {StringId::RptCompareMissing, "（なし）"},
    {StringId::RptCompareNothing, "比較できる測定がありません。"},
    {StringId::RptCoverBookmark, "表紙"},
    {StringId::RptWarnLogo, "ロゴ画像を読めません（PNG か SVG にしてください）: %s"},
    {StringId::RptWarnCompareSet, "比較するセットフォルダ「%s」がありません"},
    {StringId::RptInstrumentSerial, "製造番号 %s"},
    {StringId::RptInstrumentFirmware, "ファームウェア %s"},
    {StringId::RptContinued, "%s（続き）"},
    {StringId::RptMeasuredAtFormat, "%s年%s月%s日 %s"},
    // The viewer's judging (block 48000).
    {StringId::MenuLimits, "判定基準(&J)"},
    {StringId::KeyLimitsProfile, "Limits Profile"},
    {StringId::LimitsRefusedEntry, "%s（読めません）"},
    {StringId::LimitsKeptPrevious, "判定基準を読めません。判定基準「%s」のまま判定します。\n%s"},
    {StringId::LimitsStartFallback, "前回の判定基準を読めません。判定基準「%s」で判定します。\n%s"},
    {StringId::LimitsUserFolder, "自分の判定基準: %s に *.toml を置く"},
    {StringId::VerdictLineSeparator, "　"},
    {StringId::VerdictLineNone, "%s (%s)"},
    // The job record and the company record.
    {StringId::JobTitle, "件名"},
    {StringId::JobCustomer, "お客様名"},
    {StringId::JobProperty, "物件名"},
    {StringId::JobAddress, "住所"},
    {StringId::JobMeasuredAt, "測定日時"},
    {StringId::JobWeather, "天候"},
    {StringId::JobTechnician, "測定者"},
    {StringId::JobInstrumentModel, "計器 機種"},
    {StringId::JobInstrumentSerial, "計器 製造番号"},
    {StringId::JobInstrumentFirmware, "計器 ファームウェア"},
    {StringId::JobFindings, "所見"},
    {StringId::JobLabel, "ラベル"},
    {StringId::JobRemark, "備考"},
    {StringId::JobInstrument, "計器"},
    {StringId::JobModelName, "RXT4"},
    {StringId::CompanyName, "会社名"},
    {StringId::CompanyAddress, "住所"},
    {StringId::CompanyPhone, "電話"},
    {StringId::CompanyLogo, "ロゴ画像"},
    {StringId::RecordSyntax, "TOML として読めません: %s"},
    {StringId::RecordUnknownKey, "「%s」という項目はありません（使えるのは %s）"},
    {StringId::RecordNotText, "「%s」は文字列で書いてください"},
    {StringId::RecordNotTable, "[%s] は表で書いてください"},
    {StringId::RecordBadKind, "「%s」という測定の種類はありません（使えるのは %s）"},
    {StringId::RecordBadNumber, "測定番号「%s」は 1 から 999999 までの整数で書いてください"},
    {StringId::RecordTooLong, "「%s」が長すぎます（%s バイトまで）"},
    {StringId::RecordLineBreak, "「%s」に改行は使えません"},
    {StringId::RecordControl, "「%s」に制御文字は使えません"},
    {StringId::RecordNotUtf8, "「%s」に文字として読めないバイトがあります"},
    {StringId::RecordBadTime, "「%s」は「YYYY-MM-DD HH:MM」か「YYYY-MM-DD」の形で書いてください: %s"},
    {StringId::RecordBadLogo, "「%s」は PNG か SVG のファイル（.png / .svg）にしてください: %s"},
    {StringId::RecordBadKey, "測定は「種類:番号」の形で指定してください（例 LEVEL:3）: %s"},
    {StringId::RecordIgnored, "案件情報を読めないため使いません: %s"},
    {StringId::RecordWriteFailed, "書き込めません: %s"},
    {StringId::RecordKeptDamaged, "読めない案件情報はそのまま残し、測定日時は書き込みませんでした: %s"},
    {StringId::CompanionUnreadable, "%s: 付属ファイルがないか壊れているため、グラフを載せていません"},
    {StringId::CompanionsMore, "ほかに %s 個の付属ファイルが読めず、グラフを載せていません"},
    {StringId::ReportNoFont, "レポートのフォントが見つかりません。文字が表示されないことがあります"},
    {StringId::ReportFontInstead, "IPAゴシックが見つからないため、%s で作成しました"},
    {StringId::ReportNoJapaneseFont,
     "日本語のフォントが見つかりません（fonts-ipafont-gothic を入れてください）。日本語が表示されないことがあります"},
    {StringId::JobCmdNoSet, "--set でセットフォルダを指定してください"},
    {StringId::JobCmdNotAssignment, "%s は「%s」の形で指定してください: %s"},
    {StringId::JobCmdDamaged, "案件情報を読めません（直すか消してから変更してください）: %s"},
    {StringId::JobCmdUnreadable, "案件情報を読めません: %s"},
    {StringId::MenuJobRecord, "案件情報(&J)..."},
    {StringId::MenuMeasurementNote, "ラベル・備考(&L)..."},
    {StringId::MenuCompany, "会社情報(&I)..."},
    {StringId::JobDlgTitle, "案件情報 - %s"},
    {StringId::NoteDlgTitle, "ラベル・備考 - %s"},
    {StringId::CompanyDlgTitle, "会社情報"},
    {StringId::JobNoSetFolder, "セットフォルダか測定を選んでください。"},
    {StringId::JobNoMeasurement, "測定を選んでください。"},
    {StringId::RecordReplaceDamaged, "%s\n\nこの内容を新しい内容で置き換えますか？"},
    {StringId::JobSaveFailed, "案件情報を保存できませんでした。\n%s"},
    {StringId::CompanySaveFailed, "会社情報を保存できませんでした。\n%s"},
    {StringId::CompanyBrowse, "参照..."},
    {StringId::CompanyLogoFilter, "画像 (PNG, SVG)|*.png;*.svg|すべて (*.*)|*.*||"},
    {StringId::NoteDataName, "データ名"},
    {StringId::ScreenFontMissing, "画面の日本語フォントが見つかりません（fonts-ipafont-gothic を入れてください）"},
    {StringId::ScreenFontInit, "FreeType を初期化できません"},
    {StringId::ScreenFontOpen, "フォントファイルを開けません: %s"},
    {StringId::ScreenFontNoUnicode, "フォントファイルに Unicode の文字表がありません: %s"},
    {StringId::ScreenFontBoxes, "画面: %s。文字は四角で描かれます"},
    // The trend of a place across visits and two visits compared.
    {StringId::TrendNeedPlace, "--band と --channel を指定してください"},
    {StringId::TrendBadReading, "--reading には level、cn、mer、ber のどれかを指定してください: %s"},
    {StringId::TrendBadFormat, "--format には csv か png を指定してください: %s"},
    {StringId::TrendUnknownBand, "バンド「%s」の測定がありません（あるバンド: %s）"},
    {StringId::TrendUnknownChannel, "バンド %s にチャンネル「%s」の測定がありません（あるチャンネル: %s）"},
    {StringId::TrendNoReading, "バンド %s チャンネル %s の%sを表示する測定がありません"},
    {StringId::TrendPngNeedsOut, "png は --out で書き出すファイルを指定してください"},
    {StringId::TrendWriteFailed, "%s を書き出せません: %s"},
    {StringId::TrendTitle, "%s %s の%sの推移"},
    {StringId::TrendAxisVisits, "セットフォルダ"},
    {StringId::TrendLimitMin, "下限 %s"},
    {StringId::TrendLimitMax, "上限 %s"},
    {StringId::TrendMarginLine, "注意 (%s dB)"},
    {StringId::TrendProfile, "判定基準: %s"},
    {StringId::TrendOutsideRange, "▼ 測定範囲未満 / ▲ 測定範囲超過"},
    {StringId::TrendWindowTitle, "推移"},
    {StringId::MenuTrend, "推移(&T)..."},
    {StringId::MenuCompare, "比較(&C)..."},
    {StringId::MenuCompareReport, "比較レポート(&R)..."},
    {StringId::TrendReading, "読み値:"},
    {StringId::TrendSave, "PNG で保存..."},
    {StringId::TrendCopy, "コピー"},
    {StringId::TrendSelectMeasurement, "推移を見る測定をツリーで選んでください"},
    {StringId::TrendNoPlace, "この測定には推移を描ける読み値がありません"},
    {StringId::TrendPngFilter, "PNG 画像 (*.png)"},
    {StringId::TrendSaveFailed, "%s を保存できませんでした。\n%s"},
    {StringId::TrendPlace, "場所:"},
    {StringId::TrendClose, "閉じる"},
    {StringId::TrendNoPoints, "この読み値はどのセットフォルダにもありません"},
    {StringId::CompareWindowTitle, "比較"},
    {StringId::CompareBefore, "前:"},
    {StringId::CompareAfter, "後:"},
    {StringId::CompareKind, "種類"},
    {StringId::CompareBand, "バンド"},
    {StringId::CompareChannel, "チャンネル"},
    {StringId::CompareReading, "読み値"},
    {StringId::CompareValueBefore, "前の値"},
    {StringId::CompareVerdictBefore, "前の判定"},
    {StringId::CompareValueAfter, "後の値"},
    {StringId::CompareVerdictAfter, "後の判定"},
    {StringId::CompareChange, "変化"},
    {StringId::CompareNeedTwo, "比較するには 2 つ以上のセットフォルダが要ります"},
    {StringId::CompareMissing, "なし"},
    // The export.
    {StringId::ExportMarkerBelow, "範囲外(下)"},
    {StringId::ExportMarkerAbove, "範囲外(上)"},
    {StringId::ExportMarkerNone, "未測定"},
    {StringId::ExportSheetSummary, "概要"},
    {StringId::ExportSheetReadings, "判定"},
    {StringId::ExportSheetLimits, "判定基準"},
    {StringId::ExportSheetLevel, "レベル"},
    {StringId::ExportSheetBer, "BER"},
    {StringId::ExportSheetConstellation, "コンスタレーション"},
    {StringId::ExportSheetSpectrum, "スペクトラム"},
    {StringId::ExportSheetProfile, "遅延プロファイル"},
    {StringId::ExportSheetSky, "スカパー"},
    {StringId::ExportSheetMulti, "多チャンネル"},
    {StringId::ExportSummaryDataFolder, "データフォルダ"},
    {StringId::ExportSummaryProfile, "判定基準"},
    {StringId::ExportSummaryOverall, "総合判定"},
    {StringId::ExportSummaryMeasurements, "測定"},
    {StringId::ExportSummaryReadings, "読み値"},
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

// Column titles of the measurement tables, columns 0 to 29.
constexpr std::array<std::string_view, 30> kColumnTitles = {
    "No.", "データ名", "バンド名", "チャンネル", "偏波面", "周波数(MHz)", "レベル(dBμ)",
    "C/N(dB)", "変調方式", "局部発振周波数(GHz)", "補正値", "ブースター給電",
    "コンバーター給電", "階層", "制御用(バンドNo.)", "制御用(表示幅)", "制御用(スケール幅)",
    "制御用(モード)", "制御用(測定カーソル位置)", "制御用(測定全チャンネル数)", "画面種別", "BER",
    "MER", "バンド名２", "チャンネル２", "偏波面２", "レベル２(dBu)", "BER２", "C/N２",
    "補正値２"};

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
  auto next = values.begin();
  std::size_t from = 0;
  for (std::size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i + 1)) {
    if (i + 1 < text.size() && text[i + 1] == 's' && next != values.end()) {
      out += text.substr(from, i - from);
      out += *next++;
      from = i + 2;
      ++i;
    }
  }
  out += text.substr(from);
}

std::string ReasonText(std::error_code reason) {
  if (reason.category() == std::generic_category() || reason.category() == std::system_category())
    for (const Reason& r : kReasons)
      if (r.err == reason.value()) return std::string(Text(r.id));
  return FillIn(Text(StringId::ErrnoOther), {std::to_string(reason.value()), reason.message()});
}

std::string_view ColumnTitle(int column) {
  if (column < 0 || column >= static_cast<int>(kColumnTitles.size())) return {};
  return kColumnTitles[static_cast<std::size_t>(column)];
}

}  // namespace rxt4
