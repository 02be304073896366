#ifndef SALDEX_APP_DB_GRID_H_
#define SALDEX_APP_DB_GRID_H_

#include <QScrollBar>
#include <QTableView>

#include "app/cursor_table_model.h"

namespace app {

// A read-only data grid over a CursorTableModel: title row, record indicator
// in the row header, resizable columns, grid lines, whole-row selection that
// stays visible without focus, no in-place editing. Its rows are the model's
// window: the grid tells the model how many rows fit, and the vertical keys
// (Up, Down, Page Up, Page Down, Ctrl+Home, Ctrl+End), the mouse wheel and
// its own vertical scroll bar move the cursor instead of scrolling. The
// scroll bar shows where the cursor stands: at the top on the first record,
// at the bottom past the last one, in the middle otherwise. The bar stands
// beside the grid: Panel() gives the two together.
class DbGrid : public QTableView {
  Q_OBJECT

 public:
  explicit DbGrid(QWidget* parent = nullptr);
  ~DbGrid() override;

  // A widget holding the grid and its record bar side by side.
  QWidget* Panel(QWidget* parent);

  // REQUIRES: the model outlives the grid or is set again.
  void SetCursorModel(CursorTableModel* model);
  CursorTableModel* cursor_model() const { return model_; }
  QScrollBar* record_bar() const { return record_bar_; }
  // Rows that fit in the current height.
  int VisibleRows() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  void FollowActiveRow(int row);
  void ApplyColumnWidths();
  void UpdateRecordBar();
  void RecordBarAction(int action);
  // Runs a cursor move, errors going to the program's error display.
  template <typename Move>
  void MoveCursor(Move&& move);

  CursorTableModel* model_ = nullptr;
  QScrollBar* record_bar_;
  bool following_ = false;
  bool widths_applied_ = false;
};

}  // namespace app

#endif  // SALDEX_APP_DB_GRID_H_
