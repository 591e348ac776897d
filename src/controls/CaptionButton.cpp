#include "controls/CaptionButton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace wyk {

const QColor CaptionButton::kDisabledText(0x80, 0x80, 0x80);
const QColor CaptionButton::kDisabledEmboss(0xFF, 0xFF, 0xFF);

CaptionButton::CaptionButton(QWidget* parent) : QToolButton(parent) {}

void CaptionButton::paintEvent(QPaintEvent* event) {
  if (isEnabled()) {
    QToolButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawComplexControl(QStyle::CC_ToolButton, option);
  // The style centres the caption in the button; so do we.
  const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
  // Crisp, as the platform draws it: smoothing would blend the emboss into the grey.
  QFont crisp = font();
  crisp.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(crisp);
  painter.setPen(kDisabledEmboss);
  painter.drawText(rect().translated(1, 1), flags, caption);
  painter.setPen(kDisabledText);
  painter.drawText(rect(), flags, caption);
}

}  // namespace wyk
