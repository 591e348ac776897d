#pragma once
// The keyboard of the three windows: shortcuts that click their buttons, the order of Tab, and
// Enter on a focused button. Set up once the windows exist.

#include <QAbstractButton>
#include <QKeySequence>
#include <QWidget>
#include <vector>

namespace wyk {

class TForm1;
class TForm2;
class TForm3;

void SetUpMainWindowKeys(TForm1& form);
void SetUpConfigurationKeys(TForm2& dialog);
void SetUpSpectrumKeys(TForm3& window);

// `key` anywhere in `window` clicks `button`: nothing while the button is disabled.
void ClickOnKey(QWidget& window, QAbstractButton* button, const QKeySequence& key);

// Tab visits the controls in this order; each takes the focus from Tab (not from a click, so a
// click leaves the focus where it was) and Enter clicks a focused tool button, as Space does.
void TabInOrder(const std::vector<QWidget*>& controls);

// The key's name in hints: "Ctrl+O", "F5".
QString KeyName(const QKeySequence& key);

}  // namespace wyk
