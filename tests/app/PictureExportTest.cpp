// Saving and copying the picture from the real windows: the buttons, the keys, the save dialog
// and what reaches the file and the clipboard.
#include "tests/panel/PanelFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/ScopedCodePage.h"
#include "tests/support/UserFiles.h"

#include "app/PictureExport.h"
#include "pickers/ColorUnit.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>

#include <cerrno>
#include <string>

namespace {

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// Moves the choice of file type `steps` entries down the list, with the keys.
void ChooseType(QFileDialog& dialog, int steps) {
  auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  ASSERT_NE(types, nullptr);
  types->setFocus();
  for (int i = 0; i < steps; ++i) QTest::keyClick(types, Qt::Key_Down);
}

class PictureExportTest : public PanelTest {
 protected:
  PictureExportTest() { EXPECT_TRUE(QDir(home.Path()).mkdir(QStringLiteral("Pictures"))); }

  QString Pictures() const { return home.Path() + QStringLiteral("/Pictures"); }

  // A 260 × 180 canvas with layers in two fonts of their own and the default font, in several
  // colours, on several lines, spaced, one hidden and one reaching over the canvas's edge.
  void MakeComposition() {
    MainForm->EditW->setText(QStringLiteral("260"));
    MainForm->EditH->setText(QStringLiteral("180"));
    MakeLayers(
        {"Hello\r\nWorld", "\x93\xFA\x96\x7B\x8C\xEA\r\n\x82\xA0\x82\xA2", "default font", "hidden", "over the edge"});
    const auto own = [](int32_t index, const char* face, int size, TFontStyles style, TColor color) {
      TZeltoLayer& layer = Composition->GetLayer(index);
      layer.UseDefaultFont = false;
      layer.Font.Name = QString::fromUtf8(face);
      layer.Font.Size = size;
      layer.Font.Style = style;
      layer.Font.Color = color;
      return &layer;
    };
    TZeltoLayer* hello = own(0, "DejaVu Sans", 20, fsBold | fsItalic, 0x2814C8);
    hello->LineSpan = 4;
    hello->CharSpan = 2;
    hello->Left = 10;
    hello->Top = 8;
    TZeltoLayer* japanese = own(1, "IPAGothic", 16, fsUnderline, 0x70A000);
    japanese->Left = 140;
    japanese->Top = 20;
    Composition->GetLayer(2).Top = 150;
    Composition->SetLayerVisible(3, false);
    TZeltoLayer* edge = own(4, "DejaVu Sans", 28, 0, 0x0000FF);
    edge->Left = 190;
    edge->Top = 130;
    RepaintCanvas();
  }

  // The composition's bitmap after the last paint, and the canvas on the screen, which agree.
  QImage Painted() const {
    const QImage bitmap = Rgb32(Composition->Bitmap.Image());
    EXPECT_TRUE(bitmap == GrabCanvas()) << "the screen does not show the bitmap";
    return bitmap;
  }

  // Clicks the save button and runs `answer` on the dialog; returns whether the dialog opened.
  bool Save(std::function<void(QFileDialog&)> answer) {
    ModalAnswer<QFileDialog> dialog(std::move(answer));
    QTest::mouseClick(MainForm->BtnSave, Qt::LeftButton);
    return dialog.Opened;
  }

