// The command line through the real program as a process, without a display: every option and
// every error, by its exit code, its standard error and the files it writes.
#include "app/Render.h"
#include "model/Document.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessProgram.h"
#include "tests/support/PrintTo.h"
#include "tests/support/UserFiles.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
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
    TZeltoLayerFields greeting, title;
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
    content.Layers = {std::make_shared<const TZeltoLayerFields>(greeting),
                      std::make_shared<const TZeltoLayerFields>(title)};
    WriteFile(Path("badge.zelto"), WriteDocument(content, {}));
    WriteFile(Path("people.csv"),
              "name,title\r\nAda,\"Countess, of Lovelace\"\r\nAlan,\"Says \"\"hi\"\"\"\r\n\"Grace\nHopper\",Admiral\r\n");
  }

  QString Path(const QString& name) const { return folder.filePath(name); }

  // The program with `arguments`, in the test's folder, without a display; `prepare` readies the
  // process before it starts.
  Finished Start(const QStringList& arguments, const std::function<void(QProcess&)>& prepare = {}) const {
    QProcess program;
    program.setProcessEnvironment(HeadlessEnvironment());
    program.setWorkingDirectory(folder.path());
    if (prepare) prepare(program);
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
  for (const char* option : {"--render <FILE.zelto>", "-o, --output <OUT>", "--background <COLOUR>", "--data <TABLE.csv>",
                             "--rows <FROM-TO>", "--jobs <N>", "--thumbnail <SIZE>"})
    EXPECT_TRUE(help.out.contains(option)) << option << "\n" << help.out.toStdString();
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
// fail, each with a message of one line naming the column, and the others are written. A name
// must leave room for the temporary name's ".XXXXXX" within the file system's 255 bytes.
TEST_F(CommandLineTest, ARowWhoseNameIsUnsafeFailsAndTheOthersAreWritten) {
  QByteArray table = "name,title\n";
  for (const QByteArray& name : {QByteArray("ok"), QByteArray("../escape"), QByteArray("a/b"), QByteArray("-rf"),
                                 QByteArray(300, 'x'), QByteArray("dup"), QByteArray("dup"), QByteArray("nul\0x", 5),
                                 QByteArray("\"line\nbreak\""), QByteArray(".."), QByteArray(255 - 7 - 4, 'l'),
                                 QByteArray(255 - 7 - 4 + 1, 'm')})
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
      "ZeltoZelto: unsafe.csv: row 5: with column \u201cname\u201d, its picture's name is longer than the 248 bytes "
      "a picture's name may have here (7 fewer than a file's, for the temporary name written first)",
      "ZeltoZelto: unsafe.csv: row 7: with column \u201cname\u201d, it would write \u201cout/dup.png\u201d, as an "
      "earlier row does",
      "ZeltoZelto: unsafe.csv: row 8: the value \u201cnul\\x00x\u201d of column \u201cname\u201d holds a NUL",
      "ZeltoZelto: unsafe.csv: row 9: the value \u201cline\\nbreak\u201d of column \u201cname\u201d holds a line break or "
      "another control character",
      "ZeltoZelto: unsafe.csv: row 10: the value \u201c..\u201d of column \u201cname\u201d holds \"..\", which would "
      "name another folder",
      "ZeltoZelto: unsafe.csv: row 12: with column \u201cname\u201d, its picture's name is longer than the 248 bytes "
      "a picture's name may have here (7 fewer than a file's, for the temporary name written first)"};
  EXPECT_EQ(lines, expected) << run.error.toStdString();
  const QString longest = QString(244, 'l') + ".png";
  EXPECT_EQ(Files("out"), QStringList({"dup.png", longest, "ok.png"}));
  QStringList after = before + QStringList({"out", "out/dup.png", "out/" + longest, "out/ok.png"});
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
  // A byte more than a table may have, in a file with holes; a folder; a pipe no one writes.
  QFile big(Path("big.csv"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  ASSERT_TRUE(big.resize((qint64(256) << 20) + 1));
  big.close();
  ASSERT_TRUE(QDir(folder.path()).mkdir("tables"));
  ASSERT_EQ(mkfifo(QFile::encodeName(Path("pipe.csv")).constData(), 0600), 0);
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
                  "ZeltoZelto: --thumbnail SIZE takes a document and the PNG to write"},
        UsageCase{"an output of no type at all", {"--render", "badge.zelto", "-o", "picture"},
                  "ZeltoZelto: -o picture ends in none of the picture types (.png, .bmp, .jpg)"},
        UsageCase{"a pattern whose written extension is no picture type",
                  {"--render", "badge.zelto", "--data", "people.csv", "-o", "out/{row}-{name}.gif"},
                  "ZeltoZelto: -o out/{row}-{name}.gif ends in none of the picture types (.png, .bmp, .jpg)"},
        UsageCase{"a pattern with no placeholder and no picture type",
                  {"--render", "badge.zelto", "--data", "people.csv", "-o", "out/same.txt"},
                  "ZeltoZelto: -o out/same.txt ends in none of the picture types (.png, .bmp, .jpg)"},
        UsageCase{"render and thumbnail together",
                  {"--render", "badge.zelto", "-o", "a.png", "--thumbnail", "64"},
                  "ZeltoZelto: --render and --thumbnail do not go together"},
        UsageCase{"a thumbnail of no size", {"--thumbnail", "0", "badge.zelto", "t.png"},
                  "ZeltoZelto: --thumbnail takes a whole number from 1 to 4096, not \"0\""},
        UsageCase{"a thumbnail too large", {"--thumbnail", "4097", "badge.zelto", "t.png"},
                  "ZeltoZelto: --thumbnail takes a whole number from 1 to 4096, not \"4097\""},
        UsageCase{"a thumbnail size that is no number", {"--thumbnail", "big", "badge.zelto", "t.png"},
                  "ZeltoZelto: --thumbnail takes a whole number from 1 to 4096, not \"big\""},
        UsageCase{"a thumbnail of a document that cannot be read", {"--thumbnail", "64", "broken.zelto", "t.png"},
                  "ZeltoZelto: The document \"broken.zelto\" could not be opened: it was made by a newer version of "
                  "ZeltoZelto (document format 9.0; this version reads 1.x)"},
        UsageCase{"a thumbnail of no document", {"--thumbnail", "64", "none.zelto", "t.png"},
                  "ZeltoZelto: The document \"none.zelto\" could not be opened: No such file or directory"},
        UsageCase{"a thumbnail with a file too many", {"--thumbnail", "64", "badge.zelto", "t.png", "u.png"},
                  "ZeltoZelto: --thumbnail SIZE takes a document and the PNG to write"},
        UsageCase{"render with a file too many", {"--render", "badge.zelto", "-o", "a.png", "extra.zelto"},
                  "ZeltoZelto: --render takes no further file (\"extra.zelto\")"},
        UsageCase{"the windows with two documents", {"badge.zelto", "broken.zelto"},
                  "ZeltoZelto: the windows open one document at most"},
        UsageCase{"a table too large", {"--render", "badge.zelto", "--data", "big.csv", "-o", "{row}.png"},
                  "ZeltoZelto: big.csv: it is larger than the 256 MiB a table may have"},
        UsageCase{"a folder for a table", {"--render", "badge.zelto", "--data", "tables", "-o", "{row}.png"},
                  "ZeltoZelto: tables: it is a folder"},
        UsageCase{"a pipe for a table", {"--render", "badge.zelto", "--data", "pipe.csv", "-o", "{row}.png"},
                  "ZeltoZelto: pipe.csv: it is not a regular file"},
        // Qt takes its own options before the program reads the rest.
        UsageCase{"a render error beside one of Qt's", {"-platform", "offscreen", "--render", "badge.zelto"},
                  "ZeltoZelto: --render needs -o OUT, where the picture goes"}),
    [](const auto& info) { return CaseName(info.param.name); });

