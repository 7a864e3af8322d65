// rxt4 trend: one band and channel followed across every set folder of a data folder,
// as a table (CSV) or a chart (PNG).

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/Strings.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/judge/Trend.h"
#include "rxt4/link/SettingsFile.h"
#include "rxt4/report/TrendChart.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 trend --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageTrend); }

int UsageError(std::string_view message) { return cli::UsageError("trend", message, UsageText()); }

void Complain(std::string_view message) {
  std::fprintf(stderr, "rxt4 trend: %.*s\n", static_cast<int>(message.size()), message.data());
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
void AppendField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendNumber(std::string& out, double value) {
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  out.append(text, ec == std::errc() ? static_cast<std::size_t>(end - text) : 0);
}

void AppendOptional(std::string& out, const std::optional<double>& value) {
  if (value) AppendNumber(out, *value);
}

std::string Csv(const TrendSeries& series) {
  std::string out =
      "set_folder,measured_at,kind,number,data_name,band,channel,service_class,reading,stored,value,value_kind,"
      "verdict,reason,min,max,margin_db\n";
  for (const TrendPoint& p : series.points) {
    const TrendVisit& visit = series.visits[p.visit];
    const ReadingResult& r = p.result;
    AppendField(out, visit.setFolder);
    out += ',';
    AppendField(out, visit.measuredAt);
    out += ',';
    out += KindKey(p.kind);
    out += ',';
    out += std::to_string(p.number);
    out += ',';
    AppendField(out, DecodeSjis(p.dataName));
    out += ',';
    AppendField(out, DecodeSjis(p.band));
    out += ',';
    AppendField(out, DecodeSjis(p.channel));
    out += ',';
    out += ServiceClassKey(p.serviceClass);
    out += ',';
    out += ReadingKey(r.reading);
    out += ',';
    AppendField(out, DecodeSjis(r.stored));
    out += ',';
    if (r.kind == ValueKind::Number) AppendNumber(out, r.value);
    out += ',';
    out += ValueKindKey(r.kind);
    out += ',';
    out += VerdictKey(r.verdict);
    out += ',';
    out += ReasonKey(r.reason);
    out += ',';
    AppendOptional(out, r.min);
    out += ',';
    AppendOptional(out, r.max);
    out += ',';
    AppendNumber(out, r.marginDb);
    out += '\n';
  }
  return out;
}

// "A、B、C" of the distinct texts, decoded.
std::string ListOf(const std::vector<std::string>& sjis) {
  std::string out;
  std::vector<std::string> seen;
  for (const std::string& s : sjis) {
    if (std::find(seen.begin(), seen.end(), s) != seen.end()) continue;
    seen.push_back(s);
    if (!out.empty()) out += "、";
    out += DecodeSjis(s);
  }
  return out;
}

// Says what the data folder has instead of what was asked for.
void ExplainNoPoints(const DataFolderModel& model, const LimitsProfile& profile, const TrendQuery& query,
                     std::string_view band, std::string_view channel) {
  std::vector<std::string> bands, channels;
  bool placeSeen = false;
  for (const PointKey& key : TrendPlaces(model, profile)) {
    bands.push_back(key.band);
    if (!SameBand(query.band, key.band)) continue;
    channels.push_back(key.channel);
    placeSeen = placeSeen || SameChannel(query.channel, key.channel);
  }
  if (channels.empty()) Complain(FillIn(Text(StringId::TrendUnknownBand), {band, ListOf(bands)}));
  else if (!placeSeen) Complain(FillIn(Text(StringId::TrendUnknownChannel), {band, channel, ListOf(channels)}));
  else Complain(FillIn(Text(StringId::TrendNoReading), {band, channel, ReadingName(query.reading)}));
}

bool ReadingOf(std::string_view key, Reading& reading) {
  for (Reading r : {Reading::Level, Reading::Cn, Reading::Mer, Reading::Ber})
    if (ReadingKey(r) == key) {
      reading = r;
      return true;
    }
  return false;
}

}  // namespace

