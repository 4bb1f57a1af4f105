// Where the time of one picture of a table goes, for a badge of 400 x 400 pixels with 5 layers, 3
// of them with placeholders: filling and painting it, encoding it as PNG with the program's
// writer and, for the choice of encoder, with Qt's and with libspng's where it is installed, and
// writing the file whole.
#include "app/Render.h"
#include "model/Placeholders.h"
#include "toolkit/PngWriter.h"
#include "toolkit/WholeFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#ifdef ZELTO_SPNG
#include <spng.h>

#include <cstdlib>
#endif

namespace {

// The badge's document, its layers stacked from the top.
TZeltoContent Badge() {
  TZeltoContent content;
  content.Canvas = {400, 400, TFont{}};
  const char* const texts[] = {"Hello, my name is", "{name}", "{title}", "{company}", "Conference 2026"};
  for (int i = 0; i < 5; ++i) {
    TZeltoLayerFields layer;
    layer.Text = texts[i];
    layer.UseDefaultFont = false;
    layer.Font.Size = i == 1 ? 28 : 14;
    layer.Font.Style = i == 1 ? fsBold : 0;
    layer.Font.Color = RGBToColor(static_cast<uint8_t>(40 * i), 0, 100);
    layer.Left = 20;
    layer.Top = 20 + 70 * i;
    if (i == 1) layer.Anchor = 4;
    content.Layers.push_back(std::make_shared<const TZeltoLayerFields>(layer));
  }
  return content;
}

QString Value(const QString& column) {
  if (column == "name") return QStringLiteral("Katherine Johnson");
  if (column == "title") return QStringLiteral("Research Mathematician");
  return QStringLiteral("Langley Research Center");
}

QImage Picture(TZeltoZelto& composition, const TZeltoContent& badge) {
  composition.Replace(badge, {});
  FillPlaceholders(composition, Value);
  return PaintPicture(composition);
}

void BM_BadgeFillAndPaint(benchmark::State& state) {
  const TZeltoContent badge = Badge();
  TZeltoZelto composition(400, 400);
  for (auto _ : state) benchmark::DoNotOptimize(Picture(composition, badge));
}
BENCHMARK(BM_BadgeFillAndPaint)->Unit(benchmark::kMillisecond);

void BM_BadgeEncodePng(benchmark::State& state) {
  TZeltoZelto composition(400, 400);
  const QImage picture = Picture(composition, Badge());
  for (auto _ : state) state.counters["bytes"] = static_cast<double>(EncodePng(picture, false).size());
}
BENCHMARK(BM_BadgeEncodePng)->Unit(benchmark::kMillisecond);

// Qt's PNG writer at its default, as the picture would be written without the program's own.
void BM_BadgeEncodeQtPng(benchmark::State& state) {
  TZeltoZelto composition(400, 400);
  const QImage picture = Picture(composition, Badge()).convertToFormat(QImage::Format_RGB888);
  for (auto _ : state) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(picture);
    state.counters["bytes"] = static_cast<double>(bytes.size());
  }
}
BENCHMARK(BM_BadgeEncodeQtPng)->Unit(benchmark::kMillisecond);

#ifdef ZELTO_SPNG
// libspng, a PNG library that Debian packages: with argument 0 at its defaults (each row's filter
// chosen among all five, zlib's default level), with 1 at the program's settings ("Up" on every
// row, the fastest level). As for Qt's, the picture is 24-bit already; the program's writer
// converts it from the composition's 32-bit pixels as it goes.
void BM_BadgeEncodeSpng(benchmark::State& state) {
  TZeltoZelto composition(400, 400);
  const QImage picture = Picture(composition, Badge()).convertToFormat(QImage::Format_RGB888);
  if (picture.bytesPerLine() != 3 * picture.width()) return state.SkipWithError("the rows are padded");
  for (auto _ : state) {
    spng_ctx* encoder = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(encoder, SPNG_ENCODE_TO_BUFFER, 1);
    if (state.range(0) == 1) {
      spng_set_option(encoder, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
      spng_set_option(encoder, SPNG_IMG_COMPRESSION_LEVEL, 1);
    }
    spng_ihdr header{400, 400, 8, SPNG_COLOR_TYPE_TRUECOLOR, 0, 0, 0};
    spng_set_ihdr(encoder, &header);
    int error = spng_encode_image(encoder, picture.constBits(), static_cast<std::size_t>(picture.sizeInBytes()),
                                  SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::size_t size = 0;
    void* png = error == 0 ? spng_get_png_buffer(encoder, &size, &error) : nullptr;
    spng_ctx_free(encoder);
    std::free(png);
    if (error != 0) {
      state.SkipWithError(spng_strerror(error));
      break;
    }
    state.counters["bytes"] = static_cast<double>(size);
  }
}
BENCHMARK(BM_BadgeEncodeSpng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

void BM_BadgeWriteFile(benchmark::State& state) {
  TZeltoZelto composition(400, 400);
  const QByteArray png = EncodePng(Picture(composition, Badge()), false);
  const QTemporaryDir folder;
  int n = 0;
  for (auto _ : state) {
    if (!WriteWholeFile(folder.filePath(QString::number(n++ % 1000) + ".png"), png).isEmpty())
      state.SkipWithError("the file was not written");
  }
}
BENCHMARK(BM_BadgeWriteFile)->Unit(benchmark::kMillisecond);

}  // namespace
