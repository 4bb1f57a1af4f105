#include "toolkit/TextEngine.h"

#include "toolkit/CodePage.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <memory>
#include <unordered_map>
#include <vector>

namespace {

// Glyphs of one face, placed relative to a character cell's baseline origin.
struct GlyphPiece {
  int face;  // index into FontGlyphs' faces: a character may fall back to another face
  QList<quint32> indexes;
  QList<QPointF> positions;
};

// One character, shaped once.
struct CharGlyphs {
  int32_t width = 0;
  std::vector<GlyphPiece> pieces;
};

// What a font needs for text: everything but the colour, which does not change a glyph.
struct FontKey {
  QString name;
  int size;
  TFontPitch pitch;
  TFontStyles style;
  uint8_t charset;

  explicit FontKey(const TFont& f) : name(f.Name), size(f.Size), pitch(f.Pitch), style(f.Style), charset(f.Charset) {}
  bool operator==(const FontKey&) const = default;
};

struct FontKeyHash {
  std::size_t operator()(const FontKey& k) const {
    return qHash(k.name) ^ (std::size_t(k.size) << 1) ^ (std::size_t(k.style) << 20) ^
           (std::size_t(k.pitch) << 24) ^ (std::size_t(k.charset) << 28);
  }
};

class FontGlyphs {
 public:
  explicit FontGlyphs(const TFont& font) : font_(font.ToQFont()), metrics_(font_) {}

  int32_t Height() const { return metrics_.height(); }
  int32_t Ascent() const { return metrics_.ascent(); }
  bool Underline() const { return font_.underline(); }
  bool StrikeOut() const { return font_.strikeOut(); }
  bool Decorated() const { return Underline() || StrikeOut(); }
  const QRawFont& Face(int index) const { return faces_[index]; }

  int32_t Width(std::string_view bytes, const TCodePage& codePage) {
    if (bytes.size() <= kMaxCharBytes) return Char(bytes, codePage).width;
    return metrics_.horizontalAdvance(codePage.ToUnicode(bytes));
  }

  // A character's glyphs, shaped on first use.
  const CharGlyphs& Char(std::string_view bytes, const TCodePage& codePage) {
    const uint64_t key = CharKey(bytes);
    auto it = chars_.find(key);
    if (it == chars_.end()) it = chars_.emplace(key, Shape(codePage.ToUnicode(bytes))).first;
    return it->second;
  }

  CharGlyphs Shape(const QString& text) {
    CharGlyphs glyphs;
    glyphs.width = metrics_.horizontalAdvance(text);
    QTextLayout layout(text, font_);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return glyphs;
    const QPointF toBaseline(0, -line.ascent());
    for (const QGlyphRun& run : layout.glyphRuns()) {
      GlyphPiece piece{FaceIndex(run.rawFont()), run.glyphIndexes(), run.positions()};
      for (QPointF& p : piece.positions) p += toBaseline;
      glyphs.pieces.push_back(std::move(piece));
    }
    return glyphs;
  }

  static constexpr std::size_t kMaxCharBytes = 4;

 private:
  static uint64_t CharKey(std::string_view bytes) {
    uint64_t key = bytes.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) key |= uint64_t(uint8_t(bytes[i])) << (8 * (i + 1));
    return key;
  }

  int FaceIndex(const QRawFont& face) {
    for (std::size_t i = 0; i < faces_.size(); ++i)
      if (faces_[i] == face) return static_cast<int>(i);
    faces_.push_back(face);
    return static_cast<int>(faces_.size() - 1);
  }

  QFont font_;
  QFontMetrics metrics_;
  std::vector<QRawFont> faces_;
  std::unordered_map<uint64_t, CharGlyphs> chars_;
};

// Glyphs waiting to be painted together: consecutive characters of one face and colour. The
// raster engine blends a run's glyphs one after another, so a run paints the same pixels as
// the characters painted one by one, at a fraction of the cost per call.
class GlyphBatch {
 public:
  bool Matches(const QPainter* painter, const FontGlyphs* font, int face, TColor color) const {
    return painter == painter_ && font == font_ && face == face_ && color == color_;
  }

  void Start(QPainter* painter, const FontGlyphs* font, int face, TColor color) {
    painter_ = painter;
    font_ = font;
    face_ = face;
    color_ = color;
  }

  void Append(const GlyphPiece& piece, const QPointF& origin) {
    indexes_.append(piece.indexes);
    for (const QPointF& p : piece.positions) positions_.append(p + origin);
  }

