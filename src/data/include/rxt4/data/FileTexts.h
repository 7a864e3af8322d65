#pragma once
// Texts whose bytes a file or the instrument depends on: the settings file's keys, the
// kind folders' names, the measurement tables' column titles, the export's words. They
// are no user texts and are never translated: a file written in English mode must read
// back in Japanese mode and give the same bytes. What a user reads is in Strings.h.

#include <array>
#include <string_view>

namespace rxt4::filetext {

// Keys of the settings file (section kAppName).
inline constexpr std::string_view kKeyFolderAlert = "USE_RXT4_FolderAlert";
inline constexpr std::string_view kKeyComPort = "COM Port";
inline constexpr std::string_view kKeyBaudRate = "Baud Rate";
inline constexpr std::string_view kKeyDataSize = "Data Size";
inline constexpr std::string_view kKeyParity = "Parity";
inline constexpr std::string_view kKeyStopBits = "Stop Bits";
inline constexpr std::string_view kKeyFlowControl = "Flow Ctrl";
inline constexpr std::string_view kKeyDataFolder = "Data Folder";
inline constexpr std::string_view kKeyZoom = "Zoom";
inline constexpr std::string_view kKeyWindowLeft = "Window Left";
inline constexpr std::string_view kKeyWindowTop = "Window Top";
inline constexpr std::string_view kKeyRecentFolder = "Recent Folder";  // followed by " " and its place 1..8
inline constexpr std::string_view kKeySelectedItem = "Selected Item";
inline constexpr std::string_view kKeyExpandedItems = "Expanded Items";
inline constexpr std::string_view kKeyLimitsProfile = "Limits Profile";

// The ending of a data folder's name the instrument gives it.
inline constexpr std::string_view kFolderNameSuffix = "RXT4";

// The kind folders of a set folder.
inline constexpr std::string_view kFolderLevel = "LEVEL";
inline constexpr std::string_view kFolderBer = "BER";
inline constexpr std::string_view kFolderSky = "SKY";
inline constexpr std::string_view kFolderConstel = "CONSTEL";
inline constexpr std::string_view kFolderMulti = "MULTI";
inline constexpr std::string_view kFolderSpectrum = "SPECTRUM";
inline constexpr std::string_view kFolderProfile = "PROFILE";

// File name extensions (without the dot): a saved screen, a firmware image.
inline constexpr std::string_view kBitmapExtension = "bmp";
inline constexpr std::string_view kImageExtension = "img";

// The model a download stamps into the job record.
inline constexpr std::string_view kJobModelName = "RXT4";

// Column titles of the measurement tables (UTF-8; the tables hold them in Shift-JIS),
// columns 0 to 29. The export writes the same titles.
inline constexpr std::array<std::string_view, 30> kColumnTitles = {
    "No.", "データ名", "バンド名", "チャンネル", "偏波面", "周波数(MHz)", "レベル(dBμ)",
    "C/N(dB)", "変調方式", "局部発振周波数(GHz)", "補正値", "ブースター給電",
    "コンバーター給電", "階層", "制御用(バンドNo.)", "制御用(表示幅)", "制御用(スケール幅)",
    "制御用(モード)", "制御用(測定カーソル位置)", "制御用(測定全チャンネル数)", "画面種別", "BER",
    "MER", "バンド名２", "チャンネル２", "偏波面２", "レベル２(dBu)", "BER２", "C/N２",
    "補正値２"};

// The export's words: the markers in words, the workbook's sheets and its summary.
inline constexpr std::string_view kExportMarkerBelow = "範囲外(下)";
inline constexpr std::string_view kExportMarkerAbove = "範囲外(上)";
inline constexpr std::string_view kExportMarkerNone = "未測定";
inline constexpr std::string_view kExportSheetSummary = "概要";
inline constexpr std::string_view kExportSheetReadings = "判定";
inline constexpr std::string_view kExportSheetLimits = "判定基準";
inline constexpr std::string_view kExportSheetLevel = "レベル";
inline constexpr std::string_view kExportSheetBer = "BER";
inline constexpr std::string_view kExportSheetConstellation = "コンスタレーション";
inline constexpr std::string_view kExportSheetSpectrum = "スペクトラム";
inline constexpr std::string_view kExportSheetProfile = "遅延プロファイル";
inline constexpr std::string_view kExportSheetSky = "スカパー";
inline constexpr std::string_view kExportSheetMulti = "多チャンネル";
inline constexpr std::string_view kExportSummaryDataFolder = "データフォルダ";
inline constexpr std::string_view kExportSummaryProfile = "判定基準";
inline constexpr std::string_view kExportSummaryOverall = "総合判定";
inline constexpr std::string_view kExportSummaryMeasurements = "測定";
inline constexpr std::string_view kExportSummaryReadings = "読み値";

}  // namespace rxt4::filetext

namespace rxt4 {

// Title of measurement table column 0..29 (UTF-8); empty outside.
constexpr std::string_view ColumnTitle(int column) {
  return column >= 0 && column < static_cast<int>(filetext::kColumnTitles.size())
             ? filetext::kColumnTitles[static_cast<std::size_t>(column)]
             : std::string_view{};
}

}  // namespace rxt4
