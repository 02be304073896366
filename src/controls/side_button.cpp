#include "controls/side_button.h"

#include <QPainter>
#include <algorithm>

#include "controls/control_types.h"

namespace controls {

SideButtonProperties::SideButtonProperties(QLineEdit* edit) : button_(new SideButton(edit)) {
  QObject::connect(button_, &QToolButton::clicked, button_, [this, edit] {
    if (on_click_button_) on_click_button_(edit);
  });
}

SideButton::SideButton(QLineEdit* edit) : QToolButton(edit), edit_(edit) {
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::ArrowCursor);
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  glyph_ = defaultGlyph();
  updateIcon();
  hide();
  place();
}

void SideButton::setShown(bool shown) {
  shown_ = shown;
  place();
}

void SideButton::setButtonWidth(int width) {
  width_ = width;
  place();
}

void SideButton::setGlyph(const QPixmap& glyph) {
  glyph_ = glyph.isNull() ? defaultGlyph() : glyph;
  updateIcon();
}

void SideButton::setNumGlyphs(int count) {
  num_glyphs_ = std::clamp(count, 1, 4);
  updateIcon();
}

int SideButton::effectiveWidth() const {
  if (!shown_) return 0;
  return std::max(kMinButtonWidth, std::min(width_, edit_->width()));
}

void SideButton::place() {
  const int width = effectiveWidth();
  if (width > 0) {
    setGeometry(edit_->width() - width, 0, width, edit_->height());
    show();
  } else {
    hide();
  }
  QMargins margins = edit_->textMargins();
  margins.setRight(width + kButtonGap);
  edit_->setTextMargins(margins);
}

void SideButton::updateIcon() {
  // Glyph images side by side: normal, disabled, (pressed, down).
  const int count = std::min(num_glyphs_, std::max(1, glyph_.width()));
  const int part = glyph_.width() / count;
  QIcon icon;
  icon.addPixmap(glyph_.copy(0, 0, part, glyph_.height()), QIcon::Normal);
  if (count >= 2) icon.addPixmap(glyph_.copy(part, 0, part, glyph_.height()), QIcon::Disabled);
  setIcon(icon);
  setIconSize(QSize(part, glyph_.height()));
}

QPixmap SideButton::defaultGlyph() {
  QPixmap pixmap(8, 2);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  for (int x : {0, 3, 6}) painter.fillRect(x, 0, 2, 2, Qt::black);
  return pixmap;
}

}  // namespace controls
