#pragma once
// A silver panel with a raised bevel, the side panels and the tool bar.

#include <QFrame>

namespace wyk {

class RaisedPanel : public QFrame {
  Q_OBJECT
 public:
  RaisedPanel(QWidget* parent, const QRect& geometry, bool raised = true);
};

}  // namespace wyk
