#include "jobs/overview_job.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

#include "dbf/charset_tables.h"
#include "dbf/format_settings.h"
#include "dbf/system_path.h"
#include "reports/data_sestavy.h"
#include "store/data_module.h"

namespace jobs {
namespace {

dbf::DateTime ParseDate(const std::string& text) {
  const auto date = dbf::ParseShortDate(text);
  if (!date) throw std::runtime_error("'" + text + "' is not a valid date");
  return static_cast<dbf::DateTime>(dbf::DaysFromCivil(*date));
}

constexpr int kBarWidth = 30;

}  // namespace

std::string PageProgressLine(int page, int pages) {
  const int percent = pages > 0 ? static_cast<int>(int64_t{page} * 100 / pages) : 100;
  const int filled = percent * kBarWidth / 100;
  char tail[16];
  std::snprintf(tail, sizeof tail, "] %3d%%", percent);
  return "\rGeneruji stranu " + std::to_string(page) + " z " + std::to_string(pages) + " [" +
         std::string(filled, '#') + std::string(kBarWidth - filled, ' ') + tail;
}

int RunOverview(const std::string& program_dir, store::Operator& op, const OverviewOptions& options,
                const PdfWriter& pdf_writer, std::ostream& out) {
  // A file system (UTF-8) name; the program composes paths in code page 1250.
  store::TData data(op, dbf::ProgramPath(program_dir));
  // The overview only reads the store: read-only opens also work on a share
  // the user may only read, and no index rebuild is started.
  data.set_read_only(true);
  data.DataCreate();
  if (!data.settings_read() || data.terminate_requested()) return 1;
  reports::TDataSestavy sestavy(data);
  sestavy.SesFak.set_read_only(true);
  // The menu's command with the range as the dialog would return it and the
  // PDF in place of the preview.
  const auto range = [&options] {
    return reports::OverviewRequest{ParseDate(options.from), ParseDate(options.to), options.xlsx};
  };
  const auto run = [&] {
    out << "Přehled faktur od " << options.from << " do " << options.to << ": "
        << sestavy.SesFakMem.RecordCount() << " faktur\n"
        << "  " << reports::TDataSestavy::kTextDumpName << "\n";
    if (options.xlsx && sestavy.workbook_error().empty() && !sestavy.SesFakMem.IsEmpty()) {
      out << "  " << sestavy.WorkbookFile() << "\n";
    }
    if (options.pdf_file.empty()) return;
    PageProgress progress;
    int shown = -1;  // percent drawn last
    if (options.progress != nullptr) {
      progress = [&options, &shown](int page, int pages) {
        const int percent = pages > 0 ? static_cast<int>(int64_t{page} * 100 / pages) : 100;
        if (percent == shown && page != pages) return;
        shown = percent;
        *options.progress << PageProgressLine(page, pages) << std::flush;
      };
    }
    pdf_writer(
        options.pdf_file,
        [&sestavy](reports::ReportCanvas& canvas) { sestavy.SestavyPrint(canvas); }, progress);
    if (options.progress != nullptr) *options.progress << '\n' << std::flush;
    out << "  " << options.pdf_file << "\n";
  };
  bool failed = false;
  sestavy.PrehledFaktur(range, run, [&out, &failed](const std::exception& e) {
    // The engine's errors carry code page 1250 text.
    out << "Ošetření vyjímky: " << dbf::Cp1250ToUtf8(e.what()) << "\n";
    failed = true;
  });
  if (failed) return 1;
  if (!sestavy.workbook_error().empty()) {
    out << "Sešit nebyl uložen: " << sestavy.workbook_error() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace jobs
