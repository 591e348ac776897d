#include "app/OutputFiles.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "app/Guard.h"
#include "export/SampleExport.h"
#include "storage/RecordingNames.h"

namespace wyk {
namespace {

void Warn(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, "Uwaga", text, QMessageBox::Ok, parent);
  box.exec();
}

bool IsRecordingFile(const std::string& path, const std::string& recordingName) {
  if (recordingName.empty()) return false;
  std::error_code ignored;
  return std::filesystem::equivalent(path, RecordingFileName(recordingName, ".osr"), ignored) ||
         std::filesystem::equivalent(path, RecordingFileName(recordingName, ".osi"), ignored);
}

}  // namespace

std::string AskOutputPath(QWidget* parent, const QString& title, const std::string& suggested,
                          const QString& filter, const std::string& recordingName) {
  const QFileInfo start(QString::fromStdString(suggested));
  QFileDialog dialog(parent, title, start.path(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked below, in the program's words
  dialog.setDefaultSuffix(start.suffix());
  dialog.selectFile(start.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const std::string path = QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
  if (IsRecordingFile(path, recordingName)) {
    Warn(parent, "To plik nagrania! Podaj inną nazwę.");
    return {};
  }
  if (std::filesystem::exists(path)) {
    QMessageBox box(QMessageBox::NoIcon, "Uwaga!", "Plik istnieje!\nCzy nadpisac?",
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return {};
  }
  return path;
}

bool WriteOutput(QWidget* parent, const std::string& path, const std::string& recordingName,
                 const std::function<void(OutputFile&)>& write) {
  try {
    // An existing file is there because the user has agreed to replace it.
    OutputFile out(path, std::filesystem::exists(path), recordingName);
    write(out);
    out.Commit();
    return true;
  } catch (const ExportCancelled&) {
  } catch (const RecordingFileRefused& error) {
    // Worded as the command line words its --out.
    Warn(parent, QString::fromUtf8("--out: " + std::string(error.what())));
  } catch (const OutputError& error) {
    Warn(parent, QString::fromUtf8(error.what()));
  } catch (const InputError& error) {
    Warn(parent, QString::fromUtf8(error.what()));
  }
  return false;
}

ExportProgressFrame::ExportProgressFrame(TFrame1& frame) : frame_(frame) {
  geometry_ = frame.geometry();
  frame.setGeometry(geometry_.adjusted(0, 0, 0, 26));
  frame.CancelButton->setGeometry(geometry_.width() / 2 - 40, geometry_.height() + 3, 80, 22);
  frame.CancelButton->show();
  frame.ProgressBar1->setValue(0);
  frame.show();
  frame.raise();
  connect(frame.CancelButton, &QPushButton::clicked, this, Guard([this] { cancelled_ = true; }));
  qApp->installEventFilter(this);
  frame.repaint();
}

ExportProgressFrame::~ExportProgressFrame() {
  qApp->removeEventFilter(this);
  frame_.CancelButton->hide();
  frame_.hide();
  frame_.setGeometry(geometry_);
  if (closeAfterwards_) {
    QWidget* window = frame_.window();
    QTimer::singleShot(0, window, [window] { window->close(); });
  }
}

void ExportProgressFrame::AskToStopForClose() {
  if (question_) return;
  QMessageBox box(QMessageBox::NoIcon, "Uwaga!", "Trwa eksport.\nCzy go przerwać?",
                  QMessageBox::Yes | QMessageBox::No, frame_.window());
  box.setDefaultButton(QMessageBox::No);
  question_ = &box;
  const bool stop = box.exec() == QMessageBox::Yes;
  question_ = nullptr;  // before the box is taken apart, which sends events of its own
  if (stop) cancelled_ = closeAfterwards_ = true;
}

bool ExportProgressFrame::QuestionHolds(QObject* target) const {
  const auto* widget = qobject_cast<QWidget*>(target);
  return question_ && widget && (widget == question_ || question_->isAncestorOf(widget));
}

void ExportProgressFrame::Report(int64_t done, int64_t total) {
  QProgressBar& bar = *frame_.ProgressBar1;
  bar.setValue(static_cast<int>(bar.minimum() + (bar.maximum() - bar.minimum()) * done /
                                                    std::max<int64_t>(total, 1)));
  QApplication::processEvents();
  if (cancelled_) throw ExportCancelled{};
}

bool ExportProgressFrame::eventFilter(QObject* target, QEvent* event) {
  // Input reaches a widget through its window first; the window passes it on to the widget.
  if (target->isWindowType() || target == frame_.CancelButton || QuestionHolds(target))
    return false;
  switch (event->type()) {
    case QEvent::Close:
      // An event let through unanswered would close the window with the export running on.
      event->ignore();
      if (target == frame_.window()) AskToStopForClose();
      return true;
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) cancelled_ = true;
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

}  // namespace wyk
