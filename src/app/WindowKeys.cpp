#include "app/WindowKeys.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QToolButton>

namespace wyk {
namespace {

// Enter and Return click the focused button, before any shortcut of the window takes them.
class EnterClicks : public QObject {
 public:
  explicit EnterClicks(QAbstractButton* button) : QObject(button), button_(button) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
      return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (event->type() == QEvent::ShortcutOverride)
      event->accept();
    else
      button_->click();
    return true;
  }

 private:
  QAbstractButton* button_;
};

}  // namespace

void ClickOnKey(QWidget& window, QAbstractButton* button, const QKeySequence& key) {
  auto* shortcut = new QShortcut(key, &window);
  // click() does nothing while the button is disabled, as a mouse click.
  QObject::connect(shortcut, &QShortcut::activated, button, [button] { button->click(); });
}

void TabInOrder(const std::vector<QWidget*>& controls) {
  QWidget* previous = nullptr;
  for (QWidget* control : controls) {
    if (control->focusPolicy() == Qt::NoFocus || control->focusPolicy() == Qt::ClickFocus)
      control->setFocusPolicy(control->focusPolicy() == Qt::ClickFocus ? Qt::StrongFocus
                                                                       : Qt::TabFocus);
    if (auto* button = qobject_cast<QToolButton*>(control))
      button->installEventFilter(new EnterClicks(button));
    if (previous) QWidget::setTabOrder(previous, control);
    previous = control;
  }
}

QString KeyName(const QKeySequence& key) {
  return key.toString(QKeySequence::PortableText);
}

}  // namespace wyk
