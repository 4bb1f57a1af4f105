#include "app/Recovery.h"

#include "model/Document.h"
#include "toolkit/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <utility>

namespace {

constexpr char kCopySuffix[] = ".zelto";
constexpr char kLockSuffix[] = ".lock";

// A lock is held for as long as its program runs, however long that is: it is stale only when its
// process is gone.
std::unique_ptr<QLockFile> LockOf(const QString& copyPath) {
  const QFileInfo copy(copyPath);
  auto lock = std::make_unique<QLockFile>(copy.path() + QLatin1Char('/') + copy.completeBaseName() +
                                          QLatin1String(kLockSuffix));
  lock->setStaleLockTime(0);
  return lock;
}

}  // namespace

QString TRecovery::Folder() {
  // Qt 6.4 knows no state location of its own.
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/zeltozelto");
}

TRecovery::TRecovery() : codePage_(TCodePage::System().Name()) {
  thread_.setMaxThreadCount(1);
  const QString folder = Folder();
  if (!QDir().mkpath(folder)) {
    unusable_ = QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder));
    return;
  }
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  copyPath_ = folder + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces) +
              QLatin1String(kCopySuffix);
  lock_ = LockOf(copyPath_);
  if (!lock_->tryLock(0)) {
    unusable_ = QStringLiteral("its lock in %1 cannot be taken").arg(QDir::toNativeSeparators(folder));
    copyPath_.clear();
  }
}

TRecovery::~TRecovery() {
  Forget();
  Wait();
}

void TRecovery::Keep(std::shared_ptr<const TZeltoContent> content, std::vector<int32_t> selection,
                     QString documentPath) {
  if (copyPath_.isEmpty()) {
    Fail(unusable_);
    return;
  }
  thread_.start([this, content = std::move(content), selection = std::move(selection),
                 documentPath = std::move(documentPath)] {
    QString reason;
    try {
      reason = WriteWholeFile(copyPath_, WriteDocument(*content, selection, documentPath, codePage_));
    } catch (const std::exception& error) {
      reason = QString::fromUtf8(error.what());
    }
    // A copy not written leaves the one before, which no longer holds what was asked.
    hasCopy_ = reason.isEmpty();
    if (!reason.isEmpty()) Fail(reason);
  });
}

void TRecovery::Forget() {
  if (copyPath_.isEmpty()) return;
  thread_.start([this] {
    QFile::remove(copyPath_);
    hasCopy_ = false;
  });
}

void TRecovery::Wait() { thread_.waitForDone(); }

void TRecovery::Fail(const QString& reason) {
  QMetaObject::invokeMethod(
      &failureQueue_, [this, reason] {
        if (OnFailure) OnFailure(reason);
      },
      Qt::QueuedConnection);
}

void TLeftBehind::Discard() {
  QFile::remove(Path);
  Lock->unlock();
}

QString TLeftBehind::SetAside() {
  const QFileInfo copy(Path);
  const QString aside = copy.path() + QLatin1Char('/') + copy.completeBaseName() + QStringLiteral(".unreadable");
  const bool renamed = QFile::rename(Path, aside);
  Lock->unlock();
  return renamed ? aside : Path;
}

std::optional<TLeftBehind> FindLeftBehind() {
  const QDir folder(TRecovery::Folder());
  for (const QFileInfo& lockFile : folder.entryInfoList({QStringLiteral("*") + QLatin1String(kLockSuffix)}, QDir::Files)) {
    const QString copy = lockFile.path() + QLatin1Char('/') + lockFile.completeBaseName() + QLatin1String(kCopySuffix);
    if (QFileInfo::exists(copy)) continue;
    // Taken, it is a lock whose program is gone; unlocking removes it.
    auto lock = LockOf(copy);
    if (lock->tryLock(0)) lock->unlock();
  }
  const QFileInfoList copies =
      folder.entryInfoList({QStringLiteral("*") + QLatin1String(kCopySuffix)}, QDir::Files, QDir::Time);
  for (const QFileInfo& copy : copies) {
    auto lock = LockOf(copy.filePath());
    if (lock->tryLock(0)) return TLeftBehind{copy.filePath(), copy.lastModified(), std::move(lock)};
  }
  return std::nullopt;
}
