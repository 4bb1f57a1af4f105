// Paint against Cairo drawing the same compositions: the same font files, pixel sizes, colours
// and character positions, its glyphs converted once beforehand, one cairo_show_glyphs call a
// layer onto a white RGB24 surface of the canvas size, full hinting and grey antialiasing.
// With ZELTO_BENCH_PICTURES set to a folder, both pictures of each composition are saved there.
#include "bench/Compositions.h"
#include "bench/PerChar.h"

#include "toolkit/CodePage.h"

#include <QFontMetrics>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Where the model puts each character, layer by layer; measuring is left to the raster engine.
class RecordingEngine final : public TTextEngine {
 public:
  struct Output {
    int32_t x, y;
    TFont font;
    std::string bytes;
  };
  std::vector<std::vector<Output>> layers;

  int32_t TextWidth(const TFont& font, std::string_view bytes) override { return Raster().TextWidth(font, bytes); }
  int32_t TextHeight(const TFont& font, std::string_view bytes) override { return Raster().TextHeight(font, bytes); }
  void TextOut(QPainter&, int32_t x, int32_t y, const TFont& font, std::string_view bytes) override {
    layers.back().push_back({x, y, font, std::string(bytes)});
  }
};

// The face Qt picks for the font, opened by Cairo from the same file.
cairo_font_face_t* FaceOf(const TFont& font) {
  const QByteArray family = font.Name.toUtf8();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, font.Height());
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
  FcPatternDestroy(match);
  return face;
}

struct CairoLayer {
  cairo_scaled_font_t* font;
  double red, green, blue;
  std::vector<cairo_glyph_t> glyphs;
};

class CairoComposition {
 public:
  CairoComposition(int layers, int chars, int32_t side) {
    RecordingEngine recorder;
    auto zelto = MakeComposition(layers, chars, side, side, recorder);
    TCanvas& canvas = zelto->Bitmap.Canvas();
    canvas.Brush.Style = TBrushStyle::Clear;
    for (int32_t i = zelto->LayerCount() - 1; i >= 0; --i) {
      recorder.layers.emplace_back();
      zelto->GetLayer(i).Draw(canvas);
    }
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    for (const auto& outputs : recorder.layers) {
      if (outputs.empty()) continue;
      const TFont& font = outputs.front().font;
      const QColor color = ToQColor(font.Color);
      CairoLayer layer{ScaledFont(font, options), color.redF(), color.greenF(), color.blueF(), {}};
      const int ascent = QFontMetrics(font.ToQFont()).ascent();
      for (const auto& out : outputs) {
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        const QByteArray utf8 = TCodePage::System().ToUnicode(out.bytes).toUtf8();
        cairo_scaled_font_text_to_glyphs(layer.font, out.x, out.y + ascent, utf8.constData(), int(utf8.size()), &glyphs,
                                         &count, nullptr, nullptr, nullptr);
        layer.glyphs.insert(layer.glyphs.end(), glyphs, glyphs + count);
        cairo_glyph_free(glyphs);
      }
      layers_.push_back(std::move(layer));
    }
    cairo_font_options_destroy(options);
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, side, side);
  }
  ~CairoComposition() {
    cairo_surface_destroy(surface_);
    for (const auto& [key, font] : fonts_) cairo_scaled_font_destroy(font);
    for (const auto& [name, face] : faces_) cairo_font_face_destroy(face);
  }

  void Paint() {
    cairo_t* cr = cairo_create(surface_);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    for (const CairoLayer& layer : layers_) {
      cairo_set_scaled_font(cr, layer.font);
      cairo_set_source_rgb(cr, layer.red, layer.green, layer.blue);
      cairo_show_glyphs(cr, layer.glyphs.data(), int(layer.glyphs.size()));
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
  }

  void Save(const std::string& file) { cairo_surface_write_to_png(surface_, file.c_str()); }

 private:
  cairo_scaled_font_t*& ScaledFont(const TFont& font, const cairo_font_options_t* options) {
    cairo_font_face_t*& face = faces_[font.Name.toStdString()];
    if (!face) face = FaceOf(font);
    cairo_scaled_font_t*& scaled = fonts_[{font.Name.toStdString(), font.Height()}];
    if (!scaled) {
      cairo_matrix_t size, identity;
      cairo_matrix_init_scale(&size, font.Height(), font.Height());
      cairo_matrix_init_identity(&identity);
      scaled = cairo_scaled_font_create(face, &size, &identity, options);
    }
    return scaled;
  }

  std::vector<CairoLayer> layers_;
  std::map<std::string, cairo_font_face_t*> faces_;
  std::map<std::pair<std::string, int>, cairo_scaled_font_t*> fonts_;
  cairo_surface_t* surface_ = nullptr;
};

std::string PictureFile(const char* peer, int layers, int chars) {
  const QByteArray folder = qgetenv("ZELTO_BENCH_PICTURES");
  if (folder.isEmpty()) return {};
  return folder.toStdString() + "/" + peer + "-" + std::to_string(layers) + "x" + std::to_string(chars) + ".png";
}

void BM_CairoShowGlyphs(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0)), chars = static_cast<int>(state.range(1));
  const int32_t side = static_cast<int32_t>(state.range(2));
  CairoComposition cairo(layers, chars, side);
  cairo.Paint();
  if (const std::string file = PictureFile("cairo", layers, chars); !file.empty()) {
    cairo.Save(file);
    auto zelto = MakeComposition(layers, chars, side, side);
    TBitmap screen(TPixelFormat::pf32bit);
    screen.SetSize(side, side);
    zelto->Paint(screen.Canvas());
    screen.Image().save(QString::fromStdString(PictureFile("ours", layers, chars)));
  }
  for (auto _ : state) cairo.Paint();
  state.counters["per_char_ns"] = NanosecondsPerChar(layers * chars);
}
BENCHMARK(BM_CairoShowGlyphs)->Args({10, 50, 400})->Args({200, 200, 999})->Unit(benchmark::kMillisecond);

}  // namespace
