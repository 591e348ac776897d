#include "export/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

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

OutputError::OutputError(const std::string& path, int error)
    : std::runtime_error("Nie mogę zapisać pliku " + path + ": " + WriteErrorText(error)) {}

int CreateOutput(const std::string& path, bool force) {
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (force ? O_TRUNC : O_EXCL), 0644);
  if (fd < 0) throw OutputError(path, errno);
  return fd;
}

namespace {

// Temporaries of unfinished outputs, for the signal handler: fixed storage, nothing allocated.
constexpr int kPendingSlots = 4;
char pendingNames[kPendingSlots][PATH_MAX];
volatile std::sig_atomic_t pendingUsed[kPendingSlots];
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void RemovePendingAndStop(int signalNumber) {
  for (int i = 0; i < kPendingSlots; ++i)
    if (pendingUsed[i]) ::unlink(pendingNames[i]);
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

// Creates a temporary beside `target` and keeps its name for the handler; a signal in between
// waits, so no temporary can be left unknown. Returns the descriptor and sets `slot`.
int CreatePending(const std::string& target, std::string& name, int& slot) {
  name = (fs::path(target).parent_path() / ("." + fs::path(target).filename().string() + ".XXXXXX"))
             .string();
  sigset_t stops, before;
  sigemptyset(&stops);
  for (int s : kStopSignals) sigaddset(&stops, s);
  ::sigprocmask(SIG_BLOCK, &stops, &before);
  const int fd = name.size() < PATH_MAX ? ::mkostemp(name.data(), O_CLOEXEC) : -1;
  const int error = fd < 0 && name.size() >= PATH_MAX ? ENAMETOOLONG : errno;
  slot = -1;
  for (int i = 0; fd >= 0 && i < kPendingSlots && slot < 0; ++i)
    if (!pendingUsed[i]) {
      std::memcpy(pendingNames[i], name.c_str(), name.size() + 1);
      pendingUsed[i] = 1;
      slot = i;
    }
  struct sigaction action {};
  action.sa_handler = RemovePendingAndStop;
  sigemptyset(&action.sa_mask);
  for (int s : kStopSignals) ::sigaction(s, &action, nullptr);
  ::sigprocmask(SIG_SETMASK, &before, nullptr);
  errno = error;
  return fd;
}

// The file a write to `path` reaches: every link followed, a dangling last one too.
std::string Reached(const std::string& path) {
  fs::path p = path;
  std::error_code error;
  for (int i = 0; i < 40 && fs::is_symlink(fs::symlink_status(p, error)); ++i) {
    const fs::path to = fs::read_symlink(p, error);
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  const fs::path reached = fs::weakly_canonical(p, error);
  return error ? fs::absolute(p, error).string() : reached.string();
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
  struct stat x {
  }, y{};
  if (::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0)
    return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
  return Reached(a) == Reached(b);
}

OutputFile::OutputFile(const std::string& path, bool force, const std::string& recordingName)
    : OutputFile(CheckedOutputName(path, recordingName), force) {}

OutputFile::OutputFile(int fd) : path_("-"), fd_(fd), ownsFd_(false) {
  buffer_.resize(kBufferBytes);
}

OutputFile::OutputFile(const std::string& path, bool force) : path_(path), force_(force) {
  if (path == "-") {
    fd_ = STDOUT_FILENO;
    ownsFd_ = false;
  } else {
    struct stat there {};
    const bool exists = ::stat(path.c_str(), &there) == 0;
    if (exists && !force) Fail(EEXIST);
    if (exists && S_ISDIR(there.st_mode)) Fail(EISDIR);
    if (exists && !S_ISREG(there.st_mode)) {
      // A device or a pipe: nothing there to keep or to replace.
      fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    } else {
      target_ = Reached(path);
      fd_ = CreatePending(target_, temporary_, pending_);
      if (fd_ < 0) temporary_.clear();
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode_ = exists ? there.st_mode & 07777 : 0644 & ~mask;
    }
    if (fd_ < 0) Fail(errno);
  }
  buffer_.resize(kBufferBytes);
}

OutputFile::~OutputFile() {
  if (ownsFd_ && fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
  if (pending_ >= 0) pendingUsed[pending_] = 0;
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

// Without --force a file that appeared meanwhile is still not replaced.
void OutputFile::Replace() {
  int result = ::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(),
                           force_ ? 0 : RENAME_NOREPLACE);
  if (result != 0 && (errno == EINVAL || errno == ENOSYS) && !force_) {
    std::error_code ignored;
    if (fs::exists(target_, ignored)) Fail(EEXIST);
    result = ::rename(temporary_.c_str(), target_.c_str());
  }
  if (result != 0) Fail(errno);
}

void OutputFile::Commit() {
  Flush();
  if (!ownsFd_) {
    committed_ = true;
    return;
  }
  if (!temporary_.empty() && (::fsync(fd_) != 0 || ::fchmod(fd_, mode_) != 0)) Fail(errno);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) Fail(errno);
  if (!temporary_.empty()) Replace();
  committed_ = true;
}

}  // namespace wyk
