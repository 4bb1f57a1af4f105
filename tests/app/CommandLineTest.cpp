// The command line through the real program as a process, without a display: every option and
// every error, by its exit code, its standard error and the files it writes.
#include "app/Render.h"
#include "model/Document.h"
#include "tests/support/CaseName.h"
#include "tests/support/PrintTo.h"
#include "tests/support/UserFiles.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Finished {
  int exitCode;
  QByteArray out;
  QString error;  // standard error
};

class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() {
    // A badge: a greeting at the top, centred by its anchor, a title and a line with the row.
    TZeltoContent content;
    content.Canvas = {240, 120, TFont{}};
    TZeltoLayerFields greeting, title, hidden;
    greeting.Text = "Hello {name}!";
    greeting.UseDefaultFont = false;
    greeting.Font.Size = 16;
    greeting.Font.Style = fsBold;
    greeting.Font.Color = 0x2020C0;
    greeting.Anchor = 1;
    title.Text = "{title}\xFF\xFFno. {row}";
    title.Left = 10;
    title.Top = 50;
    title.CharSpan = 1;
    hidden.Text = "not drawn {nowhere}";
    hidden.Visible = false;
    content.Layers = {std::make_shared<const TZeltoLayerFields>(greeting),
                      std::make_shared<const TZeltoLayerFields>(title)};
    WriteFile(Path("badge.zelto"), WriteDocument(content, {}));
    WriteFile(Path("people.csv"),
              "name,title\r\nAda,\"Countess, of Lovelace\"\r\nAlan,\"Says \"\"hi\"\"\"\r\n\"Grace\nHopper\",Admiral\r\n");
  }

  QString Path(const QString& name) const { return folder.filePath(name); }

  // The program with `arguments`, in the test's folder, without a display.
  Finished Start(const QStringList& arguments) const {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder.path());
    program.start(QStringLiteral(ZELTO_PROGRAM), arguments);
    EXPECT_TRUE(program.waitForFinished(60000)) << arguments.join(' ').toStdString();
    return {program.exitCode(), program.readAllStandardOutput(), QString::fromLocal8Bit(program.readAllStandardError())};
  }

  QStringList Files(const QString& sub = QString()) const { return Tree(Path(sub)); }

  QTemporaryDir folder;
};

