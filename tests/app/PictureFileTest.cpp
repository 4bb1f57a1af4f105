#include "app/PictureFile.h"
#include "tests/support/CaseName.h"
#include "tests/support/PrintTo.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
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

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
  QStringList Files() const {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }

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
  QFile old(Path("a.png"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
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
  QFile old(Path("old.png"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
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

// The writer fails once the file is open: the temporary file goes, the old file stays.
TEST_F(WritePictureTest, AWriteThatFailsHalfwayLeavesTheOldFile) {
  QFile old(Path("a.png"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
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

}  // namespace
