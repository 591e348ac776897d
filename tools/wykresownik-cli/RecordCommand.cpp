// record: a live recording from the adapter without the window. The same link and ticks as
// "Start", the timer and "Stop", ended by --duration, Ctrl-C or SIGTERM.

#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "Command.h"
#include "DrawingSetup.h"
#include "Files.h"
#include "acquisition/LiveRecording.h"
#include "acquisition/PortName.h"
#include "acquisition/QtSerialPort.h"
#include "acquisition/SerialTexts.h"
#include "app/RecorderState.h"
#include "common/Errors.h"
#include "common/FileText.h"
#include "common/LocalClock.h"
#include "storage/RecordingNames.h"
#include "storage/Recordings.h"
#include "view/Selectors.h"

namespace wyk::cli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kProgressEvery = std::chrono::milliseconds(200);
// With nothing to draw there is no need to wake every tick: each wake runs the window's ticks
// until no whole sample waits, so the file gets the same samples with a quarter of the wake-ups.
// The adapter's fastest 11,520 bytes a second fill under 500 bytes of the port's queue meanwhile.
constexpr auto kWakeEvery = std::chrono::milliseconds(4 * kTickIntervalMs);

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
  stopRequested = 1;
}

// Ctrl-C, SIGTERM and a closed terminal end the recording as "Stop" does.
void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) sigaction(signalNumber, &action, nullptr);
}

bool Type1Disables(std::string_view button) {
  const auto& names = kType1Limits.disabledButtons;
  return std::find(names.begin(), names.end(), button) != names.end();
}

// The number (1-based, from `first`) of the button whose text the option gives; a full stop
// may stand for the decimal comma. A button that type 1 disables is refused for it.
template <typename Rows>
int ButtonOf(const Rows& rows, const Arguments& arguments, const std::string& option, int first,
             int adapterType) {
  if (!arguments.Has(option)) throw CliError(kBadUsage, "brak --" + option);
  std::string text = arguments.Value(option);
  std::replace(text.begin(), text.end(), '.', ',');
  std::string choices;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (adapterType == 1 && Type1Disables(rows[i].name)) continue;
    if (rows[i].caption == text) return first + static_cast<int>(i);
    choices += (choices.empty() ? "" : " ") + std::string(rows[i].caption);
  }
  throw CliError(kBadUsage, "--" + option + ": dla przystawki typu " + std::to_string(adapterType) +
                                " jedno z: " + choices + "; podano \"" + arguments.Value(option) +
                                "\"");
}

// "90", "1,5", "250ms", "10s", "5min", "2h"; seconds when no unit is given.
std::chrono::milliseconds DurationOf(const Arguments& arguments) {
  std::string text = arguments.Value("duration");
  std::replace(text.begin(), text.end(), ',', '.');
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const std::string unit(end, static_cast<const char*>(text.data() + text.size()));
  const double scale = unit == "ms"                ? 1
                       : unit == "s" || unit == "" ? 1e3
                       : unit == "min"             ? 6e4
                       : unit == "h"               ? 3.6e6
                                                   : -1;
  const double ms = value * scale;
  if (error != std::errc() || scale < 0 || !(ms >= 1) || ms > 1e12)
    throw CliError(kBadUsage,
                   "--duration: oczekiwano czasu, np. 90, 1,5s, 250ms, 5min, 2h; "
                   "podano \"" +
                       arguments.Value("duration") + "\"");
  return std::chrono::milliseconds(static_cast<int64_t>(ms));
}

std::string WhyNoPort(const std::string& device) {
  if (device.empty()) return "port 0 nie wskazuje urządzenia";
  std::error_code ignored;
  if (!std::filesystem::exists(device, ignored)) return "nie ma takiego urządzenia";
  if (::access(device.c_str(), R_OK | W_OK) != 0) return "brak prawa odczytu i zapisu";
  return "urządzenie zajęte lub to nie port szeregowy";
}

// Files made for a recording that never began are removed again.
struct Unfinished {
  std::vector<std::string> paths;
  bool keep = false;
  ~Unfinished() {
    if (!keep)
      for (const std::string& path : paths) ::unlink(path.c_str());
  }
};

// One line on the terminal, written over in place: samples, time, file size, bytes per second.
class Progress {
 public:
  Progress() : shown_(::isatty(STDERR_FILENO) == 1) {}
  void Show(const LiveSession& live, const OpenRecording& recording, Clock::duration elapsed,
            bool now = false) {
    if (!shown_ || (!now && Clock::now() < next_)) return;
    next_ = Clock::now() + kProgressEvery;
    const int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    const int64_t bytes = recording.dataFile.Size();
    const int64_t perSecond = ms > 0 ? bytes * 1000 / ms : 0;
    std::fprintf(stderr, "\rPróbki: %d  czas: %02lld:%02lld:%02lld  plik: %lld B  %lld B/s\033[K",
                 live.recordedSampleCount, static_cast<long long>(ms / 3600000),
                 static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                 static_cast<long long>(bytes), static_cast<long long>(perSecond));
    started_ = true;
  }
  void Finish() {
    if (started_) std::fputc('\n', stderr);
  }

