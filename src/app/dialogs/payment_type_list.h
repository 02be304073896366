#ifndef SALDEX_APP_DIALOGS_PAYMENT_TYPE_LIST_H_
#define SALDEX_APP_DIALOGS_PAYMENT_TYPE_LIST_H_

#include <memory>

#include "app/cursor_table_model.h"
#include "app/db_grid.h"
#include "app/db_navigator.h"
#include "controls/entry_dialog.h"
#include "dbf/data_set.h"

namespace app {

// The payment type list `PaymentTypeList`, a pick list over the open
// payment types table: a navigator (prior, next) and a read-only grid of
// BPT_KOD and BPT_NAC, which has the focus. Esc closes it as cancelled;
// Enter or a double click on the grid closes it as picked, the table
// standing on the picked type.
class PaymentTypeList : public controls::EntryDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 240;
  static constexpr int kClientHeight = 137;

  // REQUIRES: `types` is open and outlives the dialog.
  explicit PaymentTypeList(dbf::DbfDataSet& types, QWidget* parent = nullptr);
  ~PaymentTypeList() override;

  DbGrid* DBGrid1() const { return grid_; }
  DbNavigator* DBNavigator1() const { return navigator_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool previewKey(QKeyEvent* event) override;

 private:
  std::unique_ptr<CursorTableModel> model_;
  DbNavigator* navigator_;
  DbGrid* grid_;
};

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_PAYMENT_TYPE_LIST_H_
