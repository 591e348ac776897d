#pragma once
// Builds the open recording's summary in the background and says so on the UI thread when it
// is ready. Ending it stops a build that runs.

#include <QObject>

#include "storage/OpenRecording.h"

namespace wyk {

class SummaryWatcher : public QObject {
  Q_OBJECT
 public:
  SummaryWatcher(OpenRecording& recording, QObject* parent);
  ~SummaryWatcher() override;

  // Starts building the summary of the recording opened now.
  void Start();

 signals:
  void Ready();

 private:
  OpenRecording& recording_;
};

}  // namespace wyk
