#include "pickers/FontUnit.h"

#include "app/MainUnit.h"
#include "pickers/ColorUnit.h"
#include "pickers/Misc.h"
#include "tests/support/CaseName.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/PrintTo.h"
#include "toolkit/Application.h"
#include "toolkit/CellGrid.h"
#include "toolkit/FontFamilies.h"
#include "toolkit/UpDown.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRowHeight = 14;

QPoint ItemCentre(QListWidget& list, int row) {
  list.scrollToItem(list.item(row));
  return list.visualItemRect(list.item(row)).center();
}

int RowOfCharset(const QListWidget& list, uint8_t charset) {
  for (int row = 0; row < list.count(); ++row)
    if (list.item(row)->data(Qt::UserRole).toUInt() == charset) return row;
  return -1;
}

TFont Font(const char* name, int size, TColor color = clWindowText, TFontStyles style = 0, uint8_t charset = 0) {
  TFont font;
  font.Name = QString::fromUtf8(name);
  font.Size = size;
  font.Color = color;
  font.Style = style;
  font.Charset = charset;
  return font;
}

class FontPicker : public ::testing::Test {
 protected:
  // The colour picker places itself under the main window, so the program's main window
  // exists as it does when the layer panel (here `owner`) opens the font picker.
  void SetUp() override {
    previousReport = SetErrorReport([](const QString& message) { ADD_FAILURE() << "error: " << message.toStdString(); });
    MainForm = new TMainForm;
    owner.setGeometry(100, 80, 300, 200);
    owner.show();
  }
  void TearDown() override {
    delete MainForm;
    MainForm = nullptr;
    SetErrorReport(previousReport);
  }

  // Opens the picker on `font`; `answer` acts on the open dialog and closes it.
  bool Run(TFont& font, std::function<void(TFontForm&)> answer) {
    ModalAnswer<TFontForm> modal(std::move(answer));
    const bool result = ShowFontPicker(&owner, font);
    EXPECT_TRUE(modal.Opened) << "the picker did not open";
    return result;
  }

  QWidget owner;
  TErrorReport previousReport;
};

TEST_F(FontPicker, OpensBesideTheOwnerWithItsLayout) {
  TFont font = Font("DejaVu Sans", 12);
  Run(font, [this](TFontForm& form) {
    const QRect frame = owner.frameGeometry();
    EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(frame.x() + frame.width(), frame.y()));
    EXPECT_EQ(form.size(), QSize(232, 273));
    EXPECT_EQ(form.windowTitle(), "FontForm");
    EXPECT_EQ(form.PBox->size(), QSize(230, 63));
    EXPECT_EQ(QSize(form.PreviewBitmap.Width(), form.PreviewBitmap.Height()), QSize(230, 63));
    EXPECT_EQ(form.PageControl1->tabText(0), "Basic");
    EXPECT_EQ(form.LBox->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(form.LBox->visualItemRect(form.LBox->item(0)).height(), kRowHeight);
    for (QToolButton* button : {form.SbBold, form.SbItalic, form.SbUnderLine, form.SbStrikeOut}) {
      EXPECT_EQ(button->text(), "Aa");
      EXPECT_EQ(button->font().pixelSize(), 13);
    }
    EXPECT_TRUE(form.SbBold->font().bold());
    EXPECT_TRUE(form.SbItalic->font().italic());
    EXPECT_TRUE(form.SbUnderLine->font().underline());
    EXPECT_TRUE(form.SbStrikeOut->font().strikeOut());
    form.BitBtn1->click();
  });
}

TEST_F(FontPicker, ListsTheInstalledFamiliesInOrder) {
  TFont font = Font("DejaVu Sans", 12);
  Run(font, [](TFontForm& form) {
    QListWidget& list = *form.LBox;
    ASSERT_GT(list.count(), 1);
    ASSERT_EQ(list.count(), form.FontNames.size());
    for (int row = 0; row < list.count(); ++row) {
      const QString name = list.item(row)->text();
      const uint8_t charset = static_cast<uint8_t>(list.item(row)->data(Qt::UserRole).toUInt());
      EXPECT_FALSE(name.startsWith('@')) << name.toStdString();
      EXPECT_EQ(name, form.FontNames[row].Name);
      EXPECT_EQ(charset, FamilyCharset(name)) << name.toStdString();
      if (row == 0) continue;
      EXPECT_LE(CompareFontEntries(form.FontNames[row - 1], form.FontNames[row]), 0) << name.toStdString();
    }
    EXPECT_GE(RowOfCharset(list, 128), 0) << "no Japanese family listed";
    form.BitBtn1->click();
  });
}

