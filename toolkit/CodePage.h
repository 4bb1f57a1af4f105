#pragma once
// The code page that the program's text bytes are in: how a line is cut into characters
// and how a character's bytes become Unicode for drawing. Conversions go through iconv.
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TCodePage {
 public:
  enum class Kind { SingleByte, DoubleByte, Utf8 };

  // `iconvName` as iconv knows it ("CP932", "UTF-8", "ISO-8859-1", ...). A double-byte code
  // page's lead bytes are the bytes that iconv reports as an incomplete sequence on their own.
  explicit TCodePage(std::string iconvName);

  // The code page of the user's locale (LC_CTYPE). Plain ASCII, the charset of the C locale,
  // is taken as UTF-8, its superset, as Qt does.
  static const TCodePage& System();
  // Replaces the system code page until the next call; for tests. Null restores the locale's.
  // Returns the code page that stood in before (null: none, the locale's was in use).
  static std::shared_ptr<const TCodePage> SetSystem(std::shared_ptr<const TCodePage> codePage);
  // Counts the replacements of the system code page. What was converted from the system code
  // page stays valid while this stays the same; a new code page can take the place in memory of
  // a freed one, so its address tells nothing.
  static uint64_t SystemGeneration() { return systemGeneration_; }

  const std::string& Name() const { return name_; }
  Kind GetKind() const { return kind_; }
  bool IsDoubleByte() const { return kind_ == Kind::DoubleByte; }
  bool IsLeadByte(unsigned char byte) const { return leadBytes_[byte]; }

  // Bytes of the character that starts at `pos` of `line`, or 0 when the bytes left in the
  // line begin a character that the line ends too early to complete (such bytes form no
  // character). `pos` is the first byte of a character.
  // Inline: a text is cut into characters one at a time, and a long one has millions.
  std::size_t CharLength(std::string_view line, std::size_t pos) const {
    const auto byte = static_cast<unsigned char>(line[pos]);
    switch (kind_) {
      case Kind::SingleByte:
        return 1;
      case Kind::DoubleByte:
        if (!leadBytes_[byte]) return 1;
        return pos + 1 < line.size() ? 2 : 0;
      case Kind::Utf8:
        return byte < 0x80 ? 1 : Utf8CharLength(line, pos);
    }
    return 1;
  }

  // Bytes that do not convert show as U+FFFD.
  QString ToUnicode(std::string_view bytes) const;
  // Characters the code page cannot hold become '?'.
  std::string FromUnicode(const QString& text) const;

 private:
  std::size_t Utf8CharLength(std::string_view line, std::size_t pos) const;

  static inline uint64_t systemGeneration_ = 0;

  std::string name_;
  Kind kind_;
  std::array<bool, 256> leadBytes_{};
  struct Converters;
  std::shared_ptr<Converters> converters_;
};
