// Where the time of one picture of a table goes, for a badge of 400 x 400 pixels with 5 layers, 3
// of them with placeholders: filling and painting it, encoding it as PNG with the program's
// writer and, for the choice of encoder, with Qt's, and writing the file whole.
#include "app/Render.h"
#include "model/Placeholders.h"
#include "toolkit/PngWriter.h"
#include "toolkit/WholeFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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
