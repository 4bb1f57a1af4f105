#include "toolkit/CodePage.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <mutex>
#include <cerrno>
#include <cctype>
#include <stdexcept>
#include <utility>

namespace {

bool IsUtf8Name(std::string name) {
  std::string folded;
  for (char c : name)
    if (c != '-' && c != '_') folded += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return folded == "UTF8";
}

class Iconv {
 public:
  Iconv(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::invalid_argument("Unknown code page: " + (IsUtf8Name(to) ? from : to));
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts `in`; a sequence that does not convert is replaced by `replacement`, after
  // skipping `skip(rest)` bytes of it.
  template <typename Skip>
  std::string Convert(std::string_view in, std::string_view replacement, Skip skip) const {
    std::string out;
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    while (srcLeft > 0) {
      char buffer[256];
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const bool converted = iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
      out.append(buffer, dst - buffer);
      if (converted || errno == E2BIG) continue;
      // EILSEQ or EINVAL: an invalid or incomplete sequence.
      const std::size_t n = std::min(srcLeft, skip(std::string_view(src, srcLeft)));
      src += n;
      srcLeft -= n;
      out.append(replacement);
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

  // True when `bytes` on their own are the beginning of a longer sequence.
  bool IsIncomplete(std::string_view bytes) const {
    char buffer[16];
    char* src = const_cast<char*>(bytes.data());
    std::size_t srcLeft = bytes.size();
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const bool incomplete =
        iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) && errno == EINVAL;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return incomplete;
  }

 private:
  iconv_t cd_;
};

std::size_t Utf8SequenceLength(std::string_view rest) {
  const unsigned char b = static_cast<unsigned char>(rest[0]);
  if (b < 0x80) return 1;
  std::size_t n = 1;
  while (n < rest.size() && n < 4 && (static_cast<unsigned char>(rest[n]) & 0xC0) == 0x80) ++n;
  return n;
}

std::shared_ptr<const TCodePage>& SystemOverride() {
  static std::shared_ptr<const TCodePage> codePage;
  return codePage;
}

std::string LocaleCharset() {
  locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  if (!locale) return "UTF-8";
  std::string charset = nl_langinfo_l(CODESET, locale);
  freelocale(locale);
  if (charset.empty() || charset == "ANSI_X3.4-1968" || charset == "ASCII") return "UTF-8";
  return charset;
}

}  // namespace

// An iconv converter keeps state between calls, so threads take turns with it: a command line
// renders on several.
struct TCodePage::Converters {
  Converters(const std::string& name) : toUtf8("UTF-8", name), fromUtf8(name, "UTF-8") {}
  std::mutex turn;
  Iconv toUtf8;
  Iconv fromUtf8;
};

TCodePage::TCodePage(std::string iconvName) : name_(std::move(iconvName)), kind_(Kind::SingleByte) {
  if (IsUtf8Name(name_)) {
    kind_ = Kind::Utf8;
    return;
  }
  converters_ = std::make_shared<Converters>(name_);
  for (int b = 0x80; b <= 0xFF; ++b) {
    const char byte = static_cast<char>(b);
    leadBytes_[b] = converters_->toUtf8.IsIncomplete(std::string_view(&byte, 1));
    if (leadBytes_[b]) kind_ = Kind::DoubleByte;
  }
}

const TCodePage& TCodePage::System() {
  if (const auto& override = SystemOverride()) return *override;
  static const TCodePage locale(LocaleCharset());
  return locale;
}

std::shared_ptr<const TCodePage> TCodePage::SetSystem(std::shared_ptr<const TCodePage> codePage) {
  ++systemGeneration_;
  return std::exchange(SystemOverride(), std::move(codePage));
}

std::size_t TCodePage::Utf8CharLength(std::string_view line, std::size_t pos) const {
  const unsigned char lead = static_cast<unsigned char>(line[pos]);
  std::size_t length;
  unsigned char secondLow = 0x80, secondHigh = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondLow = 0xA0;   // no overlong forms
    if (lead == 0xED) secondHigh = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondLow = 0x90;
    if (lead == 0xF4) secondHigh = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;  // ASCII, or a byte that starts no sequence
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (pos + i == line.size()) return 0;  // cut off by the end of the line
    const unsigned char b = static_cast<unsigned char>(line[pos + i]);
    const bool valid = i == 1 ? (b >= secondLow && b <= secondHigh) : (b & 0xC0) == 0x80;
    if (!valid) return 1;
  }
  return length;
}

QString TCodePage::ToUnicode(std::string_view bytes) const {
  if (kind_ == Kind::Utf8) return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  std::string utf8;
  {
    const std::lock_guard turn(converters_->turn);
    utf8 = converters_->toUtf8.Convert(bytes, "\xEF\xBF\xBD", [](std::string_view) -> std::size_t { return 1; });
  }
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string TCodePage::FromUnicode(const QString& text) const {
  const QByteArray utf8 = text.toUtf8();
  if (kind_ == Kind::Utf8) return utf8.toStdString();
  const std::lock_guard turn(converters_->turn);
  return converters_->fromUtf8.Convert(std::string_view(utf8.constData(), utf8.size()), "?",
                                       Utf8SequenceLength);
}
