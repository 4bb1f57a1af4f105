// The document through the real windows: New, Open, Save and Save As by their keys and buttons,
// the name and unsaved mark in the top strip, the question before changes are lost, bad files,
// fonts that are not installed, a dropped file, and the recovery copies.
#include "tests/panel/PanelFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/CompositionFields.h"
#include "tests/support/HeadlessProgram.h"
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

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cerrno>
#include <functional>
#include <optional>

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

// Saving the changes may write the very file being opened: what opens is what was saved.
TEST_F(DocumentCommandsTest, OpenAsksFirstAndOpensWhatTheAnswerSaved) {
  MakeComposition();
  ASSERT_TRUE(SaveAs("a"));
  TypeInMemo("unsaved");
  const CompositionFields changed = FieldsOf(*Composition);
  ModalAnswer<QMessageBox> question([](QMessageBox& box) {
    EXPECT_EQ(box.text(), "Save changes to \"a.zelto\"?");
    box.button(QMessageBox::Save)->click();
  });
  EXPECT_TRUE(OpenFile("a.zelto"));
  EXPECT_TRUE(question.Opened);
  EXPECT_EQ(FieldsOf(*Composition), changed);
  EXPECT_EQ(Shown(), "a.zelto");
  // Saved once more, the file keeps the change.
  EXPECT_FALSE(Press<QFileDialog>(Qt::CTRL | Qt::Key_S, [](QFileDialog& d) { d.reject(); }));
  EXPECT_EQ(ReadDocument(Contents(Documents() + "/a.zelto")).Document.Content.Layers[1]->Text, "unsaved");
}

// A save that cannot write the whole file says why, and leaves the file that was there and the
// changes unsaved.
TEST_F(DocumentCommandsTest, ASaveThatFailsKeepsTheOldFileAndTheChangesUnsaved) {
  MakeComposition();
  ASSERT_TRUE(SaveAs("a"));
  const QString path = Documents() + "/a.zelto";
  const QByteArray old = Contents(path);
  TypeInMemo("unsaved");
  // A file-size limit below the document's size, as a quota would set.
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit before = limit;
  limit.rlim_cur = 64;
  const auto previousSignal = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  EXPECT_FALSE(Press<QFileDialog>(Qt::CTRL | Qt::Key_S, [](QFileDialog& d) { d.reject(); }));
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, previousSignal);
  ASSERT_EQ(reports.size(), 1);
  EXPECT_EQ(reports[0], QStringLiteral("The document could not be saved as \"%1\": %2").arg(path, qt_error_string(EFBIG)));
  reports.clear();
  EXPECT_EQ(Contents(path), old);
  EXPECT_EQ(Tree(Documents()), QStringList({"a.zelto"}));
  EXPECT_EQ(Shown(), "a.zelto *");
}

TEST_F(DocumentCommandsTest, WithNoChangesClosingAsksNothing) {
  ModalAnswer<QMessageBox> question([](QMessageBox& box) { box.reject(); });
  EXPECT_TRUE(MainForm->close());
  EXPECT_FALSE(question.Opened);
}

// A file that cannot be opened gets one message, naming it and the reason, and the composition
// that was open stays as it was, its steps too.
// A file of `contents` is opened with the dialog; anything else (none, or what `make` makes) as
// from the command line or a drop.
struct BadFileCase {
  const char* name;
  QByteArray contents;  // none: no file at all
  const char* reason;
  // Makes the file instead of `contents`.
  std::function<void(const QString& path)> make = nullptr;
};

// A document of one layer, whose fields `layer` (JSON) replaces.
QByteArray OneLayer(const QByteArray& layer) {
  return R"({"format": "org.zeltozelto.document", "version": "1.0", "codePage": "UTF-8",
             "canvas": {"width": 200, "height": 200},
             "defaultFont": {"face": "DejaVu Sans", "size": 10, "pitch": "default", "styles": [], "charset": 1,
                             "color": "#000000"},
             "layers": [{"visible": true, "text": ["x"], "useDefaultFont": true, "left": 0, "top": 0,
                         "lineSpan": 0, "charSpan": 0,
                         "font": {"face": "DejaVu Sans", "size": 10, "pitch": "default", "styles": [], "charset": 1,
                                  "color": "#000000"}, )" +
         layer + R"(}],
             "selection": []})";
}

