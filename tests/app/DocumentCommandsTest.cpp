// The document through the real windows: New, Open, Save and Save As by their keys and buttons,
// the name and unsaved mark in the top strip, the question before changes are lost, bad files,
// fonts that are not installed, a dropped file, and the recovery copies.
#include "tests/panel/PanelFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/CompositionFields.h"
#include "tests/support/UserFiles.h"

#include "app/Document.h"
#include "app/Recovery.h"
#include "model/Document.h"
#include "toolkit/UpDown.h"

#include <QDropEvent>
#include <QLabel>
#include <QLockFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QUrl>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace {

class DocumentCommandsTest : public PanelTest {
 protected:
  DocumentCommandsTest() { EXPECT_TRUE(QDir(home.Path()).mkdir(QStringLiteral("Documents"))); }

  QString Documents() const { return home.Path() + QStringLiteral("/Documents"); }
  TDocument& Document() { return *MainForm->Document; }
  QString Shown() const { return MainForm->LblDocument->text(); }

  // Two layers made as a user makes them, one in a font of its own, aligned, with spans.
  void MakeComposition() {
    ClickAdd();
    TypeInMemo("Hello\nWorld");
    form->BtnCC->click();
    ClickAdd();
    TypeInMemo("second");
    form->UdCharSpan->Step(+1);
    Composition->GetLayer(1).UseDefaultFont = false;
    Composition->GetLayer(1).Font.Style = fsBold;
    RepaintCanvas();
  }

  void ClickAdd() { QTest::mouseClick(form->BtnAdd, Qt::LeftButton); }
  void TypeInMemo(const QString& text) {
    form->MemText->selectAll();
    for (const QChar c : text) {
      if (c == '\n')
        QTest::keyClick(form->MemText, Qt::Key_Return);
      else
        QTest::keyClick(form->MemText, c.toLatin1());
    }
  }

  bool SaveAs(const QString& name) {
    return Press<QFileDialog>(Qt::CTRL | Qt::SHIFT | Qt::Key_S, [&](QFileDialog& d) { TypeName(d, name); });
  }
  bool OpenFile(const QString& name) {
    return Press<QFileDialog>(Qt::CTRL | Qt::Key_O, [&](QFileDialog& d) { TypeName(d, name); });
  }

  static std::function<void(QMessageBox&)> Answer(QMessageBox::StandardButton button) {
    return [button](QMessageBox& box) { box.button(button)->click(); };
  }

  ScopedHome home;
};

TEST_F(DocumentCommandsTest, TheButtonsAndTheNameStandInTheTopStrip) {
  const std::pair<QToolButton*, const char*> buttons[] = {
      {MainForm->BtnNew, "new"}, {MainForm->BtnOpen, "open"}, {MainForm->BtnSaveDocument, "save"},
      {MainForm->BtnSaveAs, "save as"}};
  for (const auto& [button, hint] : buttons) {
    EXPECT_EQ(button->parentWidget(), MainForm->Panel1) << hint;
    EXPECT_EQ(button->toolTip(), hint);
    EXPECT_TRUE(MainForm->Panel1->contentsRect().contains(button->geometry())) << hint;
    for (QWidget* other : MainForm->Panel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (other != button) {
        EXPECT_FALSE(other->geometry().intersects(button->geometry())) << hint;
      }
    }
  }
  EXPECT_EQ(Shown(), "Untitled");
  EXPECT_TRUE(MainForm->Panel1->contentsRect().contains(MainForm->LblDocument->geometry()));
}

TEST_F(DocumentCommandsTest, SaveAsWritesTheDocumentAndOpenBringsItBack) {
  MakeComposition();
  const CompositionFields made = FieldsOf(*Composition);
  const QImage canvas = GrabCanvas();
  ASSERT_TRUE(SaveAs("title-card"));
  const QString path = Documents() + "/title-card.zelto";
  EXPECT_EQ(Tree(Documents()), QStringList({"title-card.zelto"}));
  EXPECT_TRUE(Contents(path).contains(kDocumentFormat));
  EXPECT_EQ(Shown(), "title-card.zelto");

  // Nothing unsaved: New asks nothing.
  EXPECT_FALSE(Press<QMessageBox>(Qt::CTRL | Qt::Key_N, Answer(QMessageBox::Cancel)));
  EXPECT_EQ(Composition->LayerCount(), 0);
  EXPECT_EQ(Composition->CanvasFields(), (TZeltoCanvasFields{200, 200, TFont{}}));
  EXPECT_EQ(form->LBox->Count(), 0);
  EXPECT_EQ(Shown(), "Untitled");

  // Open begins in the documents folder.
  EXPECT_TRUE(Press<QFileDialog>(Qt::CTRL | Qt::Key_O, [](QFileDialog& d) {
    EXPECT_EQ(d.directory().dirName(), "Documents");
    TypeName(d, "title-card.zelto");
  }));
  EXPECT_EQ(FieldsOf(*Composition), made);
  EXPECT_TRUE(GrabCanvas() == canvas);
  EXPECT_EQ(form->LBox->Count(), 2);
  EXPECT_EQ(MarkedRows(), SelectionOrder());
  EXPECT_EQ(form->MemText->toPlainText(), "second");
  EXPECT_FALSE(MainForm->BtnUndo->isEnabled()) << "an opened document starts without steps";
  EXPECT_EQ(Shown(), "title-card.zelto");
}

