#include "toolkit/TextEngine.h"

#include "toolkit/CodePage.h"
#include "toolkit/GlyphStamp.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>

namespace {

// What a font needs for text: everything but the colour, which does not change a glyph.
struct FontKey {
  QString name;
  int size;
  TFontPitch pitch;
  TFontStyles style;
  uint8_t charset;

  explicit FontKey(const TFont& f) : name(f.Name), size(f.Size), pitch(f.Pitch), style(f.Style), charset(f.Charset) {}
  bool operator==(const FontKey&) const = default;

  // Asked for every character: copies of a font share their name's characters, so comparing
  // where they lie mostly settles it.
  bool Matches(const TFont& f) const {
    return size == f.Size && style == f.Style && pitch == f.Pitch && charset == f.Charset &&
           (name.constData() == f.Name.constData() || name == f.Name);
  }
};

struct FontKeyHash {
  std::size_t operator()(const FontKey& k) const {
    return qHash(k.name) ^ (std::size_t(k.size) << 1) ^ (std::size_t(k.style) << 20) ^
           (std::size_t(k.pitch) << 24) ^ (std::size_t(k.charset) << 28);
  }
};

// One character, measured and rendered once.
struct CharGlyphs {
  int32_t width = 0;
  QString text;
  // Left to Qt where kept coverage would not give Qt's pixels: glyphs that Qt fills as outlines,
  // and characters of several glyphs, which blend one after another (their summed coverage
  // would blend differently where two partial coverages meet).
  bool drawnByQt = false;
  TGlyphStamp stamp;
};

class FontGlyphs {
 public:
  explicit FontGlyphs(const TFont& font)
      : key_(font),
        font_(font.ToQFont()),
        metrics_(font_),
        height_(metrics_.height()),
        ascent_(metrics_.ascent()),
        outlines_(DrawnAsOutlines(font_)) {
    if (outlines_) {
      face_ = QRawFont::fromFont(font_);
      const QList<quint32> space = face_.glyphIndexesForString(QStringLiteral(" "));
      emptyGlyph_ = space.value(0);
    }
  }

  const FontKey& Key() const { return key_; }
  const QFont& QtFont() const { return font_; }
  // Kept: Qt looks the font's engine up again at every call, and a text asks at every line.
  int32_t Height() const { return height_; }
  int32_t Ascent() const { return ascent_; }
  int32_t Width(const QString& text) const { return metrics_.horizontalAdvance(text); }

  // A character's width and pixels, made on first use.
  // Qt fills this font's glyphs as outlines (DrawnAsOutlines), which it loads from a FreeType face
  // that every size of the font shares, and their pixels follow the size that the face was last
  // set to, by any text: a layer came out differently before and after a dialog's text in the
  // same face. Rendering an empty glyph at this font's size sets the face to it, so that the
  // outlines Qt draws next come out the same every time.
  void SetFaceSize() const {
    if (outlines_) face_.alphaMapForGlyph(emptyGlyph_);
  }

  const CharGlyphs& Char(std::string_view bytes) {
    std::unique_ptr<CharGlyphs>& slot =
        bytes.size() == 1 ? singleBytes_[static_cast<uint8_t>(bytes[0])] : longer_[CharKey(bytes)];
    if (!slot) slot = Make(TCodePage::System().ToUnicode(bytes));
    return *slot;
  }

  static constexpr std::size_t kMaxCharBytes = 4;

 private:
  static uint64_t CharKey(std::string_view bytes) {
    uint64_t key = bytes.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) key |= uint64_t(uint8_t(bytes[i])) << (8 * (i + 1));
    return key;
  }

  std::unique_ptr<CharGlyphs> Make(const QString& text) const {
    auto glyphs = std::make_unique<CharGlyphs>();
    glyphs->text = text;
    glyphs->width = Width(text);
    if (outlines_ || GlyphCount(text) > 1)
      glyphs->drawnByQt = true;
    else if (auto stamp = TGlyphStamp::Capture(font_, text, glyphs->width))
      glyphs->stamp = std::move(*stamp);
    else
      glyphs->drawnByQt = true;
    return glyphs;
  }

  // Qt's raster engine fills large glyphs as outlines instead of blending them from its glyph
  // cache, and an outline's coverage depends on where it lies; such glyphs are left to Qt.
  static bool DrawnAsOutlines(const QFont& font) {
    static const int largestCached = qEnvironmentVariableIsSet("QT_MAX_CACHED_GLYPH_SIZE")
                                         ? qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE")
                                         : 64;
    return font.pixelSize() >= largestCached;
  }

  int GlyphCount(const QString& text) const {
    QTextLayout layout(text, font_);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int count = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) count += static_cast<int>(run.glyphIndexes().size());
    return count;
  }

  FontKey key_;
  QFont font_;
  QFontMetrics metrics_;
  int32_t height_;
  int32_t ascent_;
  bool outlines_;
  QRawFont face_;  // of outline fonts only
  quint32 emptyGlyph_ = 0;
  std::array<std::unique_ptr<CharGlyphs>, 256> singleBytes_;
  std::unordered_map<uint64_t, std::unique_ptr<CharGlyphs>> longer_;
};

