#pragma once
// A button with a text caption. Disabled, the caption is drawn as the platform draws disabled
// text: dark grey over a white copy one pixel to the lower right, so it stays readable on the
// silver panels.

#include <QToolButton>

namespace wyk {

class CaptionButton : public QToolButton {
  Q_OBJECT
 public:
  explicit CaptionButton(QWidget* parent);

  static const QColor kDisabledText;    // #808080
  static const QColor kDisabledEmboss;  // white

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace wyk
