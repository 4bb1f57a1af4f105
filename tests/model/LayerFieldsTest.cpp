// Every field of a layer, one at a time: each is compared, copied by Assign (but the block
// measures, which a copy measures afresh), put back by undo and redo, and kept by a document. The table of changes
// names each field by a structured binding, so that a field added to TZeltoLayerFields fails
// here until it has a change of its own.
#include "model/Document.h"
#include "model/Zelto.h"

#include "tests/support/CompositionFields.h"
#include "tests/support/FieldCount.h"
#include "tests/support/FixedMetricsEngine.h"
#include "tests/support/ScopedCodePage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct FieldChange {
  std::string name;
  std::function<void(TZeltoLayerFields&)> change;
};

std::vector<FieldChange> EachFieldChanged() {
  using F = TZeltoLayerFields;
  // Never called, but for its names: it stops compiling when the fields change.
  [[maybe_unused]] const auto names = [](F& fields) {
    [[maybe_unused]] auto& [visible, text, font, useDefaultFont, left, top, lineSpan, charSpan, blockHeight, blockWidth,
                            anchor] = fields;
  };
  return {
      {"Visible", [](F& f) { f.Visible = !f.Visible; }},
      {"Text", [](F& f) { f.Text += "\xFF\xFFnew line"; }},
      {"Font", [](F& f) { f.Font.Style ^= fsUnderline; }},
      {"UseDefaultFont", [](F& f) { f.UseDefaultFont = !f.UseDefaultFont; }},
      {"Left", [](F& f) { f.Left -= 7; }},
      {"Top", [](F& f) { f.Top += 9; }},
      {"LineSpan", [](F& f) { f.LineSpan = -f.LineSpan - 1; }},
      {"CharSpan", [](F& f) { f.CharSpan += 3; }},
      {"BlockHeight", [](F& f) { f.BlockHeight += 11; }},
      {"BlockWidth", [](F& f) { f.BlockWidth += 13; }},
      {"Anchor", [](F& f) { f.Anchor = f.Anchor ? std::optional<uint8_t>() : 5; }},
  };
}

TEST(LayerFieldsTest, TheTableChangesEveryField) {
  EXPECT_EQ(EachFieldChanged().size(), FieldCount<TZeltoLayerFields>);
  EXPECT_EQ(FieldCount<TZeltoCanvasFields>, 3u) << "the canvas fields' tests know three";
}

class EachFieldTest : public ::testing::TestWithParam<FieldChange> {
 protected:
  EachFieldTest() : codePage("UTF-8"), zelto(200, 150, engine) {
    Composition = &zelto;
    TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer("source"));
    layer.Visible = false;
    layer.Font.Name = QStringLiteral("Serif");
    layer.Left = 12;
    layer.Top = -4;
    layer.LineSpan = 2;
    layer.CharSpan = -1;
    layer.BlockHeight = 30;
    layer.BlockWidth = 40;
    layer.Anchor = 3;
  }
  ~EachFieldTest() override { Composition = nullptr; }

  TZeltoLayer& Layer() { return zelto.GetLayer(0); }

  ScopedCodePage codePage;
  FixedMetricsEngine engine;
  TZeltoZelto zelto;
};

TEST_P(EachFieldTest, IsComparedCopiedAndRestored) {
  const TZeltoLayerFields before = Layer().Fields();
  {
    const TZeltoAction action(zelto.History, TStepKind::Align);
    GetParam().change(Layer().Fields());
  }
  const TZeltoLayerFields after = Layer().Fields();
  EXPECT_NE(after, before);

  // A copy has every field of its source but the block measures, which it measures afresh.
  TZeltoLayerFields copied = after;
  copied.BlockHeight = copied.BlockWidth = 0;
  EXPECT_EQ(zelto.GetLayer(zelto.AddLayerCopy(0)).Fields(), copied);
  zelto.DeleteLayer(1);

  ASSERT_TRUE(zelto.History.Undo());
  EXPECT_EQ(Layer().Fields(), before);
  ASSERT_TRUE(zelto.History.Redo());
  EXPECT_EQ(Layer().Fields(), after);
}

TEST_P(EachFieldTest, SurvivesADocument) {
  GetParam().change(Layer().Fields());
  const TZeltoContent content = *zelto.History.Content();
  const TDocumentRead read = ReadDocument(WriteDocument(content, {}));
  ASSERT_EQ(read.Document.Content.Layers.size(), 1u);
  EXPECT_EQ(*read.Document.Content.Layers[0], Layer().Fields());
}

INSTANTIATE_TEST_SUITE_P(Fields, EachFieldTest, ::testing::ValuesIn(EachFieldChanged()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