class RasterTextEngine final : public TTextEngine {
 public:
  int32_t TextWidth(const TFont& font, std::string_view bytes) override {
    FontGlyphs& glyphs = Glyphs(font);
    if (bytes.size() > FontGlyphs::kMaxCharBytes) return glyphs.Width(TCodePage::System().ToUnicode(bytes));
    return glyphs.Char(bytes).width;
  }

  int32_t TextHeight(const TFont& font, std::string_view) override { return Glyphs(font).Height(); }

  void TextOut(QPainter& painter, int32_t x, int32_t y, const TFont& font, std::string_view bytes) override {
    FontGlyphs& glyphs = Glyphs(font);
    if (bytes.size() > FontGlyphs::kMaxCharBytes) {
      const QString text = TCodePage::System().ToUnicode(bytes);
      DrawByQt(painter, glyphs, x, y, text, glyphs.Width(text), font.Color);
      return;
    }
    const CharGlyphs& ch = glyphs.Char(bytes);
    const TPixelRows* target = StampTarget(painter);
    if (ch.drawnByQt || !target)
      DrawByQt(painter, glyphs, x, y, ch.text, ch.width, font.Color);
    else
      ch.stamp.Blend(*target, x, y, Argb(font.Color));
  }

  // What was learnt of the painter and of a system colour holds until painting is interrupted.
  void Flush() override {
    targetPainter_ = nullptr;
    resolved_.reset();
  }

 private:
  // Stamps blend the way Qt's raster engine blends glyphs into 32-bit pixels without alpha, at
  // their cell's own pixels; other devices, and a painter that scales, are painted by Qt. The
  // painter keeps its device and its transformation until the next Flush().
  const TPixelRows* StampTarget(QPainter& painter) {
    if (&painter != targetPainter_) {
      targetPainter_ = &painter;
      target_.reset();
      QPaintDevice* device = painter.device();
      if (device->devType() == QInternal::Image && painter.transform().isIdentity()) {
        auto* image = static_cast<QImage*>(device);
        if (image->format() == QImage::Format_RGB32) target_ = TPixelRows::Of(*image);
      }
    }
    return target_ ? &*target_ : nullptr;
  }

  // A glyph reaches at most a little beyond its cell; a cell farther than two line heights
  // from the device paints nothing there, and is not handed to Qt, whose raster engine cannot
  // place glyphs that far out.
  static bool OffDevice(const QPainter& painter, int64_t x, int64_t y, int64_t width, int64_t height) {
    const QPaintDevice* device = painter.device();
    const int64_t margin = 2 * height + 16;
    const QRectF cell = painter.transform().mapRect(
        QRectF(double(x - margin), double(y - margin), double(width + 2 * margin), double(height + 2 * margin)));
    return !cell.intersects(QRectF(0, 0, device->width(), device->height()));
  }

  static void DrawByQt(QPainter& painter, const FontGlyphs& glyphs, int32_t x, int32_t y, const QString& text,
                       int32_t width, TColor color) {
    if (OffDevice(painter, x, y, width, glyphs.Height())) return;
    glyphs.SetFaceSize();
    painter.setFont(glyphs.QtFont());
    painter.setPen(ToQColor(color));
    painter.drawText(QPointF(x, y + glyphs.Ascent()), text);
  }

  uint32_t Argb(TColor color) {
    if (color >= 0) return TGlyphStamp::Argb(color);
    if (!resolved_ || resolved_->first != color) resolved_.emplace(color, TGlyphStamp::Argb(ColorToRGB(color)));
    return resolved_->second;
  }

  // Asked twice a character, mostly for the font asked last.
  FontGlyphs& Glyphs(const TFont& font) {
    if (last_ && generation_ == TCodePage::SystemGeneration() && last_->Key().Matches(font)) return *last_;
    return Find(font);
  }

  Q_NEVER_INLINE FontGlyphs& Find(const TFont& font) {
    // Characters were converted from the code page that was the system's then.
    if (TCodePage::SystemGeneration() != generation_) {
      fonts_.clear();
      generation_ = TCodePage::SystemGeneration();
    }
    FontKey key(font);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
      if (fonts_.size() >= kMaxFonts) fonts_.clear();
      it = fonts_.emplace(std::move(key), std::make_unique<FontGlyphs>(font)).first;
    }
    last_ = it->second.get();
    return *last_;
  }

  // Fonts tried out in the font picker come and go; the cache starts over past this many.
  static constexpr std::size_t kMaxFonts = 64;

  std::unordered_map<FontKey, std::unique_ptr<FontGlyphs>, FontKeyHash> fonts_;
  FontGlyphs* last_ = nullptr;
  uint64_t generation_ = TCodePage::SystemGeneration();
  const QPainter* targetPainter_ = nullptr;
  std::optional<TPixelRows> target_;
  std::optional<std::pair<TColor, uint32_t>> resolved_;
};

}  // namespace

TTextEngine& TTextEngine::Raster() {
  static RasterTextEngine engine;
  return engine;
}

std::unique_ptr<TTextEngine> TTextEngine::NewRaster() { return std::make_unique<RasterTextEngine>(); }
