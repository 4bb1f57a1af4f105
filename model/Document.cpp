#include "model/Document.h"

#include "toolkit/CodePage.h"
#include "toolkit/WholeFile.h"

#include <QDir>
#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <string_view>

namespace {

constexpr int kMajor = 1;

const char* const kPitches[] = {"default", "variable", "fixed"};
struct TStyleName {
  TFontStyle Style;
  const char* Name;
};
const TStyleName kStyles[] = {
    {fsBold, "bold"}, {fsItalic, "italic"}, {fsUnderline, "underline"}, {fsStrikeOut, "strikeOut"}};

// A layer's text cut at every marker: a text with n markers has n + 1 lines; an empty text none.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  if (text.empty()) return lines;
  for (std::size_t start = 0;;) {
    const std::size_t p = text.find(kLineBreakMarker, start);
    if (p == std::string_view::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, p - start));
    start = p + kLineBreakMarker.size();
  }
}

bool SameCodePage(const QString& a, const QString& b) {
  const auto folded = [](QString name) { return name.remove(QLatin1Char('-')).remove(QLatin1Char('_')).toUpper(); };
  return folded(a) == folded(b);
}

// A layer as messages name it: by its row, from 1, and the beginning of its text.
QString LayerName(int index, const QStringList& lines) {
  QString text = lines.join(QLatin1Char(' ')).simplified();
  if (text.size() > 20) text = text.left(20) + QChar(0x2026);
  return QStringLiteral("layer %1 (\u201c%2\u201d)").arg(index + 1).arg(text);
}

// --- Writing ---

