#include "SimOptions.h"

#include <cstdlib>

namespace sim {
namespace {

std::optional<long long> ParseWhole(const std::string& text, int base) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, base);
  if (*end != '\0' || text[0] == '-' || text[0] == '+' || text[0] == ' ') return std::nullopt;
  return value;
}

std::optional<double> ParseReal(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (*end != '\0') return std::nullopt;
  return value;
}

std::optional<std::vector<uint8_t>> ParseByteList(const std::string& text) {
  std::vector<uint8_t> bytes;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const auto byte = ParseByte(text.substr(start, comma - start));
    if (!byte) return std::nullopt;
    bytes.push_back(*byte);
    start = comma + 1;
  }
  return bytes;
}

}  // namespace

std::optional<uint8_t> ParseByte(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const auto value = hex ? ParseWhole(text.substr(2), 16) : ParseWhole(text, 10);
  if (!value || *value > 255) return std::nullopt;
  return static_cast<uint8_t>(*value);
}

ParsedOptions ParseSimOptions(const std::vector<std::string>& args) {
  SimOptions options;
  AdapterBehaviour& b = options.behaviour;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "-h" || name == "--help") {
      options.help = true;
      continue;
    }
    if (name == "-v" || name == "--verbose") {
      options.verbose = true;
      continue;
    }
    if (name == "--no-reply") {
      b.reply = false;
      continue;
    }
    if (i + 1 == args.size()) return {std::nullopt, "brak wartości dla " + name};
    const std::string& value = args[++i];
    const auto bad = [&] {
      return ParsedOptions{std::nullopt, "zła wartość " + name + " " + value};
    };
    if (name == "--type") {
      const auto type = ParseWhole(value, 10);
      if (!type || *type > 2) return bad();
      b.adapterType = static_cast<int>(*type);
      options.typeGiven = true;
    } else if (name == "--reply") {
      const auto byte = ParseByte(value);
      if (!byte) return bad();
      b.replyByte = *byte;
    } else if (name == "--extra-bytes") {
      const auto bytes = ParseByteList(value);
      if (!bytes) return bad();
      b.extraBytes = *bytes;
    } else if (name == "--signal") {
      const auto shape = WaveShapeNamed(value);
      if (!shape) return bad();
      b.wave.shape = *shape;
    } else if (name == "--frequency" || name == "--amplitude" || name == "--offset") {
      const auto number = ParseReal(value);
      if (!number || (name == "--frequency" && *number < 0)) return bad();
      (name == "--frequency"   ? b.wave.frequencyHz
       : name == "--amplitude" ? b.wave.amplitude
                               : b.wave.offset) = *number;
    } else if (name == "--unplug-after") {
      const auto count = ParseWhole(value, 10);
      if (!count) return bad();
      b.unplugAfter = *count;
    } else if (name == "--link") {
      options.linkPath = value;
    } else if (name == "--settings") {
      options.settingsPath = value;
    } else if (name == "--log-rx") {
      options.rxLogPath = value;
    } else if (name == "--log-tx") {
      options.txLogPath = value;
    } else {
      return {std::nullopt, "nieznana opcja " + name};
    }
  }
  return {options, ""};
}

const char* const kSimHelpText =
    R"(Użycie: adapter-sim [opcje]

Symulowany adapter pomiarowy na pseudoterminalu. Pierwszy wiersz na standardowym wyjściu
to ścieżka urządzenia (np. /dev/pts/3), które program otwiera jako port szeregowy.
Adapter czeka na ramkę powitania swojego typu i odpowiada jednym bajtem, potem czyta ramkę
ustawień (typy 1 i 2: sprawdza sumę kontrolną) i wysyła po bajcie na próbkę w tempie z bajtu 1
ramki (100..105: 0,2; 0,5; 1; 2; 5; 10 ms), aż odbierze bajt stopu (bajt 0 ramki ustawień).
Potem znów czeka na powitanie. Działa do SIGINT lub SIGTERM. SIGUSR1 odłącza kabel, kolejny
SIGUSR1 podłącza go z powrotem (nowy pseudoterminal, jego ścieżka w następnym wierszu).

Opcje:
  --type N            typ adaptera: 0 TEV2R (DSC89C420), 1 TEW2R, 2 TEV2R (ATMEGA8);
                      domyślnie 2 albo klucz Typ pliku z --settings
  --reply B           bajt odpowiedzi na powitanie, 0..255 lub 0xNN; domyślnie 0x00
  --no-reply          nie odpowiada na powitanie
  --extra-bytes L     bajty wysyłane zaraz po odpowiedzi, po przecinku (np. 0x12,0x34)
  --signal S          sine, square, triangle, sawtooth, noise lub ramp (0, 1, …, 255, 0, …);
                      domyślnie sine
  --frequency F       częstotliwość sygnału w Hz; domyślnie 50
  --amplitude A       amplituda w jednostkach próbki; domyślnie 100
  --offset O          poziom środkowy w jednostkach próbki; domyślnie 128
  --link PATH         dowiązanie symboliczne do urządzenia, usuwane przy wyjściu
  --settings FILE     wpisuje COMn=<urządzenie> w sekcji [COM] pliku ustawień programu
                      (n z klucza Port, domyślnie 1); inne wiersze pliku zostają
  --log-rx FILE       zapisuje odebrane ramki, wiersz na ramkę: "powitanie …",
                      "ustawienia … suma=ok|brak|zla okres=500us", "stop 00", "inny XX"
                      (bajt w czasie nadawania), "pominiety XX" (bajt spoza powitania)
  --log-tx FILE       zapisuje każdy wysłany bajt (surowe bajty)
  --unplug-after N    odłącza kabel po N wysłanych bajtach próbek
  -v, --verbose       wypisuje odebrane ramki na standardowe wyjście błędów
  -h, --help          ten opis
)";

}  // namespace sim
