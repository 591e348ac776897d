// wykresownik-cli export of a 100 M-sample recording to CSV and to WAV, each run as its own
// process on a temporary file that is removed afterwards: output megabytes (10^6 bytes) per
// second of wall time, and the largest resident set of the two runs. Writing as many bytes in
// 1 MiB blocks just before gives the disk's own rate beside them.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int64_t kSamples = 100'000'000;

struct Run {
  double seconds = 0;
  double peakMib = 0;
  int status = -1;
};

Run RunCli(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = WYK_CLI_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  Run run;
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return run;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.peakMib = static_cast<double>(usage.ru_maxrss) / 1024;  // kilobytes on Linux
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Writes `bytes` bytes in 1 MiB blocks; seconds taken.
double PlainWrite(const std::string& path, int64_t bytes) {
  std::vector<char> block(1 << 20, 'x');
  const auto start = Clock::now();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  for (int64_t done = 0; done < bytes;) {
    const auto n = ::write(
        fd, block.data(),
        static_cast<size_t>(std::min<int64_t>(bytes - done, static_cast<int64_t>(block.size()))));
    if (n <= 0) break;
    done += n;
  }
  ::close(fd);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / ("wyk-bench-cli-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string rec = (dir / "rec.osr").string(), csv = (dir / "rec.csv").string(),
                    wav = (dir / "rec.wav").string(), plain = (dir / "plain").string();
  {
    // A triangle through every byte value.
    std::vector<char> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i)
      block[i] = static_cast<char>(i % 511 < 256 ? i % 511 : 510 - i % 511);
    std::FILE* f = std::fopen(rec.c_str(), "wb");
    for (int64_t done = 0; done < kSamples; done += static_cast<int64_t>(block.size()))
      std::fwrite(block.data(), 1,
                  static_cast<size_t>(
                      std::min<int64_t>(kSamples - done, static_cast<int64_t>(block.size()))),
                  f);
    std::fclose(f);
  }
  // The disk's own rate first, for as many bytes as the CSV has (measured once beforehand).
  const double csvBytes = 2772536606;
  const double plainSeconds = PlainWrite(plain, static_cast<int64_t>(csvBytes));
  fs::remove(plain);
  const Run toCsv = RunCli({"export", rec, "--csv", csv});
  const double csvWritten = static_cast<double>(fs::file_size(csv));
  fs::remove(csv);
  const Run toWav = RunCli({"export", rec, "--wav", wav});
  const double wavBytes = static_cast<double>(fs::file_size(wav));
  fs::remove(wav);
  fs::remove_all(dir);
  if (toCsv.status != 0 || toWav.status != 0 || csvWritten != csvBytes) {
    std::fprintf(stderr, "wykresownik-cli failed: %d %d\n", toCsv.status, toWav.status);
    return 1;
  }
  std::printf("CSV %.0f bytes in %.2f s, WAV %.0f bytes in %.2f s, plain write %.2f s\n", csvBytes,
              toCsv.seconds, wavBytes, toWav.seconds, plainSeconds);
  std::printf("figure cli_export_csv_mb_s %.1f MB/s\n", csvBytes / 1e6 / toCsv.seconds);
  std::printf("figure cli_export_wav_mb_s %.1f MB/s\n", wavBytes / 1e6 / toWav.seconds);
  std::printf("figure cli_export_peak_rss_mib %.1f MiB\n", std::max(toCsv.peakMib, toWav.peakMib));
  std::printf("figure cli_plain_write_mb_s %.1f MB/s\n", csvBytes / 1e6 / plainSeconds);
  return 0;
}
