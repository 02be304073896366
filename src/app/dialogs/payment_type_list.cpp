#include "app/dialogs/payment_type_list.h"

#include <QKeyEvent>

#include "app/dialogs/dialog_font.h"
#include "app/grid_column.h"

namespace app {

PaymentTypeList::PaymentTypeList(dbf::DbfDataSet& types, QWidget* parent)
    : EntryDialog(parent),
      model_(std::make_unique<CursorTableModel>(
          types, CatalogueColumns("TypPlatby", {{"BPT_KOD", -1}, {"BPT_NAC", -1}}))) {
  UseDialogFont(this);
  setWindowTitle(QStringLiteral("Přehled typu plateb"));
  setFixedClientSize(kClientWidth, kClientHeight);
  setKeyPreview(true);
  navigator_ = new DbNavigator(types, this);
  navigator_->first_button()->hide();
  navigator_->last_button()->hide();
  navigator_->setGeometry(0, 0, kClientWidth, 25);
  grid_ = new DbGrid(this);
  grid_->SetCursorModel(model_.get());
  grid_->setGeometry(0, 25, kClientWidth, kClientHeight - 25);
  connect(grid_, &QAbstractItemView::doubleClicked, this, [this] { accept(); });
}

PaymentTypeList::~PaymentTypeList() {
  // The grid goes before the model it shows.
  delete grid_;
}

void PaymentTypeList::showEvent(QShowEvent* event) {
  EntryDialog::showEvent(event);
  grid_->setFocus();
}

bool PaymentTypeList::previewKey(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  if (event->key() == Qt::Key_Escape) {
    reject();
    return true;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    accept();
    return true;
  }
  return false;
}

}  // namespace app