 private:
  bool shown_;
  bool started_ = false;
  Clock::time_point next_{};
};

int RunRecord(const Arguments& arguments) {
  if (!arguments.Has("type")) throw CliError(kBadUsage, "brak --type");
  const int type = static_cast<int>(arguments.Integer("type", 0, 0, 2));
  if (!arguments.Has("port") && !arguments.Has("device"))
    throw CliError(kBadUsage, "brak --port N lub --device ŚCIEŻKA");
  const int port = static_cast<int>(arguments.Integer("port", 1, 1, kMappedComPorts));
  if (arguments.Has("device") && arguments.Value("device").empty())
    throw CliError(kBadUsage, "--device: brak ścieżki");
  const int periodButton = ButtonOf(kSamplePeriodRows, arguments, "period", 1, type);
  const int voltsButton = ButtonOf(kVoltsPerDivRows, arguments, "range", 1, type);
  if (type == 1 && arguments.Has("coupling") && arguments.Value("coupling") != "DC")
    throw CliError(kBadUsage, "--coupling: przystawka typu 1 ma zawsze sprzężenie DC");
  const int couplingButton = arguments.Has("coupling") && type != 1
                                 ? ButtonOf(kCouplingRows, arguments, "coupling", 11, type)
                                 : 11;
  if (type == 1 && arguments.Has("offset"))
    throw CliError(kBadUsage, "--offset: przystawka typu 1 nie przyjmuje składowej stałej");
  const auto duration =
      arguments.Has("duration") ? DurationOf(arguments) : std::chrono::milliseconds::zero();
  const std::string& name = arguments.positional[0];

  auto state = std::make_unique<RecorderState>();
  LoadViewSettings(state->settings, arguments);
  state->settings.adapterType = static_cast<uint8_t>(type);
  state->settings.comPortNumber = static_cast<uint8_t>(port);
  if (arguments.Has("device")) state->settings.comDevicePaths[port] = arguments.Value("device");
  state->settings.dcOffset =
      static_cast<uint8_t>(arguments.Integer("offset", state->settings.dcOffset, 0, 255));
  SelectSamplePeriod(state->scales, periodButton);
  SelectVoltsPerDiv(state->scales, voltsButton);
  if (type == 1)
    ApplyType1Limits(state->scales);
  else
    SelectCoupling(state->scales, couplingButton);

  // From here a signal ends the recording as "Stop" does, even one that has not begun yet.
  CatchStopSignals();
  // As "Nowy": both files made empty before the adapter is asked.
  const bool force = arguments.Has("force");
  const std::string sampleName = RecordingFileName(name, ".osr");
  const std::string parameterName = RecordingFileName(name, ".osi");
  Unfinished unfinished;
  for (const std::string& path : {sampleName, parameterName}) {
    ::close(CreateOutput(path, force));
    unfinished.paths.push_back(path);
  }
  if (!CreateRecording(state->recording, sampleName)) throw OutputError(sampleName, errno);

  // QSerialPort wants an application object for its notifiers, even with no event loop.
  static int argc = 1;
  static char program[] = "wykresownik-cli";
  static char* argv[] = {program, nullptr};
  QCoreApplication application(argc, argv);
  SerialLink link(MakeQtSerialPort);
  const std::string device = PortDeviceName(state->settings);
  switch (ConnectAdapter(state->settings, state->live, link)) {
    case StartFailure::kCannotOpenPort:
      throw CliError(kNoAdapter, std::string(kCannotOpenPortText) + " " + FileText(device) + ": " +
                                     WhyNoPort(device));
    case StartFailure::kNoDevice:
      throw CliError(kNoAdapter, std::string(kNoDeviceText) + " " + FileText(device) +
                                     ": brak odpowiedzi 0x00…0x7F na powitanie");
    case StartFailure::kNone:
      break;
  }
  try {
    BeginRecording(state->settings, state->scales, state->live, state->recording, state->view, link,
                   name, LocalNow());
  } catch (const AppError& error) {
    throw CliError(kBadOutput, "Nie mogę zapisać pliku " + parameterName + ": " + error.what());
  }
  unfinished.keep = true;

  // A signal before this point still gives complete files and the stop byte.
  Progress progress;
  const Clock::time_point started = Clock::now();
  RecordingEnd end = RecordingEnd::kNone;
  int writeError = 0;
  while (!stopRequested) {
    LiveTick tick;
    do {
      errno = 0;
      tick = LiveRecordingTick(state->scales, state->live, state->recording, link, LocalNow());
    } while (tick.stored > 0 && tick.end == RecordingEnd::kNone);
    if (tick.end == RecordingEnd::kWriteFailed) writeError = errno ? errno : ENOSPC;
    progress.Show(state->live, state->recording, Clock::now() - started);
    end = tick.end;
    if (end != RecordingEnd::kNone) break;
    const Clock::duration left = duration - (Clock::now() - started);
    if (duration.count() > 0 && left <= Clock::duration::zero()) break;
    std::this_thread::sleep_for(duration.count() > 0 ? std::min<Clock::duration>(kWakeEvery, left)
                                                     : Clock::duration(kWakeEvery));
  }
  // A device that is gone gets no stop byte. The samples reach the disk before the end is
  // reported; a flush that fails is a write failure.
  if (!EndRecording(state->live, state->recording, state->view, link,
                    end != RecordingEnd::kLinkLost)) {
    writeError = errno;
    end = RecordingEnd::kWriteFailed;
  }
  progress.Show(state->live, state->recording, Clock::now() - started, true);
  progress.Finish();
  // A failed write may have counted samples that never reached the file.
  const std::string kept = "; w " + sampleName + " zostało " +
                           std::to_string(state->recording.dataFile.Size()) + " próbek";
  state->recording.dataFile.Close();
  switch (end) {
    case RecordingEnd::kLinkLost:
      throw CliError(kNoAdapter, std::string(kLinkLostText) + " " + device + kept);
    case RecordingEnd::kWriteFailed:
      throw CliError(kBadOutput, std::string(kWriteFailedText) + " " + sampleName + ": " +
                                     WriteErrorText(writeError) + kept);
    case RecordingEnd::kFull:
      std::fprintf(stderr, "%s\n", kRecordingFullText);
      break;
    case RecordingEnd::kNone:
      break;
  }
  return kSuccess;
}

