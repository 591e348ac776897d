#include "app/SummaryWatcher.h"

#include "storage/RecordingNames.h"

namespace wyk {

SummaryWatcher::SummaryWatcher(OpenRecording& recording, QObject* parent)
    : QObject(parent), recording_(recording) {}

SummaryWatcher::~SummaryWatcher() {
  recording_.summary.Clear();  // joins the builder before this object goes
}

void SummaryWatcher::Start() {
  recording_.summary.BuildInBackground(RecordingFileName(recording_.recordingName, ".osr"), [this] {
    // On the builder's thread: only a posted call, taken in on the UI thread.
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (recording_.summary.TakeFinished()) emit Ready();
        },
        Qt::QueuedConnection);
  });
}

}  // namespace wyk
