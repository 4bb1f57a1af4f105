// Measuring, anchoring and drawing a layer with any text, spans, anchor and canvas size: only
// the overflow error may leave, the default font is back on the canvas afterwards, and what
// was stored before an error stays stored.
#include "fuzz/FuzzInput.h"
#include "model/Zelto.h"
#include "tests/support/FixedMetricsEngine.h"
#include "toolkit/Checked.h"

#include <cstdlib>

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

  try {
    layer.AlignToAnchor(anchor);
  } catch (const EIntOverflow&) {
    // Top is placed last: an error anywhere leaves it as it was.
    if (layer.Top != top) std::abort();
  }
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
