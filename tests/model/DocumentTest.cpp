#include "model/Document.h"

#include "tests/support/CaseName.h"
#include "tests/support/CompositionFields.h"
#include "tests/support/PrintTo.h"
#include "tests/support/ScopedCodePage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

TZeltoContent ContentOf(std::initializer_list<TZeltoLayerFields> layers, int32_t width = 200, int32_t height = 150) {
  TZeltoContent content;
  content.Canvas = {width, height, TFont{}};
  for (const TZeltoLayerFields& layer : layers) content.Layers.push_back(std::make_shared<const TZeltoLayerFields>(layer));
  return content;
}

TZeltoLayerFields Layer(std::string text) {
  TZeltoLayerFields layer;
  layer.Text = std::move(text);
  return layer;
}

std::vector<TZeltoLayerFields> FieldsOf(const TZeltoContent& content) {
  std::vector<TZeltoLayerFields> layers;
  for (const auto& layer : content.Layers) layers.push_back(*layer);
  return layers;
}

QJsonObject Json(const QByteArray& bytes) { return QJsonDocument::fromJson(bytes).object(); }

// ---- Round trips ----

TEST(DocumentTest, GivesBackEveryFieldTheSelectionAndTheCanvas) {
  const ScopedCodePage codePage("UTF-8");
  TZeltoLayerFields own = Layer("Hello\xFF\xFFW\xC3\xB6rld");
  own.Visible = false;
  own.UseDefaultFont = false;
  own.Font = {QStringLiteral("IPAGothic"), 72, TFontPitch::Fixed, fsBold | fsStrikeOut, SHIFTJIS_CHARSET, 0x0A0B0C};
  own.Left = INT32_MIN;
  own.Top = INT32_MAX;
  own.LineSpan = -100;
  own.CharSpan = 100;
  own.BlockHeight = -40;
  own.BlockWidth = 13;
  TZeltoLayerFields plain = Layer("");
  plain.Font.Color = SystemColorRef(COLOR_HIGHLIGHT);
  TZeltoContent content = ContentOf({own, plain, Layer("\xFF\xFF\xFF\xFF")}, 32767, 2048);
  content.Canvas.DefaultFont = {QStringLiteral("DejaVu Serif"), 9, TFontPitch::Variable, fsItalic | fsUnderline, 0,
                                clWindowText};
  const int32_t selection[] = {2, 0};

  const QByteArray bytes = WriteDocument(content, selection);
  const TDocumentRead read = ReadDocument(bytes);
  EXPECT_EQ(read.Document.Content.Canvas, content.Canvas);
  EXPECT_EQ(FieldsOf(read.Document.Content), FieldsOf(content));
  EXPECT_EQ(read.Document.Selection, std::vector<int32_t>({2, 0}));
  EXPECT_TRUE(read.Unconverted.isEmpty());
  // Written again, the same bytes: the document is its own.
  EXPECT_EQ(WriteDocument(read.Document.Content, read.Document.Selection), bytes);
  EXPECT_EQ(Json(bytes)["version"].toString(), "1.0");
  EXPECT_FALSE(Json(bytes).contains("recoveryOf"));
}

TEST(DocumentTest, ALayerWithAnAnchorNeedsTheNewerMinorVersion) {
  const ScopedCodePage codePage("UTF-8");
  TZeltoLayerFields anchored = Layer("A");
  anchored.Anchor = 8;
  const QByteArray bytes = WriteDocument(ContentOf({Layer("B"), anchored}), {});
  EXPECT_EQ(Json(bytes)["version"].toString(), "1.1");
  EXPECT_EQ(ReadDocument(bytes).Document.Content.Layers[1]->Anchor, std::optional<uint8_t>(8));
  EXPECT_EQ(ReadDocument(bytes).Document.Content.Layers[0]->Anchor, std::nullopt);
}

// What a layer's text bytes become when the document is opened again: in the code page that wrote
// them, exactly those bytes; in another, what the Unicode converts to, with the layers whose
// characters have no form there named.
struct CodePageCase {
  const char* name;
  const char* written;  // the code page the document is written in
  std::string text;     // the layer's text bytes there
  const char* read;     // the code page it is read in
  std::string expected;
  bool unconverted;
};

