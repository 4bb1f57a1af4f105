#include "app/PictureFile.h"
#include "tests/support/CaseName.h"
#include "tests/support/FullFilesystem.h"
#include "tests/support/PrintTo.h"
#include "tests/support/UserFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

namespace {

// 7 × 5 pixels, each of its own colour, on a format with alpha whose transparent pixels must
// not reach the file.
QImage TestPicture() {
  QImage picture(7, 5, QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgba(36 * x, 50 * y, 255 - 9 * x * y, 255));
  return picture;
}

// --- Names and types ---

struct SuffixCase {
  const char* name;
  const char* path;
  int filter;  // the chosen filter's place in PictureFormats()
  const char* written;
  const char* writer;
};

class PictureSuffixTest : public ::testing::TestWithParam<SuffixCase> {};

TEST_P(PictureSuffixTest, TheNamesTypeWinsAndANameWithoutOneTakesTheFilters) {
  const SuffixCase& c = GetParam();
  const QString written = WithPictureSuffix(c.path, PictureFormats().at(c.filter));
  EXPECT_EQ(written, c.written);
  const TPictureFormat* format = PictureFormatOf(written);
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(format->Writer, c.writer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureSuffixTest,
    ::testing::Values(SuffixCase{"png with the png filter", "/p/picture.png", 0, "/p/picture.png", "png"},
                      SuffixCase{"bmp with the png filter", "/p/picture.bmp", 0, "/p/picture.bmp", "bmp"},
                      SuffixCase{"upper case jpeg", "/p/PICTURE.JPEG", 1, "/p/PICTURE.JPEG", "jpeg"},
                      SuffixCase{"jpg", "/p/picture.jpg", 0, "/p/picture.jpg", "jpeg"},
                      SuffixCase{"no suffix with bmp", "/p/picture", 1, "/p/picture.bmp", "bmp"},
                      SuffixCase{"unknown suffix with jpeg", "/p/picture.txt", 2, "/p/picture.txt.jpg", "jpeg"},
                      SuffixCase{"dotted folder", "/p.png/picture", 0, "/p.png/picture.png", "png"}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(PictureFormatsTest, OfferPngFirstThenBmpAndJpeg) {
  QStringList filters;
  for (const TPictureFormat& format : PictureFormats()) filters.append(format.Filter());
  EXPECT_EQ(filters, QStringList({"PNG image (*.png)", "BMP image (*.bmp)", "JPEG image (*.jpg *.jpeg)"}));
}

// --- Writing ---

class WritePictureTest : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return folder.filePath(name); }
  QStringList Files() const { return Tree(folder.path()); }

  QTemporaryDir folder;
};

TEST_F(WritePictureTest, PngAndBmpHoldThePixelsIn24BitColourWithoutAlpha) {
  const QImage picture = TestPicture();
  WritePicture(picture, Path("a.png"));
  WritePicture(picture, Path("a.bmp"));
  const QByteArray png = Contents(Path("a.png")), bmp = Contents(Path("a.bmp"));
  // PNG's header: bit depth 8, colour type 2 (red, green, blue).
  ASSERT_TRUE(png.startsWith("\x89PNG"));
  EXPECT_EQ(png[24], 8);
  EXPECT_EQ(png[25], 2);
  // BMP's header: 24 bits a pixel.
  ASSERT_TRUE(bmp.startsWith("BM"));
  EXPECT_EQ(bmp[28], 24);
  for (const char* name : {"a.png", "a.bmp"}) {
    const QImage read(Path(name));
    EXPECT_FALSE(read.hasAlphaChannel()) << name;
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32)) << name;
  }
  EXPECT_EQ(Files(), QStringList({"a.bmp", "a.png"}));
}

TEST_F(WritePictureTest, JpegHasThePicturesSize) {
  WritePicture(TestPicture(), Path("a.JPG"));
  EXPECT_TRUE(Contents(Path("a.JPG")).startsWith("\xFF\xD8\xFF"));
  EXPECT_EQ(QImage(Path("a.JPG")).size(), QSize(7, 5));
}

