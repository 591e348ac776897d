// libzip builds the archive in a temporary file, pulling each chunk's floats from the sample
// file as it compresses them, so memory stays the same for any length; the finished archive is
// then copied into the output.

#include "export/SigrokSession.h"

#include <stdlib.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <ctime>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "view/CursorTexts.h"

namespace wyk {
namespace {

constexpr int64_t kChunkSamples = int64_t{1} << 20;  // 4 MiB of floats a zip entry
constexpr int64_t kReadSamples = int64_t{1} << 16;

using FloatBytes = std::array<std::array<uint8_t, 4>, 256>;

// The cursor's reading of each byte value as a little-endian float.
FloatBytes FloatsOf(float voltsPerDiv) {
  FloatBytes table{};
  for (int b = 0; b < 256; ++b) {
    const auto value = static_cast<float>(LevelValue(PlotLevel(b), voltsPerDiv));
    uint32_t word;
    std::memcpy(&word, &value, 4);
    for (int i = 0; i < 4; ++i)
      table[static_cast<size_t>(b)][static_cast<size_t>(i)] = (word >> (8 * i)) & 0xFF;
  }
  return table;
}

// What every chunk shares: the input, the progress and the first failure of a callback, which
// must not unwind through libzip.
struct Export {
  const SampleFile& file;
  const FloatBytes floats;
  const ExportProgress& progress;
  int64_t done = 0;
  int64_t total = 0;
  std::exception_ptr failure;
};

// One zip entry: the samples from..to as floats, converted as libzip reads them.
class Chunk {
 public:
  Chunk(Export& job, int64_t from, int64_t to) : job_(job), from_(from), to_(to) {
    zip_error_init(&error_);
  }
  ~Chunk() { zip_error_fini(&error_); }
  Chunk(const Chunk&) = delete;
  Chunk& operator=(const Chunk&) = delete;

  static zip_int64_t Callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    return static_cast<Chunk*>(self)->Handle(data, length, cmd);
  }

 private:
  zip_int64_t Handle(void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    switch (cmd) {
      case ZIP_SOURCE_OPEN:
        at_ = from_;
        used_ = staged_ = 0;
        return 0;
      case ZIP_SOURCE_READ:
        return Read(static_cast<uint8_t*>(data), length);
      case ZIP_SOURCE_CLOSE:
      case ZIP_SOURCE_FREE:
        return 0;
      case ZIP_SOURCE_STAT: {
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->size = static_cast<zip_uint64_t>(to_ - from_) * 4;
        stat->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
      }
      case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&error_, data, length);
      case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
      default:
        zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
  }

  zip_int64_t Read(uint8_t* data, zip_uint64_t length) {
    try {
      if (used_ == staged_ && at_ < to_) Stage();
    } catch (...) {
      job_.failure = std::current_exception();
      zip_error_set(&error_, ZIP_ER_READ, 0);
      return -1;
    }
    const size_t count = std::min<size_t>(length, staged_ - used_);
    std::memcpy(data, staged_bytes_.data() + used_, count);
    used_ += count;
    return static_cast<zip_int64_t>(count);
  }

  // Reads the next samples and converts them; reports the progress.
  void Stage() {
    std::vector<uint8_t>& bytes = read_;
    bytes.resize(static_cast<size_t>(kReadSamples));
    const int64_t got = ReadRangeBlock(job_.file, at_, bytes.data(), kReadSamples, to_);
    staged_bytes_.resize(static_cast<size_t>(got) * 4);
    for (int64_t i = 0; i < got; ++i)
      std::memcpy(&staged_bytes_[static_cast<size_t>(i) * 4],
                  job_.floats[bytes[static_cast<size_t>(i)]].data(), 4);
    at_ += got;
    used_ = 0;
    staged_ = staged_bytes_.size();
    job_.done += got;
    if (job_.progress) job_.progress(job_.done, job_.total);
  }

