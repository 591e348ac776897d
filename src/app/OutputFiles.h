#pragma once
// The windows' outputs (pictures, CSV, WAV), written by the writers the command line uses too:
// the name from a save dialog, an existing file replaced only after the user agrees, and nothing
// left behind by a write that fails or is cancelled.

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "app/TFrame1.h"
#include "export/OutputFile.h"

namespace wyk {

// Thrown from an export's progress to stop it.
struct ExportCancelled {};

// The save dialog, opened at `suggested`; the path chosen, or empty. The recording's own files
// are refused, and an existing file is kept unless the user answers "Tak" to replacing it.
std::string AskOutputPath(QWidget* parent, const QString& title, const std::string& suggested,
                          const QString& filter, const std::string& recordingName);

// Runs `write` on a new file at `path`. A failure is shown in a message box; a failed or
// cancelled write leaves no file. True when the file was written.
bool WriteOutput(QWidget* parent, const std::string& path, const std::string& recordingName,
                 const std::function<void(OutputFile&)>& write);

// The progress frame with its "Przerwij" button for as long as it lives; meanwhile every other
// mouse and key input of the program is held back, and Escape cancels too.
class ExportProgressFrame : public QObject {
 public:
  explicit ExportProgressFrame(TFrame1& frame);
  ~ExportProgressFrame() override;
  // Moves the bar, lets the frame be drawn and clicked, and throws ExportCancelled once
  // "Przerwij" has been pressed.
  void Report(int64_t done, int64_t total);

 protected:
  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  // Closing the main window meanwhile asks first; "Tak" stops the export and closes it after.
  void AskToStopForClose();
  bool QuestionHolds(QObject* target) const;

  TFrame1& frame_;
  QRect geometry_;
  bool cancelled_ = false;
  bool closeAfterwards_ = false;
  QWidget* question_ = nullptr;  // the question while it is asked
};

}  // namespace wyk