class DocumentCodePageTest : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(DocumentCodePageTest, KeepsTheBytesInTheirCodePageAndConvertsInAnother) {
  const CodePageCase& c = GetParam();
  QByteArray bytes;
  {
    const ScopedCodePage codePage(c.written);
    bytes = WriteDocument(ContentOf({Layer("first"), Layer(c.text)}), {});
  }
  const ScopedCodePage codePage(c.read);
  const TDocumentRead read = ReadDocument(bytes);
  EXPECT_EQ(read.Document.Content.Layers[1]->Text, c.expected);
  if (c.unconverted) {
    ASSERT_EQ(read.Unconverted.size(), 1);
    EXPECT_TRUE(read.Unconverted[0].startsWith("layer 2 (")) << read.Unconverted[0].toStdString();
  } else {
    EXPECT_TRUE(read.Unconverted.isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentCodePageTest,
    ::testing::Values(
        CodePageCase{"utf8 invalid bytes kept", "UTF-8", "a\xC3" "b\xFF\xFF\xE6\x97", "UTF-8",
                     "a\xC3" "b\xFF\xFF\xE6\x97", false},
        CodePageCase{"shift jis lone lead byte kept", "CP932", "\x93\xFA\x96\x7B\x81", "CP932",
                     "\x93\xFA\x96\x7B\x81", false},
        CodePageCase{"shift jis to utf8", "CP932", "\x93\xFA\x96\x7B\xFF\xFFok", "UTF-8",
                     "\xE6\x97\xA5\xE6\x9C\xAC\xFF\xFFok", false},
        CodePageCase{"japanese has no form in latin 1", "UTF-8", "x\xE6\x97\xA5y", "ISO-8859-1", "x?y", true},
        CodePageCase{"invalid bytes shown in another code page", "UTF-8", "a\xC3" "b", "CP932", "a?b", true}),
    [](const auto& info) { return CaseName(info.param.name); });

// ---- Versions ----

struct VersionCase {
  const char* name;
  const char* version;
  const char* refused;  // the reason, or nothing when it reads
};

class DocumentVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(DocumentVersionTest, ReadsEveryMinorOfItsMajorAndRefusesANewerMajor) {
  const ScopedCodePage codePage("UTF-8");
  QJsonObject root = Json(WriteDocument(ContentOf({Layer("a")}), {}));
  root["version"] = GetParam().version;
  root["aFieldOfLaterVersions"] = QJsonObject{{"x", 1}};
  const QByteArray bytes = QJsonDocument(root).toJson();
  if (!GetParam().refused) {
    EXPECT_EQ(ReadDocument(bytes).Document.Content.Layers[0]->Text, "a");
    return;
  }
  try {
    ReadDocument(bytes);
    ADD_FAILURE() << "read";
  } catch (const EDocument& error) {
    EXPECT_STREQ(error.what(), GetParam().refused);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentVersionTest,
    ::testing::Values(
        VersionCase{"1.0", "1.0", nullptr}, VersionCase{"1.1", "1.1", nullptr}, VersionCase{"1.27", "1.27", nullptr},
        VersionCase{"2.0", "2.0",
                    "it was made by a newer version of ZeltoZelto (document format 2.0; this version reads 1.x)"},
        VersionCase{"0.9", "0.9", "its version 0.9 was never written"},
        VersionCase{"no minor", "1", "its version \"1\" is not of the form major.minor"}),
    [](const auto& info) { return CaseName(info.param.name); });

// ---- Bad documents ----

// A good document of two layers, changed by `change`, must be refused for `reason`.
struct BadCase {
  const char* name;
  std::function<QByteArray(QJsonObject& root, QJsonObject& layer)> change;
  const char* reason;
};

QByteArray Good() { return WriteDocument(ContentOf({Layer("a"), Layer("b")}), {}); }

class BadDocumentTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadDocumentTest, IsRefusedWithTheReason) {
  const ScopedCodePage codePage("UTF-8");
  QJsonObject root = Json(Good());
  QJsonObject layer = root["layers"].toArray()[1].toObject();
  const QByteArray bytes = GetParam().change(root, layer);
  try {
    ReadDocument(bytes);
    ADD_FAILURE() << "read";
  } catch (const EDocument& error) {
    EXPECT_EQ(std::string(error.what()), GetParam().reason);
  }
}

// The document with the second layer as `layer` now is.
QByteArray WithLayer(QJsonObject& root, const QJsonObject& layer) {
  QJsonArray layers = root["layers"].toArray();
  layers[1] = layer;
  root["layers"] = layers;
  return QJsonDocument(root).toJson();
}

QByteArray Set(QJsonObject& root, QJsonObject& layer, const char* key, const QJsonValue& value) {
  layer[key] = value;
  return WithLayer(root, layer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDocumentTest,
    ::testing::Values(
        BadCase{"empty", [](auto&, auto&) { return QByteArray(); }, "it is not a ZeltoZelto document"},
        BadCase{"a picture", [](auto&, auto&) { return QByteArray("\x89PNG\r\n\x1A\n"); },
                "it is not a ZeltoZelto document"},
        BadCase{"truncated",
                [](auto&, auto&) { return Good().left(Good().indexOf("\"layers\"") + 20); },
                "it is damaged at line 20, column 9: unterminated array"},
        BadCase{"other json", [](auto&, auto&) { return QByteArray("{\"format\": \"something else\"}"); },
                "it is not a ZeltoZelto document"},
        BadCase{"a list", [](auto&, auto&) { return QByteArray("[1, 2]"); }, "it is not a ZeltoZelto document"},
        BadCase{"no canvas",
                [](QJsonObject& root, auto&) {
                  root.remove("canvas");
                  return QJsonDocument(root).toJson();
                },
                "the document has no \"canvas\""},
        BadCase{"canvas too wide",
                [](QJsonObject& root, auto&) {
                  root["canvas"] = QJsonObject{{"width", 32768}, {"height", 10}};
                  return QJsonDocument(root).toJson();
                },
                "\"width\" of the canvas must be a whole number from 1 to 32767, not 32768"},
        BadCase{"canvas of too many pixels",
                [](QJsonObject& root, auto&) {
                  root["canvas"] = QJsonObject{{"width", 32767}, {"height", 2049}};
                  return QJsonDocument(root).toJson();
                },
                "its canvas of 32767 × 2049 pixels is more than the 64 megapixels a canvas may have"},
        BadCase{"visible not a boolean", [](auto& r, auto& l) { return Set(r, l, "visible", 1); },
                "\"visible\" of layer 2 must be true or false, not 1"},
        BadCase{"line span out of range", [](auto& r, auto& l) { return Set(r, l, "lineSpan", 150); },
                "\"lineSpan\" of layer 2 must be a whole number from -100 to 100, not 150"},
        BadCase{"left not whole", [](auto& r, auto& l) { return Set(r, l, "left", 1.5); },
                "\"left\" of layer 2 must be a whole number from -2147483648 to 2147483647, not 1.5"},
        BadCase{"left beyond 64 bits", [](auto& r, auto& l) { return Set(r, l, "left", 1e300); },
                "\"left\" of layer 2 must be a whole number from -2147483648 to 2147483647, not "
                "1.0000000000000001e+300"},
        BadCase{"top below 64 bits", [](auto& r, auto& l) { return Set(r, l, "top", -1e19); },
                "\"top\" of layer 2 must be a whole number from -2147483648 to 2147483647, not "
                "-1e+19"},
        BadCase{"anchor out of range", [](auto& r, auto& l) { return Set(r, l, "anchor", 9); },
                "\"anchor\" of layer 2 must be a whole number from 0 to 8, not 9"},
        BadCase{"text not lines", [](auto& r, auto& l) { return Set(r, l, "text", "a"); },
                "\"text\" of layer 2 must be a list, not \"a\""},
        BadCase{"text too long",
                [](auto& r, auto& l) {
                  return Set(r, l, "text", QJsonArray{QString(TDocumentLimits::kMaxTextLength + 1, 'x')});
                },
                "the text of layer 2 is longer than 1048576 characters"},
        BadCase{"text bytes of too many characters",
                [](auto& r, auto& l) {
                  // Each byte that is no UTF-8 is a character of its own.
                  const QByteArray bytes(TDocumentLimits::kMaxTextLength + 1, '\x80');
                  return Set(r, l, "textBytes", QString::fromLatin1(bytes.toBase64()));
                },
                "the text of layer 2 is longer than 1048576 characters"},
        BadCase{"text bytes not base64", [](auto& r, auto& l) { return Set(r, l, "textBytes", "%%%"); },
                "\"textBytes\" of layer 2 is no text's bytes"},
        BadCase{"font size zero",
                [](auto& r, auto& l) {
                  QJsonObject font = l["font"].toObject();
                  font["size"] = 0;
                  return Set(r, l, "font", font);
                },
                "\"size\" of the font of layer 2 must be a whole number from 1 to 2147483647, not 0"},
        BadCase{"unknown style",
                [](auto& r, auto& l) {
                  QJsonObject font = l["font"].toObject();
                  font["styles"] = QJsonArray{"bold", "shadow"};
                  return Set(r, l, "font", font);
                },
                "\"styles\" of the font of layer 2 may hold \"bold\", \"italic\", \"underline\" and \"strikeOut\", "
                "not \"shadow\""},
        BadCase{"bad colour",
                [](auto& r, auto& l) {
                  QJsonObject font = l["font"].toObject();
                  font["color"] = "red";
                  return Set(r, l, "font", font);
                },
                "\"color\" of the font of layer 2 must be \"#rrggbb\" or {\"system\": number}, not \"red\""},
        BadCase{"a value of two lines",
                [](auto& r, auto& l) { return Set(r, l, "visible", QString::fromUtf8("yes\nno\u2028")); },
                "\"visible\" of layer 2 must be true or false, not \"yes\\u000ano\\u2028\""},
        BadCase{"a pitch of two lines",
                [](auto& r, auto& l) {
                  QJsonObject font = l["font"].toObject();
                  font["pitch"] = "fix\r\ned";
                  return Set(r, l, "font", font);
                },
                "\"pitch\" of the font of layer 2 must be \"default\", \"variable\" or \"fixed\", not "
                "\"fix\\u000d\\u000aed\""},
        BadCase{"charset out of range",
                [](QJsonObject& root, auto&) {
                  QJsonObject font = root["defaultFont"].toObject();
                  font["charset"] = 256;
                  root["defaultFont"] = font;
                  return QJsonDocument(root).toJson();
                },
                "\"charset\" of the font of the document must be a whole number from 0 to 255, not 256"},
        BadCase{"selection names a layer twice",
                [](QJsonObject& root, auto&) {
                  root["selection"] = QJsonArray{1, 0, 1};
                  return QJsonDocument(root).toJson();
                },
                "its selection names layer 2 twice"},
        BadCase{"selection beyond the layers",
                [](QJsonObject& root, auto&) {
                  root["selection"] = QJsonArray{2};
                  return QJsonDocument(root).toJson();
                },
                "\"selection\" of the document must be a whole number from 0 to 1, not 2"},
        BadCase{"too many layers",
                [](QJsonObject& root, auto&) {
                  QJsonArray layers;
                  for (int i = 0; i <= TDocumentLimits::kMaxLayers; ++i) layers.append(0);
                  root["layers"] = layers;
                  return QJsonDocument(root).toJson(QJsonDocument::Compact);
                },
                "it has 100001 layers, more than the 100000 a document may hold"},
        BadCase{"too large",
                [](auto&, auto&) { return QByteArray(TDocumentLimits::kMaxBytes + 1, ' '); },
                "it is larger than the 256 MiB a document may have"}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(DocumentTest, ACompositionOverTheLimitsIsNotWritten) {
  const ScopedCodePage codePage("UTF-8");
  EXPECT_THROW(WriteDocument(ContentOf({Layer(std::string(TDocumentLimits::kMaxTextLength + 1, 'x'))}), {}),
               EDocument);
  TZeltoLayerFields longFace = Layer("x");
  longFace.UseDefaultFont = false;
  longFace.Font.Name = QString(TDocumentLimits::kMaxFaceLength + 1, 'f');
  EXPECT_THROW(WriteDocument(ContentOf({longFace}), {}), EDocument);
  longFace.Font.Name.chop(1);
  EXPECT_EQ(ReadDocument(WriteDocument(ContentOf({longFace}), {})).Document.Content.Layers[0]->Font.Name,
            longFace.Font.Name);
}

TEST(DocumentTest, NamesTheFacesItDrawsWith) {
  TZeltoLayerFields own = Layer("a"), byDefault = Layer("b"), again = Layer("c");
  own.UseDefaultFont = false;
  own.Font.Name = QStringLiteral("Nowhere Sans");
  byDefault.Font.Name = QStringLiteral("Not Drawn");
  again.UseDefaultFont = false;
  again.Font.Name = QStringLiteral("Nowhere Sans");
  EXPECT_EQ(FacesInUse(ContentOf({own, byDefault, again})), QStringList({"DejaVu Sans", "Nowhere Sans"}));
  EXPECT_EQ(MissingFaces(ContentOf({own, byDefault, again})), QStringList({"Nowhere Sans"}));
}

}  // namespace