int RunTrend(Args args) {
  std::string folder, limits, band, channel, out;
  bool haveFolder = false, haveLimits = false, png = false;
  Reading reading = Reading::Level;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (IsHelpArg(arg)) return PrintHelp(UsageText());
    if (arg == "--band" || arg == "--channel" || arg == "--reading" || arg == "--limits" || arg == "--format" ||
        arg == "--out") {
      if (i + 1 >= args.size()) return UsageError(FillIn(Text(StringId::CheckMissingValue), {arg}));
      const std::string value(args[++i]);
      if (arg == "--band") band = value;
      if (arg == "--channel") channel = value;
      if (arg == "--out") out = value;
      if (arg == "--limits") {
        limits = value;
        haveLimits = true;
      }
      if (arg == "--reading" && !ReadingOf(value, reading))
        return UsageError(FillIn(Text(StringId::TrendBadReading), {value}));
      if (arg == "--format") {
        if (value != "csv" && value != "png") return UsageError(FillIn(Text(StringId::TrendBadFormat), {value}));
        png = value == "png";
      }
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(FillIn(Text(StringId::CheckBadArgument), {arg}));
    }
  }
  if (!haveFolder) return UsageError(Text(StringId::CheckNoDataFolder));
  if (band.empty() || channel.empty()) return UsageError(Text(StringId::TrendNeedPlace));
  if (png && out.empty()) return UsageError(Text(StringId::TrendPngNeedsOut));

  const ProfileCatalog catalog = ProfileCatalog::Standard(DefaultSettingsPath().parent_path());
  LimitsProfile profile;
  ProfileError error;
  std::vector<ProfileError> skipped;
  const bool found = catalog.Find(haveLimits ? std::string_view(limits) : kDefaultProfileName, profile, error, &skipped);
  for (const ProfileError& refused : skipped) Complain(FillIn(Text(StringId::ProfileSkipped), {refused.Text()}));
  if (!found) {
    Complain(error.file.empty() ? error.reason : FillIn(Text(StringId::ProfileUnreadable), {error.Text()}));
    return 2;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    Complain(FillIn(Text(StringId::CheckNoFolder), {folder}));
    return 2;
  }

  DataFolderModel model;
  StderrLoadObserver loaderMessages;
  model.Load(folder, loaderMessages);

  // The instrument's files hold Shift-JIS; the command line UTF-8.
  const TrendQuery query{EncodeSjis(band), EncodeSjis(channel), reading};
  std::vector<RecordError> refused;
  const auto measuredAt = ReadMeasuredAt(folder, model.SetFolders(), &refused);
  for (const RecordError& e : refused) Complain(FillIn(Text(StringId::RecordIgnored), {e.Text()}));
  const TrendSeries series = BuildTrend(model, query, profile, measuredAt);
  if (series.points.empty()) {
    ExplainNoPoints(model, profile, query, band, channel);
    return 2;
  }

  if (png) {
    std::string reason;
    if (!WriteTrendChartPng(series, profile.name(), out, &reason)) {
      Complain(FillIn(Text(StringId::TrendWriteFailed), {out, reason}));
      return 2;
    }
    return 0;
  }
  const std::string csv = Csv(series);
  if (out.empty()) {
    if (std::fwrite(csv.data(), 1, csv.size(), stdout) != csv.size() || std::fflush(stdout) != 0) {
      Complain(FillIn(Text(StringId::CheckWriteFailed), {std::strerror(errno)}));
      return 2;
    }
    return 0;
  }
  StagedFile file{std::filesystem::path(out)};
  if (!file.Write(csv) || !file.Commit()) {
    Complain(FillIn(Text(StringId::TrendWriteFailed), {out, ReasonText(file.error())}));
    return 2;
  }
  return 0;
}

}  // namespace rxt4::cli
