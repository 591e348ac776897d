#pragma once
// The recording a command reads and the files it writes, with the refusals as CliErrors.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Command.h"
#include "storage/Recordings.h"

namespace wyk {
struct RecorderState;
}

namespace wyk::cli {

// The recording named FILE opened as "Otworz" opens it (any extension names the .osr and .osi);
// a missing or empty sample file raises CliError(kBadInput).
StoredRecording OpenInput(const std::string& name);
// The same, through OpenRecordingFiles into the state, for the views.
void OpenInput(RecorderState& state, const std::string& name);

// Why a write or a create failed, for errno `error` ("brak miejsca na dysku" …).
std::string WriteErrorText(int error);
// CliError(kBadOutput) "Nie mogę zapisać pliku <path>: <why>".
CliError OutputError(const std::string& path, int error);
// Creates `path` for writing and returns its descriptor; an existing file is refused unless
// `force`, which truncates it. Raises OutputError.
int CreateOutput(const std::string& path, bool force);

// An output created for the command. Without `force` an existing file is refused; a file left
// unfinished (an error, no Commit) is removed. Writes are buffered.
class OutputFile {
 public:
  // `option` names the output in messages ("--csv"); `input` is the recording given.
  OutputFile(const Arguments& arguments, const std::string& option, const std::string& input);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(const void* data, size_t count);
  void Write(const std::string& text) { Write(text.data(), text.size()); }
  // Room for `count` bytes at the end of the buffer; Commit them with Advance.
  char* Reserve(size_t count);
  void Advance(size_t count) { used_ += count; }
  // Writes over bytes already written, e.g. a header whose sizes are known only at the end.
  void WriteAt(int64_t offset, const void* data, size_t count);
  // Everything on disk and the file kept.
  void Commit();

 private:
  void Flush();
  [[noreturn]] void Fail(int error) const;

  std::string path_;
  int fd_ = -1;
  bool committed_ = false;
  std::vector<char> buffer_;
  size_t used_ = 0;
};

}  // namespace wyk::cli
