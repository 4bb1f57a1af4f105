// A property of the pictures made from a table: for seeded random tables (odd quoting, line
// breaks, empty, long and non-ASCII values), every row's picture equals the picture of the
// document with that row's values typed into its layers by hand, anchored layers placed at their
// anchor again.
#include "app/Batch.h"
#include "tests/support/UserFiles.h"

#include <QImage>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <variant>
#include <vector>

namespace {

// A layer's text: pieces of plain text and the columns between them.
struct Piece {
  QString text;
  int column = -1;  // -1: plain text
};

class TableRenderTest : public ::testing::TestWithParam<uint32_t> {
 protected:
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  QString AnyValue() {
    static const QString alphabet = QString::fromUtf8("abcXYZ 019,\"'\n\r{}日本€é-./\t");
    QString value;
    const int length = Pick(5) == 0 ? 200 + Pick(300) : Pick(12);
    for (int i = 0; i < length; ++i) value += alphabet[Pick(alphabet.size())];
    // A lone CR ends no record but inside quotes; the writer quotes what needs it.
    return value;
  }

  std::mt19937 random_{GetParam()};
  QTemporaryDir folder;
};

TEST_P(TableRenderTest, EachRowsPictureIsTheDocumentWithItsValuesTypedIn) {
  const int columns = 1 + Pick(3);
  TCsvTable table;
  for (int c = 0; c < columns; ++c) table.Header.append(QStringLiteral("c%1").arg(c));
  for (int r = 0; r < 6; ++r) {
    QStringList row;
    for (int c = 0; c < columns; ++c) row.append(AnyValue());
    table.Rows.append(row);
  }
  // Written and read as the command line reads it.
  table = ReadCsv(WriteCsv(table));

  std::vector<std::vector<Piece>> texts;
  TZeltoDocument document;
  document.Content.Canvas = {260, 160, TFont{}};
  for (int l = 0; l < 3; ++l) {
    std::vector<Piece> pieces;
    for (int p = Pick(4) + 1; p > 0; --p)
      pieces.push_back(Pick(2) ? Piece{QStringLiteral("{c%1}").arg(Pick(columns)), -1} : Piece{AnyValue().remove('{').remove('}'), -1});
    for (Piece& piece : pieces)
      if (piece.text.startsWith("{c")) piece.column = piece.text.mid(2, piece.text.size() - 3).toInt();
    QString text;
    for (const Piece& piece : pieces) text += piece.text;
    TZeltoLayerFields layer;
    layer.Text = StoredText(TypedText(text));
    layer.Left = 5 + 20 * l;
    layer.Top = 5 + 45 * l;
    layer.LineSpan = Pick(5) - 2;
    if (Pick(2)) layer.Anchor = static_cast<uint8_t>(Pick(9));
    if (l == 1) {
      layer.UseDefaultFont = false;
      layer.Font.Style = fsItalic;
      layer.Font.Color = 0x3060A0;
    }
    document.Content.Layers.push_back(std::make_shared<const TZeltoLayerFields>(layer));
    texts.push_back(pieces);
  }

  TBatch batch(document, table, folder.filePath("{row}.png"), TBackground{}, 1, int(table.Rows.size()));
  batch.Run(2);
  for (const TBatch::TRow& row : batch.Rows()) {
    ASSERT_TRUE(row.Failure.isEmpty()) << row.Failure.toStdString();
    // By hand: each layer's text as the user would type it, the row's values put in where the
    // placeholders stand, a value's line breaks lines of the layer.
    TZeltoZelto composition(260, 160);
    composition.Replace(document.Content, {});
    for (int32_t l = 0; l < composition.LayerCount(); ++l) {
      QString typed;
      for (const Piece& piece : texts[l]) {
        if (piece.column < 0) {
          typed += piece.text;
          continue;
        }
        QString value = table.Rows[row.Number - 1][piece.column];
        typed += value.replace("\r\n", "\n").replace('\r', '\n');
      }
      TZeltoLayer& layer = composition.GetLayer(l);
      const bool placeholders = std::any_of(texts[l].begin(), texts[l].end(), [](const Piece& p) { return p.column >= 0; });
      if (!placeholders) continue;
      layer.SetText(TypedText(typed));
      if (layer.Anchor) layer.AlignToAnchor(*layer.Anchor);
    }
    const QImage expected = PaintPicture(composition).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(QImage(row.Path).convertToFormat(QImage::Format_RGB32) == expected) << "row " << row.Number;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, TableRenderTest, ::testing::Range(uint32_t{1}, uint32_t{9}));

}  // namespace