struct SampleCase {
  uint8_t charset;
  const char* sample;
};

class FontPickerSample : public FontPicker, public ::testing::WithParamInterface<SampleCase> {};

// The user picks a family of each character set with the mouse, then the next one with the
// keyboard; each choice goes into the working font and chooses the sample.
TEST_P(FontPickerSample, FollowsTheChosenFamilysCharset) {
  const SampleCase& c = GetParam();
  TFont font = Font("DejaVu Sans", 12);
  bool found = true;
  Run(font, [&](TFontForm& form) {
    QListWidget& list = *form.LBox;
    const int row = RowOfCharset(list, c.charset);
    found = row >= 0;
    if (found) {
      QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, ItemCentre(list, row));
      EXPECT_EQ(form.SampleText, QString::fromUtf8(c.sample));
      EXPECT_EQ(form.WorkingFont().Name, list.item(row)->text());
      EXPECT_EQ(form.WorkingFont().Charset, c.charset);
      if (row + 1 < list.count()) {
        QTest::keyClick(list.viewport(), Qt::Key_Down);
        EXPECT_EQ(form.WorkingFont().Name, list.item(row + 1)->text());
      }
    }
    form.BitBtn1->click();
  });
  // scripts/setup installs families of each of these character sets.
  EXPECT_TRUE(found) << "no family of character set " << int(c.charset) << " is installed";
}

INSTANTIATE_TEST_SUITE_P(Charsets, FontPickerSample,
                         ::testing::Values(SampleCase{0, "AaBbYyZz012"}, SampleCase{2, "Symbol012"},
                                           SampleCase{128, "Aaあぁアァ亜宇"}),
                         [](const auto& info) { return "charset" + std::to_string(info.param.charset); });

struct SizeCase {
  const char* name;
  int callerSize;
  std::function<void(TFontForm&)> edit;
  QString fieldAfter;
  int sizeAfter;
};

// Types `keys` over the whole text of the size field; no keys: deletes it.
void Retype(TFontForm& form, const char* keys) {
  form.EdtSize->selectAll();
  if (*keys)
    QTest::keyClicks(form.EdtSize, keys);
  else
    QTest::keyClick(form.EdtSize, Qt::Key_Backspace);
}

class FontPickerSize : public FontPicker, public ::testing::WithParamInterface<SizeCase> {};