TEST_F(DocumentCommandsTest, IsMarkedUnsavedFromTheFirstChangeUntilSavedOrUndoneBackToIt) {
  MakeComposition();
  EXPECT_EQ(Shown(), "Untitled *");
  ASSERT_TRUE(SaveAs("a"));
  EXPECT_EQ(Shown(), "a.zelto");
  TypeInMemo("changed");
  EXPECT_EQ(Shown(), "a.zelto *");
  QTest::keyClick(form->MemText, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Shown(), "a.zelto");
  TypeInMemo("again");
  // Ctrl+S saves where the document is, without a dialog.
  EXPECT_FALSE(Press<QFileDialog>(Qt::CTRL | Qt::Key_S, [](QFileDialog& d) { d.reject(); }));
  EXPECT_EQ(Shown(), "a.zelto");
  EXPECT_EQ(ReadDocument(Contents(Documents() + "/a.zelto")).Document.Content.Layers[1]->Text, "again");
}

// Closing the main window, New and Open with unsaved changes ask first.
struct LeaveCase {
  const char* name;
  QMessageBox::StandardButton answer;
  bool left;   // the composition went
  bool saved;  // into the document's file
};

class DocumentLeaveTest : public DocumentCommandsTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(DocumentLeaveTest, ClosingAsksBeforeChangesAreLost) {
  MakeComposition();
  ASSERT_TRUE(SaveAs("a"));
  TypeInMemo("unsaved");
  const CompositionFields before = FieldsOf(*Composition);
  ModalAnswer<QMessageBox> question([&](QMessageBox& box) {
    EXPECT_EQ(box.text(), "Save changes to \"a.zelto\"?");
    box.button(GetParam().answer)->click();
  });
  EXPECT_EQ(MainForm->close(), GetParam().left);
  EXPECT_TRUE(question.Opened);
  EXPECT_EQ(MainForm->isVisible(), !GetParam().left);
  EXPECT_EQ(FieldsOf(*Composition), before);
  EXPECT_EQ(ReadDocument(Contents(Documents() + "/a.zelto")).Document.Content.Layers[1]->Text,
            GetParam().saved ? "unsaved" : "second");
}

