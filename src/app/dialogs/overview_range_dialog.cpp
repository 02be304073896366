#include "app/dialogs/overview_range_dialog.h"

#include <QKeyEvent>
#include <cmath>

#include "dbf/clock.h"

namespace app {

OverviewRangeDialog::OverviewRangeDialog(QWidget* owner) : controls::EntryDialog(owner) {
  setWindowTitle(QString::fromUtf8("Sestava přehledu dokladů"));
  setFixedClientSize(269, 168);
  // The fixed client area was laid out for an 8-point font.
  QFont small = font();
  small.setPointSizeF(8);
  setFont(small);

  auto* label1 = new QLabel(QString::fromUtf8("Přehled dokl. vyst. od data"), this);
  label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label1->setGeometry(2, 16, 156, 21);
  DateEdit1 = new controls::TEnterDateEdit(this);
  DateEdit1->setGeometry(162, 16, 100, 21);

  auto* label2 = new QLabel(QString::fromUtf8("do data"), this);
  label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label2->setGeometry(2, 44, 156, 21);
  DateEdit2 = new controls::TEnterDateEdit(this);
  DateEdit2->setGeometry(162, 44, 100, 21);

  auto* info =
      new QLabel(QString::fromUtf8("Částka dokladu bez ohledu kdy byl pohyb na skladě."), this);
  info->setWordWrap(true);
  info->setGeometry(8, 72, 253, 30);

  CheckBox1 = new QCheckBox(QString::fromUtf8("Export data do souboru XLS ( MS Excel )"), this);
  CheckBox1->setGeometry(6, 106, 261, 21);
  CheckBox1->installEventFilter(this);

  StartButton = new QPushButton(QStringLiteral("Start"), this);
  StartButton->setGeometry(48, 136, 80, 25);
  StornoButton = new QPushButton(QStringLiteral("Storno"), this);
  StornoButton->setGeometry(142, 136, 80, 25);

  setTabOrder(DateEdit1, DateEdit2);
  setTabOrder(DateEdit2, CheckBox1);
  setTabOrder(CheckBox1, StartButton);
  setTabOrder(StartButton, StornoButton);
  DateEdit1->setFocus();

  connect(StartButton, &QPushButton::clicked, this, [this] { AcceptRange(); });
  connect(StornoButton, &QPushButton::clicked, this, [this] { done(kStorno); });
}

void OverviewRangeDialog::setDates(dbf::DateTime from, dbf::DateTime to) {
  DateEdit1->setDateValue(from);
  DateEdit2->setDateValue(to);
}

void OverviewRangeDialog::AcceptRange() {
  export_xls_ = CheckBox1->isChecked();
  done(kStart);
}

void OverviewRangeDialog::showEvent(QShowEvent* event) {
  controls::EntryDialog::showEvent(event);
  centerOver(parentWidget());
  DateEdit1->setFocus();
}

bool OverviewRangeDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CheckBox1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      StornoButton->setFocus();
      return true;
    }
  }
  return controls::EntryDialog::eventFilter(watched, event);
}

std::optional<reports::OverviewRequest> AskOverviewRange(QWidget* owner) {
  OverviewRangeDialog dialog(owner);
  const dbf::DateTime today = std::floor(dbf::Now().ToDateTime());
  dialog.setDates(today, today);
  if (dialog.exec() != OverviewRangeDialog::kStart) return std::nullopt;
  return reports::OverviewRequest{dialog.fromDate(), dialog.toDate(), dialog.exportXls()};
}

}  // namespace app
