#pragma once
// Answers the next modal message box that appears and keeps its caption and text, so that a
// test can run a handler that reports through a message box.

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace wyk::testing {

struct SeenMessageBox {
  bool shown = false;
  QString caption;
  QString text;
  QStringList buttons;  // their texts, as laid out
  QPointer<QTimer> poll;
  // Stops waiting when the action is over and no box came.
  void StopWaiting() {
    if (poll) poll->deleteLater();
  }
};

// Polls for a modal message box and closes it with `answer`; the result fills in when it does.
inline std::shared_ptr<SeenMessageBox> AnswerNextMessageBox(
    QMessageBox::StandardButton answer = QMessageBox::Ok) {
  auto seen = std::make_shared<SeenMessageBox>();
  auto* poll = new QTimer;
  seen->poll = poll;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [seen, poll, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen->shown = true;
    seen->caption = box->windowTitle();
    seen->text = box->text();
    for (QAbstractButton* button : box->buttons()) seen->buttons << button->text();
    poll->stop();
    poll->deleteLater();
    if (QAbstractButton* button = box->button(answer))
      button->click();
    else
      box->reject();
  });
  poll->start();
  return seen;
}

}  // namespace wyk::testing