TEST_F(CommandLineTest, HelpAndVersion) {
  const Finished help = Start({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--render", "--background", "--data", "--rows", "--jobs", "--thumbnail", "-o"})
    EXPECT_TRUE(help.out.contains(option)) << option;
  const Finished version = Start({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "ZeltoZelto " ZELTO_VERSION "\n");
}

TEST_F(CommandLineTest, RendersEachTypeByTheOutputsExtensionAndPngToStandardOutput) {
  for (const char* name : {"a.png", "a.BMP", "a.jpg", "a.jpeg"}) {
    const Finished run = Start({"--render", "badge.zelto", "-o", name});
    EXPECT_EQ(run.exitCode, 0) << name << run.error.toStdString();
    EXPECT_TRUE(run.error.isEmpty()) << run.error.toStdString();
    EXPECT_EQ(QImage(Path(name)).size(), QSize(240, 120)) << name;
  }
  const Finished out = Start({"--render", "badge.zelto", "-o", "-"});
  EXPECT_EQ(out.exitCode, 0);
  EXPECT_EQ(out.out, Contents(Path("a.png")));
}

TEST_F(CommandLineTest, BackgroundsWhiteAnotherColourOrTransparent) {
  ASSERT_EQ(Start({"--render", "badge.zelto", "-o", "plain.png"}).exitCode, 0);
  ASSERT_EQ(Start({"--render", "badge.zelto", "-o", "white.png", "--background", "#FFFFFF"}).exitCode, 0);
  ASSERT_EQ(Start({"--render", "badge.zelto", "-o", "red.png", "--background", "#ff0000"}).exitCode, 0);
  ASSERT_EQ(Start({"--render", "badge.zelto", "-o", "clear.png", "--background", "transparent"}).exitCode, 0);
  EXPECT_EQ(Contents(Path("white.png")), Contents(Path("plain.png")));

  const QImage plain = QImage(Path("plain.png")).convertToFormat(QImage::Format_RGB32);
  const QImage red(Path("red.png"));
  EXPECT_EQ(red.pixelColor(239, 119), QColor(255, 0, 0));
  const QImage clear = QImage(Path("clear.png"));
  ASSERT_TRUE(clear.hasAlphaChannel());
  EXPECT_EQ(qAlpha(clear.pixel(239, 119)), 0);
  // Over white, the transparent picture is the plain one, within one level.
  QImage over(clear.size(), QImage::Format_RGB32);
  over.fill(Qt::white);
  QPainter(&over).drawImage(0, 0, clear);
  int inked = 0, off = 0;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      const QRgb a = plain.pixel(x, y), b = over.pixel(x, y);
      inked += a != qRgb(255, 255, 255);
      off += std::abs(qRed(a) - qRed(b)) > 1 || std::abs(qGreen(a) - qGreen(b)) > 1 || std::abs(qBlue(a) - qBlue(b)) > 1;
    }
  EXPECT_GT(inked, 100) << "the badge has text";
  EXPECT_EQ(off, 0);
}

TEST_F(CommandLineTest, WritesAPicturePerRowNamedByThePattern) {
  const Finished run = Start({"--render", "badge.zelto", "--data", "people.csv", "-o", "badges/{row}-{title}.png"});
  EXPECT_EQ(run.exitCode, 0) << run.error.toStdString();
  EXPECT_EQ(Files("badges"), QStringList({"1-Countess, of Lovelace.png", "2-Says \"hi\".png", "3-Admiral.png"}));
  // {row} has the width of the last row's number.
  QByteArray twelve = "name,title\n";
  for (int i = 1; i <= 12; ++i) twelve += "n" + QByteArray::number(i) + ",t\n";
  WriteFile(Path("twelve.csv"), twelve);
  EXPECT_EQ(Start({"--render", "badge.zelto", "--data", "twelve.csv", "--rows", "8-10", "-o", "{row}.png"}).exitCode, 0);
  // The last slice of a table shared out ends with the table.
  EXPECT_EQ(Start({"--render", "badge.zelto", "--data", "twelve.csv", "--rows", "12-20", "-o", "{row}.png"}).exitCode, 0);
  EXPECT_EQ(Files(), QStringList({"08.png", "09.png", "10.png", "12.png", "badge.zelto", "badges",
                                  "badges/1-Countess, of Lovelace.png", "badges/2-Says \"hi\".png", "badges/3-Admiral.png",
                                  "people.csv", "twelve.csv"}));
}

TEST_F(CommandLineTest, ThePicturesAreTheSameOnAnyNumberOfCores) {
  ASSERT_EQ(Start({"--render", "badge.zelto", "--data", "people.csv", "-o", "one/{row}.png", "--jobs", "1"}).exitCode, 0);
  ASSERT_EQ(Start({"--render", "badge.zelto", "--data", "people.csv", "-o", "three/{row}.png", "--jobs", "3"}).exitCode, 0);
  for (const char* name : {"1.png", "2.png", "3.png"})
    EXPECT_EQ(Contents(Path("one/") + name), Contents(Path("three/") + name)) << name;
  EXPECT_NE(Contents(Path("one/1.png")), Contents(Path("one/2.png"))) << "each row its own picture";
}

// Values from the table never write outside the pattern's folder, nor over each other: such rows
// fail, each with a message of one line, and the others are written.
TEST_F(CommandLineTest, ARowWhoseNameIsUnsafeFailsAndTheOthersAreWritten) {
  QByteArray table = "name,title\n";
  for (const QByteArray& name : {QByteArray("ok"), QByteArray("../escape"), QByteArray("a/b"), QByteArray("-rf"),
                                 QByteArray(300, 'x'), QByteArray("dup"), QByteArray("dup"), QByteArray("nul\0x", 5),
                                 QByteArray("\"line\nbreak\"")})
    table += name + ",t\n";
  WriteFile(Path("unsafe.csv"), table);
  const QStringList before = Files();
  const Finished run = Start({"--render", "badge.zelto", "--data", "unsafe.csv", "-o", "out/{name}.png"});
  EXPECT_EQ(run.exitCode, 1);
  const QStringList lines = run.error.split('\n', Qt::SkipEmptyParts);
  const QStringList expected = {
      "ZeltoZelto: unsafe.csv: row 2: the value \u201c../escape\u201d of column \u201cname\u201d holds a \"/\", which "
      "would name another folder",
      "ZeltoZelto: unsafe.csv: row 3: the value \u201ca/b\u201d of column \u201cname\u201d holds a \"/\", which would "
      "name another folder",
      "ZeltoZelto: unsafe.csv: row 4: the value \u201c-rf\u201d of column \u201cname\u201d begins with \"-\"",
      "ZeltoZelto: unsafe.csv: row 5: its picture's name is longer than the 255 bytes a name may have",
      "ZeltoZelto: unsafe.csv: row 7: it would write \u201cout/dup.png\u201d, as an earlier row does",
      "ZeltoZelto: unsafe.csv: row 8: the value \u201cnul\\x00x\u201d of column \u201cname\u201d holds a NUL",
      "ZeltoZelto: unsafe.csv: row 9: the value \u201cline\\nbreak\u201d of column \u201cname\u201d holds a line break or "
      "another control character"};
  EXPECT_EQ(lines, expected) << run.error.toStdString();
  EXPECT_EQ(Files("out"), QStringList({"dup.png", "ok.png"}));
  QStringList after = before + QStringList({"out", "out/dup.png", "out/ok.png"});
  after.sort();
  EXPECT_EQ(Files(), after);
}

struct UsageCase {
  const char* name;
  QStringList arguments;
  const char* message;  // the first line of standard error
};

class CommandLineUsageTest : public CommandLineTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CommandLineUsageTest, IsRefusedWithExitCodeTwoAndWritesNothing) {
  WriteFile(Path("broken.zelto"), "{\"format\": \"org.zeltozelto.document\", \"version\": \"9.0\"}");
  WriteFile(Path("ragged.csv"), "name,title\nAda\n");
  const QStringList before = Files();
  const Finished run = Start(GetParam().arguments);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.error.split('\n').value(0), QString::fromUtf8(GetParam().message));
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_EQ(Files(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineUsageTest,
    ::testing::Values(
        UsageCase{"unknown option", {"--bogus"}, "ZeltoZelto: Unknown option 'bogus'."},
        UsageCase{"render without an output", {"--render", "badge.zelto"},
                  "ZeltoZelto: --render needs -o OUT, where the picture goes"},
        UsageCase{"an output without render", {"-o", "a.png"}, "ZeltoZelto: --output goes with --render"},
        UsageCase{"an output of no picture type", {"--render", "badge.zelto", "-o", "a.gif"},
                  "ZeltoZelto: -o a.gif ends in none of the picture types (.png, .bmp, .jpg)"},
        UsageCase{"a bad background", {"--render", "badge.zelto", "-o", "a.png", "--background", "red"},
                  "ZeltoZelto: --background is \"transparent\" or #rrggbb, not \"red\""},
        UsageCase{"transparent jpeg", {"--render", "badge.zelto", "-o", "a.jpg", "--background", "transparent"},
                  "ZeltoZelto: a transparent background needs a PNG picture"},
        UsageCase{"no jobs", {"--render", "badge.zelto", "-o", "a.png", "--jobs", "0"},
                  "ZeltoZelto: --jobs takes a whole number from 1 to 1024, not \"0\""},
        UsageCase{"rows without data", {"--render", "badge.zelto", "-o", "a.png", "--rows", "1-2"},
                  "ZeltoZelto: --rows goes with --data"},
        UsageCase{"rows backwards", {"--render", "badge.zelto", "--data", "people.csv", "-o", "{row}.png", "--rows", "3-2"},
                  "ZeltoZelto: --rows takes FROM-TO, data rows from 1, not \"3-2\""},
        UsageCase{"rows beyond the table",
                  {"--render", "badge.zelto", "--data", "people.csv", "-o", "{row}.png", "--rows", "4-6"},
                  "ZeltoZelto: --rows 4-6: people.csv has 3 data rows"},
        UsageCase{"data to standard output", {"--render", "badge.zelto", "--data", "people.csv", "-o", "-"},
                  "ZeltoZelto: with --data, -o names the pictures' files, not \"-\""},
        UsageCase{"no such document", {"--render", "none.zelto", "-o", "a.png"},
                  "ZeltoZelto: The document \"none.zelto\" could not be opened: No such file or directory"},
        UsageCase{"a newer document", {"--render", "broken.zelto", "-o", "a.png"},
                  "ZeltoZelto: The document \"broken.zelto\" could not be opened: it was made by a newer version of "
                  "ZeltoZelto (document format 9.0; this version reads 1.x)"},
        UsageCase{"no such table", {"--render", "badge.zelto", "--data", "none.csv", "-o", "{row}.png"},
                  "ZeltoZelto: none.csv: No such file or directory"},
        UsageCase{"a ragged table", {"--render", "badge.zelto", "--data", "ragged.csv", "-o", "{row}.png"},
                  "ZeltoZelto: ragged.csv: line 2, column 1: data row 1 has 1 value where the header has 2 names"},
        UsageCase{"a column the output names but the table has not",
                  {"--render", "badge.zelto", "--data", "people.csv", "-o", "{nme}.png"},
                  "ZeltoZelto: people.csv: the output's name names the column \u201cnme\u201d, which the table does not "
                  "have"},
        UsageCase{"a placeholder in the output's folder",
                  {"--render", "badge.zelto", "--data", "people.csv", "-o", "{name}/x.png"},
                  "ZeltoZelto: people.csv: only the file name of the output may hold placeholders, not its folder"},
        UsageCase{"thumbnail without the output", {"--thumbnail", "64", "badge.zelto"},
                  "ZeltoZelto: --thumbnail SIZE takes a document and the PNG to write"}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(CommandLineTest, ALayersPlaceholderNamingNoColumnIsRefusedBeforeAnythingIsWritten) {
  WriteFile(Path("titles.csv"), "title\nEngineer\n");
  const Finished run = Start({"--render", "badge.zelto", "--data", "titles.csv", "-o", "{row}.png"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.error, "ZeltoZelto: titles.csv: layer 1 names the column \u201cname\u201d, which the table does not "
                       "have\n");
  EXPECT_FALSE(QFile::exists(Path("1.png")));
}

TEST_F(CommandLineTest, AThumbnailFitsItsSize) {
  ASSERT_EQ(Start({"--thumbnail", "64", "badge.zelto", "thumb"}).exitCode, 0);
  const QImage thumbnail(Path("thumb"), "PNG");
  EXPECT_EQ(thumbnail.size(), QSize(64, 32));
  ASSERT_EQ(Start({"--thumbnail", "1000", "badge.zelto", "big.png"}).exitCode, 0);
  EXPECT_EQ(QImage(Path("big.png")).size(), QSize(240, 120)) << "a picture that fits stays as it is";
}

}  // namespace
