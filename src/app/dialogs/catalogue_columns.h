#ifndef SALDEX_APP_DIALOGS_CATALOGUE_COLUMNS_H_
#define SALDEX_APP_DIALOGS_CATALOGUE_COLUMNS_H_

#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "app/grid_column.h"

namespace app {

// Grid columns of a store table's fields in the given order and widths (-1:
// the grid's default), headed by the catalogue's display labels (the field
// name where there is none) and shown with its display formats.
std::vector<GridColumn> CatalogueColumns(std::string_view component,
                                         std::initializer_list<std::pair<const char*, int>> fields);

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_CATALOGUE_COLUMNS_H_
