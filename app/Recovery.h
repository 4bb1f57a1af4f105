#pragma once
// Recovery copies. While the composition has unsaved changes the program keeps a copy of it, a
// document like any other, in the user's state folder ($XDG_STATE_HOME/zeltozelto, or
// ~/.local/state/zeltozelto), so that a program killed or crashed loses nothing; the next start
// finds the copies of programs that no longer run and offers them back.
//
// Each running program has a copy of its own, named by an id, and holds a lock file beside it
// (QLockFile) for as long as it runs. A copy whose lock is held belongs to a program that runs
// and is never taken; the lock of a program that ended without letting go names a process that
// is gone, and the copy beside it is left behind.
//
// Copies are written and removed on a thread of their own, one after another in the order asked,
// so that the windows never wait for the disk; each is written whole or not at all. A copy that
// cannot be written is told of on the windows' thread, through OnFailure, as soon as it fails.
#include "model/Zelto.h"
#include "toolkit/CodePage.h"

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TRecovery {
 public:
  TRecovery();
  // Waits for what was asked, then removes the copy and lets go of the lock: the program ends
  // normally.
  ~TRecovery();
  TRecovery(const TRecovery&) = delete;
  TRecovery& operator=(const TRecovery&) = delete;

  // The folder of the copies.
  static QString Folder();

  // Writes the composition `content` with `selection`, kept for the document at `documentPath`
  // (empty for one never saved), as this program's copy.
  void Keep(std::shared_ptr<const TZeltoContent> content, std::vector<int32_t> selection, QString documentPath);
  // Removes this program's copy: the changes were saved or discarded.
  void Forget();
  // Waits until what was asked is done.
  void Wait();

  QString CopyPath() const { return copyPath_; }
  // Whether this program's copy holds what Keep was last given: it was written, and not
  // forgotten since. Wait first for what was asked.
  bool HasCopy() const { return hasCopy_; }

  // Runs on the windows' thread with the reason, each time a copy could not be written (where
  // the folder or the lock of the copies could not be had, no copy ever is).
  std::function<void(const QString& reason)> OnFailure;

 private:
  void Fail(const QString& reason);

  QString copyPath_;     // empty where no copy can be kept,
  QString unusable_;     // for this reason
  std::unique_ptr<QLockFile> lock_;
  TCodePage codePage_;  // converts on the thread of the copies only
  std::atomic<bool> hasCopy_ = false;
  // Failures reach the windows' thread through this object's queue; what is still queued when
  // it goes is dropped with it.
  QObject failureQueue_;
  QThreadPool thread_;
};

// A copy that a program which no longer runs left behind; its lock is held while this lives.
struct TLeftBehind {
  QString Path;
  QDateTime Written;
  std::unique_ptr<QLockFile> Lock;

  // Removes the copy and its lock.
  void Discard();
  // Keeps a copy that cannot be read where the user can find it, under a name that is offered
  // no more ("….unreadable"), and removes its lock; returns the new path, or the old one where it
  // cannot be renamed (it is then offered again).
  QString SetAside();
};

// The newest copy left behind, if any. Locks that programs no longer running left without a copy
// are removed on the way.
std::optional<TLeftBehind> FindLeftBehind();