QJsonValue ColorToJson(TColor color) {
  if (color < 0) return QJsonObject{{QStringLiteral("system"), color & 0xFF}};
  return QString::asprintf("#%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
}

QJsonObject FontToJson(const TFont& font) {
  // The other values of a font are kept within their ranges by the program itself.
  if (font.Name.size() > TDocumentLimits::kMaxFaceLength)
    throw EDocument(QStringLiteral("the face name \"%1…\" is longer than the %2 characters a document may hold")
                        .arg(font.Name.left(40))
                        .arg(TDocumentLimits::kMaxFaceLength)
                        .toStdString());
  QJsonArray styles;
  for (const TStyleName& style : kStyles)
    if (font.HasStyle(style.Style)) styles.append(QLatin1String(style.Name));
  return {{QStringLiteral("face"), font.Name},
          {QStringLiteral("size"), font.Size},
          {QStringLiteral("pitch"), QLatin1String(kPitches[static_cast<int>(font.Pitch)])},
          {QStringLiteral("styles"), styles},
          {QStringLiteral("charset"), font.Charset},
          {QStringLiteral("color"), ColorToJson(font.Color)}};
}

QJsonObject LayerToJson(const TZeltoLayerFields& layer, int index, const TCodePage& codePage) {
  QJsonArray text;
  QStringList unicode;
  bool exact = true;
  qsizetype length = 0;
  for (const std::string_view line : Lines(layer.Text)) {
    const QString converted = codePage.ToUnicode(line);
    exact = exact && codePage.FromUnicode(converted) == line;
    length += converted.size();
    unicode.append(converted);
    text.append(converted);
  }
  if (length > TDocumentLimits::kMaxTextLength)
    throw EDocument(QStringLiteral("the text of %1 is longer than the %2 characters a document may hold")
                        .arg(LayerName(index, unicode))
                        .arg(TDocumentLimits::kMaxTextLength)
                        .toStdString());
  QJsonObject object{{QStringLiteral("visible"), layer.Visible},
                     {QStringLiteral("text"), text},
                     {QStringLiteral("font"), FontToJson(layer.Font)},
                     {QStringLiteral("useDefaultFont"), layer.UseDefaultFont},
                     {QStringLiteral("left"), layer.Left},
                     {QStringLiteral("top"), layer.Top},
                     {QStringLiteral("lineSpan"), layer.LineSpan},
                     {QStringLiteral("charSpan"), layer.CharSpan},
                     {QStringLiteral("blockWidth"), layer.BlockWidth},
                     {QStringLiteral("blockHeight"), layer.BlockHeight}};
  if (!exact)
    object.insert(QStringLiteral("textBytes"),
                  QString::fromLatin1(QByteArray::fromRawData(layer.Text.data(), qsizetype(layer.Text.size())).toBase64()));
  if (layer.Anchor) object.insert(QStringLiteral("anchor"), *layer.Anchor);
  return object;
}

// --- Reading ---

// Reads the parts of a document, each value checked for its type and range; the first value that
// fails ends the reading with a message that says where.
class TReader {
 public:
  [[noreturn]] static void Refuse(const QString& reason) { throw EDocument(reason.toStdString()); }

  static QJsonValue Field(const QJsonObject& object, const char* key, const QString& where) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined()) Refuse(QStringLiteral("%1 has no \"%2\"").arg(where, QLatin1String(key)));
    return value;
  }

  static int64_t Integer(const QJsonValue& value, const char* key, const QString& where, int64_t min, int64_t max) {
    const double number = value.toDouble();
    // The range first: a number beyond 64 bits has no whole number to be cast to.
    if (!value.isDouble() || !(number >= double(min) && number <= double(max)) || number != std::trunc(number))
      Refuse(QStringLiteral("\"%1\" of %2 must be a whole number from %3 to %4, not %5")
                 .arg(QLatin1String(key), where)
                 .arg(min)
                 .arg(max)
                 .arg(Shown(value)));
    return static_cast<int64_t>(number);
  }

  static int64_t Integer(const QJsonObject& object, const char* key, const QString& where, int64_t min,
                         int64_t max) {
    return Integer(Field(object, key, where), key, where, min, max);
  }

  static bool Boolean(const QJsonObject& object, const char* key, const QString& where) {
    const QJsonValue value = Field(object, key, where);
    if (!value.isBool())
      Refuse(QStringLiteral("\"%1\" of %2 must be true or false, not %3").arg(QLatin1String(key), where, Shown(value)));
    return value.toBool();
  }

  static QString String(const QJsonObject& object, const char* key, const QString& where, qsizetype maxLength) {
    const QJsonValue value = Field(object, key, where);
    if (!value.isString())
      Refuse(QStringLiteral("\"%1\" of %2 must be a text, not %3").arg(QLatin1String(key), where, Shown(value)));
    const QString text = value.toString();
    if (text.size() > maxLength)
      Refuse(QStringLiteral("\"%1\" of %2 is longer than %3 characters").arg(QLatin1String(key), where).arg(maxLength));
    return text;
  }

  static QJsonObject Object(const QJsonValue& value, const char* key, const QString& where) {
    if (!value.isObject())
      Refuse(QStringLiteral("\"%1\" of %2 must be an object, not %3").arg(QLatin1String(key), where, Shown(value)));
    return value.toObject();
  }

  static QJsonArray Array(const QJsonValue& value, const char* key, const QString& where) {
    if (!value.isArray())
      Refuse(QStringLiteral("\"%1\" of %2 must be a list, not %3").arg(QLatin1String(key), where, Shown(value)));
    return value.toArray();
  }

  static TColor Color(const QJsonValue& value, const QString& where) {
    if (value.isObject()) return SystemColorRef(
        static_cast<TSystemColor>(Integer(value.toObject(), "system", QStringLiteral("the colour of ") + where, 0, 255)));
    const std::optional<TColor> rgb = value.isString() ? ColorFromHex(value.toString()) : std::nullopt;
    if (!rgb)
      Refuse(QStringLiteral("\"color\" of %1 must be \"#rrggbb\" or {\"system\": number}, not %2").arg(where, Shown(value)));
    return *rgb;
  }

  static TFont Font(const QJsonValue& value, const char* key, const QString& owner) {
    const QJsonObject object = Object(value, key, owner);
    const QString where = QStringLiteral("the font of ") + owner;
    TFont font;
    font.Name = String(object, "face", where, TDocumentLimits::kMaxFaceLength);
    font.Size = static_cast<int>(Integer(object, "size", where, 1, INT32_MAX));
    const QString pitch = String(object, "pitch", where, 16);
    const auto known = std::find_if(std::begin(kPitches), std::end(kPitches),
                                    [&pitch](const char* name) { return pitch == QLatin1String(name); });
    if (known == std::end(kPitches))
      Refuse(QStringLiteral("\"pitch\" of %1 must be \"default\", \"variable\" or \"fixed\", not %2")
                 .arg(where, Quoted(pitch)));
    font.Pitch = static_cast<TFontPitch>(known - std::begin(kPitches));
    font.Style = 0;
    for (const QJsonValue style : Array(Field(object, "styles", where), "styles", where)) {
      const auto it = std::find_if(std::begin(kStyles), std::end(kStyles), [&style](const TStyleName& s) {
        return style.toString() == QLatin1String(s.Name);
      });
      if (!style.isString() || it == std::end(kStyles))
        Refuse(QStringLiteral("\"styles\" of %1 may hold \"bold\", \"italic\", \"underline\" and \"strikeOut\", not %2")
                   .arg(where, Shown(style)));
      font.Style |= it->Style;
    }
    font.Charset = static_cast<uint8_t>(Integer(object, "charset", where, 0, 255));
    font.Color = Color(Field(object, "color", where), where);
    return font;
  }

  // A value as a message shows it, cut short.
  static QString Shown(const QJsonValue& value) {
    switch (value.type()) {
      case QJsonValue::Null: return QStringLiteral("null");
      case QJsonValue::Bool: return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
      case QJsonValue::Double: return QString::number(value.toDouble(), 'g', 17);
      case QJsonValue::String: return Quoted(value.toString());
      case QJsonValue::Array: return QStringLiteral("a list");
      case QJsonValue::Object: return QStringLiteral("an object");
      default: return QStringLiteral("nothing");
    }
  }

  // A text in quotes, cut short, with the characters that would break the reason's line (controls
  // and the line and paragraph separators) written as JSON writes them.
  static QString Quoted(const QString& text) {
    QString quoted(QLatin1Char('"'));
    for (const QChar c : text.left(40)) {
      if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
        quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
      else
        quoted += c;
    }
    if (text.size() > 40) quoted += QChar(0x2026);
    return quoted + QLatin1Char('"');
  }

  [[noreturn]] static void RefuseLongText(const QString& where) {
    Refuse(QStringLiteral("the text of %1 is longer than %2 characters")
               .arg(where)
               .arg(TDocumentLimits::kMaxTextLength));
  }
};

