#include "app/db_navigator.h"

#include <QHBoxLayout>

#include "app/error_display.h"

namespace app {

DbNavigator::DbNavigator(dbf::DbfDataSet& data_set, QWidget* parent)
    : QWidget(parent), data_set_(data_set) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  first_ = AddButton(QStringLiteral("|\u25C0"), QStringLiteral("První záznam"));
  prior_ = AddButton(QStringLiteral("\u25C0"), QStringLiteral("Předchozí záznam"));
  next_ = AddButton(QStringLiteral("\u25B6"), QStringLiteral("Další záznam"));
  last_ = AddButton(QStringLiteral("\u25B6|"), QStringLiteral("Poslední záznam"));
  connect(first_, &QToolButton::clicked, this,
          [this] { RunCommand([this] { data_set_.First(); }); });
  connect(prior_, &QToolButton::clicked, this,
          [this] { RunCommand([this] { data_set_.Prior(); }); });
  connect(next_, &QToolButton::clicked, this, [this] { RunCommand([this] { data_set_.Next(); }); });
  connect(last_, &QToolButton::clicked, this, [this] { RunCommand([this] { data_set_.Last(); }); });
  data_set_.AddObserver(this);
  UpdateButtons();
}

DbNavigator::~DbNavigator() {
  data_set_.RemoveObserver(this);
}

QToolButton* DbNavigator::AddButton(const QString& text, const QString& tip) {
  auto* button = new QToolButton(this);
  button->setText(text);
  button->setToolTip(tip);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoRaise(false);
  button->setFixedSize(25, 25);
  layout()->addWidget(button);
  return button;
}

void DbNavigator::UpdateButtons() {
  const bool usable = data_set_.active() && !data_set_.IsEmpty();
  first_->setEnabled(usable && !data_set_.Bof());
  prior_->setEnabled(usable && !data_set_.Bof());
  next_->setEnabled(usable && !data_set_.Eof());
  last_->setEnabled(usable && !data_set_.Eof());
}

}  // namespace app
