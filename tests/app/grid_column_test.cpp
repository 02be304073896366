#include "app/grid_column.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(GridColumn, DisplayFormatsOfTheStoreCatalogue) {
  EXPECT_EQ(CatalogueDisplayFormat("Vypisy", "vyp_hod"), "#,##0.00");
  EXPECT_EQ(CatalogueDisplayFormat("Faktury", "HLA_PLA"), "Ano;Ne");
  EXPECT_EQ(CatalogueDisplayFormat("Vypisy", "VYP_DO2"), "");
  EXPECT_EQ(CatalogueDisplayFormat("Nothing", "X"), "");
}

}  // namespace
}  // namespace app
