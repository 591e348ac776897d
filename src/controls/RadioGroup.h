#pragma once
// A captioned group of radio buttons laid out in columns, filled column by column, with at
// most one item selected, or none.

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <vector>

namespace wyk {

class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroup(QWidget* parent, const QRect& geometry, const QString& caption,
             const QStringList& items, int columns);

  // −1 when no item is selected.
  int ItemIndex() const { return buttons_.checkedId(); }
  // −1 clears the selection.
  void SetItemIndex(int index);
  QRadioButton* Item(int index) const { return items_.at(static_cast<size_t>(index)); }
  int Count() const { return static_cast<int>(items_.size()); }

 private:
  QButtonGroup buttons_;
  std::vector<QRadioButton*> items_;
};

}  // namespace wyk
