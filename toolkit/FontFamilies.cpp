#include "toolkit/FontFamilies.h"

#include "toolkit/Font.h"

#include <QFontDatabase>
#include <QSet>

namespace {
// Qt names a family installed by several foundries once per foundry, as "Family [foundry]";
// the family is one family all the same.
QString WithoutFoundry(const QString& name) {
  const qsizetype bracket = name.lastIndexOf(QLatin1String(" ["));
  return bracket > 0 && name.endsWith(QLatin1Char(']')) ? name.left(bracket) : name;
}
}  // namespace

uint8_t FamilyCharset(const QString& family) {
  const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
  if (systems.contains(QFontDatabase::Japanese)) return SHIFTJIS_CHARSET;
  if (systems.contains(QFontDatabase::Symbol)) return SYMBOL_CHARSET;
  return ANSI_CHARSET;
}

void EnumFontFamilies(const TFontFamilyProc& proc) {
  QSet<QString> reported;
  for (const QString& listed : QFontDatabase::families()) {
    // The desktop's generic names ("Sans Serif", "Serif", "Monospace") are listed too, but
    // stand for other families; the database does not count them as installed.
    if (!QFontDatabase::hasFamily(listed)) continue;
    const QString family = WithoutFoundry(listed);
    if (reported.contains(family)) continue;
    reported.insert(family);
    if (proc(family, FamilyCharset(family)) == 0) return;
  }
}
