#include "toolkit/UiFont.h"

#include <QStringList>

namespace {
const QString kUiFace = QStringLiteral("ＭＳ ゴシック");

void InstallSubstitution() {
  // Qt consults substitutes only for a face it cannot find, so this is harmless where the
  // face itself is installed.
  QFont::insertSubstitutions(kUiFace, {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                       QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic")});
}
}  // namespace

TFont UiFont() {
  static const bool substituted = (InstallSubstitution(), true);
  (void)substituted;
  TFont font;
  font.Name = kUiFace;
  font.SetHeight(13);
  font.Charset = SHIFTJIS_CHARSET;
  return font;
}
