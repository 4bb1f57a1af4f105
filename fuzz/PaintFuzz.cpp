// Random compositions painted by the raster engine and by the plain reference (one QPainter
// text call per character) must give the very same pixels: any fonts, styles, sizes, colours,
// spans, code pages and places, on the canvas, across its edges and far beyond them.
#include "fuzz/FuzzInput.h"
#include "model/Zelto.h"
#include "tests/support/ReferenceTextEngine.h"
#include "tests/support/ScopedCodePage.h"
#include "toolkit/Checked.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdlib>

namespace {

const char* const kFaces[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "IPAGothic", "Nimbus Roman"};

struct LayerInput {
  TFont font;
  int32_t left, top, charSpan, lineSpan;
  std::string text;
};

LayerInput TakeLayer(FuzzInput& input) {
  LayerInput layer;
  layer.font.Name = kFaces[input.Take<uint8_t>() % std::size(kFaces)];
  layer.font.Size = 1 + input.Take<uint8_t>() % 90;
  const uint8_t flags = input.Take<uint8_t>();
  layer.font.Style = flags & 0x0F;
  const uint32_t color = input.Take<uint32_t>();
  layer.font.Color = (flags & 0x10) ? SystemColorRef(static_cast<TSystemColor>(color % 25)) : TColor(color & 0xFFFFFF);
  // Mostly near the canvas; sometimes anywhere in 32 bits.
  layer.left = (flags & 0x20) ? input.Take<int32_t>() : input.Take<int8_t>();
  layer.top = (flags & 0x40) ? input.Take<int32_t>() : input.Take<int8_t>();
  layer.charSpan = input.Take<int8_t>();
  layer.lineSpan = input.Take<int8_t>();
  const uint8_t length = input.Take<uint8_t>() % 24;
  for (uint8_t i = 0; i < length; ++i) layer.text += static_cast<char>(input.Take<uint8_t>());
  return layer;
}

QImage Paint(int32_t width, int32_t height, const std::vector<LayerInput>& layers, TTextEngine& engine) {
  TZeltoZelto zelto(width, height, engine);
  Composition = &zelto;
  for (const LayerInput& in : layers) {
    TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(in.text));
    layer.UseDefaultFont = false;
    layer.Font = in.font;
    layer.Left = in.left;
    layer.Top = in.top;
    layer.CharSpan = in.charSpan;
    layer.LineSpan = in.lineSpan;
  }
  TBitmap screen(TPixelFormat::pf32bit);
  try {
    zelto.Paint(screen.Canvas());
  } catch (const EIntOverflow&) {
    // Both engines measure alike, so both stop at the same character.
  }
  Composition = nullptr;
  return zelto.Bitmap.Image().copy();
}

}  // namespace

// This target compares pixels; it leaves leaks to the suite's sanitizer run and to the other
// targets. The thousands of fonts a run makes push Qt's font cache to let engines go, and Qt 6.4
// then loses the fontconfig pattern it matched for each one's fallback fonts
// (QFontEngineMultiFontConfig::getMatchPatternForFallback): a leak of Qt's, found only past
// the fast unwinder's reach, which would end every run.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const ScopedCodePage codePage(PickCodePage(input.Take<uint8_t>()));
  const int32_t width = 1 + input.Take<uint8_t>() % 96;
  const int32_t height = 1 + input.Take<uint8_t>() % 96;
  std::vector<LayerInput> layers;
  while (layers.size() < 4 && !input.Empty()) layers.push_back(TakeLayer(input));

  ReferenceTextEngine reference;
  if (Paint(width, height, layers, TTextEngine::Raster()) != Paint(width, height, layers, reference)) std::abort();
  return 0;
}
