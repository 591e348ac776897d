#include "controls/RadioGroup.h"

#include <QFontMetrics>

namespace wyk {

RadioGroup::RadioGroup(QWidget* parent, const QRect& geometry, const QString& caption,
                       const QStringList& items, int columns)
    : QGroupBox(caption, parent) {
  setGeometry(geometry);
  const int count = static_cast<int>(items.size());
  const int perColumn = (count + columns - 1) / columns;
  const int itemWidth = (geometry.width() - 10) / columns;
  // Below the caption, the rows share the height evenly.
  const int captionHeight = QFontMetrics(font()).height();
  const int rowsHeight = geometry.height() - captionHeight - 5;
  const int itemHeight = rowsHeight / perColumn;
  const int topMargin = captionHeight + 1 + (rowsHeight % perColumn) / 2;
  for (int i = 0; i < count; ++i) {
    auto* item = new QRadioButton(items[i], this);
    item->setGeometry(8 + (i / perColumn) * itemWidth, topMargin + (i % perColumn) * itemHeight,
                      itemWidth, itemHeight);
    buttons_.addButton(item, i);
    items_.push_back(item);
  }
}

void RadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) {
    items_[static_cast<size_t>(index)]->setChecked(true);
    return;
  }
  // An exclusive group will not let its checked button go.
  buttons_.setExclusive(false);
  for (QRadioButton* item : items_) item->setChecked(false);
  buttons_.setExclusive(true);
}

}  // namespace wyk
