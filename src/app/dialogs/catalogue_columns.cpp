#include "app/dialogs/catalogue_columns.h"

#include "controls/qt_text.h"
#include "store/store_tables.h"

namespace app {

std::vector<GridColumn> CatalogueColumns(
    std::string_view component, std::initializer_list<std::pair<const char*, int>> fields) {
  const std::vector<store::DeclaredField>& catalogue = store::DeclaredFieldsOf(component);
  std::vector<GridColumn> columns;
  for (const auto& [name, width] : fields) {
    GridColumn column{name, QString::fromLatin1(name), width, {}};
    for (const store::DeclaredField& field : catalogue) {
      if (field.name != name) continue;
      if (!field.label.empty()) column.title = controls::FromAnsi(field.label);
      column.display_format = controls::FromAnsi(field.display_format);
    }
    columns.push_back(std::move(column));
  }
  return columns;
}

}  // namespace app