class BadFileTest : public DocumentCommandsTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFileTest, IsRefusedWithOneMessageAndChangesNothing) {
  MakeComposition();
  const CompositionFields before = FieldsOf(*Composition);
  const QString path = Documents() + "/bad.zelto";
  if (GetParam().make)
    GetParam().make(path);
  else if (!GetParam().contents.isNull())
    WriteFile(path, GetParam().contents);
  if (GetParam().contents.isNull())
    Guarded([&] { Document().Open(path); });
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
                    "\"canvas\" of the document must be an object, not 5"},
        BadFileCase{"out of range", OneLayer(R"("anchor": 9)"),
                    "\"anchor\" of layer 1 must be a whole number from 0 to 8, not 9"},
        BadFileCase{"text too long", OneLayer(R"("text": [")" + QByteArray(TDocumentLimits::kMaxTextLength + 1, 'x') + R"("])"),
                    "the text of layer 1 is longer than 1048576 characters"},
        // Sparse: its size alone refuses it, before a byte is read.
        BadFileCase{"huge", QByteArray(), "it is larger than the 256 MiB a document may have",
                    [](const QString& path) {
                      QFile file(path);
                      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                      ASSERT_TRUE(file.resize(TDocumentLimits::kMaxBytes + 1));
                    }},
        BadFileCase{"a folder", QByteArray(), "it is a folder",
                    [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
        // A pipe would block the reading until someone writes to it.
        BadFileCase{"a pipe", QByteArray(), "it is not a regular file",
                    [](const QString& path) { ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0); }}),
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
  EXPECT_TRUE(drop.isAccepted());
  // Once the drop is over, so that the program the file came from does not wait on a question.
  EXPECT_EQ(Composition->LayerCount(), 0);
  EXPECT_TRUE(QTest::qWaitFor([] { return Composition->LayerCount() == 2; }));
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
  program.setProcessEnvironment(HeadlessEnvironment());
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

