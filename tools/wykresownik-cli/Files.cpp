#include "Files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Command.h"
#include "app/RecorderState.h"
#include "storage/RecordingNames.h"

namespace wyk::cli {
namespace {

namespace fs = std::filesystem;

constexpr size_t kBufferBytes = size_t{1} << 20;

std::string WhyNotReadable(const std::string& path) {
  std::error_code ignored;
  const fs::file_status status = fs::status(path, ignored);
  if (!fs::exists(status)) return "nie ma takiego pliku";
  if (!fs::is_regular_file(status)) return "to nie jest zwykły plik";
  return "brak prawa odczytu";
}

}  // namespace

std::string WriteErrorText(int error) {
  switch (error) {
    case EEXIST:
      return "plik już istnieje (nadpisze go dopiero --force)";
    case EACCES:
    case EPERM:
      return "brak prawa zapisu";
    case ENOENT:
    case ENOTDIR:
      return "nie ma takiego katalogu";
    case EISDIR:
      return "to jest katalog";
    case ENOSPC:
    case EDQUOT:
      return "brak miejsca na dysku";
    case EROFS:
      return "system plików tylko do odczytu";
    case EFBIG:
      return "plik przekroczył dozwolony rozmiar";
    default:
      return std::string("błąd zapisu: ") + std::strerror(error);
  }
}

CliError OutputError(const std::string& path, int error) {
  return CliError(kBadOutput, "Nie mogę zapisać pliku " + path + ": " + WriteErrorText(error));
}

int CreateOutput(const std::string& path, bool force) {
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (force ? O_TRUNC : O_EXCL), 0644);
  if (fd < 0) throw OutputError(path, errno);
  return fd;
}

namespace {

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

void OpenInput(RecorderState& state, const std::string& name) {
  const OpenOutcome outcome = OpenRecordingFiles(state, name);
  StoredRecording refused;
  refused.result = outcome.result;
  Refuse(refused, name);
}

OutputFile::OutputFile(const Arguments& arguments, const std::string& option,
                       const std::string& input)
    : path_(arguments.Value(option)) {
  if (path_.empty()) throw CliError(kBadUsage, "--" + option + ": brak nazwy pliku");
  std::error_code ignored;
  if (fs::equivalent(path_, RecordingFileName(input, ".osr"), ignored))
    throw CliError(kBadUsage, "--" + option + ": " + path_ + " to plik próbek nagrania");
  // An existing file is refused as it is; the destructor of a half-made object does not run.
  fd_ = CreateOutput(path_, arguments.Has("force"));
  buffer_.resize(kBufferBytes);
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_) ::unlink(path_.c_str());
}

void OutputFile::Fail(int error) const {
  throw OutputError(path_, error);
}

void OutputFile::Flush() {
  size_t done = 0;
  while (done < used_) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(n < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(n);
  }
  used_ = 0;
}

char* OutputFile::Reserve(size_t count) {
  if (used_ + count > buffer_.size()) {
    Flush();
    if (count > buffer_.size()) buffer_.resize(count);
  }
  return buffer_.data() + used_;
}

void OutputFile::Write(const void* data, size_t count) {
  if (count > buffer_.size()) {
    Flush();
    buffer_.resize(count);
  }
  std::memcpy(Reserve(count), data, count);
  used_ += count;
}

void OutputFile::WriteAt(int64_t offset, const void* data, size_t count) {
  Flush();
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pwrite(fd_, static_cast<const char*>(data) + done, count - done,
                               static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(n < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(n);
  }
}

void OutputFile::Commit() {
  Flush();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
  committed_ = true;
}

}  // namespace wyk::cli
