#include "toolkit/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

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
