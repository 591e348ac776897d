#include "controls/BrowseEdit.h"

namespace wyk {

BrowseEdit::BrowseEdit(QWidget* parent, const QRect& geometry) : QWidget(parent) {
  setGeometry(geometry);
  const int buttonWidth = geometry.height();
  edit_ = new QLineEdit(this);
  edit_->setGeometry(0, 0, geometry.width() - buttonWidth, geometry.height());
  edit_->setTextMargins(0, 0, 0, 0);
  browse_ = new QToolButton(this);
  browse_->setGeometry(geometry.width() - buttonWidth, 0, buttonWidth, geometry.height());
  browse_->setText("…");
  browse_->setFocusPolicy(Qt::NoFocus);
  connect(browse_, &QToolButton::clicked, this, &BrowseEdit::BrowseRequested);
}

}  // namespace wyk
