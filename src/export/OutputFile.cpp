#include "export/OutputFile.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "common/PlatformFile.h"
#include "common/StopSignals.h"
#include "storage/RecordingNames.h"

namespace wyk {
namespace {

namespace fs = std::filesystem;

constexpr size_t kBufferBytes = size_t{1} << 20;

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
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "brak miejsca na dysku";
    case EROFS:
      return "system plików tylko do odczytu";
    case EFBIG:
      return "plik przekroczył dozwolony rozmiar";
    default:
      return std::string("błąd zapisu: ") + std::strerror(error);
  }
}

OutputError::OutputError(const std::string& path, int error)
    : std::runtime_error("Nie mogę zapisać pliku " + path + ": " + WriteErrorText(error)) {}

int CreateOutput(const std::string& path, bool force) {
  const int fd =
      OpenFile(path, kFileWrite | kFileCreate | (force ? kFileTruncate : kFileExclusive), 0644);
  if (fd < 0) throw OutputError(path, errno);
  return fd;
}

namespace {

// Temporaries of unfinished outputs, for the signal handler: fixed storage, nothing allocated.
constexpr int kPendingSlots = 4;
char pendingNames[kPendingSlots][PATH_MAX];
volatile std::sig_atomic_t pendingUsed[kPendingSlots];

void RemovePendingAndStop(int signalNumber) {
  for (int i = 0; i < kPendingSlots; ++i)
    if (pendingUsed[i]) RemoveFile(pendingNames[i]);
  EndBySignal(signalNumber);
}

// Creates a temporary beside `target` and keeps its name for the handler; a signal in between
// waits, so no temporary can be left unknown. Returns the descriptor and sets `slot`.
int CreatePending(const std::string& target, std::string& name, int& slot) {
  const fs::path targetPath = FilePath(target);
  name = PathText(targetPath.parent_path() /
                  FilePath("." + PathText(targetPath.filename()) + ".XXXXXX"));
  int fd, error;
  {
    const StopSignalsHeld held;
    fd = name.size() < PATH_MAX ? CreateTemporary(name) : -1;
    error = fd < 0 && name.size() >= PATH_MAX ? ENAMETOOLONG : errno;
    slot = -1;
    for (int i = 0; fd >= 0 && i < kPendingSlots && slot < 0; ++i)
      if (!pendingUsed[i]) {
        std::memcpy(pendingNames[i], name.c_str(), name.size() + 1);
        pendingUsed[i] = 1;
        slot = i;
      }
    OnStopSignals(RemovePendingAndStop);
  }
  errno = error;
  return fd;
}

// The file a write to `path` reaches: every link followed, a dangling last one too.
std::string Reached(const std::string& path) {
  fs::path p = FilePath(path);
  std::error_code error;
  for (int i = 0; i < 40 && fs::is_symlink(fs::symlink_status(p, error)); ++i) {
    const fs::path to = fs::read_symlink(p, error);
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  const fs::path reached = fs::weakly_canonical(p, error);
  return PathText(error ? fs::absolute(p, error) : reached);
}

const std::string& CheckedOutputName(const std::string& path, const std::string& recordingName) {
  if (path == "-") return path;
  if (SameFile(path, RecordingFileName(recordingName, ".osr")))
    throw RecordingFileRefused(path + " to plik próbek nagrania");
  if (SameFile(path, RecordingFileName(recordingName, ".osi")))
    throw RecordingFileRefused(path + " to plik parametrów nagrania");
  return path;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  const auto x = StatusOf(a), y = StatusOf(b);
  if (x && y) return x->identity == y->identity;
  return Reached(a) == Reached(b);
}

OutputFile::OutputFile(const std::string& path, bool force, const std::string& recordingName)
    : OutputFile(CheckedOutputName(path, recordingName), force) {}

OutputFile::OutputFile(int fd) : path_("-"), fd_(fd), ownsFd_(false) {
  buffer_.resize(kBufferBytes);
}

OutputFile::OutputFile(const std::string& path, bool force) : path_(path), force_(force) {
  if (path == "-") {
    fd_ = 1;  // standard output
    ownsFd_ = false;
  } else {
    const auto there = StatusOf(path);
    const bool exists = there.has_value();
    if (exists && !force) Fail(EEXIST);
    if (exists && there->directory) Fail(EISDIR);
    if (exists && !there->regular) {
      // A device or a pipe: nothing there to keep or to replace.
      fd_ = OpenFile(path, kFileWrite);
    } else {
      target_ = Reached(path);
      fd_ = CreatePending(target_, temporary_, pending_);
      if (fd_ < 0) temporary_.clear();
      mode_ = exists ? there->mode : NewFileMode();
    }
    if (fd_ < 0) Fail(errno);
  }
  buffer_.resize(kBufferBytes);
}

OutputFile::~OutputFile() {
  if (ownsFd_ && fd_ >= 0) CloseFile(fd_);
  if (!committed_ && !temporary_.empty()) RemoveFile(temporary_.c_str());
  if (pending_ >= 0) pendingUsed[pending_] = 0;
}

void OutputFile::Fail(int error) const {
  throw OutputError(path_, error);
}

void OutputFile::Flush() {
  if (!WriteAll(fd_, buffer_.data(), used_)) Fail(errno);
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

// Without --force a file that appeared meanwhile is still not replaced.
void OutputFile::Replace() {
  const bool moved =
      force_ ? MoveFileReplacing(temporary_, target_) : MoveFileNoReplace(temporary_, target_);
  if (!moved) Fail(errno);
}

void OutputFile::Commit() {
  Flush();
  if (!ownsFd_) {
    committed_ = true;
    return;
  }
  if (!temporary_.empty() && (!SyncFile(fd_) || !SetFileMode(fd_, mode_))) Fail(errno);
  const int fd = std::exchange(fd_, -1);
  if (!CloseFile(fd)) Fail(errno);
  if (!temporary_.empty()) Replace();
  committed_ = true;
}

}  // namespace wyk
