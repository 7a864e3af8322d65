// The customer's report: how long it takes and how many pages a second it draws,
// beside the floor of cairo writing the same number of pages without content.
//  1. The report of the demonstration data folder (55 measurements of every kind in
//     three set folders, judged against テレビ端子), with every screen: all of it as
//     the viewer and rxt4 report make it (judging, planning, drawing, the PDF file).
//  2. The same without the screens, and with only the failed measurements' screens.
//  3. The floor: cairo's PDF surface writing as many empty pages (and the same with a
//     page number each, in IPAGothic), into a file of its own.
//  4. With --archive: the tables-only report of the 1,000-set archive of bench_load,
//     read set folder by set folder as rxt4 report reads it.
// Usage: bench_report_pages [--runs N] [--archive]

#include <cairo-pdf.h>
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "Archive.h"
#include "BenchUtil.h"
#include "rxt4/report/Report.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

struct Timing {
  double best = 0, median = 0;
};

template <typename F>
Timing Time(int runs, F f) {
  std::vector<double> s;
  for (int r = 0; r < runs; ++r) {
    const auto start = Clock::now();
    if (!f()) return {-1, -1};
    s.push_back(Seconds(Clock::now() - start));
  }
  std::sort(s.begin(), s.end());
  return {s.front(), s[s.size() / 2]};
}

int PdfPages(const fs::path& pdf) {
  const std::string command = "pdfinfo '" + pdf.string() + "' 2>/dev/null | sed -n 's/^Pages: *//p'";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return 0;
  int pages = 0;
  if (std::fscanf(pipe, "%d", &pages) != 1) pages = 0;
  ::pclose(pipe);
  return pages;
}

// cairo writing pages with nothing on them (or only "n / N" in the report's font).
bool Floor(const fs::path& pdf, int pages, bool numbers) {
  cairo_surface_t* surface = cairo_pdf_surface_create(pdf.c_str(), 595.276, 841.890);
  cairo_t* cr = cairo_create(surface);
  cairo_select_font_face(cr, "IPAGothic", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 8);
  for (int p = 0; p < pages; ++p) {
    if (numbers) {
      const std::string text = std::to_string(p + 1) + " / " + std::to_string(pages);
      cairo_move_to(cr, 290, 820);
      cairo_show_text(cr, text.c_str());
    }
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

void Line(const char* what, const Timing& t, int pages) {
  if (t.best < 0) {
    std::printf("%-52s FAILED\n", what);
    return;
  }
  std::printf("%-52s best %7.3f s  median %7.3f s  %5d pages  %8.0f pages/s\n", what, t.best, t.median, pages,
              pages / t.median);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = rxt4::bench::RunsArg(argc, argv, 5);
  bool archive = false;
  for (int i = 1; i < argc; ++i) archive = archive || std::strcmp(argv[i], "--archive") == 0;
  rxt4::bench::DemoBench demo;
  if (!demo.Prepare("report_pages")) return 1;
  const fs::path out = demo.work / "out";
  fs::create_directories(out);
  rxt4::NullJobObserver quiet;
  const std::atomic<bool> never{false};

  rxt4::ReportOptions options;
  options.date = rxt4::ReportDateText(std::time(nullptr));
  options.number = "BENCH-1";
  options.screenFonts = rxt4::bench::DefaultFontsReported();
  auto profile = std::make_shared<rxt4::LimitsProfile>();
  rxt4::ProfileError error;
  if (!rxt4::LimitsProfile::Load(RXT4_SOURCE_DIR "/limits/outlet.toml", *profile, error)) {
    std::fprintf(stderr, "bench_report_pages: %s\n", error.Text().c_str());
    return 1;
  }
  options.profile = profile;
  const rxt4::MeasurementSelection selection = rxt4::SelectMeasurements(demo.model, demo.data);
  std::printf("demonstration data: %zu measurements in %zu set folders\n", selection.measurements.size(),
              selection.setFolders.size());

  const struct {
    const char* what;
    rxt4::ReportScreens screens;
    int perPage;
  } cases[] = {{"report with every screen, 4 a page", rxt4::ReportScreens::All, 4},
               {"report with every screen, 2 a page", rxt4::ReportScreens::All, 2},
               {"report with the failed screens, 4 a page", rxt4::ReportScreens::Failed, 4},
               {"report without screens", rxt4::ReportScreens::None, 4}};
  int firstPages = 0;
  for (const auto& c : cases) {
    options.screens = c.screens;
    options.screensPerPage = c.perPage;
    const fs::path pdf = out / "report.pdf";
    const Timing t = Time(runs, [&] { return rxt4::WriteReport(selection, pdf, options, quiet, never).done(); });
    const int pages = PdfPages(pdf);
    if (firstPages == 0) firstPages = pages;
    Line(c.what, t, pages);
  }
  const fs::path floor = out / "floor.pdf";
  Line("floor: cairo, as many empty pages", Time(runs, [&] { return Floor(floor, firstPages, false); }), firstPages);
  Line("floor: cairo, as many pages with their number", Time(runs, [&] { return Floor(floor, firstPages, true); }),
       firstPages);
  constexpr int kFloorPages = 5000;
  Line("floor: cairo, 5,000 pages with their number", Time(1, [&] { return Floor(floor, kFloorPages, true); }),
       kFloorPages);

  if (archive) {
    const fs::path folder = rxt4::bench::ArchiveBase() / "sets1000";
    if (!rxt4::bench::GenerateArchive(folder, 1000)) return 1;
    rxt4::StreamedSelection streamed;
    rxt4::NullLoadObserver quietLoad;
    streamed.Scan(folder, {}, quietLoad);
    options.screens = rxt4::ReportScreens::None;
    const fs::path pdf = out / "archive.pdf";
    const Timing t = Time(1, [&] { return rxt4::WriteReport(streamed, pdf, options, quiet, never).done(); });
    std::printf("1,000-set archive: %zu measurements\n", streamed.measurementCount());
    Line("report of the 1,000-set archive without screens", t, PdfPages(pdf));
  }
  fs::remove_all(demo.work);
  return 0;
}
