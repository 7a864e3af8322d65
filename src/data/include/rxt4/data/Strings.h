#pragma once
// The one string table of RXT4 Viewer: every text a user reads, keyed by its resource
// id, in Japanese and in English, and the instrument's own words its screens draw.
// Texts are UTF-8; SjisText gives the Shift-JIS bytes the screens draw. Texts whose
// bytes a file depends on (settings keys, folder names, column titles, the export's
// words) are no user texts: they are in FileTexts.h and never translated.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace rxt4 {

enum class StringId : int {
  ConfirmExit = 32779,          // "RXT4 ビューアを終了します\nよろしいですか？"
  SecondInstance = 32780,       // "多重起動は禁止されています"
  FolderWarning = 32782,
  FolderBrowserTitle = 32783,   // "フォルダ選択"
  ParityNone = 32793,
  ParityEven = 32794,
  ParityOdd = 32795,
  StopBitsOne = 32796,
  StopBitsOneHalf = 32797,
  StopBitsTwo = 32798,
  FlowNone = 32799,
  FlowHardware = 32800,
  FlowXonXoff = 32801,
  TransferConnecting = 32802,   // "RXT4との接続確認を行います。"
  TransferNoInstrument = 32803, // "RXT4との接続が確認できません。"
  TransferRunning = 32804,      // "データ転送中"
  LinkFailed = 32805,           // "通信に失敗しました。\nRXT4との接続を確認してください。"
  TransferDone = 32806,         // "データ転送が完了しました。"
  RootLevel = 32807,
  RootBer = 32808,
  RootSky = 32809,
  RootConstellation = 32810,
  RootMulti = 32811,
  RootSpectrum = 32812,
  RootProfile = 32813,
  BitmapFilter = 32815,
  InvalidImage = 32820,
  ScreenTerrestrial = 32821,    // screen type 0
  ScreenOneSeg = 32822,         // 1
  ScreenBs = 32823,             // 2
  ScreenE2Sky = 32824,          // 3
  ScreenVuCatv = 32825,         // 7, 8
  ScreenOtherSatellite = 32826, // 9, 10
  ScreenCatvUp = 32827,         // 11
  ScreenSkyPerfect = 32828,     // 4, 5, 6
  Updating = 32829,
  UpdateDone = 32830,           // "Ver.%1 から Ver.%2 にアップデートが完了しました。"
  ModulationLabel = 32838,      // "変調方式"
  Analog = 32839,               // "Analog"
  AnalogKana = 32840,           // "ｱﾅﾛｸﾞ"
  SatNsat110 = 32849,
  SatJcsat3a = 32850,
  SatJcsat4a = 32851,
  SatBs = 32852,
  LayerLabel = 32853,           // "階層"
  ConverterLabel = 32854,       // "ｺﾝﾊﾞｰﾀｰ"
  UpdateWaitMode = 32855,
  UpdateCaption = 32856,        // "アップデート"
  MarkerLabel = 32857,          // "マーカー"
  TransferCancelled = 32858,    // "データ転送を中止しました。"
  TransferConfirmCancel = 32859,
  TransferCaption = 32860,      // "データ転送"
  ImageFilter = 32892,
  UnitDbMicroVolt = 32899,      // "dBμV"
  TransferSetMode = 32901,
  AppCaption = 32902,           // "RXT4 ビューア"

