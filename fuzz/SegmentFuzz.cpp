// Cutting lines into characters in each kind of code page: the characters drawn are the
// line's bytes in order, each in one character at most, and only an unfinished character at
// the end of a line is left out. In Shift-JIS the cut is computed a second time from the lead
// byte ranges: a byte is the second of a character exactly when the run of lead bytes before
// it is odd, so every two-byte character starts with a lead byte.
#include "fuzz/FuzzInput.h"
#include "model/Zelto.h"
#include "tests/support/FixedMetricsEngine.h"
#include "tests/support/ScopedCodePage.h"

#include <cstdlib>
#include <vector>

namespace {
bool IsShiftJisLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// The characters of a Shift-JIS line, a lead byte at its end left out.
std::vector<std::string> ShiftJisCharacters(const std::string& line) {
  std::vector<std::string> characters;
  for (std::size_t pos = 0; pos < line.size(); ++pos) {
    if (!IsShiftJisLead(static_cast<unsigned char>(line[pos]))) {
      characters.push_back(line.substr(pos, 1));
    } else if (pos + 1 < line.size()) {
      characters.push_back(line.substr(pos, 2));
      ++pos;
    }
  }
  return characters;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const ScopedCodePage codePage(PickCodePage(input.Take<uint8_t>()));
  const std::string line = input.Rest();
  if (line.find("\xFF\xFF") != std::string::npos) return 0;  // one line only
  // Characters far beyond the canvas are not drawn: the canvas holds the whole line, of characters
  // 16 pixels wide at most, and a longer line cuts no differently.
  constexpr std::size_t kLongest = 512;
  if (line.size() > kLongest) return 0;

  FixedMetricsEngine engine;
  TZeltoZelto zelto(static_cast<int32_t>(16 * (line.size() + 1)), 16, engine);
  Composition = &zelto;
  TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(""));
  layer.Text = line;  // untrimmed, so that blanks at the ends are cut too
  TBitmap screen;
  zelto.Paint(screen.Canvas());
  Composition = nullptr;

  const TCodePage& cp = TCodePage::System();
  const std::size_t longest = cp.GetKind() == TCodePage::Kind::Utf8 ? 4 : cp.IsDoubleByte() ? 2 : 1;
  std::string drawn;
  std::vector<std::string> characters;
  for (const FixedMetricsEngine::Output& out : engine.outputs) {
    if (out.bytes.empty() || out.bytes.size() > longest) std::abort();
    if (cp.IsDoubleByte() && out.bytes.size() == 2 && !IsShiftJisLead(static_cast<unsigned char>(out.bytes[0])))
      std::abort();
    drawn += out.bytes;
    characters.push_back(out.bytes);
  }
  if (cp.IsDoubleByte() && characters != ShiftJisCharacters(line)) std::abort();
  if (line.compare(0, drawn.size(), drawn) != 0) std::abort();
  // Only an unfinished character at the end is left out: a lead byte, or the start of a
  // UTF-8 sequence.
  const std::size_t left = line.size() - drawn.size();
  if (left == 0) return 0;
  const unsigned char first = static_cast<unsigned char>(line[drawn.size()]);
  const bool unfinished = cp.IsDoubleByte()
                              ? left == 1 && cp.IsLeadByte(first)
                              : cp.GetKind() == TCodePage::Kind::Utf8 && left < 4 && first >= 0xC2 && first <= 0xF4;
  if (!unfinished) std::abort();
  return 0;
}
