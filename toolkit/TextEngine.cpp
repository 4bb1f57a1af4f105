#include "toolkit/TextEngine.h"

#include "toolkit/CodePage.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

#include <memory>
#include <unordered_map>
#include <vector>

namespace {

// The glyphs of one character, shaped once, with the baseline at y = 0.
struct CharGlyphs {
  int32_t width = 0;
  QList<QGlyphRun> runs;
};

// What one font needs for text: everything but the colour, which does not change a glyph.
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

  int32_t Width(std::string_view bytes, const TCodePage& codePage) {
    if (bytes.size() <= kMaxCharBytes) return Glyphs(bytes, codePage).width;
    return metrics_.horizontalAdvance(codePage.ToUnicode(bytes));
  }

  const CharGlyphs& Glyphs(std::string_view bytes, const TCodePage& codePage) {
    const uint64_t key = CharKey(bytes);
    auto it = chars_.find(key);
    if (it == chars_.end()) it = chars_.emplace(key, Shape(codePage.ToUnicode(bytes))).first;
    return it->second;
  }

  // Text longer than one character is shaped each time it is drawn.
  CharGlyphs Shape(const QString& text) const {
    CharGlyphs glyphs;
    glyphs.width = metrics_.horizontalAdvance(text);
    QTextLayout layout(text, font_);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return glyphs;
    const QPointF toBaseline(0, -line.ascent());
    for (QGlyphRun run : layout.glyphRuns()) {
      QList<QPointF> positions = run.positions();
      for (QPointF& p : positions) p += toBaseline;
      run.setPositions(positions);
      run.setUnderline(font_.underline());
      run.setStrikeOut(font_.strikeOut());
      glyphs.runs.append(run);
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

  QFont font_;
  QFontMetrics metrics_;
  std::unordered_map<uint64_t, CharGlyphs> chars_;
};

class RasterTextEngine final : public TTextEngine {
 public:
  int32_t TextWidth(const TFont& font, std::string_view bytes) override {
    return Glyphs(font).Width(bytes, TCodePage::System());
  }

  int32_t TextHeight(const TFont& font, std::string_view) override { return Glyphs(font).Height(); }

  void TextOut(QPainter& painter, int32_t x, int32_t y, const TFont& font, std::string_view bytes) override {
    FontGlyphs& fontGlyphs = Glyphs(font);
    const TCodePage& codePage = TCodePage::System();
    painter.setPen(ToQColor(font.Color));
    const QPointF origin(x, y + fontGlyphs.Ascent());
    if (bytes.size() <= FontGlyphs::kMaxCharBytes) {
      for (const QGlyphRun& run : fontGlyphs.Glyphs(bytes, codePage).runs) painter.drawGlyphRun(origin, run);
    } else {
      for (const QGlyphRun& run : fontGlyphs.Shape(codePage.ToUnicode(bytes)).runs)
        painter.drawGlyphRun(origin, run);
    }
  }

 private:
  FontGlyphs& Glyphs(const TFont& font) {
    // Shaped glyphs belong to the code page they were converted from.
    if (&TCodePage::System() != codePage_) {
      fonts_.clear();
      last_ = nullptr;
      codePage_ = &TCodePage::System();
    }
    if (last_ && lastKey_ && *lastKey_ == FontKey(font)) return *last_;
    FontKey key(font);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
      if (fonts_.size() >= kMaxFonts) fonts_.clear();
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
};

}  // namespace

TTextEngine& TTextEngine::Raster() {
  static RasterTextEngine engine;
  return engine;
}