  // Messages from 40001 on (the data transfer, the about box, the start folder, the
  // screen snapshot).
  TransferNotSaved = 40001,     // the data arrived but could not be saved; "%1" names the kind folders
  CountWarning = 40002,         // " のデータ数が記録情報と異なります。..." (follows the table path)
  AboutVersion = 40003,         // "RXT4 ビューア Version %1", the program's version
  AboutCaption = 40004,
  MessageOptionText = 40005,
  UpdateCancelled = 40006,      // "アップデートを中止しました。"
  FolderNotFound = 40007,       // the data folder named at start does not exist; "%1" is its path
  SnapshotNotSaved = 40008,     // the screen could not be saved; "%1": the file, then the system's reason
  // Texts of the data folder load.
  NotRegularFile = 40020,       // reason of a file error (a pipe, a device), put before the path as the platform's own reasons are
  SkipLoadMessages = 40021,     // "以降のメッセージを表示しない": the button beside OK of a load's later messages
  LoadingFolder = 40022,        // the progress dialog of a long load
  TransferFolderUnwritable = 40010,  // the set folder takes no files; "%1" the folder, then "%2" the system's reason
  TransferSaveFailed = 40011,   // "データを保存できませんでした。": the set folder refused the download
  TransferFolderBusy = 40012,   // another download writes into the set folder; "%1" the folder
  FolderUnreadable = 40023,     // a data, set or kind folder cannot be read; "%1" the folder, then "%2" the reason
  CountFileInvalid = 40024,     // follows a count file's path: it holds no count of this format
  // Texts of the viewer's window, menus, tool tips and dialogs.
  MenuFile = 41001,
  MenuFolder = 41002,
  MenuSave = 41003,
  MenuExit = 41004,
  MenuEdit = 41005,
  MenuCopy = 41006,
  MenuOption = 41007,
  MenuMessage = 41008,
  MenuCommSettings = 41009,
  MenuComm = 41010,
  MenuTransfer = 41011,
  MenuUpdate = 41012,
  MenuHelp = 41013,
  MenuAbout = 41014,
  TipSave = 41020,
  TipCopy = 41021,
  TipFolder = 41022,
  TipExit = 41023,
  TipShift = 41024,
  TipEnter = 41025,
  TipUp = 41026,
  TipRight = 41027,
  TipLeft = 41028,
  TipDown = 41029,
  LabelDataNo = 41030,
  LabelDataName = 41031,
  LabelFolderName = 41032,
  ButtonExit = 41033,
  ButtonFolder = 41034,
  ButtonSave = 41035,
  ButtonCopy = 41036,
  ButtonShift = 41037,
  ButtonEnter = 41038,
  SaveDialogTitle = 41039,
  CommDialogTitle = 41040,
  CommLabelPort = 41041,
  CommLabelSpeed = 41042,
  CommLabelDataSize = 41043,
  CommLabelParity = 41044,
  CommLabelStopBits = 41045,
  CommLabelFlow = 41046,
  DataSize7 = 41047,
  DataSize8 = 41048,
  ButtonOk = 41049,
  ButtonCancel = 41050,
  MessageOptionTitle = 41051,
  MenuView = 41052,
  MenuZoom1 = 41053,
  MenuZoom2 = 41054,
  MenuZoom3 = 41055,
  UpdateFileLabel = 41056,
  UpdateOpen = 41057,
  UpdateStart = 41058,
  UpdateCancel = 41059,
  // Texts of the measurement report and the export.
  ReportTitle = 42001,          // "測定レポート"
  ReportDataFolder = 42002,
  ReportDate = 42003,
  ReportSetFolders = 42004,
  ReportCounts = 42005,
  ReportTotal = 42006,
  ReportCountUnit = 42007,      // "%1 件"
  ReportDateFormat = 42008,     // the report's date: "%1" the year, "%2" the month, "%3" the day (two digits each)
  MenuReport = 42009,
  MenuExport = 42010,
  ReportFilter = 42011,
  ExportFilter = 42012,
  ReportRunning = 42013,
  ExportRunning = 42014,
  ReportDone = 42015,           // "%1" names the file
  ExportDone = 42016,
  ReportFailed = 42017,         // "%1" gives the reason
  ExportFailed = 42018,
  ReportNothing = 42019,
  ReportWarnings = 42020,       // "%1" counts the warnings
  ReportDialogTitle = 42021,
  ExportDialogTitle = 42022,
  // Texts of the everyday download path and of what the viewer remembers between runs.
  TransferOverwrite = 43001,    // the chosen set folder already holds measurements
  TransferNewSetFolder = 43002, // "%1" the data folder chosen, then "%2" the new set folder's name
  OpenDownloaded = 43003,       // after a download outside the open data folder
  TransferRetrying = 43004,     // "再送中...", beside the progress while a reply is asked for again
  TransferDestination = 43005,  // "%1" the set folder the transfer writes into
  TransferKindStep = 43006,     // "%1" the kind's name, then "%2" its place and "%3" the number of kinds
  TransferRates = 43007,        // "%1" the PC's rate, then "%2" the rate the instrument reported
  // Why a serial port would not open, and what to do about it.
  PortAdvicePermission = 44001, // the user may not open the device
  PortAdviceBusy = 44002,       // another program holds the port
  PortAdviceMissing = 44003,    // no such device
  PortAdviceInvalid = 44004,    // not a serial port, or a speed it does not take
  // Texts of the viewer in daily use: recent folders, the guide, the about box, a set
  // folder chosen as the data folder, the report's warnings, a refused image.
  MenuRecentFolders = 45001,    // "Recent folders" (File menu)
  MenuGuide = 45002,            // "User guide" (Help menu, F1)
  GuideTitle = 45003,           // "RXT4 Viewer user guide" (the guide's window)
  GuideNotFound = 45004,        // "The user guide is not found." "%1": where it was looked for
  AboutLicence = 45005,         // "This software is provided under the MIT licence."
  SetFolderChosen = 45006,      // "%1 holds kind folders: a set folder. Open its parent %2 as the data folder?"
  ReportWarningList = 45007,    // "Warnings:" heading of the warnings in the details area
  ImageCheckFailed = 45008,     // the refused image's check: "%1" the invalid image text, "%2" the failed check
  RecentFoldersClear = 45009,   // "Clear the list" (end of the recent folders menu)
  // Judging against a limits profile: verdicts, service classes, readings, and the
  // messages of rxt4 check (English glosses in the comments).
  VerdictPass = 46001,          // "合格" pass: inside the limits by more than the margin
  VerdictCaution = 46002,       // "注意" caution: inside the limits, within the margin
  VerdictFail = 46003,          // "不合格" fail: outside the limits
  VerdictNone = 46004,          // "判定なし" not judged
  ClassTerrestrial = 46010,     // "地上デジタル" terrestrial digital
  ClassOneSeg = 46011,          // "ワンセグ" one-segment
  ClassBs = 46012,              // "BS"
  ClassCs110 = 46013,           // "110度CS" 110° CS
  ClassOtherCs = 46014,         // "その他の通信衛星" other communications satellites
  ClassCable = 46015,           // "ケーブル (QAM)" cable (QAM)
  ClassAnalogue = 46016,        // "アナログ" analogue
  ClassUnplaced = 46017,        // "区分不明" class unknown
  ReadingLevel = 46020,         // "レベル" level
  ReadingCn = 46021,            // "C/N"
  ReadingMer = 46022,           // "MER"
  ReadingBer = 46023,           // "BER"
  ValueNoMeasurement = 46030,   // "測定なし" no measurement (the "---.-" marker)
  ValueBelowRange = 46031,      // "測定範囲未満" below the meter's range
  ValueAboveRange = 46032,      // "測定範囲超過" above the meter's range
  ReasonNoLimit = 46040,        // "基準なし" the profile sets no limit for it
  ReasonUnreadable = 46041,     // "数値ではありません" the stored text is no number
  ReasonAnalogue = 46042,       // "アナログは判定しません" analogue rows are not judged
  ReasonUnplaced = 46043,       // "区分を決められません" the row's service class cannot be told
  LimitRange = 46050,           // "%1〜%2" minimum to maximum
  LimitAtLeast = 46051,         // "%1 以上" at least
  LimitAtMost = 46052,          // "%1 以下" at most
  ReadingVerdict = 46053,       // "%1 %2 %3 (%4)": reading, value, verdict, limit or reason
  CheckProfile = 46060,         // "判定基準: %1 (%2)" the profile's name and file
  CheckSummary = 46061,         // "%1: %2 (測定 %3 件: 合格 %4 / 注意 %5 / 不合格 %6 / 判定なし %7、測定なしの読み値 %8)"
  CheckOverall = 46062,         // "全体" overall
  CheckPlace = 46063,           // "#%1 ch %2" a channel row (multi-channel) or field row (SKY)
  ProfileUnreadable = 46070,    // "判定基準を読めません: %1" the file, its line and the reason
  ProfileNotFound = 46071,      // "判定基準「%1」が見つかりません（探した場所: %2）" name, folders
  ProfileSyntax = 46072,        // "TOML として読めません: %1" the parser's own description
  ProfileUnknownTable = 46073,  // "[%1] という区分はありません（使えるのは %2）" table, the valid ones
  ProfileUnknownKey = 46074,    // "「%1」という項目はありません（使えるのは %2）" key, the valid ones
  ProfileNotNumber = 46075,     // "「%1」は数値で書いてください" key
  ProfileNotText = 46076,       // "「%1」は文字列で書いてください" key
  ProfileBadValue = 46077,      // "「%1」の値 %2 は使えません: %3" key, value, why
  ProfileMinAboveMax = 46078,   // "%1 が %2 より大きくなっています" the minimum key, the maximum key
  ProfileNotTable = 46079,      // "[%1] は表（[%2] の見出しの下に項目を並べる形）で書いてください" table, table
  ProfileWhyFinite = 46081,     // "有限の数値にしてください" must be a finite number
  ProfileWhyNotNegative = 46082,  // "0 以上にしてください" must not be negative
  ProfileWhyBerRange = 46083,   // "0 より大きく 1 以下にしてください" must be above 0 and at most 1
  ProfileSkipped = 46084,       // "読めない判定基準を飛ばしました: %1" a refused file passed over while looking for a name
  ProfileListRefused = 46085,   // "（読めません: %1）" in the list of profiles, for a refused file
  CheckNoFolder = 46090,        // "データフォルダがありません: %1"
  CheckNoSetFolder = 46091,     // "セットフォルダ「%1」が %2 にありません" set folder, data folder
  CheckBadArgument = 46092,     // "使えない引数です: %1"
  CheckMissingValue = 46093,    // "%1 の後に値がありません" option
  CheckNoDataFolder = 46094,    // "データフォルダを指定してください"
  CheckBadFormat = 46095,       // "--format には text か json を指定してください: %1"
  CheckWriteFailed = 46096,     // "結果を書き出せません: %1" the system's reason
  // The system's reasons for a failure (error numbers), in words (ReasonText).
  ErrnoOther = 47000,          // "%1" the error number, then "%2" the system's own description
  ErrnoNoPermission = 47001,
  ErrnoNotAllowed = 47002,
  ErrnoReadOnly = 47003,
  ErrnoDiskFull = 47004,
  ErrnoQuota = 47005,
  ErrnoMissing = 47006,
  ErrnoNotFolder = 47007,
  ErrnoExists = 47008,
  ErrnoIsFolder = 47009,
  ErrnoNameTooLong = 47010,
  ErrnoIo = 47011,
  ErrnoLinkLoop = 47012,
  ErrnoTooManyFiles = 47013,
  ErrnoTooLarge = 47014,
  ErrnoNoMemory = 47015,
  ErrnoBusy = 47016,
  ErrnoOtherDevice = 47017,
  ErrnoNotEmpty = 47018,
  ErrnoUnsupported = 47019,
  // The measurement report: cover, summary, tables, screens, compare pages, its
  // bookmarks and its warnings (English glosses in the comments).
  RptCoverSubject = 48400,  // subject
  RptCoverCustomer = 48401,  // customer
  RptCoverSite = 48402,  // site (building)
  RptCoverAddress = 48403,  // address
  RptCoverMeasuredAt = 48404,  // measured on
  RptCoverWeather = 48405,  // weather
  RptCoverTechnician = 48406,  // measured by
  RptCoverInstrument = 48407,  // instrument
  RptCoverRemarks = 48408,  // remarks
  RptCoverCompany = 48409,  // company
  RptCoverPhone = 48410,  // telephone
  RptCoverNumber = 48411,  // report number
  RptCoverIssued = 48412,  // issued on
  RptCoverStamp = 48413,  // seal of approval
  RptCoverSignature = 48414,  // signature
  RptCoverData = 48415,  // data: the data folder's name and the set folders
  RptSummaryTitle = 48420,  // overall verdict
  RptSummaryProfile = 48421,  // limits profile: its name
  RptSummaryCounts = 48422,  // verdicts per set folder and kind (measurements)
  RptHeadSetFolder = 48423,  // set folder
  RptHeadKind = 48424,  // kind
  RptHeadCount = 48425,  // measurements
  RptSetTotal = 48426,  // total of a set folder
  RptFindings = 48427,  // readings that failed or need attention
  RptHeadReading = 48428,  // reading
  RptHeadValue = 48429,  // value
  RptHeadVerdict = 48430,  // verdict
  RptHeadLimit = 48431,  // limit
  RptNoFindings = 48432,  // no reading failed or needs attention
  RptNotJudged = 48433,  // no verdicts: the limits could not be used
  RptHeadNo = 48440,  // measurement number
  RptHeadLabel = 48441,  // place measured (the measurement's label)
  RptHeadDataName = 48442,  // data name
  RptHeadBand = 48443,  // band
  RptHeadChannel = 48444,  // channel
  RptHeadFrequency = 48445,  // frequency
  RptHeadPolarization = 48446,  // polarisation
  RptHeadModulation = 48447,  // modulation
  RptHeadLayer = 48448,  // layer
  RptHeadCorrection = 48449,  // correction
  RptHeadField = 48450,  // field row (SKY)
  RptHeadChannelRow = 48451,  // channel row (multi-channel)
  RptWithUnit = 48452,  // a header with its unit
  RptMarkerBelow = 48460,  // below the meter's range
  RptMarkerAbove = 48461,  // above the meter's range
  RptMarkerNone = 48462,  // not measured
  RptClampedAbove = 48463,  // a reading shown at the top of the screen's scale: at least
  RptClampedBelow = 48464,  // a reading shown at the bottom of the screen's scale: at most
  RptLegend = 48465,  // legend of the markers
  RptLegendMarks = 48466,  // legend of the verdict marks
  RptMarkPass = 48470,  // mark of 合格
  RptMarkCaution = 48471,  // mark of 注意
  RptMarkFail = 48472,  // mark of 不合格
  RptMarkNone = 48473,  // mark of 判定なし
  RptTablesTitle = 48474,  // the tables of readings (bookmark)
  RptScreensTitle = 48480,  // appendix: the measurement screens
  RptCaption = 48481,  // caption: item number, label or data name
  RptCompareTitle = 48490,  // compare: before → after (set folders)
  RptCompareBefore = 48491,  // before: the set folder
  RptCompareAfter = 48492,  // after: the set folder
  RptCompareChange = 48493,  // change
  RptCompareMissing = 48494,  // no such reading on that visit
  RptCompareNothing = 48495,  // nothing to compare
  RptCoverBookmark = 48500,  // cover (bookmark)
  RptWarnLogo = 48516,  // the logo image cannot be read
  RptWarnCompareSet = 48517,  // a set folder to compare is missing
  RptInstrumentSerial = 48519,  // instrument serial number on the cover
  RptInstrumentFirmware = 48520,  // instrument firmware version on the cover
  RptContinued = 48522,  // "%1（続き）" the heading of a table going on from the page before
  RptMeasuredAtFormat = 48521,  // 測定日時 on the cover: year, month, day, time
  // The viewer's judging: the limits profile menu, its messages, the verdict line
  // (English glosses in the comments).
  MenuLimits = 48001,           // "判定基準(&J)" Limits profile (submenu of the options menu)
  LimitsRefusedEntry = 48003,   // "%1（読めません）" "FILE (cannot be read)": a menu entry for a refused file
  LimitsKeptPrevious = 48004,   // "The profile cannot be read; judging stays with profile %1.\n%2" (FILE:LINE: REASON)
  LimitsStartFallback = 48005,  // "The profile of the last run cannot be read; judging with profile %1.\n%2" (the error)
  LimitsUserFolder = 48006,     // "Your own profiles: put *.toml files in %1" (a note at the menu's end)
  VerdictLineSeparator = 48007, // an ideographic space between the readings of a verdict line
  VerdictLineNone = 48008,      // "%1 (%2)" 判定なし (not judged) and why: the verdict word, the reason
  // The job record (案件情報) of a set folder and the company record (会社情報): field
  // names, and why a record or a value was refused.
  JobTitle = 48200,             // "件名" title
  JobCustomer = 48201,          // "お客様名" customer
  JobProperty = 48202,          // "物件名" property
  JobAddress = 48203,           // "住所" address
  JobMeasuredAt = 48204,        // "測定日時" measured at
  JobWeather = 48205,           // "天候" weather
  JobTechnician = 48206,        // "測定者" technician
  JobInstrumentModel = 48207,   // "計器 機種" instrument model
  JobInstrumentSerial = 48208,  // "計器 製造番号" instrument serial number
  JobInstrumentFirmware = 48209,  // "計器 ファームウェア" instrument firmware version
  JobFindings = 48210,          // "所見" findings
  JobLabel = 48211,             // "ラベル" label of a measurement
  JobRemark = 48212,            // "備考" remark on a measurement
  JobInstrument = 48213,        // "計器" instrument
  CompanyName = 48220,          // "会社名" company name
  CompanyAddress = 48221,       // "住所" address
  CompanyPhone = 48222,         // "電話" telephone
  CompanyLogo = 48223,          // "ロゴ画像" logo image
  RecordSyntax = 48230,         // "TOML として読めません: %1" cannot be read as TOML: the parser's description
  RecordUnknownKey = 48231,     // "「%1」という項目はありません（使えるのは %2）" no such key (valid: ...)
  RecordNotText = 48232,        // "「%1」は文字列で書いてください" write KEY as a string
  RecordNotTable = 48233,       // "[%1] は表で書いてください" write [KEY] as a table
  RecordBadKind = 48234,        // "「%1」という測定の種類はありません（使えるのは %2）" no such kind (valid: ...)
  RecordBadNumber = 48235,      // "測定番号「%1」は 1 から 999999 までの整数で書いてください" number must be 1..999999
  RecordTooLong = 48236,        // "「%1」が長すぎます（%2 バイトまで）" TEXT too long (at most N bytes)
  RecordLineBreak = 48237,      // "「%1」に改行は使えません" no line breaks in FIELD
  RecordControl = 48238,        // "「%1」に制御文字は使えません" no control characters in FIELD
  RecordNotUtf8 = 48239,        // "「%1」に文字として読めないバイトがあります" FIELD holds bytes that are no characters
  RecordBadTime = 48240,        // "「%1」は「YYYY-MM-DD HH:MM」か「YYYY-MM-DD」の形で書いてください: %2" FIELD must be YYYY-MM-DD HH:MM or YYYY-MM-DD: value
  RecordBadLogo = 48241,        // "「%1」は PNG か SVG のファイル（.png / .svg）にしてください: %2" FIELD must be a .png or .svg file: value
  RecordBadKey = 48242,         // "測定は「種類:番号」の形で指定してください（例 LEVEL:3）: %1" a measurement is KIND:NUMBER (e.g. LEVEL:3)
  RecordIgnored = 48243,        // "案件情報を読めないため使いません: %1" the job record cannot be read and is not used: why
  RecordWriteFailed = 48244,    // "書き込めません: %1" cannot be written: the system's reason
  RecordKeptDamaged = 48245,    // "読めない案件情報はそのまま残し、測定日時は書き込みませんでした: %1" a damaged job record is left as it is, 測定日時 not stamped: why
  JobCmdNoSet = 48250,          // "--set でセットフォルダを指定してください" name the set folder with --set
  JobCmdNotAssignment = 48251,  // "%1 は「%2」の形で指定してください: %3" OPTION must be FORM: argument
  JobCmdDamaged = 48252,        // "案件情報を読めません（直すか消してから変更してください）: %1" the job record cannot be read (fix or remove it before changing it): why
  JobCmdUnreadable = 48253,     // "案件情報を読めません: %1" the job record cannot be read: why
  MenuJobRecord = 48260,        // "案件情報(&J)..." the job record of the selected set folder
  MenuMeasurementNote = 48261,  // "ラベル・備考(&L)..." the label and remark of the selected measurement
  MenuCompany = 48262,          // "会社情報(&I)..." the company printed on the reports
  JobDlgTitle = 48263,          // "案件情報 - %1" job record - set folder
  NoteDlgTitle = 48264,         // "ラベル・備考 - %1" label and remark - data name
  CompanyDlgTitle = 48265,      // "会社情報" company information
  JobNoSetFolder = 48266,       // "セットフォルダか測定を選んでください。" select a set folder or a measurement
  JobNoMeasurement = 48267,     // "測定を選んでください。" select a measurement
  RecordReplaceDamaged = 48268,  // "%1\n\nこの内容を新しい内容で置き換えますか？" (why it cannot be read) replace it with new contents?
  JobSaveFailed = 48269,        // "案件情報を保存できませんでした。\n%1" the job record could not be saved: path: reason
  CompanySaveFailed = 48270,    // "会社情報を保存できませんでした。\n%1" the company record could not be saved: path: reason
  CompanyBrowse = 48271,        // "参照..." browse
  CompanyLogoFilter = 48272,    // "画像 (PNG, SVG)|*.png;*.svg|すべて (*.*)|*.*||" the logo file filter
  NoteDataName = 48273,         // "データ名" data name

