// Our layout and Paint against ImageMagick's Magick++ rendering the same composition into an
// in-memory image: the same texts, font file, size and colour, gravity for the anchor, text
// kerning for the character span and interline spacing for the line span.
#include "bench/Compositions.h"

#include "toolkit/CodePage.h"

#include <Magick++.h>
#include <QImage>
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>

namespace {

// The file fontconfig gives for a face, as Qt's font database finds it too.
std::string FontFile(const QString& face) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(face.toUtf8().constData()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcChar8* file = nullptr;
  std::string path;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return path;
}

Magick::GravityType GravityOf(uint8_t anchor) {
  static const Magick::GravityType gravities[] = {
      Magick::NorthWestGravity, Magick::NorthGravity,  Magick::NorthEastGravity,
      Magick::WestGravity,      Magick::CenterGravity, Magick::EastGravity,
      Magick::SouthWestGravity, Magick::SouthGravity,  Magick::SouthEastGravity};
  return gravities[std::min<int>(anchor, 8)];
}

constexpr int kLayers = 10, kChars = 50;
constexpr int32_t kSide = 400;

uint8_t AnchorOf(int layer) { return static_cast<uint8_t>(layer % 9); }

void BM_OurLayoutAndPaint(benchmark::State& state) {
  auto zelto = MakeComposition(kLayers, kChars, kSide, kSide);
  Composition = zelto.get();
  QImage screen(kSide, kSide, QImage::Format_RGB32);
  for (auto _ : state) {
    for (int32_t i = 0; i < zelto->LayerCount(); ++i) zelto->GetLayer(i).AlignToAnchor(AnchorOf(i));
    TCanvas canvas(&screen);
    zelto->Paint(canvas);
  }
  Composition = nullptr;
}
BENCHMARK(BM_OurLayoutAndPaint)->Unit(benchmark::kMillisecond);

void BM_MagickAnnotate(benchmark::State& state) {
  Magick::InitializeMagick(nullptr);
  auto zelto = MakeComposition(kLayers, kChars, kSide, kSide);
  struct Annotation {
    std::string text, font;
    double size;  // in pixels: at ImageMagick's 72 dots per inch a point is a pixel
    Magick::ColorRGB color;
    double kerning, interline;
    Magick::GravityType gravity;
  };
  std::vector<Annotation> annotations;
  // Layers are drawn from the bottom of the stack up, as Paint does.
  for (int32_t i = zelto->LayerCount() - 1; i >= 0; --i) {
    const TZeltoLayer& layer = zelto->GetLayer(i);
    const TFont& font = layer.UseDefaultFont ? zelto->DefaultFont() : layer.Font;
    const QColor color = ToQColor(font.Color);
    annotations.push_back({TCodePage::System().ToUnicode(layer.GetText()).replace("\r\n", "\n").toStdString(),
                           FontFile(font.Name), double(font.Height()),
                           Magick::ColorRGB(color.redF(), color.greenF(), color.blueF()), double(layer.CharSpan),
                           double(layer.LineSpan), GravityOf(AnchorOf(i))});
  }
  for (auto _ : state) {
    Magick::Image image(Magick::Geometry(kSide, kSide), Magick::Color("white"));
    for (const Annotation& a : annotations) {
      image.font(a.font);
      image.fontPointsize(a.size);
      image.fillColor(a.color);
      image.textKerning(a.kerning);
      image.textInterlineSpacing(a.interline);
      image.annotate(a.text, Magick::Geometry(kSide, kSide), a.gravity);
    }
    benchmark::DoNotOptimize(image.getConstPixels(0, 0, 1, 1));
  }
}
BENCHMARK(BM_MagickAnnotate)->Unit(benchmark::kMillisecond);

}  // namespace
