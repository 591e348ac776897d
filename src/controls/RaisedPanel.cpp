#include "controls/RaisedPanel.h"

namespace wyk {

RaisedPanel::RaisedPanel(QWidget* parent, const QRect& geometry, bool raised) : QFrame(parent) {
  setGeometry(geometry);
  setFrameStyle(raised ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
  setLineWidth(1);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  setPalette(p);
  setAutoFillBackground(true);
}

}  // namespace wyk
