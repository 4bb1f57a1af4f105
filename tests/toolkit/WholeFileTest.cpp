#include "toolkit/WholeFile.h"
#include "tests/support/CaseName.h"
#include "tests/support/FullFilesystem.h"
#include "tests/support/PrintTo.h"
#include "tests/support/UserFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>
#include <vector>

namespace {

// The two ways of writing a file whole: on its own, and in a group that takes its names after one
// sync. Either gives the system's reason where the file cannot be written, or nothing.
struct Writer {
  const char* name;
  QString (*write)(const QString& path, QByteArrayView bytes);
};
const Writer kWriters[] = {
    {"alone", [](const QString& path, QByteArrayView bytes) { return WriteWholeFile(path, bytes); }},
    {"in a group",
     [](const QString& path, QByteArrayView bytes) {
       TWholeFileGroups files(QFileInfo(path).path());
       TWholeFileGroups::TPending pending;
       const QString reason = files.Write(path, bytes, pending);
       return reason.isEmpty() ? files.Commit({pending}).front() : reason;
     }},
};

TEST(WriteWholeFileTest, TheBytesBecomeTheWholeFileInPlaceOfALongerOne) {
  for (const Writer& writer : kWriters) {
    SCOPED_TRACE(writer.name);
    QTemporaryDir folder;
    const QString path = folder.filePath("file");
    ASSERT_EQ(writer.write(path, "a longer file that was there"), "");
    EXPECT_EQ(writer.write(path, "new"), "");
    EXPECT_EQ(Contents(path), "new");
    EXPECT_EQ(writer.write(path, ""), "");
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(Contents(path), "");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"file"}));
  }
}

// A group's files are written under temporary names beside their own, and none takes its name,
// nor replaces the file that is there, before the group is committed; then all do, and no
// temporary file is left.
TEST(WholeFileGroupsTest, NoFileTakesItsNameBeforeTheGroupIsCommitted) {
  QTemporaryDir folder;
  const QDir dir(folder.path());
  ASSERT_NO_FATAL_FAILURE(WriteFile(dir.filePath("old"), "what was there"));
  TWholeFileGroups files(folder.path());
  std::vector<TWholeFileGroups::TPending> pending(3);
  ASSERT_EQ(files.Write(dir.filePath("a"), "first", pending[0]), "");
  ASSERT_EQ(files.Write(dir.filePath("old"), "replaced", pending[1]), "");
  ASSERT_EQ(files.Write(dir.filePath("b"), "", pending[2]), "");

  const QStringList before = dir.entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(before.size(), 4);
  for (const char* name : {"a.", "old.", "b."})
    EXPECT_EQ(before.filter(QRegularExpression(QStringLiteral("^%1[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(name)))).size(), 1)
        << name << " in " << before.join(' ').toStdString();
  EXPECT_EQ(Contents(dir.filePath("old")), "what was there");

  EXPECT_EQ(files.Commit(pending), std::vector<QString>(3));
  EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden), QStringList({"a", "b", "old"}));
  EXPECT_EQ(Contents(dir.filePath("a")), "first");
  EXPECT_EQ(Contents(dir.filePath("old")), "replaced");
  EXPECT_EQ(Contents(dir.filePath("b")), "");
}

// A link where a file is to go is replaced by the file: what it points to, maybe outside the
// folder, is left as it is.
TEST(WholeFileGroupsTest, ALinkInTheFolderIsReplacedNotWrittenThrough) {
  QTemporaryDir folder, elsewhere;
  const QString target = QDir(elsewhere.path()).filePath("target");
  ASSERT_NO_FATAL_FAILURE(WriteFile(target, "not to be touched"));
  const QString link = QDir(folder.path()).filePath("picture.png");
  ASSERT_TRUE(QFile::link(target, link));
  TWholeFileGroups files(folder.path());
  TWholeFileGroups::TPending pending;
  ASSERT_EQ(files.Write(link, "picture", pending), "");
  EXPECT_EQ(files.Commit({pending}), std::vector<QString>(1));
  EXPECT_FALSE(QFileInfo(link).isSymLink());
  EXPECT_EQ(Contents(link), "picture");
  EXPECT_EQ(Contents(target), "not to be touched");
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

class WholeFileOnAFullDiskTest : public FullFilesystemTest,
                                 public ::testing::WithParamInterface<std::tuple<FullCase, Writer>> {};

TEST_P(WholeFileOnAFullDiskTest, WritesAllOrNothingAndSaysWhy) {
  const auto& [c, writer] = GetParam();
  const QString path = Path("file");
  const QByteArray old = "the file that was there";
  if (c.replaces) {
    ASSERT_EQ(writer.write(path, old), "");
  }
  ASSERT_NO_FATAL_FAILURE(Fill());
  const QStringList before = Files();
  QByteArray bytes(c.size, '\0');
  for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7);

  const QString reason = c.error ? qt_error_string(c.error) : QString();
  EXPECT_EQ(writer.write(path, bytes).toStdString(), reason.toStdString());
  const bool written = c.error == 0;
  EXPECT_EQ(Files(), written ? QStringList({"file", "filler"}) : before);
  if (written || c.replaces) {
    EXPECT_EQ(Contents(path), written ? bytes : old);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WholeFileOnAFullDiskTest,
    ::testing::Combine(
        ::testing::Values(FullCase{"the free space to a new name", FullFilesystemTest::kFree, false, 0},
                          FullCase{"the free space over a file", FullFilesystemTest::kFree, true, 0},
                          FullCase{"a byte more to a new name", FullFilesystemTest::kFree + 1, false, ENOSPC},
                          FullCase{"a byte more over a file", FullFilesystemTest::kFree + 1, true, ENOSPC},
                          FullCase{"far more over a file", 16 * FullFilesystemTest::kFree, true, ENOSPC}),
        ::testing::ValuesIn(kWriters)),
    [](const auto& info) {
      return CaseName(std::get<0>(info.param).name) + "_" + CaseName(std::get<1>(info.param).name);
    });

}  // namespace
