#pragma once
// The files the writers write, with the refusals as errors whose texts are shown as they are.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace wyk {

// Why a write or a create failed, for errno `error` ("brak miejsca na dysku" …).
std::string WriteErrorText(int error);

// An output that cannot be written.
class OutputError : public std::runtime_error {
 public:
  explicit OutputError(const std::string& message) : std::runtime_error(message) {}
  // "Nie mogę zapisać pliku <path>: <why>".
  OutputError(const std::string& path, int error);
};

// An output that names a file of the recording: "<path> to plik próbek nagrania".
class RecordingFileRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creates `path` for writing and returns its descriptor; an existing file is refused unless
// `force`, which truncates it. Raises OutputError.
int CreateOutput(const std::string& path, bool force);

// An output of a writer. The bytes go to a temporary file beside the target (its links
// followed), which replaces the target only at Commit; an unfinished output (an error, no Commit,
// Ctrl-C or SIGTERM) leaves no file behind and an old file as it was. "-" is the standard
// output; a device or pipe in the target's place is written directly. Writes are buffered.
class OutputFile {
 public:
  // An existing target is refused unless `force`. Raises OutputError.
  OutputFile(const std::string& path, bool force);
  // The same, and the recording `recordingName`'s own .osr and .osi are refused with
  // RecordingFileRefused.
  OutputFile(const std::string& path, bool force, const std::string& recordingName);
  // An open descriptor, such as a pipe, kept open afterwards.
  explicit OutputFile(int fd);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(const void* data, size_t count);
  void Write(const std::string& text) { Write(text.data(), text.size()); }
  // Room for `count` bytes at the end of the buffer; Commit them with Advance.
  char* Reserve(size_t count);
  void Advance(size_t count) { used_ += count; }
  // Everything written, synced and in the target's place.
  void Commit();

 private:
  void Flush();
  void Replace();
  [[noreturn]] void Fail(int error) const;

  std::string path_;       // as given, for messages
  std::string target_;     // the file reached through links
  std::string temporary_;  // empty when written directly
  bool force_ = false;
  unsigned mode_ = 0;  // of the old file, or as a new file gets it
  int fd_ = -1;
  bool ownsFd_ = true;
  int pending_ = -1;  // the temporary's slot for the signal handler
  bool committed_ = false;
  std::vector<char> buffer_;
  size_t used_ = 0;
};

// True when both names reach the same file, through links too; for a file not yet there the
// paths with their links followed are compared.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace wyk
