// The spectrum window's key: Esc closes it.
#include <QShortcut>

#include "app/TForm3.h"
#include "app/WindowKeys.h"

namespace wyk {

void SetUpSpectrumKeys(TForm3& window) {
  auto* escape = new QShortcut(Qt::Key_Escape, &window);
  QObject::connect(escape, &QShortcut::activated, &window, &QWidget::close);
}

}  // namespace wyk
