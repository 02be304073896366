#include "app/db_grid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>
#include <QWheelEvent>
#include <algorithm>

#include "app/error_display.h"

namespace app {
namespace {

// Positions of the record bar: first record, somewhere between, past the last.
constexpr int kBarTop = 0;
constexpr int kBarMiddle = 1;
constexpr int kBarBottom = 2;

// Characters a column shows by default, from the field's kind and width.
int DefaultCharacters(const dbf::DbfDataSet& data_set, const GridColumn& column) {
  const dbf::Field* field = data_set.FindField(column.field);
  if (field == nullptr) return 10;
  switch (field->kind()) {
    case dbf::FieldKind::kString:
      return std::clamp(static_cast<int>(field->size()), 2, 40);
    case dbf::FieldKind::kDate:
      return 10;
    case dbf::FieldKind::kBoolean:
      return 4;
    case dbf::FieldKind::kSmallInt:
    case dbf::FieldKind::kInteger:
      return 8;
    default:
      return 12;
  }
}

}  // namespace

DbGrid::DbGrid(QWidget* parent) : QTableView(parent), record_bar_(new QScrollBar(Qt::Vertical)) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  QHeaderView* rows = verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(fontMetrics().height() + 4);
  rows->setMinimumWidth(12);
  rows->setSectionsClickable(false);
  rows->setHighlightSections(false);
  // The selected row stays highlighted when the grid loses the focus.
  QPalette colours = palette();
  for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  setPalette(colours);

  record_bar_->setRange(kBarTop, kBarBottom);
  record_bar_->setPageStep(1);
  record_bar_->setFocusPolicy(Qt::NoFocus);
  connect(record_bar_, &QScrollBar::actionTriggered, this, &DbGrid::RecordBarAction);
}

DbGrid::~DbGrid() {
  if (record_bar_->parent() == nullptr) delete record_bar_;
}

QWidget* DbGrid::Panel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(this);
  layout->addWidget(record_bar_);
  return panel;
}

void DbGrid::SetCursorModel(CursorTableModel* model) {
  if (model_) disconnect(model_, nullptr, this, nullptr);
  model_ = model;
  setModel(model);
  if (!model) return;
  connect(model, &CursorTableModel::activeRowChanged, this, &DbGrid::FollowActiveRow);
  connect(model, &CursorTableModel::modelReset, this, &DbGrid::ApplyColumnWidths);
  ApplyColumnWidths();
  model->SetWindowRows(VisibleRows());
  FollowActiveRow(model->active_row());
}

void DbGrid::ApplyColumnWidths() {
  if (!model_) return;
  // Default widths need the open table's field widths.
  widths_applied_ = model_->data_set().active();
  const std::vector<GridColumn>& columns = model_->columns();
  const int char_width = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  for (size_t i = 0; i < columns.size(); ++i) {
    int width = columns[i].width;
    if (width < 0) {
      const int by_title = fontMetrics().horizontalAdvance(columns[i].title) + 8;
      width =
          std::max(by_title, DefaultCharacters(model_->data_set(), columns[i]) * char_width + 10);
    }
    setColumnWidth(static_cast<int>(i), width);
  }
}

int DbGrid::VisibleRows() const {
  const int row_height = verticalHeader()->defaultSectionSize();
  return std::max(1, viewport()->height() / std::max(row_height, 1));
}

void DbGrid::FollowActiveRow(int row) {
  if (!widths_applied_) ApplyColumnWidths();
  following_ = true;
  if (row >= 0 && model_) {
    const int column = std::max(currentIndex().column(), 0);
    selectionModel()->setCurrentIndex(
        model_->index(row, column),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  } else if (selectionModel()) {
    selectionModel()->clear();
  }
  following_ = false;
  UpdateRecordBar();
}

void DbGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (following_ || !model_ || !current.isValid()) return;
  if (current.row() == model_->active_row()) return;
  const int row = current.row();
  MoveCursor([this, row] { model_->MoveToRow(row); });
}

template <typename Move>
void DbGrid::MoveCursor(Move&& move) {
  if (!model_ || !model_->data_set().active()) return;
  RunCommand(move);
  UpdateRecordBar();
}

void DbGrid::keyPressEvent(QKeyEvent* event) {
  if (!model_) return QTableView::keyPressEvent(event);
  dbf::DbfDataSet& table = model_->data_set();
  const int page = VisibleRows();
  const bool control = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Up:
      return MoveCursor([&] { table.MoveBy(-1); });
    case Qt::Key_Down:
      return MoveCursor([&] { table.MoveBy(1); });
    case Qt::Key_PageUp:
      return MoveCursor([&] { table.MoveBy(-page); });
    case Qt::Key_PageDown:
      return MoveCursor([&] { table.MoveBy(page); });
    case Qt::Key_Home:
      if (control) return MoveCursor([&] { table.First(); });
      break;
    case Qt::Key_End:
      if (control) return MoveCursor([&] { table.Last(); });
      break;
    default:
      break;
  }
  QTableView::keyPressEvent(event);
}

void DbGrid::wheelEvent(QWheelEvent* event) {
  if (!model_) return QTableView::wheelEvent(event);
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) {
    MoveCursor([&] { model_->data_set().MoveBy(-3 * notches); });
  }
  event->accept();
}

void DbGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  if (model_) model_->SetWindowRows(VisibleRows());
}

void DbGrid::UpdateRecordBar() {
  int position = kBarMiddle;
  if (model_ && model_->data_set().active()) {
    const dbf::DbfDataSet& table = model_->data_set();
    if (table.Bof()) position = kBarTop;
    if (table.Eof()) position = kBarBottom;
  } else {
    position = kBarTop;
  }
  const QSignalBlocker quiet(record_bar_);
  record_bar_->setValue(position);
}

void DbGrid::RecordBarAction(int action) {
  if (!model_) return;
  dbf::DbfDataSet& table = model_->data_set();
  const int page = VisibleRows();
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      MoveCursor([&] { table.MoveBy(-1); });
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      MoveCursor([&] { table.MoveBy(1); });
      break;
    case QAbstractSlider::SliderPageStepSub:
      MoveCursor([&] { table.MoveBy(-page); });
      break;
    case QAbstractSlider::SliderPageStepAdd:
      MoveCursor([&] { table.MoveBy(page); });
      break;
    case QAbstractSlider::SliderToMinimum:
      MoveCursor([&] { table.First(); });
      break;
    case QAbstractSlider::SliderToMaximum:
      MoveCursor([&] { table.Last(); });
      break;
    case QAbstractSlider::SliderMove: {
      const int target = record_bar_->sliderPosition();
      if (target <= kBarTop) MoveCursor([&] { table.First(); });
      if (target >= kBarBottom) MoveCursor([&] { table.Last(); });
      break;
    }
    default:
      break;
  }
  // The slider shows the cursor's position, not where it was dragged.
  QMetaObject::invokeMethod(this, &DbGrid::UpdateRecordBar, Qt::QueuedConnection);
}

}  // namespace app
