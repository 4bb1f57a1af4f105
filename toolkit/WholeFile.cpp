#include "toolkit/WholeFile.h"

#include <QSaveFile>

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