// The parse error's place, as a line and a column from 1.
QString Place(QByteArrayView bytes, qsizetype offset) {
  const QByteArrayView before = bytes.first(std::clamp<qsizetype>(offset, 0, bytes.size()));
  const qsizetype line = before.count('\n') + 1;
  const qsizetype lineStart = before.lastIndexOf('\n') + 1;
  return QStringLiteral("line %1, column %2").arg(line).arg(QString::fromUtf8(before.sliced(lineStart)).size() + 1);
}

void CheckVersion(const QJsonObject& root) {
  if (root.value(QStringLiteral("format")).toString() != QLatin1String(kDocumentFormat))
    TReader::Refuse(QStringLiteral("it is not a ZeltoZelto document"));
  const QJsonValue value = root.value(QStringLiteral("version"));
  static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})\\.(\\d{1,9})$"));
  const QRegularExpressionMatch match = pattern.match(value.toString());
  if (!value.isString() || !match.hasMatch())
    TReader::Refuse(QStringLiteral("its version %1 is not of the form major.minor").arg(TReader::Shown(value)));
  const int major = match.captured(1).toInt();
  if (major > kMajor)
    TReader::Refuse(QStringLiteral("it was made by a newer version of ZeltoZelto (document format %1; this version "
                                   "reads %2.x)")
                        .arg(value.toString())
                        .arg(kMajor));
  if (major < kMajor) TReader::Refuse(QStringLiteral("its version %1 was never written").arg(value.toString()));
}