// Every size the preview is drawn in is recorded, so that a passing 0 shows.
TEST_P(FontPickerSize, FieldAndSpinnerSetTheSize) {
  const SizeCase& c = GetParam();
  TFont font = Font("DejaVu Sans", c.callerSize);
  std::vector<int> drawn;
  const bool ok = Run(font, [&](TFontForm& form) {
    const TPaintBox::TPaintEvent paint = form.PBox->OnPaint;
    form.PBox->OnPaint = [&form, &drawn, paint] {
      drawn.push_back(form.WorkingFont().Size);
      paint();
    };
    c.edit(form);
    EXPECT_EQ(form.EdtSize->text(), c.fieldAfter);
    form.BtnSet->click();
  });
  ASSERT_TRUE(ok);
  EXPECT_EQ(font.Size, c.sizeAfter);
  for (int size : drawn) EXPECT_GE(size, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontPickerSize,
    ::testing::Values(
        SizeCase{"emptied field takes the spinner's position", 12, [](TFontForm& f) { Retype(f, ""); }, "12", 12},
        SizeCase{"typed 0 takes the spinner's position", 12, [](TFontForm& f) { Retype(f, "0"); }, "12", 12},
        SizeCase{"a typed size", 12, [](TFontForm& f) { Retype(f, "36"); }, "36", 36},
        SizeCase{"a typed size above the spinner's range", 12, [](TFontForm& f) { Retype(f, "150"); }, "150", 150},
        SizeCase{"up arrow wraps from 100 to 1", 100,
                 [](TFontForm& f) { QTest::mouseClick(f.UdSize->UpButton(), Qt::LeftButton); }, "1", 1},
        SizeCase{"down arrow wraps from 1 to 100", 1,
                 [](TFontForm& f) { QTest::mouseClick(f.UdSize->DownButton(), Qt::LeftButton); }, "100", 100},
        SizeCase{"up key in the field wraps from 100 to 1", 100,
                 [](TFontForm& f) { QTest::keyClick(f.EdtSize, Qt::Key_Up); }, "1", 1},
        SizeCase{"down key in the field steps", 20,
                 [](TFontForm& f) { QTest::keyClick(f.EdtSize, Qt::Key_Down); }, "19", 19},
        SizeCase{"caller's size above the range is kept", 150, [](TFontForm&) {}, "100", 150},
        SizeCase{"caller's size is kept over a style change", 150,
                 [](TFontForm& f) { QTest::mouseClick(f.SbItalic, Qt::LeftButton); }, "100", 150},
        SizeCase{"caller's size below the range is kept", 0, [](TFontForm&) {}, "1", 0},
        SizeCase{"a spinner step replaces the caller's size", 150,
                 [](TFontForm& f) { QTest::mouseClick(f.UdSize->DownButton(), Qt::LeftButton); }, "99", 99}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(FontPicker, OkWithoutEditsTakesTheListsFaceAndCharset) {
  struct Case {
    const char* callerFace;
    uint8_t callerCharset;
    bool firstEntry;  // the face is not installed: the first list entry takes its place
    const char* face;
    uint8_t charset;
  };
  const Case cases[] = {
      {"ipagothic", 0, false, "IPAGothic", 128},
      {"DEJAVU SANS", 128, false, "DejaVu Sans", 0},
      {"No Such Face", 128, true, nullptr, 0},
  };
  for (const Case& c : cases) {
    TFont font = Font(c.callerFace, 17, RGBToColor(1, 2, 3), fsBold | fsStrikeOut, c.callerCharset);
    TFont expected = font;
    const bool ok = Run(font, [&](TFontForm& form) {
      if (c.firstEntry) {
        expected.Name = form.FontNames.front().Name;
        expected.Charset = form.FontNames.front().Charset;
      } else {
        expected.Name = c.face;
        expected.Charset = c.charset;
      }
      EXPECT_TRUE(form.SbBold->isChecked());
      EXPECT_FALSE(form.SbItalic->isChecked());
      EXPECT_FALSE(form.SbUnderLine->isChecked());
      EXPECT_TRUE(form.SbStrikeOut->isChecked());
      EXPECT_EQ(form.EdtSize->text(), "17");
      form.BtnSet->click();
    });
    EXPECT_TRUE(ok) << c.callerFace;
    EXPECT_EQ(font, expected) << c.callerFace << " came back as " << font.Name.toStdString();
  }
}

TEST_F(FontPicker, EnterConfirmsAndStylesFollowTheButtons) {
  TFont font = Font("DejaVu Sans", 12, clWindowText, fsBold);
  const bool ok = Run(font, [](TFontForm& form) {
    QTest::mouseClick(form.SbBold, Qt::LeftButton);
    QTest::mouseClick(form.SbUnderLine, Qt::LeftButton);
    QTest::mouseClick(form.SbStrikeOut, Qt::LeftButton);
    QTest::mouseClick(form.SbStrikeOut, Qt::LeftButton);
    QTest::keyClick(form.EdtSize, Qt::Key_Return);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(font.Style, fsUnderline);
}

// Clicks yellow in the grid of the colour picker that the font picker's colour button opens,
// and confirms or cancels.
void PickYellowThroughTheColourButton(TFontForm& form, bool confirm) {
  ModalAnswer<TColorForm> answer([confirm](TColorForm& picker) {
    const QRect yellow = picker.SG->visualRect(picker.SG->model()->index(0, 35));
    QTest::mouseClick(picker.SG->viewport(), Qt::LeftButton, {}, yellow.center());
    QTest::mouseClick(confirm ? picker.BitBtn1 : picker.BitBtn2, Qt::LeftButton);
  });
  QTest::mouseClick(form.BtnColor, Qt::LeftButton);
  EXPECT_TRUE(answer.Opened) << "the colour picker did not open";
}

TEST_F(FontPicker, ColourFromTheColourPicker) {
  for (const bool confirm : {true, false}) {
    TFont font = Font("DejaVu Sans", 12, RGBToColor(0, 0, 255));
    const bool ok = Run(font, [confirm](TFontForm& form) {
      int paints = 0;
      form.PBox->OnPaint = [&paints, paint = form.PBox->OnPaint] {
        ++paints;
        paint();
      };
      PickYellowThroughTheColourButton(form, confirm);
      EXPECT_EQ(form.WorkingFont().Color, confirm ? RGBToColor(255, 255, 0) : RGBToColor(0, 0, 255));
      EXPECT_GE(paints, 1) << "the preview is drawn again either way";
      form.BtnSet->click();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(font.Color, confirm ? RGBToColor(255, 255, 0) : RGBToColor(0, 0, 255));
  }
}

TEST_F(FontPicker, CancelEscAndCloseBoxLeaveTheFontAlone) {
  const std::pair<const char*, std::function<void(TFontForm&)>> ways[] = {
      {"Cancel", [](TFontForm& form) { QTest::mouseClick(form.BitBtn1, Qt::LeftButton); }},
      {"Esc", [](TFontForm& form) { QTest::keyClick(&form, Qt::Key_Escape); }},
      {"close box", [](TFontForm& form) { form.close(); }},
  };
  for (const auto& [way, close] : ways) {
    TFont font = Font("DejaVu Sans", 12, RGBToColor(0, 0, 255), fsItalic, 0);
    const TFont original = font;
    const bool ok = Run(font, [&, close = close](TFontForm& form) {
      QListWidget& list = *form.LBox;
      QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, ItemCentre(list, RowOfCharset(list, 128)));
      QTest::mouseClick(form.SbBold, Qt::LeftButton);
      Retype(form, "44");
      PickYellowThroughTheColourButton(form, true);
      const TFont edited = form.WorkingFont();
      EXPECT_EQ(edited.Size, 44);
      EXPECT_EQ(edited.Style, fsBold | fsItalic);
      EXPECT_EQ(edited.Color, RGBToColor(255, 255, 0));
      EXPECT_EQ(edited.Charset, 128);
      close(form);
    });
    EXPECT_FALSE(ok) << way;
    EXPECT_EQ(font, original) << way;
  }
}

// The preview as it should look: the sample centred (rounding toward zero, so by half a pixel
// to the right when it is an odd number of pixels wider than the preview) in the font and its
// colour on white.
QImage ExpectedPreview(const TFont& font, const QString& sample) {
  QImage image(230, 63, QImage::Format_BGR888);
  image.fill(Qt::white);
  const QFont qfont = font.ToQFont();
  const QFontMetrics metrics(qfont);
  const int x = (230 - metrics.horizontalAdvance(sample)) / 2;
  const int y = (63 - metrics.height()) / 2;
  QPainter painter(&image);
  painter.setFont(qfont);
  painter.setPen(ToQColor(font.Color));
  painter.drawText(x, y + metrics.ascent(), sample);
  painter.end();
  return image.convertToFormat(QImage::Format_RGB32);
}

// The smallest size from `from` at which the sample is wider than the preview by an odd
// number of pixels.
int OddOverflowSize(const char* face, const QString& sample, int from) {
  for (int size = from;; ++size) {
    const int excess = QFontMetrics(Font(face, size).ToQFont()).horizontalAdvance(sample) - 230;
    if (excess > 0 && excess % 2 == 1) return size;
  }
}

TEST_F(FontPicker, PreviewShowsTheSampleCentredInTheFontsColour) {
  const QString latin = "AaBbYyZz012";
  const QString japanese = QString::fromUtf8("Aaあぁアァ亜宇");
  struct Case {
    TFont font;
    QString sample;
  };
  const Case cases[] = {
      {Font("DejaVu Sans", 20, RGBToColor(0, 0, 255)), latin},
      {Font("IPAGothic", 14, RGBToColor(200, 0, 0), fsBold), japanese},
      {Font("DejaVu Sans", OddOverflowSize("DejaVu Sans", latin, 30), RGBToColor(0, 128, 0)), latin},
  };
  for (const Case& c : cases) {
    TFont font = c.font;
    Run(font, [&](TFontForm& form) {
      const QImage shown = form.PBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
      TFont expectedFont = c.font;
      expectedFont.Charset = form.WorkingFont().Charset;
      const QImage expected = ExpectedPreview(expectedFont, c.sample);
      EXPECT_TRUE(shown == expected) << c.font.Name.toStdString() << " " << c.font.Size;
      int inked = 0;
      for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) inked += shown.pixel(x, y) == ToQColor(c.font.Color).rgb();
      EXPECT_GT(inked, 10) << "the sample is not drawn in the font's colour";
      form.BitBtn1->click();
    });
  }
}

// Sizes typed far above the spinner's range, confirmed with OK, open again with a working
// dialog: the size field sets the size and the preview is drawn.
TEST_F(FontPicker, AFontOfAnySizeItReturnsOpensAgain) {
  for (const char* typed : {"32768", "40000", "2147483647"}) {
    TFont font = Font("DejaVu Sans", 12);
    ASSERT_TRUE(Run(font, [typed](TFontForm& form) {
      Retype(form, typed);
      form.BtnSet->click();
    }));
    ASSERT_EQ(QString::number(font.Size), typed);
    ASSERT_TRUE(Run(font, [typed](TFontForm& form) {
      EXPECT_EQ(form.EdtSize->text(), "100") << typed;
      EXPECT_EQ(form.WorkingFont().Size, QString(typed).toInt());
      Retype(form, "36");
      EXPECT_EQ(form.WorkingFont().Size, 36) << typed;
      const QImage shown = form.PBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
      EXPECT_TRUE(shown == ExpectedPreview(form.WorkingFont(), "AaBbYyZz012")) << "the preview after " << typed;
      form.BtnSet->click();
    }));
    EXPECT_EQ(font.Size, 36);
  }
}

// Every visible row: its background and the colour of its name, fixed whatever the palette,
// and a dotted outline on the focused row alone.
TEST_F(FontPicker, ListRowsInFixedColoursWithOneFocusOutline) {
  TFont font = Font("DejaVu Sans", 12);
  Run(font, [](TFontForm& form) {
    QListWidget& list = *form.LBox;
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    list.setFocus();
    const int selected = list.currentRow();
    ASSERT_GE(selected, 0);
    const QImage shown = list.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int outlined = 0;
    for (int row = 0; row < list.count(); ++row) {
      const QRect rect = list.visualItemRect(list.item(row)).intersected(shown.rect());
      if (rect.height() < kRowHeight) continue;
      const QRgb back = row == selected ? qRgb(10, 36, 106) : qRgb(255, 255, 255);
      const QRgb text = row == selected ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
      EXPECT_EQ(shown.pixel(rect.right() - 2, rect.top() + 1), back) << "row " << row;
      bool inked = false;
      for (int y = rect.top() + 1; y < rect.bottom(); ++y)
        for (int x = rect.left() + 3; x < rect.left() + 40; ++x) inked |= shown.pixel(x, y) == text;
      EXPECT_TRUE(inked) << "row " << row << " shows no name in its text colour";
      bool dotted = false;
      for (int x = rect.left(); x < rect.left() + 3; ++x) dotted |= shown.pixel(x, rect.top()) != back;
      if (dotted) {
        ++outlined;
        EXPECT_EQ(row, selected);
      }
    }
    EXPECT_EQ(outlined, 1);
    form.BitBtn1->click();
  });
}

TEST_F(FontPicker, FontChangeKeepsTheChosenFamily) {
  TFont font = Font("DejaVu Sans", 12);
  Run(font, [](TFontForm& form) {
    QListWidget& list = *form.LBox;
    const int row = RowOfCharset(list, 128);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, ItemCentre(list, row));
    const QString chosen = list.item(row)->text();
    form.WorkingFont().Name = "elsewhere";
    emit qGuiApp->fontDatabaseChanged();
    ASSERT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.selectedItems().first()->text(), chosen);
    EXPECT_EQ(form.WorkingFont().Name, chosen);
    form.BitBtn1->click();
  });
}

}  // namespace