// A picture that cannot be written: exit code 1, a message of one line for each, and no file
// written, not even a part of one or its temporary file.
struct WriteFailureCase {
  const char* name;
  QStringList arguments;
  std::function<void(const QDir& folder, QProcess& program)> prepare;  // the folder's files, the process
  QStringList messages;  // standard error, by line
  QStringList added;     // to the test's folder
};

// The exit code of a program that cannot be kept from writing where it runs as root.
constexpr int kRootWritesAnywhere = 77;

// A limit on the size of the files the program writes, of 100 bytes: its writes beyond fail with
// "File too large" rather than ending it.
void LimitFileSize(const QDir&, QProcess& program) {
  program.setChildProcessModifier([] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
  });
}

class CommandLineWriteTest : public CommandLineTest, public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(CommandLineWriteTest, FailsWithExitCodeOneAndLeavesNoFile) {
  const WriteFailureCase& c = GetParam();
  const QStringList before = Files();
  const Finished run = Start(c.arguments, [&](QProcess& program) { c.prepare(QDir(folder.path()), program); });
  if (run.exitCode == kRootWritesAnywhere) GTEST_SKIP() << "root's right to write into any folder cannot be dropped here";
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.error.split('\n', Qt::SkipEmptyParts), c.messages);
  EXPECT_TRUE(run.out.isEmpty());
  QStringList after = before + c.added;
  after.sort();
  EXPECT_EQ(Files(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineWriteTest,
    ::testing::Values(
        WriteFailureCase{"an output that is a folder",
                         {"--render", "badge.zelto", "-o", "shown.png"},
                         [](const QDir& folder, QProcess&) { folder.mkdir("shown.png"); },
                         {"ZeltoZelto: The picture could not be saved as \"shown.png\": Filename refers to a directory"},
                         {"shown.png"}},
        WriteFailureCase{"an output in a folder that is a file",
                         {"--render", "badge.zelto", "-o", "people.csv/a.png"},
                         [](const QDir&, QProcess&) {},
                         {"ZeltoZelto: The picture could not be saved as \"people.csv/a.png\": Not a directory"},
                         {}},
        WriteFailureCase{"a folder that cannot be written",
                         {"--render", "badge.zelto", "-o", "locked/a.png"},
                         [](const QDir& folder, QProcess& program) {
                           folder.mkdir("locked");
                           QFile::setPermissions(folder.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
                           // Root writes into any folder but for this capability.
                           program.setChildProcessModifier([] {
                             if (geteuid() == 0 && prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0)
                               _exit(kRootWritesAnywhere);
                           });
                         },
                         {"ZeltoZelto: The picture could not be saved as \"locked/a.png\": Permission denied"},
                         {"locked"}},
        WriteFailureCase{"a file size limit",
                         {"--render", "badge.zelto", "-o", "a.png"},
                         LimitFileSize,
                         {"ZeltoZelto: The picture could not be saved as \"a.png\": File too large"},
                         {}},
        WriteFailureCase{"a file size limit on every row",
                         {"--render", "badge.zelto", "--data", "people.csv", "-o", "out/{row}.png", "--jobs", "2"},
                         LimitFileSize,
                         {"ZeltoZelto: people.csv: row 1: The picture could not be saved as \"out/1.png\": File too large",
                          "ZeltoZelto: people.csv: row 2: The picture could not be saved as \"out/2.png\": File too large",
                          "ZeltoZelto: people.csv: row 3: The picture could not be saved as \"out/3.png\": File too large"},
                         {"out"}},
        WriteFailureCase{"a thumbnail to a folder",
                         {"--thumbnail", "64", "badge.zelto", "thumbs"},
                         [](const QDir& folder, QProcess&) { folder.mkdir("thumbs"); },
                         {"ZeltoZelto: The thumbnail could not be saved as \"thumbs\": Filename refers to a directory"},
                         {"thumbs"}},
        WriteFailureCase{"PNG to a full standard output",
                         {"--render", "badge.zelto", "-o", "-"},
                         [](const QDir&, QProcess& program) { program.setStandardOutputFile("/dev/full"); },
                         {"ZeltoZelto: The picture could not be written to standard output: No space left on device"},
                         {}}),
    [](const auto& info) { return CaseName(info.param.name); });

// Qt's own options (-platform, -reverse, ...) are Qt's, before the program reads its own: the
// pictures are made with them, and the windows start with them.
TEST_F(CommandLineTest, QtsOwnOptionsAreTakenByQt) {
  const Finished render = Start({"-platform", "offscreen", "-reverse", "--render", "badge.zelto", "-o", "qt.png"});
  EXPECT_EQ(render.exitCode, 0) << render.error.toStdString();
  ASSERT_EQ(Start({"--render", "badge.zelto", "-o", "plain.png"}).exitCode, 0);
  EXPECT_EQ(Contents(Path("qt.png")), Contents(Path("plain.png")));

  // The windows' own folders in the test's, so that Qt has nothing to note.
  ASSERT_TRUE(QDir().mkdir(Path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  QProcessEnvironment environment = HeadlessEnvironment();
  environment.insert("HOME", Path("home"));
  environment.insert("XDG_STATE_HOME", Path("state"));
  environment.insert("XDG_RUNTIME_DIR", Path("runtime"));
  const auto inTheirFolders = [&environment](QProcess& program) { program.setProcessEnvironment(environment); };

  // In the windows, an option that is no one's is the program's to refuse: Qt took its own.
  const Finished refused = Start({"-platform", "offscreen", "-reverse", "--bogus"}, inTheirFolders);
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_EQ(refused.error, "ZeltoZelto: Unknown option 'bogus'.\nTry 'ZeltoZelto --help' for the options.\n");

  // The windows hold a lock among the recovery copies for as long as they run: once it is there,
  // the options were read and the windows made. They run until they are ended.
  QProcess windows;
  inTheirFolders(windows);
  windows.setWorkingDirectory(folder.path());
  windows.start(QStringLiteral(ZELTO_PROGRAM),
                {"-platform", "offscreen", "-style", "fusion", "-reverse", "-qwindowgeometry", "300x200+0+0", "badge.zelto"});
  const QDir copies(Path("state/zeltozelto"));
  const auto locked = [&copies] { return !copies.entryList({"*.lock"}, QDir::Files).isEmpty(); };
  EXPECT_TRUE(QTest::qWaitFor([&] { return locked() || windows.state() == QProcess::NotRunning; }, 60000));
  EXPECT_TRUE(locked());
  EXPECT_EQ(windows.state(), QProcess::Running) << windows.readAllStandardError().toStdString();
  windows.kill();
  windows.waitForFinished();
}

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