  // Warnings of the report, the export and rxt4 render (shown in the report's done box
  // and on standard error).
  CompanionUnreadable = 47901,  // "%1: 付属ファイルがないか壊れているため、グラフを載せていません" companion file missing or malformed; its graph is left out
  CompanionsMore = 47902,       // "ほかに %1 個の付属ファイルが読めず、グラフを載せていません" N more companion files could not be read
  ReportNoFont = 47903,         // "レポートのフォントが見つかりません。文字が表示されないことがあります" no font found
  ReportFontInstead = 47904,    // "IPAゴシックが見つからないため、%1 で作成しました" IPAGothic not found; the report uses FAMILY
  ReportNoJapaneseFont = 47905, // "日本語のフォントが見つかりません（fonts-ipafont-gothic を入れてください）。日本語が表示されないことがあります"
  ScreenFontMissing = 47906,    // "画面の日本語フォントが見つかりません（fonts-ipafont-gothic を入れてください）" no Japanese screen font found
  ScreenFontInit = 47907,       // "FreeType を初期化できません" FreeType could not be initialised
  ScreenFontOpen = 47908,       // "フォントファイルを開けません: %1" cannot open font file
  ScreenFontNoUnicode = 47909,  // "フォントファイルに Unicode の文字表がありません: %1" font file has no Unicode character map
  ScreenFontBoxes = 47910,      // "画面: %1。文字は四角で描かれます" screens: WARNING; texts are drawn as boxes
  // The trend of a place across visits and two visits compared (rxt4 trend, the
  // viewer's 推移 and 比較), from 48800.
  TrendNeedPlace = 48800,       // "--band と --channel を指定してください" band and channel are required
  TrendBadReading = 48801,      // "--reading には level、cn、mer、ber のどれかを指定してください: %1"
  TrendBadFormat = 48802,       // "--format には csv か png を指定してください: %1"
  TrendUnknownBand = 48803,     // "バンド「%1」の測定がありません（あるバンド: %2）" no such band (the bands there are)
  TrendUnknownChannel = 48804,  // "バンド %1 にチャンネル「%2」の測定がありません（あるチャンネル: %3）"
  TrendNoReading = 48805,       // "バンド %1 チャンネル %2 の%3を表示する測定がありません" no measurement shows that reading there
  TrendPngNeedsOut = 48806,     // "png は --out で書き出すファイルを指定してください" png needs --out
  TrendWriteFailed = 48807,     // "%1 を書き出せません: %2" path, the system's reason
  TrendTitle = 48820,           // "%1 %2 の%3の推移" band, channel, reading: the trend of ...
  TrendAxisVisits = 48821,      // "セットフォルダ" set folder (the visits' axis)
  TrendLimitMin = 48822,        // "下限 %1" minimum
  TrendLimitMax = 48823,        // "上限 %1" maximum
  TrendMarginLine = 48824,      // "注意 (%1 dB)" the caution margin's lines
  TrendProfile = 48825,         // "判定基準: %1" the profile's name
  TrendOutsideRange = 48826,    // "▼ 測定範囲未満 / ▲ 測定範囲超過" how the chart's edge marks read
  TrendWindowTitle = 48830,     // "推移" trend
  MenuTrend = 48831,            // "推移(&T)..." trend...
  MenuCompare = 48832,          // "比較(&C)..." compare...
  MenuCompareReport = 48870,    // "比較レポート(&R)..." compare report... (the compare window's button)
  TrendReading = 48833,         // "読み値:" reading:
  TrendSave = 48834,            // "PNG で保存..." save as PNG...
  TrendCopy = 48835,            // "コピー" copy
  TrendSelectMeasurement = 48836,  // "推移を見る測定をツリーで選んでください" select a measurement in the tree first
  TrendNoPlace = 48837,         // "この測定には推移を描ける読み値がありません" the measurement has no reading to follow
  TrendPngFilter = 48838,       // "PNG 画像 (*.png)"
  TrendSaveFailed = 48839,      // "%1 を保存できませんでした。\n%2" path, reason
  TrendPlace = 48840,           // "場所:" place (band and channel) of the measurement
  TrendClose = 48842,           // "閉じる" close
  TrendNoPoints = 48841,        // "この読み値はどのセットフォルダにもありません" no set folder has this reading here
  CompareWindowTitle = 48850,   // "比較" compare
  CompareBefore = 48851,        // "前:" before
  CompareAfter = 48852,         // "後:" after
  CompareKind = 48853,          // "種類" kind
  CompareBand = 48854,          // "バンド" band
  CompareChannel = 48855,       // "チャンネル" channel
  CompareReading = 48856,       // "読み値" reading
  CompareValueBefore = 48857,   // "前の値" value before
  CompareVerdictBefore = 48858, // "前の判定" verdict before
  CompareValueAfter = 48859,    // "後の値" value after
  CompareVerdictAfter = 48860,  // "後の判定" verdict after
  CompareChange = 48861,        // "変化" change
  CompareNeedTwo = 48862,       // "比較するには 2 つ以上のセットフォルダが要ります" two set folders are needed
  CompareMissing = 48863,       // "なし" (no such reading on that visit)
  // The command-line tool (rxt4): its usage, the summary of each command, the errors of
  // its arguments. The syntax (command and option names, DATA_FOLDER, ...) stays ASCII.
  CliUsage = 49000,             // "Usage: rxt4 COMMAND [ARGS...]" and the heading of the commands
  CliUsageEnd = 49001,          // how to see a command's options and the version
  CliUnknownCommand = 49002,    // "%1" the command given
  CliNotFolder = 49003,         // "%1" the data folder given, which is no folder
  CliNoSetFolder = 49004,       // "%1" the set folder named, "%2" the data folder
  CliSummaryList = 49010,       // one line per command: its syntax, padded, then what it does
  CliSummaryRender = 49011,
  CliSummaryReport = 49012,
  CliSummaryExport = 49013,
  CliSummaryCheck = 49014,
  CliSummaryJob = 49015,
  CliSummaryTrend = 49016,
  CliSummaryDownload = 49017,
  CliSummaryUpdate = 49018,
  CliSummaryImage = 49019,
  CliSummarySample = 49020,
  CliSummaryUdevRule = 49021,
  CliUsageList = 49030,         // the usage text of each command (rxt4 COMMAND --help)
  CliUsageRender = 49031,
  CliUsageReport = 49032,
  CliUsageExport = 49033,
  CliUsageCheck = 49034,
  CliUsageJob = 49035,
  CliUsageTrend = 49036,
  CliUsageDownload = 49037,
  CliUsageUpdate = 49038,
  CliUsageImage = 49039,
  CliUsageSample = 49040,
  CliUsageUdevRule = 49041,
  CliUnknownOption = 49050,     // "%1" the option
  CliBadValue = 49051,          // "%1" the option, "%2" the value it was given
  CliRequired = 49052,          // "%1" what must be given (--out DIR, PORT, IMAGE, ...)
  CliOneOnly = 49053,           // "%1" what can be given once only (an image file, a folder), "%2" the second one
  CliCannotCreate = 49054,      // the output folder cannot be made: "%1" the folder, "%2" why
  CliNotWritten = 49055,        // "%1" the file or folder that could not be written
  CliProgressRender = 49056,    // progress on a terminal: "%1" done, "%2" of how many
  CliProgressExport = 49057,
  CliProgressReport = 49058,
  CliNoPort = 49060,            // no port named: "%1" the settings file
  CliPortUsed = 49061,          // "%1" the port the command opens
  CliPortRate = 49062,          // "%1" the port, "%2" its rate in baud
  CliPortFromSettings = 49063,  // after CliPortUsed / CliPortRate: "%1" the settings file the port came from
  CliRateFromSettings = 49064,  // the same for the rate
  CliBothFromSettings = 49065,  // the same for both
  CliCannotOpen = 49066,        // "%1" the port and why it would not open
  CliNewSetFolder = 49067,      // "%1" the new set folder a download goes into
  CliSetHoldsData = 49068,      // "%1" the set folder that already holds measurements
  CliIsDataFolder = 49069,      // "%1" the data folder named as the set folder, "%2" the set folder proposed
  CliNotUsbSerial = 49070,      // "%1" the port, "%2" the device it is
  CliExported = 49071,          // the export is written: "%1" the file or folder, "%2" the number of measurements
  CliReported = 49072,          // the report is written: "%1" the file, "%2" the measurements, "%3" the set folders
  // Why a firmware image was refused (the checks of the image file).
  ImageNoPart = 49100,          // the file holds no Main, TSNM or Dec part
  ImageNoMemory = 49101,        // the image does not fit into memory
  ImagePartWhere = 49102,       // "%1" the part (Main, TSNM, Dec)
  ImageRecordWhere = 49103,     // "%1" the part, "%2" the number of its record
  ImageTooShort = 49104,        // "%1" where (ImagePartWhere or ImageRecordWhere): the file ends inside a header
  ImageHeaderSum = 49105,       // "%1" where: a header checksum does not match
  ImagePartLength = 49106,      // "%1" where: a record's length does not fit its part
  ImageFileLength = 49107,      // "%1" where: a part's length does not fit the file
  ImageCrc = 49108,             // "%1" where: a CRC-32 does not match
  // A file the report, the export or the trend could not make: "%1" the file, "%2" why.
  FileWriteFailed = 49200,
  FileCreateFailed = 49201,
  // The viewer's display language, the words Qt's Japanese file dialogs lack, and the
  // viewer's --help, from 49500.
  MenuLanguage = 49500,         // "表示言語(&L)" display language (submenu of the options menu)
  LanguageJapanese = 49501,     // "日本語": each language is named in itself, in both languages
  LanguageEnglish = 49502,      // "English"
  FileTypeFolder = 49510,       // "フォルダ" the type column of the file dialogs: folder
  FileTypeDrive = 49511,        // "ドライブ" drive
  FileTypeSymbolicLink = 49512, // "シンボリックリンク" symbolic link
  FileTypeUnknown = 49513,      // "不明" unknown
  ViewerUsage = 49520,          // rxt4-viewer --help
  NoWorkerThread = 49521,       // "作業スレッドを開始できません" a report or export could not start its thread
};