  void Flush() {
    if (!indexes_.isEmpty()) {
      QGlyphRun run;
      run.setRawFont(font_->Face(face_));
      run.setGlyphIndexes(indexes_);
      run.setPositions(positions_);
      painter_->setPen(ToQColor(color_));  // a system colour is resolved once a run
      painter_->drawGlyphRun(QPointF(0, 0), run);
      indexes_.clear();
      positions_.clear();
    }
    painter_ = nullptr;
    font_ = nullptr;
  }

 private:
  QPainter* painter_ = nullptr;
  const FontGlyphs* font_ = nullptr;
  int face_ = -1;
  TColor color_ = 0;
  QList<quint32> indexes_;
  QList<QPointF> positions_;
};

class RasterTextEngine final : public TTextEngine {
 public:
  int32_t TextWidth(const TFont& font, std::string_view bytes) override {
    return Glyphs(font).Width(bytes, TCodePage::System());
  }

  int32_t TextHeight(const TFont& font, std::string_view) override { return Glyphs(font).Height(); }

  void TextOut(QPainter& painter, int32_t x, int32_t y, const TFont& font, std::string_view bytes) override {
    FontGlyphs& glyphs = Glyphs(font);
    const TCodePage& codePage = TCodePage::System();
    CharGlyphs longText;
    const CharGlyphs* shaped;
    if (bytes.size() <= FontGlyphs::kMaxCharBytes) {
      shaped = &glyphs.Char(bytes, codePage);
    } else {
      longText = glyphs.Shape(codePage.ToUnicode(bytes));
      shaped = &longText;
    }
    if (OffDevice(painter, x, y, shaped->width, glyphs.Height())) return;
    const QPointF origin(x, y + glyphs.Ascent());
    if (glyphs.Decorated()) {
      // An underline or strike-out belongs to each output by itself, broken where spans part
      // the characters, so these are not batched.
      batch_.Flush();
      for (const GlyphPiece& piece : shaped->pieces) DrawDecorated(painter, glyphs, piece, origin, font.Color);
      return;
    }
    for (const GlyphPiece& piece : shaped->pieces) {
      if (!batch_.Matches(&painter, &glyphs, piece.face, font.Color)) {
        batch_.Flush();
        batch_.Start(&painter, &glyphs, piece.face, font.Color);
      }
      batch_.Append(piece, origin);
    }
  }

  void Flush() override { batch_.Flush(); }

 private:
  // A glyph reaches at most a little beyond its cell; a cell farther than two line heights
  // from the device paints nothing there, and is not handed to Qt, whose raster engine cannot
  // place glyphs that far out.
  static bool OffDevice(const QPainter& painter, int64_t x, int64_t y, int64_t width, int64_t height) {
    const QPaintDevice* device = painter.device();
    const int64_t margin = 2 * height + 16;
    return x > device->width() + margin || x + width < -margin || y > device->height() + margin ||
           y + height < -margin;
  }

  static void DrawDecorated(QPainter& painter, const FontGlyphs& glyphs, const GlyphPiece& piece, const QPointF& origin,
                            TColor color) {
    QGlyphRun run;
    run.setRawFont(glyphs.Face(piece.face));
    run.setGlyphIndexes(piece.indexes);
    run.setPositions(piece.positions);
    run.setUnderline(glyphs.Underline());
    run.setStrikeOut(glyphs.StrikeOut());
    painter.setPen(ToQColor(color));
    painter.drawGlyphRun(origin, run);
  }

  FontGlyphs& Glyphs(const TFont& font) {
    // Shaped glyphs belong to the code page they were converted from.
    if (&TCodePage::System() != codePage_) {
      batch_.Flush();
      fonts_.clear();
      last_ = nullptr;
      codePage_ = &TCodePage::System();
    }
    if (last_ && *lastKey_ == FontKey(font)) return *last_;
    FontKey key(font);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
      if (fonts_.size() >= kMaxFonts) {
        batch_.Flush();
        fonts_.clear();
      }
      it = fonts_.emplace(key, std::make_unique<FontGlyphs>(font)).first;
    }
    lastKey_ = &it->first;
    last_ = it->second.get();
    return *last_;
  }

  // Fonts tried out in the font picker come and go; the cache starts over past this many.
  static constexpr std::size_t kMaxFonts = 64;

  std::unordered_map<FontKey, std::unique_ptr<FontGlyphs>, FontKeyHash> fonts_;
  const FontKey* lastKey_ = nullptr;
  FontGlyphs* last_ = nullptr;
  const TCodePage* codePage_ = nullptr;
  GlyphBatch batch_;
};

}  // namespace

TTextEngine& TTextEngine::Raster() {
  static RasterTextEngine engine;
  return engine;
}
