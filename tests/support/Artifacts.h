#pragma once
// Where tests leave files for a person to look at (screenshots).

#include <QDir>
#include <QString>

namespace wyk::testing {

inline QString ArtifactPath(const QString& name) {
  QString dir = qEnvironmentVariable("WYK_ARTIFACTS");
#ifdef WYK_ARTIFACTS_DIR
  if (dir.isEmpty()) dir = WYK_ARTIFACTS_DIR;
#endif
  if (dir.isEmpty()) dir = QDir::tempPath() + "/wyk-artifacts";
  QDir().mkpath(dir);
  return dir + "/" + name;
}

}  // namespace wyk::testing