// As a program killed or crashed leaves them: its copy `name`.zelto holding `bytes` (none: no
// copy), and its lock, naming a process that is gone.
void LeaveBehind(const QString& name, const QByteArray& bytes) {
  ASSERT_TRUE(QDir().mkpath(TRecovery::Folder()));
  const QString copy = TRecovery::Folder() + '/' + name + ".zelto";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    QLockFile lock(TRecovery::Folder() + '/' + name + ".lock");
    lock.setStaleLockTime(0);
    bool done = lock.tryLock(0);
    if (!bytes.isNull()) {
      QFile file(copy);
      done = done && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    _exit(done ? 0 : 1);  // killed, as it were: the lock stays
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  ASSERT_TRUE(QFile::exists(TRecovery::Folder() + '/' + name + ".lock"));
}

// The next start offers the copy, and restoring it brings back the composition, unsaved.
TEST_F(DocumentCommandsTest, RestoresTheCopyThatAProgramNoLongerRunningLeftBehind) {
  MakeComposition();
  const CompositionFields left = FieldsOf(*Composition);
  ASSERT_NO_FATAL_FAILURE(LeaveBehind("left-behind", WriteDocument(*Composition->History.Content(),
                                                                   Composition->SelectionIndexes(),
                                                                   Documents() + "/was.zelto")));
  const QString copy = TRecovery::Folder() + "/left-behind.zelto";

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

// The only copy of a user's work goes only once another holds it.
TEST_F(DocumentCommandsTest, ACopyRestoredStaysWhereThisProgramCannotKeepItsOwn) {
  MakeComposition();
  ASSERT_NO_FATAL_FAILURE(
      LeaveBehind("left-behind", WriteDocument(*Composition->History.Content(), Composition->SelectionIndexes())));
  EXPECT_TRUE(Press<QMessageBox>(Qt::CTRL | Qt::Key_N, Answer(QMessageBox::Discard)));
  // A folder where this program's copy would go: no file can be written there.
  ASSERT_TRUE(QDir().mkdir(Document().Recovery().CopyPath()));
  ModalAnswer<QMessageBox> offer([](QMessageBox& box) {
    for (QAbstractButton* button : box.buttons())
      if (button->text() == "&Restore") button->click();
  });
  Guarded([&] { Document().OfferRecovery(); });
  EXPECT_TRUE(offer.Opened);
  EXPECT_EQ(Composition->LayerCount(), 2);
  EXPECT_TRUE(QFile::exists(TRecovery::Folder() + "/left-behind.zelto"));
  // The failure is told at once, and once.
  ASSERT_TRUE(QTest::qWaitFor([this] { return !reports.isEmpty(); }));
  EXPECT_TRUE(reports[0].startsWith("No recovery copy of the unsaved changes can be kept in")) << reports[0].toStdString();
  TypeInMemo("more");
  Document().Recovery().Wait();
  QTest::qWait(TDocument::kRecoveryDelay + 500);
  EXPECT_EQ(reports.size(), 1);
  reports.clear();
  // The state folder serves every test of this program.
  QDir().rmdir(Document().Recovery().CopyPath());
  QFile::remove(TRecovery::Folder() + "/left-behind.zelto");
  QFile::remove(TRecovery::Folder() + "/left-behind.lock");
}

// A copy that cannot be read, of a newer version say, is kept for the user under another name,
// and the next copy is offered.
TEST_F(DocumentCommandsTest, ACopyThatCannotBeReadIsSetAsideAndTheNextOneOffered) {
  MakeComposition();
  const CompositionFields left = FieldsOf(*Composition);
  ASSERT_NO_FATAL_FAILURE(
      LeaveBehind("older", WriteDocument(*Composition->History.Content(), Composition->SelectionIndexes())));
  const QByteArray newer = R"({"format": "org.zeltozelto.document", "version": "2.0"})";
  ASSERT_NO_FATAL_FAILURE(LeaveBehind("newer", newer));
  QFile older(TRecovery::Folder() + "/older.zelto");
  ASSERT_TRUE(older.open(QIODevice::ReadWrite));
  ASSERT_TRUE(older.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
  older.close();
  EXPECT_TRUE(Press<QMessageBox>(Qt::CTRL | Qt::Key_N, Answer(QMessageBox::Discard)));

  QString warning;
  std::optional<ModalAnswer<QMessageBox>> offer;
  ModalAnswer<QMessageBox> unreadable([&](QMessageBox& box) {
    warning = box.informativeText();
    box.accept();
    offer.emplace([](QMessageBox& next) {
      for (QAbstractButton* button : next.buttons())
        if (button->text() == "&Restore") button->click();
    });
  });
  Guarded([&] { Document().OfferRecovery(); });
  EXPECT_TRUE(warning.contains("made by a newer version of ZeltoZelto")) << warning.toStdString();
  EXPECT_TRUE(warning.contains(TRecovery::Folder() + "/newer.unreadable")) << warning.toStdString();
  EXPECT_EQ(Contents(TRecovery::Folder() + "/newer.unreadable"), newer);
  ASSERT_TRUE(offer && offer->Opened);
  EXPECT_EQ(FieldsOf(*Composition), left);
  EXPECT_FALSE(QFile::exists(TRecovery::Folder() + "/newer.lock"));
}

// One that cannot even be renamed stays where it is, for the next start, and nothing else is
// offered meanwhile.
TEST_F(DocumentCommandsTest, ACopyThatCannotBeSetAsideStaysForTheNextStart) {
  const QByteArray newer = R"({"format": "org.zeltozelto.document", "version": "2.0"})";
  ASSERT_NO_FATAL_FAILURE(LeaveBehind("stuck", newer));
  // A folder where the copy would be renamed to.
  ASSERT_TRUE(QDir().mkpath(TRecovery::Folder() + "/stuck.unreadable"));
  QString warning;
  ModalAnswer<QMessageBox> unreadable([&](QMessageBox& box) {
    warning = box.informativeText();
    box.accept();
  });
  Guarded([&] { Document().OfferRecovery(); });
  EXPECT_TRUE(warning.contains(TRecovery::Folder() + "/stuck.zelto")) << warning.toStdString();
  EXPECT_EQ(Contents(TRecovery::Folder() + "/stuck.zelto"), newer);
  QFile::remove(TRecovery::Folder() + "/stuck.zelto");
  QDir(TRecovery::Folder() + "/stuck.unreadable").removeRecursively();
}

// A program killed before its first copy leaves only its lock, which the next start clears away.
TEST_F(DocumentCommandsTest, LocksLeftWithoutACopyAreClearedAway) {
  ASSERT_NO_FATAL_FAILURE(LeaveBehind("no-copy", QByteArray()));
  EXPECT_FALSE(FindLeftBehind().has_value());
  EXPECT_FALSE(QFile::exists(TRecovery::Folder() + "/no-copy.lock"));
  EXPECT_TRUE(QFile::exists(TRecovery::Folder() + '/' + QFileInfo(Document().Recovery().CopyPath()).completeBaseName() +
                            ".lock"))
      << "the lock of the program that runs stays";
}

TEST_F(DocumentCommandsTest, NeverTakesTheCopyOfAProgramThatRuns) {
  TRecovery running;
  running.Keep(Composition->History.Content(), {}, QString());
  running.Wait();
  ASSERT_TRUE(QFile::exists(running.CopyPath()));
  EXPECT_FALSE(FindLeftBehind().has_value());
}

}  // namespace
