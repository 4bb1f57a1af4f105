#include "toolkit/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

QString WriteWholeFile(const QString& path, QByteArrayView bytes) {
  // Leaving without commit() removes the temporary file.
  QSaveFile file(path);
  // Unbuffered, every write reaches the system at once: a short one is seen here, and writing
  // the rest gets the system's reason. Qt's buffer would lose that reason in a flush whose
  // failure commit() does not report.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  for (qsizetype done = 0; done < bytes.size();) {
    const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
    if (written <= 0) return file.errorString();
    done += written;
  }
  if (!file.flush() || file.error() != QFileDevice::NoError) return file.errorString();
  if (!file.commit()) return file.errorString();
  return {};
}

TWholeFileGroups::TWholeFileGroups(const QString& folder)
    : folder_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (folder_ < 0) syncFailure_ = qt_error_string(errno);
}

TWholeFileGroups::~TWholeFileGroups() {
  if (folder_ >= 0) ::close(folder_);
}

QString TWholeFileGroups::Write(const QString& path, QByteArrayView bytes, TPending& pending) const {
  const QByteArray name = QFile::encodeName(path);
  // A file that is there and may not be written is left as it is, as WriteWholeFile leaves it.
  if (::access(name.constData(), W_OK) != 0 && errno != ENOENT) return qt_error_string(errno);
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray temporary;
  int file = -1;
  while (file < 0) {
    temporary = name + '.';
    for (int i = 0; i < 6; ++i) temporary += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    // A new file, with the permissions that the user's mask leaves of 0666, as a file saved anew has.
    file = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0 && errno != EEXIST) return qt_error_string(errno);
  }
  QString reason;
  for (qsizetype done = 0; done < bytes.size() && reason.isEmpty();) {
    const ssize_t written = ::write(file, bytes.data() + done, std::size_t(bytes.size() - done));
    if (written > 0)
      done += written;
    else if (written < 0 && errno != EINTR)
      reason = qt_error_string(errno);
  }
  if (::close(file) != 0 && reason.isEmpty()) reason = qt_error_string(errno);
  if (!reason.isEmpty()) {
    ::unlink(temporary.constData());
    return reason;
  }
  pending = {path, temporary};
  return {};
}

std::vector<QString> TWholeFileGroups::Commit(const std::vector<TPending>& files) {
  // One sync puts every file of the file system on the disk, those of the group among them.
  if (syncFailure_.isEmpty() && !files.empty() && ::syncfs(folder_) != 0) syncFailure_ = qt_error_string(errno);
  std::vector<QString> reasons;
  for (const TPending& file : files) {
    QString reason = syncFailure_;
    if (reason.isEmpty() && ::rename(file.Temporary.constData(), QFile::encodeName(file.Path).constData()) != 0)
      reason = qt_error_string(errno);
    if (!reason.isEmpty()) ::unlink(file.Temporary.constData());
    reasons.push_back(reason);
  }
  return reasons;
}

TFileRead ReadWholeFile(const QString& path, qsizetype limit, const QString& limitText) {
  const QFileInfo info(path);
  if (info.exists() && !info.isFile())
    return {{}, info.isDir() ? QStringLiteral("it is a folder") : QStringLiteral("it is not a regular file")};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {{}, file.errorString()};
  const QString tooLarge = QStringLiteral("it is larger than %1").arg(limitText);
  if (file.size() > limit) return {{}, tooLarge};
  // As much as the file holds, not the limit, is asked for: Qt makes room for what is asked. A
  // file that grows while it is read is read on, as far as one byte past the limit.
  QByteArray bytes = file.read(std::min(limit, file.size()) + 1);
  while (file.error() == QFileDevice::NoError && !file.atEnd() && bytes.size() <= limit)
    bytes += file.read(limit + 1 - bytes.size());
  if (file.error() != QFileDevice::NoError) return {{}, file.errorString()};
  if (bytes.size() > limit) return {{}, tooLarge};
  return {std::move(bytes), {}};
}
