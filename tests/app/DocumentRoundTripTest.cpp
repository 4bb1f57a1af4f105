// Seeded random runs of a user's actions over the real windows, saved as a document and opened
// again at checkpoints: the document gives back every field of every layer, their order, the
// selection in its order, the default font, the canvas size and the canvas's pixels; saving twice
// gives the same bytes, and so does writing what was read. Every other checkpoint goes through
// the keys and the file dialogs a user works, the others through TDocument::Open of a file.
#include "tests/app/UserActions.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/CompositionFields.h"
#include "tests/support/ScopedCodePage.h"
#include "tests/support/UserFiles.h"

#include "app/Document.h"
#include "model/Document.h"

#include <QMessageBox>

#include <cstdio>
#include <functional>

namespace {

constexpr int kActions = 375;
constexpr int kActionsBetweenCheckpoints = 25;

struct RunCase {
  const char* name;
  uint32_t seed;
  const char* codePage;  // the system's, which the document's text is converted from
};

// What the user sees of the composition: its fields, and the canvas at 100%, the zoom being no
// part of the document.
struct Seen {
  CompositionFields fields;
  QImage canvas;
};

class DocumentRoundTripTest : public PanelTest, public ::testing::WithParamInterface<RunCase> {
 protected:
  DocumentRoundTripTest() { EXPECT_TRUE(QDir(home.Path()).mkdir(QStringLiteral("Documents"))); }

  QString Documents() const { return home.Path() + QStringLiteral("/Documents"); }
  TDocument& Document() { return *MainForm->Document; }

  Seen Look() {
    MainForm->SetZoom(TZoom(), QPoint(0, 0));
    return {FieldsOf(*Composition), GrabCanvas()};
  }

  // The composition as it stands, as a document.
  static QByteArray Written() {
    return WriteDocument(*Composition->History.Content(), Composition->SelectionIndexes());
  }

  // The composition that was opened is the one `seen` before, in the list too, and unchanged.
  void ExpectGivesBack(const Seen& seen) {
    EXPECT_EQ(FieldsOf(*Composition), seen.fields);
    EXPECT_TRUE(Look().canvas == seen.canvas) << "the canvas differs";
    EXPECT_EQ(form->LBox->Count(), Composition->LayerCount());
    EXPECT_FALSE(Document().Modified()) << "showing the document changed it";
  }

  // Save As names a new file, Save writes it again, New empties the windows and Open, with the
  // name typed into its dialog, brings the document back.
  void SaveAndOpenByTheKeys(const QString& name) {
    const Seen seen = Look();
    ASSERT_TRUE(Press<QFileDialog>(Qt::CTRL | Qt::SHIFT | Qt::Key_S, [&](QFileDialog& d) { TypeName(d, name); }));
    const QString path = Documents() + '/' + name + ".zelto";
    const QByteArray saved = Contents(path);
    EXPECT_EQ(saved, Written());
    EXPECT_FALSE(Press<QFileDialog>(Qt::CTRL | Qt::Key_S, [](QFileDialog& d) { d.reject(); }));
    EXPECT_EQ(Contents(path), saved) << "saving twice";
    EXPECT_FALSE(Press<QMessageBox>(Qt::CTRL | Qt::Key_N, [](QMessageBox& box) { box.reject(); }))
        << "New asked to save what was saved";
    ASSERT_EQ(Composition->LayerCount(), 0);
    ASSERT_TRUE(Press<QFileDialog>(Qt::CTRL | Qt::Key_O, [&](QFileDialog& d) { TypeName(d, name + ".zelto"); }));
    ExpectGivesBack(seen);
    EXPECT_EQ(Written(), saved) << "writing what was read";
  }

  // The document read as bytes written again, then opened from its file after the unsaved
  // composition was discarded.
  void WriteAndOpen(const QString& name) {
    const Seen seen = Look();
    const QByteArray bytes = Written();
    EXPECT_EQ(Written(), bytes) << "writing twice";
    const TDocumentRead read = ReadDocument(bytes);
    EXPECT_TRUE(read.Unconverted.isEmpty());
    EXPECT_EQ(WriteDocument(read.Document.Content, read.Document.Selection), bytes) << "writing what was read";
    const QString path = Documents() + '/' + name + ".zelto";
    WriteFile(path, bytes);
    {
      ModalAnswer<QMessageBox> discard([](QMessageBox& box) { box.button(QMessageBox::Discard)->click(); });
      Guarded([this] { Document().New(); });
    }
    ASSERT_EQ(Composition->LayerCount(), 0);
    Guarded([&] { Document().Open(path); });
    ExpectGivesBack(seen);
  }

  ScopedHome home;
  ScopedCodePage codePage{GetParam().codePage};
};

TEST_P(DocumentRoundTripTest, EveryCheckpointOpensAsItWasSaved) {
  UserActions actions(GetParam().seed);
  int checkpoints = 0;
  for (int n = 1; n <= kActions; ++n) {
    const std::string step = actions.Act();
    for (int round = 0; round < 2; ++round) QApplication::processEvents();
    ASSERT_TRUE(UserActions::OnlyRunTimeErrors(reports))
        << "action " << n << ": " << step << " reported " << reports.join('\n').toStdString();
    reports.clear();
    if (n % kActionsBetweenCheckpoints != 0) continue;
    SCOPED_TRACE("after action " + std::to_string(n) + ": " + step);
    const QString name = QStringLiteral("checkpoint-%1").arg(n);
    if (++checkpoints % 2 == 1)
      SaveAndOpenByTheKeys(name);
    else
      WriteAndOpen(name);
    ASSERT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();
    if (HasFailure()) break;
  }
  std::printf("%d checkpoints, %d layers at the end\n", checkpoints, Composition->LayerCount());
}

INSTANTIATE_TEST_SUITE_P(Runs, DocumentRoundTripTest,
                         ::testing::Values(RunCase{"utf8 first", 20260301, "UTF-8"},
                                           RunCase{"cp932 first", 20260302, "CP932"},
                                           RunCase{"utf8 second", 20260303, "UTF-8"},
                                           RunCase{"cp932 second", 20260304, "CP932"}),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
