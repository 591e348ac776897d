// The configuration dialog's keys: Tab through every control (the port group is one stop, arrows
// move within it), Space on a swatch opens its colour picker, Enter is OK and Esc is "Anuluj".
#include "app/TForm2.h"
#include "app/WindowKeys.h"

namespace wyk {

void SetUpConfigurationKeys(TForm2& d) {
  std::vector<QWidget*> order;
  for (int i = 0; i < d.RadioGroup1->Count(); ++i) order.push_back(d.RadioGroup1->Item(i));
  order.insert(order.end(), {d.Shape1, d.Shape2, d.Shape3, d.ComboBox1, d.CSpinEdit1,
                             d.SpeedButton2, d.SpeedButton3});
  TabInOrder(order);
  ClickOnKey(d, d.SpeedButton2, Qt::Key_Return);
  ClickOnKey(d, d.SpeedButton2, Qt::Key_Enter);
  ClickOnKey(d, d.SpeedButton3, Qt::Key_Escape);
}

}  // namespace wyk