[[maybe_unused]] const bool registered = RegisterCommand({
    "record",
    5,
    "nagranie z przystawki, jak \"Start\" i \"Stop\" w oknie",
    "Użycie: wykresownik-cli record WYJŚCIE --type T (--port N | --device ŚCIEŻKA)\n"
    "                               --period OKRES --range ZAKRES [--coupling AC|GND|DC]\n"
    "                               [--offset B] [--duration CZAS] [--settings PLIK.INI]\n"
    "                               [--force]\n"
    "\n"
    "Nagrywa próbki z przystawki tak, jak robi to okno programu między \"Start\" a \"Stop\":\n"
    "te same ramki, te same takty odbioru oczekujących bajtów (co 40 ms tyle taktów okna, ile\n"
    "trzeba, by nie czekała żadna cała próbka), ten sam zapis do pliku .osr i ten sam plik .osi.\n"
    "Kończy je --duration, Ctrl-C lub SIGTERM: przystawka dostaje bajt stopu, oba pliki są\n"
    "kompletne. Na terminalu linia postępu (próbki, czas, rozmiar pliku, bajty na sekundę); poza\n"
    "terminalem tylko błędy. WYJŚCIE to nazwa nagrania; rozszerzenie zastępują\n"
    ".osr i .osi.\n"
    "--type T        typ przystawki: 0 TEV2R (DSC89C420), 1 TEW2R, 2 TEV2R (ATMEGA8)\n"
    "--port N        port COM<N> (1…8): urządzenie z wpisu COM<N> pliku ustawień, inaczej\n"
    "                /dev/ttyS<N-1>\n"
    "--device Ś      to urządzenie zamiast tego, które wskazuje COM<N>\n"
    "--period OKRES  napis przycisku okresu: 0,2ms 0,5ms 1ms 2ms 5ms 10ms 20ms 50ms 500ms 1s\n"
    "                (typ 1 od 0,5ms)\n"
    "--range ZAKRES  napis przycisku V/dz: 10mV 20mV 50mV 100mV 200mV 500mV 1V 2V 5V 10V\n"
    "                (typ 1 tylko 100mV 200mV 500mV 1V)\n"
    "--coupling C    sprzężenie AC (domyślnie), GND lub DC; typ 1 zawsze DC\n"
    "--offset B      składowa stała 0…255 dla typów 0 i 2 (domyślnie z pliku ustawień, 120)\n"
    "--duration CZAS czas nagrania: 90 (sekundy), 1,5s, 250ms, 5min, 2h\n"
    "--settings F    plik ustawień programu: SkladowaStala i urządzenia COM1…COM8\n"
    "--force         nadpisz istniejące pliki nagrania\n"
    "Kody wyjścia: 3 gdy port się nie otwiera, przystawka nie odpowiada lub zniknie w trakcie\n"
    "(zapisane próbki zostają), 4 gdy plików nie można zapisać (także brak miejsca).\n",
    {{"type"},
     {"port"},
     {"device"},
     {"period"},
     {"range"},
     {"coupling"},
     {"offset"},
     {"duration"},
     {"settings"},
     {"force", false}},
    RunRecord,
});

}  // namespace
}  // namespace wyk::cli