  Export& job_;
  int64_t from_, to_, at_ = 0;
  std::vector<uint8_t> read_, staged_bytes_;
  size_t used_ = 0, staged_ = 0;
  zip_error_t error_;
};

// A file name of the temporary folder, removed at the end.
class TemporaryPath {
 public:
  TemporaryPath() {
    std::string pattern = (std::filesystem::temp_directory_path() / "wykresownik-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) throw OutputError("Nie mogę utworzyć pliku tymczasowego: " + WriteErrorText(errno));
    close(fd);
    path_ = pattern;
  }
  ~TemporaryPath() { std::remove(path_.c_str()); }
  TemporaryPath(const TemporaryPath&) = delete;
  TemporaryPath& operator=(const TemporaryPath&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// 1000 / period Hz to the nearest whole hertz, at least 1: sigrok keeps whole hertz.
uint64_t SampleRate(float periodMs) {
  const double rate = std::round(1000.0 / static_cast<double>(periodMs));
  return std::isfinite(rate) ? static_cast<uint64_t>(std::clamp(rate, 1.0, 1e18)) : 1;
}

std::string Metadata(const RecordingParameters& p) {
  return "[global]\nsigrok version=0.5.2\n\n[device 1]\nsamplerate=" +
         std::to_string(SampleRate(p.samplePeriodMs)) + " Hz\ntotal analog=1\nanalog1=" +
         (p.voltsUnit.empty() ? std::string("CH1") : p.voltsUnit) + "\n";
}

[[noreturn]] void Refuse(zip_t* archive, const std::string& what) {
  const std::string why = archive ? zip_error_strerror(zip_get_error(archive)) : "";
  if (archive) zip_discard(archive);
  throw OutputError("Nie mogę utworzyć sesji sigrok (" + what + "): " + why);
}

// The format keeps no start of its own; the entries carry it as their modification time, which
// zip keeps as local time. Identical exports then give identical bytes.
time_t EntryTime(TDateTime start) {
  const double seconds = std::floor((static_cast<double>(start) - 25569.0) * 86400.0);
  if (!(std::fabs(seconds) < 1e15)) return 0;
  const auto wall = static_cast<time_t>(seconds);  // the local wall clock read as UTC
  std::tm fields{};
  if (!gmtime_r(&wall, &fields)) return 0;
  fields.tm_isdst = -1;
  return mktime(&fields);
}

// Adds an entry from `source`, which the archive owns from then on, even when refused.
void Add(zip_t* archive, const std::string& name, zip_source_t* source, time_t time) {
  const zip_int64_t index =
      source ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
  if (index < 0) {
    zip_source_free(source);
    Refuse(archive, name);
  }
  zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), time, 0);
}

void CopyInto(const std::string& path, OutputFile& out) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw OutputError(path, errno);
  std::vector<char> block(1 << 20);
  size_t got;
  while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) out.Write(block.data(), got);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) throw OutputError(path, EIO);
}

}  // namespace

void ExportSigrok(const StoredRecording& recording, SampleRange range, OutputFile& out,
                  const ExportProgress& progress) {
  const RecordingParameters& p = recording.parameters;
  Export job{recording.samples, FloatsOf(p.voltsPerDiv), progress, 0, range.to - range.from, {}};
  const TemporaryPath temporary;
  int error = 0;
  zip_t* archive = zip_open(temporary.Path().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) Refuse(nullptr, temporary.Path());
  // libzip reads the texts at zip_close: they must live until then.
  const std::string version = "2", metadata = Metadata(p);
  const time_t time = EntryTime(p.start);
  Add(archive, "version", zip_source_buffer(archive, version.data(), version.size(), 0), time);
  Add(archive, "metadata", zip_source_buffer(archive, metadata.data(), metadata.size(), 0), time);
  std::vector<std::unique_ptr<Chunk>> chunks;
  for (int64_t from = range.from; from < range.to; from += kChunkSamples) {
    chunks.push_back(std::make_unique<Chunk>(job, from, std::min(range.to, from + kChunkSamples)));
    Add(archive, "analog-1-1-" + std::to_string(chunks.size()),
        zip_source_function(archive, Chunk::Callback, chunks.back().get()), time);
    // The fastest deflate: four bytes a sample make the archive the long part of an export.
    zip_set_file_compression(
        archive, static_cast<zip_uint64_t>(zip_get_num_entries(archive, 0) - 1), ZIP_CM_DEFLATE, 1);
  }
  if (zip_close(archive) < 0) {
    if (job.failure) {
      zip_discard(archive);
      std::rethrow_exception(job.failure);
    }
    Refuse(archive, temporary.Path());
  }
  CopyInto(temporary.Path(), out);
}

}  // namespace wyk