TZeltoLayerFields ReadLayer(const QJsonValue& value, int index, bool sameCodePage, TDocumentRead& read) {
  const QString where = QStringLiteral("layer %1").arg(index + 1);
  if (!value.isObject()) TReader::Refuse(QStringLiteral("%1 must be an object").arg(where));
  const QJsonObject object = value.toObject();
  TZeltoLayerFields layer;
  layer.Visible = TReader::Boolean(object, "visible", where);
  QStringList lines;
  qsizetype length = 0;
  for (const QJsonValue line : TReader::Array(TReader::Field(object, "text", where), "text", where)) {
    if (!line.isString()) TReader::Refuse(QStringLiteral("\"text\" of %1 must be a list of texts").arg(where));
    length += line.toString().size();
    if (length > TDocumentLimits::kMaxTextLength) TReader::RefuseLongText(where);
    lines.append(line.toString());
  }
  const QJsonValue bytes = object.value(QStringLiteral("textBytes"));
  if (!bytes.isUndefined() && !bytes.isString())
    TReader::Refuse(QStringLiteral("\"textBytes\" of %1 must be a text").arg(where));
  if (sameCodePage && bytes.isString()) {
    const auto decoded = QByteArray::fromBase64Encoding(bytes.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() > 4 * TDocumentLimits::kMaxTextLength)
      TReader::Refuse(QStringLiteral("\"textBytes\" of %1 is no text's bytes").arg(where));
    layer.Text = StoredText(std::string_view(decoded.decoded.constData(), std::size_t(decoded.decoded.size())));
    // Counted as the writer counts them, so that what opens can be saved: a byte that does not
    // convert is a character of its own.
    qsizetype characters = 0;
    for (const std::string_view line : Lines(layer.Text)) characters += TCodePage::System().ToUnicode(line).size();
    if (characters > TDocumentLimits::kMaxTextLength) TReader::RefuseLongText(where);
  } else {
    const TCodePage& codePage = TCodePage::System();
    std::string text;
    bool exact = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
      const std::string line = codePage.FromUnicode(lines[i]);
      exact = exact && codePage.ToUnicode(line) == lines[i];
      if (i > 0) text += kLineBreakMarker;
      text += line;
    }
    if (!exact) read.Unconverted.append(LayerName(index, lines));
    layer.Text = StoredText(text);
  }
  layer.Font = TReader::Font(TReader::Field(object, "font", where), "font", where);
  layer.UseDefaultFont = TReader::Boolean(object, "useDefaultFont", where);
  layer.Left = static_cast<int32_t>(TReader::Integer(object, "left", where, INT32_MIN, INT32_MAX));
  layer.Top = static_cast<int32_t>(TReader::Integer(object, "top", where, INT32_MIN, INT32_MAX));
  layer.LineSpan = static_cast<int32_t>(TReader::Integer(object, "lineSpan", where, -100, 100));
  layer.CharSpan = static_cast<int32_t>(TReader::Integer(object, "charSpan", where, -100, 100));
  if (object.contains(QStringLiteral("blockWidth")))
    layer.BlockWidth = static_cast<int32_t>(TReader::Integer(object, "blockWidth", where, INT32_MIN, INT32_MAX));
  if (object.contains(QStringLiteral("blockHeight")))
    layer.BlockHeight = static_cast<int32_t>(TReader::Integer(object, "blockHeight", where, INT32_MIN, INT32_MAX));
  if (object.contains(QStringLiteral("anchor")))
    layer.Anchor = static_cast<uint8_t>(TReader::Integer(object, "anchor", where, 0, 8));
  return layer;
}

}  // namespace

QByteArray WriteDocument(const TZeltoContent& content, std::span<const int32_t> selection,
                         const QString& recoveryOf) {
  return WriteDocument(content, selection, recoveryOf, TCodePage::System());
}

QByteArray WriteDocument(const TZeltoContent& content, std::span<const int32_t> selection,
                         const QString& recoveryOf, const TCodePage& codePage) {
  if (qsizetype(content.Layers.size()) > TDocumentLimits::kMaxLayers)
    throw EDocument(QStringLiteral("it has %1 layers, more than the %2 a document may hold")
                        .arg(content.Layers.size())
                        .arg(TDocumentLimits::kMaxLayers)
                        .toStdString());
  QJsonArray layers;
  bool anchored = false;
  for (std::size_t i = 0; i < content.Layers.size(); ++i) {
    layers.append(LayerToJson(*content.Layers[i], static_cast<int>(i), codePage));
    anchored = anchored || content.Layers[i]->Anchor.has_value();
  }
  QJsonArray selected;
  for (const int32_t index : selection) selected.append(index);
  QJsonObject root{
      {QStringLiteral("format"), QLatin1String(kDocumentFormat)},
      {QStringLiteral("version"), anchored ? QStringLiteral("1.1") : QStringLiteral("1.0")},
      {QStringLiteral("codePage"), QString::fromStdString(codePage.Name())},
      {QStringLiteral("canvas"),
       QJsonObject{{QStringLiteral("width"), content.Canvas.Width}, {QStringLiteral("height"), content.Canvas.Height}}},
      {QStringLiteral("defaultFont"), FontToJson(content.Canvas.DefaultFont)},
      {QStringLiteral("layers"), layers},
      {QStringLiteral("selection"), selected}};
  if (!recoveryOf.isEmpty()) root.insert(QStringLiteral("recoveryOf"), recoveryOf);
  QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
  if (bytes.size() > TDocumentLimits::kMaxBytes)
    throw EDocument(QStringLiteral("it would take %1 MiB, more than the %2 MiB a document may have")
                        .arg(bytes.size() >> 20)
                        .arg(TDocumentLimits::kMaxBytes >> 20)
                        .toStdString());
  return bytes;
}