TEST_P(DocumentLeaveTest, NewAsksBeforeChangesAreLost) {
  MakeComposition();
  // A document never saved is saved as the user names it.
  ModalAnswer<QFileDialog> name([](QFileDialog& d) { TypeName(d, "named"); });
  EXPECT_TRUE(Press<QMessageBox>(Qt::CTRL | Qt::Key_N, Answer(GetParam().answer)));
  EXPECT_EQ(name.Opened, GetParam().saved);
  EXPECT_EQ(Composition->LayerCount(), GetParam().left ? 0 : 2);
  EXPECT_EQ(QFile::exists(Documents() + "/named.zelto"), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(Answers, DocumentLeaveTest,
                         ::testing::Values(LeaveCase{"cancel", QMessageBox::Cancel, false, false},
                                           LeaveCase{"discard", QMessageBox::Discard, true, false},
                                           LeaveCase{"save", QMessageBox::Save, true, true}),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(DocumentCommandsTest, WithNoChangesClosingAsksNothing) {
  ModalAnswer<QMessageBox> question([](QMessageBox& box) { box.reject(); });
  EXPECT_TRUE(MainForm->close());
  EXPECT_FALSE(question.Opened);
}

// A file that cannot be opened gets one message, naming it and the reason, and the composition
// that was open stays as it was, its steps too.
struct BadFileCase {
  const char* name;
  QByteArray contents;  // none: no file at all
  const char* reason;
};

class BadFileTest : public DocumentCommandsTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFileTest, IsRefusedWithOneMessageAndChangesNothing) {
  MakeComposition();
  const CompositionFields before = FieldsOf(*Composition);
  const QString path = Documents() + "/bad.zelto";
  if (!GetParam().contents.isNull()) WriteFile(path, GetParam().contents);
  if (GetParam().contents.isNull())
    Guarded([&] { Document().Open(path); });  // as from the command line or a drop
  else
    EXPECT_TRUE(OpenFile("bad.zelto"));
  ASSERT_EQ(reports.size(), 1);
  EXPECT_EQ(reports[0], QStringLiteral("The document \"%1\" could not be opened: %2").arg(path, GetParam().reason));
  reports.clear();
  EXPECT_EQ(FieldsOf(*Composition), before);
  EXPECT_TRUE(MainForm->BtnUndo->isEnabled());
  EXPECT_EQ(Shown(), "Untitled *");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadFileTest,
    ::testing::Values(
        BadFileCase{"missing", QByteArray(), "No such file or directory"},
        BadFileCase{"empty", QByteArray(""), "it is not a ZeltoZelto document"},
        BadFileCase{"truncated", QByteArray("{\"format\": \"org.zeltozelto.document\", \"vers"),
                    "it is damaged at line 1, column 44: unterminated string"},
        BadFileCase{"newer", QByteArray(R"({"format": "org.zeltozelto.document", "version": "2.0"})"),
                    "it was made by a newer version of ZeltoZelto (document format 2.0; this version reads 1.x)"},
        BadFileCase{"wrong type",
                    QByteArray(R"({"format": "org.zeltozelto.document", "version": "1.0", "canvas": 5})"),
                    "\"canvas\" of the document must be an object, not 5"}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(DocumentCommandsTest, OneMessageNamesTheFontsThatAreNotInstalled) {
  TZeltoContent content;
  content.Canvas = {120, 80, TFont{}};
  content.Canvas.DefaultFont.Name = QStringLiteral("Nowhere Sans");
  TZeltoLayerFields layer;
  layer.Text = "x";
  layer.UseDefaultFont = false;
  layer.Font.Name = QStringLiteral("Nowhere Serif");
  content.Layers = {std::make_shared<const TZeltoLayerFields>(layer)};
  WriteFile(Documents() + "/fonts.zelto", WriteDocument(content, {}));
  QString notice;
  ModalAnswer<QMessageBox> box([&](QMessageBox& b) {
    notice = b.informativeText();
    b.accept();
  });
  EXPECT_TRUE(OpenFile("fonts.zelto"));
  EXPECT_TRUE(box.Opened);
  EXPECT_TRUE(notice.contains("Nowhere Sans, Nowhere Serif")) << notice.toStdString();
  EXPECT_EQ(Composition->DefaultFont().Name, "Nowhere Sans");
  EXPECT_EQ(Composition->GetLayer(0).Font.Name, "Nowhere Serif");
}

TEST_F(DocumentCommandsTest, ADroppedDocumentOpens) {
  MakeComposition();
  ASSERT_TRUE(SaveAs("dropped"));
  EXPECT_FALSE(Press<QMessageBox>(Qt::CTRL | Qt::Key_N, Answer(QMessageBox::Cancel)));
  ASSERT_EQ(Composition->LayerCount(), 0);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Documents() + "/dropped.zelto")});
  const QPoint at = MainForm->ScrollBox1->geometry().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(MainForm, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(MainForm, &drop);
  EXPECT_EQ(Composition->LayerCount(), 2);
  EXPECT_EQ(Shown(), "dropped.zelto");
}

// The command line renders a document saved from the windows to the very bytes that exporting
// the picture from the windows writes: own fonts, spans, a Japanese line, a hidden layer.
TEST_F(DocumentCommandsTest, TheCommandLineRendersADocumentAsTheWindowsExportIt) {
  MakeComposition();
  ClickAdd();
  TypeInMemo("x");
  form->MemText->setPlainText(QString::fromUtf8("日本語の行\nand a second line"));
  ClickAdd();
  TypeInMemo("hidden");
  Composition->GetLayer(3).Visible = false;
  TZeltoLayer& japanese = Composition->GetLayer(2);
  japanese.UseDefaultFont = false;
  japanese.Font.Name = QStringLiteral("IPAGothic");
  japanese.Font.Size = 14;
  japanese.LineSpan = 3;
  japanese.Top = 60;
  RepaintCanvas();
  ASSERT_TRUE(SaveAs("composed"));
  EXPECT_TRUE(Press<QFileDialog>(Qt::CTRL | Qt::Key_E, [this](QFileDialog& d) { TypeName(d, Documents() + "/windows.png"); }));
  ASSERT_TRUE(QFile::exists(Documents() + "/windows.png"));

  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.remove("DISPLAY");
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(ZELTO_PROGRAM),
                {"--render", Documents() + "/composed.zelto", "-o", Documents() + "/command-line.png"});
  ASSERT_TRUE(program.waitForFinished(60000));
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_EQ(Contents(Documents() + "/command-line.png"), Contents(Documents() + "/windows.png"));
}

// ---- Recovery copies ----

QStringList Copies() {
  return QDir(TRecovery::Folder()).entryList({QStringLiteral("*.zelto")}, QDir::Files);
}

TEST_F(DocumentCommandsTest, KeepsARecoveryCopyOfUnsavedChangesUntilTheyAreSaved) {
  MakeComposition();
  ASSERT_TRUE(SaveAs("kept"));
  TypeInMemo("unsaved");
  ASSERT_TRUE(QTest::qWaitFor([] { return !Copies().isEmpty(); }, 3 * TDocument::kRecoveryDelay));
  Document().Recovery().Wait();
  const TZeltoDocument copy =
      ReadDocument(Contents(TRecovery::Folder() + '/' + Copies().first())).Document;
  EXPECT_EQ(copy.RecoveryOf, Documents() + "/kept.zelto");
  EXPECT_EQ(copy.Content.Layers[1]->Text, "unsaved");
  EXPECT_EQ(copy.Selection, Composition->SelectionIndexes());

  EXPECT_FALSE(Press<QFileDialog>(Qt::CTRL | Qt::Key_S, [](QFileDialog& d) { d.reject(); }));
  Document().Recovery().Wait();
  EXPECT_TRUE(Copies().isEmpty());
}

// A program killed or crashed leaves its copy and its lock, naming a process that is gone; the
// next start offers the copy, and restoring it brings back the composition, unsaved.
TEST_F(DocumentCommandsTest, RestoresTheCopyThatAProgramNoLongerRunningLeftBehind) {
  MakeComposition();
  const QByteArray document = WriteDocument(*Composition->History.Content(), Composition->SelectionIndexes(),
                                            Documents() + "/was.zelto");
  const CompositionFields left = FieldsOf(*Composition);
  ASSERT_TRUE(QDir().mkpath(TRecovery::Folder()));
  const QString copy = TRecovery::Folder() + "/left-behind.zelto";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    QLockFile lock(TRecovery::Folder() + "/left-behind.lock");
    lock.setStaleLockTime(0);
    QFile file(copy);
    const bool done = lock.tryLock(0) && file.open(QIODevice::WriteOnly) && file.write(document) == document.size();
    file.close();
    _exit(done ? 0 : 1);  // killed, as it were: the lock stays
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  ASSERT_TRUE(QFile::exists(TRecovery::Folder() + "/left-behind.lock"));

  EXPECT_TRUE(Press<QMessageBox>(Qt::CTRL | Qt::Key_N, Answer(QMessageBox::Discard)));
  ASSERT_EQ(Composition->LayerCount(), 0);
  ModalAnswer<QMessageBox> offer([](QMessageBox& box) {
    EXPECT_TRUE(box.text().contains("\"was.zelto\"")) << box.text().toStdString();
    for (QAbstractButton* button : box.buttons())
      if (button->text() == "&Restore") button->click();
  });
  Guarded([&] { Document().OfferRecovery(); });
  EXPECT_TRUE(offer.Opened);
  EXPECT_EQ(FieldsOf(*Composition), left);
  EXPECT_EQ(Shown(), "was.zelto *");
  Document().Recovery().Wait();
  EXPECT_FALSE(QFile::exists(copy));
  EXPECT_EQ(Copies().size(), 1) << "this program keeps the changes in a copy of its own";
}

TEST_F(DocumentCommandsTest, NeverTakesTheCopyOfAProgramThatRuns) {
  TRecovery running;
  running.Keep(Composition->History.Content(), {}, QString());
  running.Wait();
  ASSERT_TRUE(QFile::exists(running.CopyPath()));
  EXPECT_FALSE(FindLeftBehind().has_value());
}

}  // namespace
