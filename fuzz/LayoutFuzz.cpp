// Measuring, anchoring and drawing a layer with any text, spans, anchor and canvas size. The
// block's measures and its place are computed a second time here, in 64 bits, from the
// fixed metrics: they must agree with the layer's, and where a 32-bit step of the layout
// overflows, exactly the overflow error must leave with what was stored before it kept. The
// default font is back on the canvas afterwards.
#include "fuzz/FuzzInput.h"
#include "model/Zelto.h"
#include "tests/support/FixedMetricsEngine.h"
#include "tests/support/ScopedCodePage.h"
#include "toolkit/Checked.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

// A value of a 32-bit step, or nothing once a step has left the 32-bit range.
using Step = std::optional<int64_t>;

Step Fit(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX ? Step(v) : std::nullopt; }
Step Add(Step a, Step b) { return a && b ? Fit(*a + *b) : std::nullopt; }
Step Sub(Step a, Step b) { return a && b ? Fit(*a - *b) : std::nullopt; }
Step Mul(Step a, Step b) { return a && b ? Fit(*a * *b) : std::nullopt; }

struct Expected {
  Step blockHeight, blockWidth, left, top;
};

// The layout as the layer's rules give it: h is the text height, each line measures its
// characters' widths with a span between two of them, the block is as wide as its widest
// line, and the anchor places it with truncating halves.
Expected Layout(std::string_view text, FixedMetricsEngine& engine, const TFont& font, int32_t lineSpan,
                int32_t charSpan, int32_t width, int32_t height, uint8_t anchor) {
  const TCodePage& codePage = TCodePage::System();
  const int64_t h = engine.TextHeight(font, text);
  int64_t markers = 0;
  for (std::size_t p = text.find("\xFF\xFF"); p != std::string_view::npos; p = text.find("\xFF\xFF", p + 2)) ++markers;

  Expected e;
  e.blockHeight = Add(Mul(markers, Add(h, lineSpan)), h);
  if (!e.blockHeight) return e;

  Step widest = 0;
  for (std::string_view rest = text; !rest.empty();) {
    const std::size_t marker = rest.find("\xFF\xFF");
    const std::string_view line = rest.substr(0, marker);
    rest = marker == std::string_view::npos ? std::string_view() : rest.substr(marker + 2);
    Step total = 0;
    bool any = false;
    for (std::size_t pos = 0; pos < line.size();) {
      const std::size_t length = codePage.CharLength(line, pos);
      if (length == 0) break;
      total = Add(total, Add(engine.TextWidth(font, line.substr(pos, length)), charSpan));
      if (!total) return e;
      any = true;
      pos += length;
    }
    if (any) total = Sub(total, charSpan);
    if (!total) return e;
    widest = std::max(*widest, *total);
  }
  e.blockWidth = widest;

  const int a = std::min<int>(anchor, 8);
  const auto place = [](int position, int64_t room, Step extent) -> Step {
    if (position == 0) return 0;
    const Step difference = Sub(room, extent);
    if (!difference) return std::nullopt;
    return position == 1 ? *difference / 2 : *difference;
  };
  e.left = place(a % 3, width, e.blockWidth);
  if (!e.left) return e;
  e.top = place(a / 3, height, e.blockHeight);
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const ScopedCodePage codePage(PickCodePage(input.Take<uint8_t>()));
  const int32_t width = input.Take<uint8_t>();
  const int32_t height = input.Take<uint8_t>();
  const int32_t lineSpan = input.Take<int32_t>();
  const int32_t charSpan = input.Take<int32_t>();
  const int32_t left = input.Take<int32_t>();
  const int32_t top = input.Take<int32_t>();
  const uint8_t anchor = input.Take<uint8_t>();
  const uint8_t flags = input.Take<uint8_t>();
  const std::string text = input.Rest();

  FixedMetricsEngine engine;
  engine.height = 1 + flags % 40;
  TZeltoZelto zelto(width, height, engine);
  Composition = &zelto;
  zelto.DefaultFont().Color = 0x123456;
  const TFont defaultFont = zelto.DefaultFont();
  TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(text));
  layer.UseDefaultFont = (flags & 0x80) != 0;
  layer.Font.Size = 1 + flags % 30;
  layer.Visible = (flags & 0x40) == 0;
  layer.LineSpan = lineSpan;
  layer.CharSpan = charSpan;
  layer.Left = left;
  layer.Top = top;

  const Expected expected = Layout(layer.Text, engine, layer.UseDefaultFont ? defaultFont : layer.Font, lineSpan,
                                   charSpan, width, height, anchor);
  bool overflow = false;
  try {
    layer.AlignToAnchor(anchor);
  } catch (const EIntOverflow&) {
    overflow = true;
  }
  // Each value is stored once measured or placed; an overflow leaves the later ones as they were.
  if (overflow != !expected.top) std::abort();
  if (layer.BlockHeight != expected.blockHeight.value_or(0)) std::abort();
  if (layer.BlockWidth != expected.blockWidth.value_or(0)) std::abort();
  if (layer.Left != expected.left.value_or(left)) std::abort();
  if (layer.Top != expected.top.value_or(top)) std::abort();
  if (zelto.DefaultFont() != defaultFont) std::abort();

  const int32_t placedLeft = layer.Left, placedTop = layer.Top;
  const int32_t blockHeight = layer.BlockHeight, blockWidth = layer.BlockWidth;
  TBitmap screen;
  try {
    zelto.Paint(screen.Canvas());
  } catch (const EIntOverflow&) {
  }
  if (zelto.DefaultFont() != defaultFont) std::abort();
  if (layer.Left != placedLeft || layer.Top != placedTop) std::abort();
  if (layer.BlockHeight != blockHeight || layer.BlockWidth != blockWidth) std::abort();
  if (blockWidth < 0) std::abort();
  Composition = nullptr;
  return 0;
}
