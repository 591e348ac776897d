#pragma once
// A numeric spin box whose arrows step within its range while its text takes any whole number,
// so that a number typed outside the range stays as typed for the form to refuse.

#include <QSpinBox>

namespace wyk {

class SpinEdit : public QSpinBox {
  Q_OBJECT
 public:
  SpinEdit(QWidget* parent, int low, int high);

 protected:
  void stepBy(int steps) override;
  StepEnabled stepEnabled() const override;

 private:
  int low_, high_;
};

}  // namespace wyk
