#pragma once
// A square filled with a colour inside a black outline; any mouse button pressed on it, or Space
// while it has the focus, is reported.

#include <QColor>
#include <QWidget>

namespace wyk {

class ColourSwatch : public QWidget {
  Q_OBJECT
 public:
  ColourSwatch(QWidget* parent, const QRect& geometry);

  QColor Colour() const { return colour_; }
  void SetColour(const QColor& colour);

 signals:
  void Pressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QColor colour_ = Qt::white;
};

}  // namespace wyk
