#include "app/StretchButtons.h"

#include "app/Guard.h"
#include "app/TForm1.h"
#include "controls/Fonts.h"

namespace wyk {

void StretchButtons::Show(Stretch stretch) const {
  buttons[static_cast<size_t>(stretch)]->setChecked(true);
}

StretchButtons MakeStretchButtons(QWidget* window, const QRect& place, const QString& wholeHint,
                                  TForm1& mainWindow, std::function<void(Stretch)> chosen) {
  StretchButtons made{new RaisedPanel(window, place), {}};
  const auto button = [&](int top, const QString& caption, const QString& hint, Stretch s) {
    auto* b = new QToolButton(made.panel);
    b->setGeometry(4, top, 32, 22);
    b->setText(caption);
    b->setToolTip(hint);
    b->setFont(SmallFont());
    b->setFocusPolicy(Qt::NoFocus);
    b->setCheckable(true);
    b->setAutoExclusive(true);
    QObject::connect(b, &QToolButton::clicked, window, Guard([chosen, s] { chosen(s); }));
    return b;
  };
  made.buttons = {button(4, "Pocz.", wholeHint, Stretch::kWhole),
                  button(28, "Widok", "Próbki widoczne na wykresie", Stretch::kView),
                  button(52, "A–B", "Próbki między kursorami A i B", Stretch::kCursors)};
  made.buttons[0]->setChecked(true);
  QToolButton* cursors = made.buttons[2];
  cursors->setEnabled(mainWindow.state.cursors.cursorsVisible);
  QObject::connect(&mainWindow, &TForm1::CursorsSwitched, window,
                   Guard([cursors](bool on) { cursors->setEnabled(on); }));
  return made;
}

Stretch UsableStretch(Stretch stretch, bool cursorsVisible) {
  return stretch == Stretch::kCursors && !cursorsVisible ? Stretch::kWhole : stretch;
}

}  // namespace wyk
