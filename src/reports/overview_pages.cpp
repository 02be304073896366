#include "reports/overview_pages.h"

#include <array>

#include "dbf/format_settings.h"
#include "reports/value_text.h"
#include "store/ansi_text.h"

namespace reports {
namespace {

constexpr const char* kFont = "ArialCE";
constexpr int kCentralEuropean = 238;
constexpr int kMinimumLinesForRow = 3;

struct Column {
  double width;
  TabJustify justify;
};
// Datum, Faktura, Odběratel, Proforma, Měna, Kurz, Cel. PC, Zák 22%, Zák 5%,
// Zák 0%, Daň 22%, Daň 5%, Hal.Vyr; the first at 1 cm, each next after the
// previous.
constexpr std::array<Column, 13> kColumns = {{
    {1.75, TabJustify::kLeft},
    {2, TabJustify::kLeft},
    {5, TabJustify::kLeft},
    {1.75, TabJustify::kLeft},
    {0.5, TabJustify::kRight},
    {1.5, TabJustify::kRight},
    {2, TabJustify::kRight},
    {2, TabJustify::kRight},
    {2, TabJustify::kRight},
    {2, TabJustify::kRight},
    {2, TabJustify::kRight},
    {2, TabJustify::kRight},
    {2, TabJustify::kRight},
}};

// The fields summed in the totals line after Cel. PC, in column order.
constexpr std::array<const char*, 6> kSummedFields = {"Zaklad22", "Zaklad05", "Zaklad00",
                                                      "Dan22",    "Dan05",    "HalVyr"};

void SetUpTabs(ReportCanvas& canvas) {
  bool first = true;
  for (const Column& column : kColumns) {
    canvas.SetTab(first ? 1.0 : kAfterPreviousTab, column.justify, column.width, 0, 0, 0);
    first = false;
  }
}

std::string DateText(const MemField& field) {
  return field.IsNull() ? std::string() : ShortDateText(field.AsDateTime());
}

}  // namespace

std::string OverviewAmount(double value) {
  return FixedFloatText(value, 8, 2, dbf::Formats().decimal_separator);
}

std::string OverviewHeadingText(const OverviewHeading& heading) {
  return store::Ansi("Přehled ostatních faktur od ") + ShortDateText(heading.from) + " do " +
         ShortDateText(heading.to) + " na skladu " + heading.store_name;
}

double OverviewTotalPrice(const MemTable& rows) {
  const MemField& rate = rows.FieldByName("Kurz");
  const double total = rows.FieldByName("CelkemPC").AsFloat();
  return rate.IsNull() ? total : total * rate.AsFloat();
}

void PrintInvoiceOverview(ReportCanvas& canvas, MemTable& rows, const OverviewHeading& heading) {
  canvas.SetFont(kFont, 13);
  canvas.SetMargins(1, 1, 2, 2);
  canvas.SetCharset(kCentralEuropean);
  canvas.StartSection();
  canvas.Home();
  canvas.ClearTabs();

  canvas.PrintLeft(OverviewHeadingText(heading), 1);
  canvas.NewLine();
  canvas.NewLine();
  canvas.SetFont(kFont, 9);
  canvas.SetCharset(kCentralEuropean);
  SetUpTabs(canvas);

  std::array<double, 7> totals{};
  canvas.PrintTabbedLine(store::Ansi(
      "\tDatum\tFaktura\tOdběratel\tProforma\tMěna\tKurz\tCel. PC\tZák 22%\tZák 5%\tZák 0%"
      "\tDaň 22%\tDaň 5%\tHal.Vyr"));

  const MemField& vystaveno = rows.FieldByName("Vystaveno");
  const MemField& faktura = rows.FieldByName("Faktura");
  const MemField& nazev = rows.FieldByName("Nazev");
  const MemField& proforma = rows.FieldByName("Proforma");
  const MemField& mena = rows.FieldByName("Mena");
  const MemField& kurz = rows.FieldByName("Kurz");
  std::array<const MemField*, kSummedFields.size()> summed{};
  for (size_t i = 0; i < summed.size(); ++i) summed[i] = &rows.FieldByName(kSummedFields[i]);

  for (rows.First(); !rows.Eof(); rows.Next()) {
    if (canvas.LinesLeft() < kMinimumLinesForRow) {
      canvas.NewPage();
      canvas.NewLine();
      canvas.NewLine();
    }
    const double total_price = OverviewTotalPrice(rows);
    std::string line = "\t" + DateText(vystaveno) + "\t" + faktura.AsString() + "\t" +
                       nazev.AsString() + "\t" + proforma.AsString() + "\t" + mena.AsString() +
                       "\t" + OverviewAmount(kurz.AsFloat()) + "\t" + OverviewAmount(total_price);
    totals[0] += total_price;
    for (size_t i = 0; i < summed.size(); ++i) {
      const double value = summed[i]->AsFloat();
      line += "\t" + OverviewAmount(value);
      totals[i + 1] += value;
    }
    canvas.PrintTabbedLine(line);
  }

  std::string line = "\tCelkem sestava \t\t\t\t\t";
  for (const double total : totals) line += "\t" + OverviewAmount(total);
  canvas.PrintTabbedLine(line);
}

}  // namespace reports