// The language a user reads: Japanese unless chosen otherwise.
enum class Language { Japanese, English };

// The language Text(id) speaks, for the whole process (as the locale is). Set once at
// start and by the viewer's language menu.
void SetLanguage(Language language);
Language CurrentLanguage();

// UTF-8 text of a string id in the current language; empty for an unknown id. A text
// without an English wording yet reads in Japanese.
std::string_view Text(StringId id);
std::string_view Text(StringId id, Language language);

// Whether a text has its English wording; every id in the table (for checks).
bool HasEnglish(StringId id);
std::vector<StringId> AllStringIds();

// The instrument's own words (what its screens draw and its files hold: screen types,
// field labels, satellite names): they have no English and read in Japanese always.
bool IsInstrumentWord(StringId id);

// Shift-JIS bytes of a string id (what the instrument's screens and files hold):
// always the Japanese text.
const std::string& SjisText(StringId id);

// A text with each placeholder %1 .. %9 replaced by values[0] .. values[8]; a
// translation may order them as its language wants, and use one twice. The values are
// put in as they are, never read as a format: they come from files, folders and the
// instrument (a value holding "%1" stays "%1"). A placeholder without a value, and any
// other "%", stays as it is.
std::string FillIn(std::string_view text, std::span<const std::string_view> values);
inline std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values) {
  return FillIn(text, std::span<const std::string_view>(values.begin(), values.size()));
}
// The same, appended to out (for texts made by the thousand).
void FillInto(std::string& out, std::string_view text, std::span<const std::string_view> values);

// The system's reason for a failure (an error number) in words, in the current
// language; for a number without words of its own, the number and the
// system's own description.
std::string ReasonText(std::error_code reason);

}  // namespace rxt4
