#pragma once
// The simulated adapter and the program on its port, for the window tests of live recording,
// and a log that answers every message box as it comes.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "acquisition/PtyPeer.h"
#include "acquisition/SimProcess.h"
#include "gui/StartedProgram.h"

namespace wyk::testing {

inline std::string SettingsOn(const std::string& device, int type) {
  return "[COM]\r\nPort=1\r\nTyp=" + std::to_string(type) + "\r\nCOM1=" + device + "\r\n";
}

// The simulator and the program on its port, with "Nowy" done on rec.osr.
struct Rig {
  SimProcess sim;
  StartedProgram program;
  std::string name;
  Rig(std::vector<std::string> args, int type, const std::string& device = "")
      : sim(WithType(std::move(args), type)),
        program(SettingsOn(device.empty() ? sim.LinkPath() : device, type).c_str()),
        name(program.dir.File("rec.osr")) {
    Main().FileNameEdit->SetText(QString::fromStdString(name));
    Main().NewRecording();
  }
  static std::vector<std::string> WithType(std::vector<std::string> args, int type) {
    args.insert(args.end(), {"--type", std::to_string(type)});
    return args;
  }
  TForm1& Main() { return program.Main(); }
  Bytes File(const std::string& file = "") const {
    const std::string bytes = ReadFile(file.empty() ? name : file);
    return {bytes.begin(), bytes.end()};
  }
  // What the adapter sent after its handshake reply.
  Bytes Sent() const {
    const Bytes tx = sim.TxLog();
    return tx.empty() ? tx : Bytes(tx.begin() + 1, tx.end());
  }
};

// Answers every message box as it comes and keeps "caption: text" of each.
struct MessageLog {
  std::vector<std::string> seen;
  QTimer poll;
  // `byMouse`: the button is pressed with a mouse event, as a person does.
  explicit MessageLog(bool byMouse = false) {
    QObject::connect(&poll, &QTimer::timeout, [this, byMouse] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      seen.push_back((box->windowTitle() + ": " + box->text()).toStdString());
      QAbstractButton* ok = box->button(QMessageBox::Ok);
      QAbstractButton* button = ok ? ok : box->button(QMessageBox::Yes);
      byMouse ? QTest::mouseClick(button, Qt::LeftButton) : button->click();
    });
    poll.start(5);
  }
};

}  // namespace wyk::testing
