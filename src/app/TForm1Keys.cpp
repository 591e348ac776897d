// The main window's keys: a shortcut for every button of the file panel, recording, tool bar and
// settings, their names in the hints, and Tab in reading order.
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <vector>

#include "app/TForm1.h"
#include "app/WindowKeys.h"

namespace wyk {
namespace {

// The name box yields the window's shortcuts (Ctrl+K would delete to the line's end).
class YieldShortcuts : public QObject {
 public:
  YieldShortcuts(QObject* parent, std::vector<QKeySequence> keys)
      : QObject(parent), keys_(std::move(keys)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    return std::find(keys_.begin(), keys_.end(), pressed) != keys_.end();
  }

 private:
  std::vector<QKeySequence> keys_;
};

}  // namespace

void SetUpMainWindowKeys(TForm1& f) {
  // The hints the layout gives keep their text; the key follows on a line of its own. Buttons
  // with a caption get a hint naming the key.
  const std::pair<QAbstractButton*, QKeySequence> keys[] = {
      {f.NewButton, Qt::CTRL | Qt::Key_N},  {f.OpenButton, Qt::CTRL | Qt::Key_O},
      {f.StartButton, Qt::Key_F5},          {f.StopButton, Qt::Key_F6},
      {f.t1, Qt::CTRL | Qt::Key_R},         {f.t2, Qt::CTRL | Qt::Key_B},
      {f.z1, Qt::CTRL | Qt::Key_0},         {f.z2, Qt::CTRL | Qt::Key_1},
      {f.z5, Qt::CTRL | Qt::Key_2},         {f.CursorsButton, Qt::Key_F7},
      {f.SnapAButton, Qt::ALT | Qt::Key_A}, {f.SnapBButton, Qt::ALT | Qt::Key_B},
      {f.FftButton, Qt::CTRL | Qt::Key_F},  {f.ConfigButton, Qt::CTRL | Qt::Key_K},
      {f.ExitButton, Qt::CTRL | Qt::Key_Q},
  };
  std::vector<QKeySequence> sequences;
  for (const auto& [button, key] : keys) {
    ClickOnKey(f, button, key);
    sequences.push_back(key);
    if (button->toolTip().isEmpty())
      button->setToolTip(button->text() + " (" + KeyName(key) + ")");
    else
      button->setToolTip(button->toolTip() + "\nKlawisz " + KeyName(key));
  }
  QLineEdit* name = f.FileNameEdit->Edit();
  name->installEventFilter(new YieldShortcuts(name, sequences));
  QObject::connect(name, &QLineEdit::returnPressed, f.OpenButton, [&f] { f.OpenButton->click(); });

  std::vector<QWidget*> order{name,          f.FileNameEdit->BrowseButton(),
                              f.OpenButton,  f.NewButton,
                              f.StartButton, f.StopButton,
                              f.t1,          f.t2};
  order.insert(order.end(), f.speedButtons.begin(), f.speedButtons.end());
  order.insert(order.end(), f.samplingButtons.begin(), f.samplingButtons.end());
  order.insert(order.end(),
               {f.z1, f.z2, f.z3, f.z4, f.z5, f.ScrollBar1, f.CursorsButton, f.SnapAButton,
                f.SnapBButton, f.FftButton, f.ConfigButton, f.ExitButton});
  TabInOrder(order);
}

}  // namespace wyk
