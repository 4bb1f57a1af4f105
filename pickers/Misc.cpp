#include "pickers/Misc.h"

#include "toolkit/CodePage.h"

#include <string>

// --- The font picker's family list and preview samples ---

int FontEnumProc(const QString& faceName, uint8_t charset, TFontNames& list) {
  if (!faceName.startsWith(QLatin1Char('@'))) list.append({faceName, charset});
  return 1;
}

namespace {
unsigned char FoldAsciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }
}  // namespace

int CompareFontEntries(const TFontEntry& a, const TFontEntry& b) {
  if (a.Charset != b.Charset) return int(a.Charset) - int(b.Charset);
  const std::string x = TCodePage::System().FromUnicode(a.Name);
  const std::string y = TCodePage::System().FromUnicode(b.Name);
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
    const unsigned char cx = FoldAsciiUpper(static_cast<unsigned char>(x[i]));
    const unsigned char cy = FoldAsciiUpper(static_cast<unsigned char>(y[i]));
    if (cx != cy) return int(cx) - int(cy);
  }
  return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

// "Aaあぁアァ亜宇" in Shift-JIS.
const std::array<std::string_view, 3> PreviewSamples = {
    "AaBbYyZz012",
    "Symbol012",
    "\x41\x61\x82\xA0\x82\x9F\x83\x41\x83\x40\x88\x9F\x89\x46",
};
