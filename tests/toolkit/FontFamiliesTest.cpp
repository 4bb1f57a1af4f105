#include "toolkit/FontFamilies.h"

#include <QFontDatabase>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(FontFamilies, CharsetFollowsTheWritingSystems) {
  // Installed with the program's packages: a Japanese gothic and a Latin face.
  EXPECT_EQ(FamilyCharset("IPAGothic"), 128);
  EXPECT_EQ(FamilyCharset("DejaVu Sans"), 0);
  for (const QString& family : QFontDatabase::families(QFontDatabase::Symbol)) {
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) continue;
    EXPECT_EQ(FamilyCharset(family), 2) << family.toStdString();
  }
}

TEST(FontFamilies, ReportsEachFamilyOnceWithoutFoundry) {
  QStringList names;
  EnumFontFamilies([&](const QString& name, uint8_t charset) {
    EXPECT_EQ(charset, FamilyCharset(name)) << name.toStdString();
    names.append(name);
    return 1;
  });
  EXPECT_TRUE(names.contains("DejaVu Sans"));
  EXPECT_TRUE(names.contains("IPAGothic"));
  EXPECT_FALSE(names.contains("Sans Serif"));  // a generic name, not an installed family
  EXPECT_EQ(names.removeDuplicates(), 0);
  for (const QString& name : names) EXPECT_FALSE(name.endsWith(']')) << name.toStdString();
}

TEST(FontFamilies, StopsWhenTheCallbackSaysSo) {
  int calls = 0;
  EnumFontFamilies([&](const QString&, uint8_t) { return ++calls == 2 ? 0 : 1; });
  EXPECT_EQ(calls, 2);
}

}  // namespace