TEST_F(WritePictureTest, ReplacesAFileThatIsThere) {
  ASSERT_NO_FATAL_FAILURE(WriteFile(Path("a.png"), "old"));
  WritePicture(TestPicture(), Path("a.png"));
  EXPECT_EQ(QImage(Path("a.png")).size(), QSize(7, 5));
  EXPECT_EQ(Files(), QStringList({"a.png"}));
}

// Where writing fails, for root as well: no file can be made under /proc, nor in a "folder"
// that is a file; a name of no known type is refused.
struct FailureCase {
  const char* name;
  QString (*path)(const QString& folder);
  int error;           // the system's error number whose text is the reason,
  const char* reason;  // or the program's own reason
};

class WritePictureFailureTest : public WritePictureTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WritePictureFailureTest, RaisesTheReasonWithThePathAndLeavesWhatWasThere) {
  const FailureCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(WriteFile(Path("old.png"), "old"));
  const QString path = c.path(folder.path());
  try {
    WritePicture(TestPicture(), path);
    ADD_FAILURE() << "no error";
  } catch (const EPictureWrite& error) {
    const QString message = QString::fromUtf8(error.what());
    EXPECT_TRUE(message.contains('"' + path + '"')) << message.toStdString();
    const QString reason = c.error ? qt_error_string(c.error) : QString(c.reason);
    EXPECT_TRUE(message.endsWith(": " + reason)) << message.toStdString();
  }
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_EQ(Contents(Path("old.png")), "old");
  EXPECT_EQ(Files(), QStringList({"old.png"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WritePictureFailureTest,
    ::testing::Values(FailureCase{"under proc",
                                  [](const QString&) { return QStringLiteral("/proc/zelto-picture.png"); }, ENOENT,
                                  nullptr},
                      FailureCase{"a file in place of the folder",
                                  [](const QString& f) { return f + "/old.png/picture.png"; }, ENOTDIR, nullptr},
                      FailureCase{"an unknown type", [](const QString& f) { return f + "/picture.gif"; }, 0,
                                  "the name ends in none of the picture types"}),
    [](const auto& info) { return CaseName(info.param.name); });

// The writer refuses the picture: the old file stays, and no temporary file is left.
TEST_F(WritePictureTest, APictureThatCannotBeEncodedLeavesTheOldFile) {
  ASSERT_NO_FATAL_FAILURE(WriteFile(Path("a.png"), "old"));
  try {
    WritePicture(QImage(), Path("a.png"));
    ADD_FAILURE() << "no error";
  } catch (const EPictureWrite& error) {
    EXPECT_STREQ(error.what(),
                 ("The picture could not be saved as \"" + Path("a.png") + "\": Image is empty").toUtf8());
  }
  EXPECT_EQ(Contents(Path("a.png")), "old");
  EXPECT_EQ(Files(), QStringList({"a.png"}));
}

// --- Writing that runs out of room ---

// 128 × 128 pixels of seeded noise, which none of the formats packs into anything near 4 KiB.
QImage NoisePicture() {
  QImage picture(128, 128, QImage::Format_RGB32);
  std::mt19937 random(20240611);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
  return picture;
}

// What the full disk has free, and the largest file the process under a size limit may write.
constexpr qsizetype kRoom = FullFilesystemTest::kFree;

void ExpectTooLargeForTheRoom(const QImage& picture, const QString& path) {
  EXPECT_GT(EncodePicture(picture, *PictureFormatOf(path)).size(), 2 * kRoom) << path.toStdString();
}

// What writing `picture` to `path` comes to: the error's text, or "no error".
std::string Outcome(const QImage& picture, const QString& path) {
  try {
    WritePicture(picture, path);
  } catch (const EPictureWrite& error) {
    return error.what();
  }
  return "no error";
}

// The same in a child process that may write no file larger than kRoom: past that, a write
// fails with EFBIG in place of the signal that would end the process. The child leaves by
// _exit, never back into the test framework, and without the leak check at exit, which would
// count what it copied from the parent.
std::string OutcomeUnderFileSizeLimit(const QImage& picture, const QString& path) {
  int ends[2];
  if (pipe(ends) != 0) return std::string("pipe(2): ") + std::strerror(errno);
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    std::string outcome;
    try {
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = kRoom;
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0 || signal(SIGXFSZ, SIG_IGN) == SIG_ERR)
        outcome = std::string("limiting the file size: ") + std::strerror(errno);
      else
        outcome = Outcome(picture, path);
    } catch (...) {
      outcome = "an error other than EPictureWrite";
    }
    for (size_t sent = 0; sent < outcome.size();) {
      const ssize_t n = write(ends[1], outcome.data() + sent, outcome.size() - sent);
      if (n <= 0) break;
      sent += size_t(n);
    }
    _exit(0);
  }
  close(ends[1]);
  if (child < 0) {
    close(ends[0]);
    return std::string("fork(2): ") + std::strerror(errno);
  }
  std::string outcome;
  char chunk[256];
  for (ssize_t n; (n = read(ends[0], chunk, sizeof chunk)) != 0;) {
    if (n > 0) outcome.append(chunk, size_t(n));
    else if (errno != EINTR) break;
  }
  close(ends[0]);
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    outcome += " (the child did not end normally: status " + std::to_string(status) + ")";
  return outcome;
}

std::string Refusal(const QString& path, int error) {
  return QStringLiteral("The picture could not be saved as \"%1\": %2")
      .arg(QDir::toNativeSeparators(path), qt_error_string(error))
      .toStdString();
}

// Each type, over a file that is there and to a new name.
struct TargetCase {
  const char* name;
  const char* file;
  bool replaces;
};

constexpr TargetCase kTargets[] = {
    {"png over a file", "old.png", true},   {"png to a new name", "new.png", false},
    {"bmp over a file", "old.bmp", true},   {"bmp to a new name", "new.bmp", false},
    {"jpeg over a file", "old.jpg", true},  {"jpeg to a new name", "new.jpg", false},
};

// The disk has 4 KiB free once the old file is there.
class PictureOnAFullDiskTest : public FullFilesystemTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(PictureOnAFullDiskTest, RaisesNoSpaceLeftAndLeavesWhatWasThere) {
  const QString path = Path(GetParam().file);
  const QImage picture = NoisePicture();
  ExpectTooLargeForTheRoom(picture, path);
  if (GetParam().replaces) WritePicture(TestPicture(), path);
  const QByteArray old = Contents(path);
  ASSERT_NO_FATAL_FAILURE(Fill());
  const QStringList files = Files();

  EXPECT_EQ(Outcome(picture, path), Refusal(path, ENOSPC));
  EXPECT_EQ(Files(), files);
  EXPECT_EQ(Contents(path), old);
}

INSTANTIATE_TEST_SUITE_P(Cases, PictureOnAFullDiskTest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return CaseName(info.param.name); });

class PictureUnderAFileSizeLimitTest : public WritePictureTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(PictureUnderAFileSizeLimitTest, RaisesFileTooLargeAndLeavesWhatWasThere) {
  const QString path = Path(GetParam().file);
  const QImage picture = NoisePicture();
  ExpectTooLargeForTheRoom(picture, path);
  if (GetParam().replaces) WritePicture(TestPicture(), path);
  const QByteArray old = Contents(path);
  const QStringList files = Files();

  EXPECT_EQ(OutcomeUnderFileSizeLimit(picture, path), Refusal(path, EFBIG));
  EXPECT_EQ(Files(), files);
  EXPECT_EQ(Contents(path), old);
}

INSTANTIATE_TEST_SUITE_P(Cases, PictureUnderAFileSizeLimitTest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