  ScopedHome home;
  ScopedCodePage codePage{"CP932"};
};

TEST_F(PictureExportTest, TheButtonsSitInTheTopStripsFreePart) {
  struct Button {
    QToolButton* button;
    QRect place;
    const char* hint;
  };
  for (const Button& b : {Button{MainForm->BtnSave, QRect(220, 8, 25, 25), "export picture"},
                          Button{MainForm->BtnCopyPicture, QRect(246, 8, 25, 25), "copy picture"}}) {
    EXPECT_EQ(b.button->parentWidget(), MainForm->Panel1) << b.hint;
    EXPECT_EQ(b.button->geometry(), b.place) << b.hint;
    EXPECT_EQ(b.button->toolTip(), b.hint);
    EXPECT_EQ(b.button->iconSize(), QSize(16, 16)) << b.hint;
    EXPECT_FALSE(b.button->icon().isNull()) << b.hint;
    // Clear of the size fields and of the room kept at x 160..210 for two more buttons.
    for (QWidget* field : MainForm->Panel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (field != MainForm->BtnSave && field != MainForm->BtnCopyPicture) {
        EXPECT_FALSE(field->geometry().intersects(b.place)) << b.hint;
      }
    EXPECT_GE(b.place.left(), 211) << b.hint;
  }
  EXPECT_EQ(MainForm->Panel1->height(), 41);
  EXPECT_TRUE(MainForm->Panel1->contentsRect().contains(MainForm->BtnCopyPicture->geometry()));
}

// --- Saving ---

// How the user names the file: the type chosen first (0 PNG, 1 BMP, 2 JPEG), then the name
// typed (none: the suggested one is taken).
struct SaveCase {
  const char* name;
  int type;
  const char* typed;
  const char* written;
  QByteArray format;
};

class PictureSaveTest : public PictureExportTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(PictureSaveTest, WritesTheCanvasInTheChosenType) {
  const SaveCase& c = GetParam();
  MakeComposition();
  const QImage painted = Painted();
  EXPECT_TRUE(Save([&](QFileDialog& dialog) {
    ChooseType(dialog, c.type);
    if (c.typed)
      TypeName(dialog, QString::fromUtf8(c.typed));
    else
      PressEnter(dialog);
  }));
  EXPECT_EQ(Tree(home.Path()), QStringList({"Pictures", QStringLiteral("Pictures/") + c.written}));
  const QString path = Pictures() + '/' + c.written;
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  EXPECT_EQ(reader.format(), c.format);
  const QImage read = reader.read();
  if (c.format == "jpeg")
    EXPECT_EQ(read.size(), QSize(260, 180));
  else
    EXPECT_TRUE(Rgb32(read) == painted) << "the file differs from the canvas";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureSaveTest,
    ::testing::Values(SaveCase{"the suggested name", 0, nullptr, "picture.png", "png"},
                      SaveCase{"the suggested name with bmp chosen", 1, nullptr, "picture.bmp", "bmp"},
                      SaveCase{"no extension", 0, "composition", "composition.png", "png"},
                      SaveCase{"no extension with bmp chosen", 1, "composition", "composition.bmp", "bmp"},
                      SaveCase{"png typed with bmp chosen", 1, "composition.png", "composition.png", "png"},
                      SaveCase{"bmp typed in capitals", 0, "composition.BMP", "composition.BMP", "bmp"},
                      SaveCase{"jpeg typed", 0, "composition.jpeg", "composition.jpeg", "jpeg"},
                      SaveCase{"another extension with jpeg chosen", 2, "composition.v2", "composition.v2.jpg",
                               "jpeg"}),
    [](const auto& info) { return CaseName(info.param.name); });

// The dialog opens in the pictures folder, or at home where there is none; cancelling it
// writes nothing at all, the dialog's own settings included.
struct FolderCase {
  const char* name;
  bool pictures;
};

class PictureFolderTest : public PictureExportTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(PictureFolderTest, TheDialogOpensInThePicturesFolderAndCancelWritesNothing) {
  const FolderCase& c = GetParam();
  if (!c.pictures) {
    ASSERT_TRUE(QDir(Pictures()).removeRecursively());
  }
  const QString folder = c.pictures ? Pictures() : home.Path();
  const QStringList before = Tree(home.Path());
  EXPECT_TRUE(Save([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Save picture");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.directory().absolutePath(), folder);
    EXPECT_EQ(dialog.selectedFiles(), QStringList({folder + "/picture.png"}));
    EXPECT_EQ(dialog.nameFilters(),
              QStringList({"PNG image (*.png)", "BMP image (*.bmp)", "JPEG image (*.jpg *.jpeg)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), "PNG image (*.png)");
    QTest::keyClick(&dialog, Qt::Key_Escape);
  }));
  EXPECT_EQ(Tree(home.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, PictureFolderTest,
                         ::testing::Values(FolderCase{"pictures folder", true}, FolderCase{"home", false}),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(PictureExportTest, SavingWritesNoSettingsOfTheDialog) {
  // The application object has sent Qt's settings where no file can be made.
  EXPECT_TRUE(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName().startsWith("/dev/null"));
  MakeComposition();
  EXPECT_TRUE(Save([](QFileDialog& dialog) { TypeName(dialog, "a.png"); }));
  EXPECT_TRUE(Save([](QFileDialog& dialog) { TypeName(dialog, "b.png"); }));
  EXPECT_EQ(Tree(home.Path()), QStringList({"Pictures", "Pictures/a.png", "Pictures/b.png"}));
}

// A file that is there is replaced only once the dialog's question is answered Yes; the
// question names the file that is really written.
struct ReplaceCase {
  const char* name;
  int type;
  const char* typed;
  const char* existing;
};

class PictureReplaceTest : public PictureExportTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(PictureReplaceTest, AFileIsReplacedOnlyAfterTheDialogAsks) {
  const ReplaceCase& c = GetParam();
  MakeComposition();
  const QString path = Pictures() + '/' + c.existing;
  WriteFile(path, "old");
  const auto answer = [&](QMessageBox::StandardButton button) {
    return ModalAnswer<QMessageBox>([&, button](QMessageBox& box) {
      EXPECT_TRUE(box.text().startsWith(QString::fromUtf8(c.existing) + " already exists")) << box.text().toStdString();
      box.button(button)->click();
    });
  };
  EXPECT_TRUE(Save([&](QFileDialog& dialog) {
    ChooseType(dialog, c.type);
    {
      const auto no = answer(QMessageBox::No);
      TypeName(dialog, QString::fromUtf8(c.typed));
      EXPECT_TRUE(no.Opened);
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Contents(path), "old");
    const auto yes = answer(QMessageBox::Yes);
    PressEnter(dialog);
    EXPECT_TRUE(yes.Opened);
  }));
  EXPECT_TRUE(Rgb32(QImage(path)) == Painted());
  EXPECT_EQ(QDir(Pictures()).entryList(QDir::Files | QDir::Hidden), QStringList({c.existing}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureReplaceTest,
    ::testing::Values(ReplaceCase{"the same name", 0, "composition.png", "composition.png"},
                      ReplaceCase{"a name completed by the type", 0, "composition", "composition.png"},
                      ReplaceCase{"another extension completed", 1, "composition.txt", "composition.txt.bmp"}),
    [](const auto& info) { return CaseName(info.param.name); });

// Where the file cannot be written, for root as well (the tests run as root, to whom file
// permissions mean nothing): under /proc no file can be made, nor in a "folder" that is a
// file. The message names the file and the reason; the file in the way stays as it was, and
// the program goes on.
struct FailureCase {
  const char* name;
  QString (*typed)(const QString& pictures);
  int error;
};

class PictureSaveFailureTest : public PictureExportTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PictureSaveFailureTest, ShowsTheReasonAndChangesNothing) {
  const FailureCase& c = GetParam();
  MakeComposition();
  WriteFile(Pictures() + "/old.png", "old");
  const QString path = c.typed(Pictures());
  EXPECT_TRUE(Save([&](QFileDialog& dialog) { TypeName(dialog, path); }));
  ASSERT_EQ(reports.size(), 1);
  EXPECT_EQ(reports[0], "The picture could not be saved as \"" + path + "\": " + qt_error_string(c.error));
  reports.clear();
  EXPECT_EQ(Contents(Pictures() + "/old.png"), "old");
  EXPECT_EQ(Tree(home.Path()), QStringList({"Pictures", "Pictures/old.png"}));
  // The program goes on: the next save succeeds.
  EXPECT_TRUE(Save([](QFileDialog& dialog) { TypeName(dialog, "new.png"); }));
  EXPECT_TRUE(Rgb32(QImage(Pictures() + "/new.png")) == Painted());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureSaveFailureTest,
    ::testing::Values(FailureCase{"under proc", [](const QString&) { return QStringLiteral("/proc/picture.png"); },
                                  ENOENT},
                      FailureCase{"a file in place of the folder",
                                  [](const QString& pictures) { return pictures + "/old.png/picture.png"; }, ENOTDIR}),
    [](const auto& info) { return CaseName(info.param.name); });

// --- Copying, and the keys ---

// What a key does where the focus is: copy the picture, or, in a text field, the field's
// selected text; or open the save dialog.
enum class Does { CopyPicture, CopyText, OpenSave };

struct KeyCase {
  const char* name;
  QWidget* (*focus)();
  QKeyCombination keys;
  Does does;
};

class PictureKeyTest : public PictureExportTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(PictureKeyTest, WorksInBothWindows) {
  const KeyCase& c = GetParam();
  MakeComposition();
  ClickRow(0);  // the memo shows the first layer's text
  QWidget* focus = c.focus();
  focus->window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(focus->window()));
  focus->setFocus();
  QString selected;
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
    edit->selectAll();
    selected = edit->selectedText();
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(focus)) {
    memo->selectAll();
    selected = memo->toPlainText();
  }
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("before"));
  const QImage painted = Painted();

  ModalAnswer<QFileDialog> dialog([](QFileDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
  QTest::keyClick(focus, c.keys.key(), c.keys.keyboardModifiers());
  EXPECT_EQ(dialog.Opened, c.does == Does::OpenSave);
  switch (c.does) {
    case Does::CopyPicture:
      ASSERT_TRUE(clipboard->mimeData()->hasImage());
      EXPECT_TRUE(Rgb32(clipboard->image()) == painted) << "the clipboard's image differs from the canvas";
      break;
    case Does::CopyText:
      ASSERT_FALSE(selected.isEmpty());
      EXPECT_EQ(clipboard->text(), selected);
      EXPECT_FALSE(clipboard->mimeData()->hasImage());
      break;
    case Does::OpenSave:
      EXPECT_EQ(clipboard->text(), "before");
      EXPECT_EQ(Tree(home.Path()), QStringList({"Pictures"}));
      break;
  }
}

QWidget* Memo() { return LayerForm->MemText; }
QWidget* List() { return LayerForm->LBox; }
QWidget* LineSpan() { return LayerForm->EditLineSpan; }
QWidget* CopyLayerButton() { return LayerForm->BtnCopy; }
QWidget* WidthField() { return MainForm->EditW; }
QWidget* CanvasArea() { return MainForm->ScrollBox1; }

constexpr QKeyCombination kCtrlC = Qt::CTRL | Qt::Key_C;
constexpr QKeyCombination kCtrlShiftC = Qt::CTRL | Qt::SHIFT | Qt::Key_C;
constexpr QKeyCombination kCtrlE = Qt::CTRL | Qt::Key_E;

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureKeyTest,
    ::testing::Values(KeyCase{"ctrl shift c in the memo", Memo, kCtrlShiftC, Does::CopyPicture},
                      KeyCase{"ctrl shift c in the width field", WidthField, kCtrlShiftC, Does::CopyPicture},
                      KeyCase{"ctrl c in the layer list", List, kCtrlC, Does::CopyPicture},
                      KeyCase{"ctrl c on the copy layer button", CopyLayerButton, kCtrlC, Does::CopyPicture},
                      KeyCase{"ctrl c on the canvas", CanvasArea, kCtrlC, Does::CopyPicture},
                      KeyCase{"ctrl c in the memo", Memo, kCtrlC, Does::CopyText},
                      KeyCase{"ctrl c in the width field", WidthField, kCtrlC, Does::CopyText},
                      KeyCase{"ctrl c in the line spacing field", LineSpan, kCtrlC, Does::CopyText},
                      KeyCase{"ctrl e in the memo", Memo, kCtrlE, Does::OpenSave},
                      KeyCase{"ctrl e in the layer list", List, kCtrlE, Does::OpenSave},
                      KeyCase{"ctrl e in the width field", WidthField, kCtrlE, Does::OpenSave}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(PictureExportTest, TheCopyButtonPutsTheCanvasOnTheClipboard) {
  MakeComposition();
  QTest::mouseClick(MainForm->BtnCopyPicture, Qt::LeftButton);
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), QSize(260, 180));
  EXPECT_FALSE(copied.hasAlphaChannel());
  EXPECT_TRUE(Rgb32(copied) == Painted()) << "the clipboard's image differs from the canvas";
}

// The picture is rendered when it is asked for, so it shows a change that the screen has not.
TEST_F(PictureExportTest, ThePictureIsRenderedAfresh) {
  MakeComposition();
  const QImage shown = GrabCanvas();
  Composition->GetLayer(0).Left += 7;
  const QImage picture = Rgb32(CompositionPicture());
  EXPECT_FALSE(picture == shown);
  RepaintCanvas();
  EXPECT_TRUE(picture == GrabCanvas());
}

// While a picker is open the keys do nothing: its own window is no part of the two windows.
TEST_F(PictureExportTest, TheKeysWaitWhileADialogIsOpen) {
  MakeComposition();
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  ModalAnswer<TColorForm> picker([](TColorForm& form) {
    ModalAnswer<QFileDialog> save([](QFileDialog& d) { d.reject(); });
    for (QKeyCombination keys : {kCtrlE, kCtrlShiftC, kCtrlC})
      QTest::keyClick(&form, keys.key(), keys.keyboardModifiers());
    EXPECT_FALSE(save.Opened);
    form.BitBtn2->click();
  });
  QTest::mouseClick(LayerForm->BitBtn2, Qt::LeftButton);
  EXPECT_TRUE(picker.Opened);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
}

}  // namespace
