#include "toolkit/WholeFile.h"
#include "tests/support/CaseName.h"
#include "tests/support/FullFilesystem.h"
#include "tests/support/PrintTo.h"
#include "tests/support/UserFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(WriteWholeFileTest, TheBytesBecomeTheWholeFileInPlaceOfALongerOne) {
  QTemporaryDir folder;
  const QString path = folder.filePath("file");
  ASSERT_EQ(WriteWholeFile(path, "a longer file that was there"), "");
  EXPECT_EQ(WriteWholeFile(path, "new"), "");
  EXPECT_EQ(Contents(path), "new");
  EXPECT_EQ(WriteWholeFile(path, ""), "");
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(Contents(path), "");
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({"file"}));
}

// A file of up to the limit is read whole; one byte more, or anything but a regular file, gives
// the reason instead.
TEST(ReadWholeFileTest, ReadsUpToTheLimitAndSaysWhyNotBeyond) {
  QTemporaryDir folder;
  const auto read = [&](const char* name) { return ReadWholeFile(folder.filePath(name), 5, "the limit"); };
  ASSERT_NO_FATAL_FAILURE(WriteFile(folder.filePath("five"), "12345"));
  ASSERT_NO_FATAL_FAILURE(WriteFile(folder.filePath("six"), "123456"));
  ASSERT_NO_FATAL_FAILURE(WriteFile(folder.filePath("empty"), ""));
  ASSERT_TRUE(QDir(folder.path()).mkdir("folder"));
  const struct {
    const char* name;
    QByteArray bytes;
    QString failure;
  } cases[] = {
      {"five", "12345", ""},
      {"empty", "", ""},
      {"six", "", "it is larger than the limit"},
      {"folder", "", "it is a folder"},
      {"missing", "", qt_error_string(ENOENT)},
  };
  for (const auto& c : cases) {
    const TFileRead result = read(c.name);
    EXPECT_EQ(result.Bytes, c.bytes) << c.name;
    EXPECT_EQ(result.Failure, c.failure) << c.name;
  }
}

// Up to the last byte that is free a write succeeds; one byte more and nothing is written.
struct FullCase {
  const char* name;
  qsizetype size;
  bool replaces;  // a file is there before
  int error;      // the system's reason, 0 for none
};

class WholeFileOnAFullDiskTest : public FullFilesystemTest, public ::testing::WithParamInterface<FullCase> {};

TEST_P(WholeFileOnAFullDiskTest, WritesAllOrNothingAndSaysWhy) {
  const FullCase& c = GetParam();
  const QString path = Path("file");
  const QByteArray old = "the file that was there";
  if (c.replaces) {
    ASSERT_EQ(WriteWholeFile(path, old), "");
  }
  ASSERT_NO_FATAL_FAILURE(Fill());
  const QStringList before = Files();
  QByteArray bytes(c.size, '\0');
  for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7);

  const QString reason = c.error ? qt_error_string(c.error) : QString();
  EXPECT_EQ(WriteWholeFile(path, bytes).toStdString(), reason.toStdString());
  const bool written = c.error == 0;
  EXPECT_EQ(Files(), written ? QStringList({"file", "filler"}) : before);
  if (written || c.replaces) {
    EXPECT_EQ(Contents(path), written ? bytes : old);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WholeFileOnAFullDiskTest,
    ::testing::Values(FullCase{"the free space to a new name", FullFilesystemTest::kFree, false, 0},
                      FullCase{"the free space over a file", FullFilesystemTest::kFree, true, 0},
                      FullCase{"a byte more to a new name", FullFilesystemTest::kFree + 1, false, ENOSPC},
                      FullCase{"a byte more over a file", FullFilesystemTest::kFree + 1, true, ENOSPC},
                      FullCase{"far more over a file", 16 * FullFilesystemTest::kFree, true, ENOSPC}),
    [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
