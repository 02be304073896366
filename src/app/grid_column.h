#ifndef SALDEX_APP_GRID_COLUMN_H_
#define SALDEX_APP_GRID_COLUMN_H_

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace app {

// One column of a data grid: the field it shows, its heading, its width in
// pixels (-1: the grid's default for the field) and the display format
// applied to the value (controls::FieldDisplayText; empty: the field's own
// text).
struct GridColumn {
  std::string field;
  QString title;
  int width = -1;
  QString display_format;
};

// Grid columns of a store table's fields in the given order and widths (-1:
// the grid's default), headed by the catalogue's display labels (the field
// name where there is none) and shown with its display formats.
std::vector<GridColumn> CatalogueColumns(std::string_view component,
                                         std::initializer_list<std::pair<const char*, int>> fields);

// The display format the store catalogue gives field `field` of table
// component `component`, the field name in any case (empty when it has none).
QString CatalogueDisplayFormat(std::string_view component, std::string_view field);

// The main window's grids, columns in their order with headings and widths.
// Invoice headings and display formats come from the store catalogue.
std::vector<GridColumn> InvoiceGridColumns();
std::vector<GridColumn> ReceivableGridColumns();
std::vector<GridColumn> AddressGridColumns();

}  // namespace app

#endif  // SALDEX_APP_GRID_COLUMN_H_
