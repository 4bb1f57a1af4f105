// Cutting lines into characters in each kind of code page: the characters drawn are the
// line's bytes in order, each in one character at most, and only an unfinished character at
// the end of a line is left out.
#include "fuzz/FuzzInput.h"
#include "model/Zelto.h"
#include "tests/support/FixedMetricsEngine.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const ScopedCodePage codePage(PickCodePage(input.Take<uint8_t>()));
  const std::string line = input.Rest();
  if (line.find("\xFF\xFF") != std::string::npos) return 0;  // one line only

  FixedMetricsEngine engine;
  TZeltoZelto zelto(16, 16, engine);
  Composition = &zelto;
  TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(""));
  layer.Text = line;  // untrimmed, so that blanks at the ends are cut too
  TBitmap screen;
  zelto.Paint(screen.Canvas());
  Composition = nullptr;

  const TCodePage& cp = TCodePage::System();
  const std::size_t longest = cp.GetKind() == TCodePage::Kind::Utf8 ? 4 : cp.IsDoubleByte() ? 2 : 1;
  std::string drawn;
  for (const FixedMetricsEngine::Output& out : engine.outputs) {
    if (out.bytes.empty() || out.bytes.size() > longest) std::abort();
    drawn += out.bytes;
  }
  if (line.compare(0, drawn.size(), drawn) != 0) std::abort();
  // Only an unfinished character at the end is left out: a lead byte, or the start of a
  // UTF-8 sequence.
  const std::size_t left = line.size() - drawn.size();
  if (left == 0) return 0;
  const unsigned char first = static_cast<unsigned char>(line[drawn.size()]);
  const bool unfinished = cp.IsDoubleByte() ? left == 1 && cp.IsLeadByte(first)
                                            : cp.GetKind() == TCodePage::Kind::Utf8 && left < 4 && first >= 0xC2 && first <= 0xF4;
  if (!unfinished) std::abort();
  return 0;
}
