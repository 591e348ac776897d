#include "Files.h"

#include "Command.h"
#include "common/PlatformFile.h"
#include "storage/RecordingNames.h"

namespace wyk::cli {
namespace {

std::string WhyNotReadable(const std::string& path) {
  const auto status = StatusOf(path);
  if (!status) return "nie ma takiego pliku";
  if (!status->regular) return "to nie jest zwykły plik";
  return "brak prawa odczytu";
}

void Refuse(const StoredRecording& recording, const std::string& name) {
  const std::string sampleName = RecordingFileName(name, ".osr");
  if (recording.result == OpenResult::kNotOpened)
    throw CliError(kBadInput,
                   "Nie mogę otworzyć pliku " + sampleName + ": " + WhyNotReadable(sampleName));
  if (recording.result == OpenResult::kNoSamples)
    throw CliError(kBadInput,
                   "Nie mogę otworzyć pliku " + sampleName + ": plik nie zawiera próbek");
}

}  // namespace

StoredRecording OpenInput(const std::string& name) {
  StoredRecording recording = OpenStoredRecording(name);
  Refuse(recording, name);
  return recording;
}

void CheckOpened(const OpenOutcome& outcome, const std::string& name) {
  StoredRecording refused;
  refused.result = outcome.result;
  Refuse(refused, name);
}

std::unique_ptr<OutputFile> OpenOutput(const Arguments& arguments, const std::string& option,
                                       const std::string& input) {
  const std::string path = arguments.Value(option);
  if (path.empty()) throw CliError(kBadUsage, "--" + option + ": brak nazwy pliku");
  try {
    return std::make_unique<OutputFile>(path, arguments.Has("force"), input);
  } catch (const RecordingFileRefused& refused) {
    throw CliError(kBadUsage, "--" + option + ": " + refused.what());
  }
}

}  // namespace wyk::cli
