#pragma once
// A folder on a filesystem of its own, 64 KiB of tmpfs, which a test fills up to its last
// 4 KiB: writes there meet a really full disk. Mounting needs root and the right to mount,
// which a container may withhold; without either the test is skipped, saying which.
#include "tests/support/UserFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

class FullFilesystemTest : public ::testing::Test {
 public:
  static constexpr qint64 kFree = 4096;

 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    if (geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs root, and the tests run as user " << geteuid();
    if (mount("zelto-full", MountPoint(), "tmpfs", 0, "size=64k") != 0)
      GTEST_SKIP() << "mount(2) refused a 64 KiB tmpfs on " << MountPoint().constData() << ": "
                   << std::strerror(errno);
    mounted = true;
  }

  // A file still open on the filesystem keeps it busy: that is a fault of the code under test,
  // and the filesystem is detached all the same.
  void TearDown() override {
    if (!mounted) return;
    if (umount(MountPoint()) != 0) {
      ADD_FAILURE() << "unmounting " << MountPoint().constData() << ": " << std::strerror(errno);
      umount2(MountPoint(), MNT_DETACH);
    }
  }

  QString Path(const QString& name) const { return folder.filePath(name); }

  // Hidden ones included, where a temporary file might hide.
  QStringList Files() const { return Tree(folder.path()); }

  // Takes all but kFree bytes of what is free with a file named "filler"; call it once the
  // files the test needs are there.
  void Fill() {
    const qint64 filler = QStorageInfo(folder.path()).bytesAvailable() - kFree;
    ASSERT_GE(filler, 0);
    QFile file(Path("filler"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << file.errorString().toStdString();
    ASSERT_EQ(file.write(QByteArray(filler, 'f')), filler) << file.errorString().toStdString();
    ASSERT_TRUE(file.flush()) << file.errorString().toStdString();
    file.close();
    ASSERT_EQ(QStorageInfo(folder.path()).bytesAvailable(), kFree);
  }

 private:
  QByteArray MountPoint() const { return QFile::encodeName(folder.path()); }

  QTemporaryDir folder;
  bool mounted = false;
};