TDocumentRead ReadDocument(QByteArrayView bytes) {
  if (bytes.size() > TDocumentLimits::kMaxBytes)
    TReader::Refuse(QStringLiteral("it is larger than the %1 MiB a document may have").arg(TDocumentLimits::kMaxBytes >> 20));
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(bytes.toByteArray(), &error);
  if (error.error != QJsonParseError::NoError) {
    if (!bytes.trimmed().startsWith('{')) TReader::Refuse(QStringLiteral("it is not a ZeltoZelto document"));
    TReader::Refuse(QStringLiteral("it is damaged at %1: %2").arg(Place(bytes, error.offset), error.errorString()));
  }
  if (!json.isObject()) TReader::Refuse(QStringLiteral("it is not a ZeltoZelto document"));
  const QJsonObject root = json.object();
  CheckVersion(root);

  TDocumentRead read;
  TZeltoDocument& document = read.Document;
  const QString canvasWhere = QStringLiteral("the canvas");
  const QJsonObject canvas = TReader::Object(TReader::Field(root, "canvas", QStringLiteral("the document")), "canvas",
                                             QStringLiteral("the document"));
  document.Content.Canvas.Width = static_cast<int32_t>(TReader::Integer(canvas, "width", canvasWhere, 1, TBitmap::kMaxSide));
  document.Content.Canvas.Height = static_cast<int32_t>(TReader::Integer(canvas, "height", canvasWhere, 1, TBitmap::kMaxSide));
  if (int64_t(document.Content.Canvas.Width) * document.Content.Canvas.Height > TBitmap::kMaxPixels)
    TReader::Refuse(QStringLiteral("its canvas of %1 × %2 pixels is more than the %3 megapixels a canvas may have")
                        .arg(document.Content.Canvas.Width)
                        .arg(document.Content.Canvas.Height)
                        .arg(TBitmap::kMaxPixels >> 20));
  document.Content.Canvas.DefaultFont =
      TReader::Font(TReader::Field(root, "defaultFont", QStringLiteral("the document")), "defaultFont",
                    QStringLiteral("the document"));

  const QString codePage = TReader::String(root, "codePage", QStringLiteral("the document"), 64);
  const bool sameCodePage = SameCodePage(codePage, QString::fromStdString(TCodePage::System().Name()));
  const QJsonArray layers =
      TReader::Array(TReader::Field(root, "layers", QStringLiteral("the document")), "layers", QStringLiteral("the document"));
  if (layers.size() > TDocumentLimits::kMaxLayers)
    TReader::Refuse(QStringLiteral("it has %1 layers, more than the %2 a document may hold")
                        .arg(layers.size())
                        .arg(TDocumentLimits::kMaxLayers));
  for (int i = 0; i < layers.size(); ++i)
    document.Content.Layers.push_back(
        std::make_shared<const TZeltoLayerFields>(ReadLayer(layers[i], i, sameCodePage, read)));

  if (root.contains(QStringLiteral("selection"))) {
    std::set<int32_t> seen;
    for (const QJsonValue entry :
         TReader::Array(root.value(QStringLiteral("selection")), "selection", QStringLiteral("the document"))) {
      const auto index = static_cast<int32_t>(
          TReader::Integer(entry, "selection", QStringLiteral("the document"), 0, std::max<int64_t>(layers.size() - 1, 0)));
      if (layers.isEmpty()) TReader::Refuse(QStringLiteral("its selection names layers it does not have"));
      if (!seen.insert(index).second)
        TReader::Refuse(QStringLiteral("its selection names layer %1 twice").arg(index + 1));
      document.Selection.push_back(index);
    }
  }
  if (root.contains(QStringLiteral("recoveryOf")))
    document.RecoveryOf = TReader::String(root, "recoveryOf", QStringLiteral("the document"), 4096);
  return read;
}

TDocumentRead ReadDocumentFile(const QString& path) {
  const TFileRead file = ReadWholeFile(
      path, TDocumentLimits::kMaxBytes, QStringLiteral("the %1 MiB a document may have").arg(TDocumentLimits::kMaxBytes >> 20));
  if (!file.Failure.isEmpty()) throw CannotOpen(path, file.Failure);
  try {
    return ReadDocument(file.Bytes);
  } catch (const EDocument& error) {
    throw CannotOpen(path, QString::fromUtf8(error.what()));
  }
}

EDocument CannotOpen(const QString& path, const QString& reason) {
  return EDocument(QStringLiteral("The document \"%1\" could not be opened: %2")
                       .arg(QDir::toNativeSeparators(path), reason)
                       .toStdString());
}

QStringList FacesInUse(const TZeltoContent& content) {
  QStringList faces{content.Canvas.DefaultFont.Name};
  for (const auto& layer : content.Layers)
    if (!layer->UseDefaultFont && !faces.contains(layer->Font.Name)) faces.append(layer->Font.Name);
  return faces;
}

QStringList MissingFaces(const TZeltoContent& content) {
  QStringList missing = FacesInUse(content);
  missing.removeIf([](const QString& face) { return QFontDatabase::hasFamily(face); });
  return missing;
}
