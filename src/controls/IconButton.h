#pragma once
// A tool-bar button showing a picture and no caption, a greyed-out picture while
// disabled, and its hint on hover; the hint is also its accessible name.

#include <QToolButton>

namespace wyk {

class IconButton : public QToolButton {
  Q_OBJECT
 public:
  IconButton(QWidget* parent, const QPixmap& picture, const QString& hint);

  // The greyed-out picture is made from the normal one.
  static QPixmap Greyed(const QPixmap& picture);
};

}  // namespace wyk
