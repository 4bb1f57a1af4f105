#pragma once
// Files written whole or not at all, and files read whole within a limit.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

// Writes `bytes` as the whole of `path`, or nothing: they go into a temporary file beside it,
// which replaces `path` only once every byte is in, so that a full disk or a size limit never
// leaves a cut-off file in place of the one that was there.
// Returns an empty string on success, otherwise the reason as the system words it ("No space left on device").
[[nodiscard]] QString WriteWholeFile(const QString& path, QByteArrayView bytes);

// Many files written whole or not at all, as WriteWholeFile writes one, for a batch of pictures:
// each goes into a temporary file beside its own, and a group of them take their names together,
// after one sync of the file system has put all of them on the disk. WriteWholeFile syncs each
// file, and for a small file the sync is most of the cost.
class TWholeFileGroups {
 public:
  // A file written under its temporary name, not yet synced nor named.
  struct TPending {
    QString Path;
    QByteArray Temporary;  // the temporary file's name, as the system takes it
  };

  // For files in `folder`, which exists; the system's reason where it cannot be opened is said by
  // the first Commit.
  explicit TWholeFileGroups(const QString& folder);
  ~TWholeFileGroups();
  TWholeFileGroups(const TWholeFileGroups&) = delete;
  TWholeFileGroups& operator=(const TWholeFileGroups&) = delete;

  // Writes `bytes` into a new temporary file beside `path` (in the folder), named "<name>.XXXXXX"
  // as WriteWholeFile names its own. Returns the system's reason where it cannot, and then leaves
  // nothing behind. Safe to call from several threads at once.
  [[nodiscard]] QString Write(const QString& path, QByteArrayView bytes, TPending& pending) const;

  // Puts `files` on the disk, then gives each its name. Returns a reason for each file, empty
  // where it took its name; a file that fails is removed. Once a sync fails, every later file
  // fails too: the system cannot say which files the failure touched.
  std::vector<QString> Commit(const std::vector<TPending>& files);

 private:
  int folder_;              // open, so that a sync reports failures since the first file
  QString syncFailure_;     // the first sync's failure, if any
};

// What ReadWholeFile read: the bytes, or the reason they could not be read.
struct TFileRead {
  QByteArray Bytes;
  QString Failure;  // empty when the bytes are the whole file
};

// Reads the whole of the regular file `path`, if it holds at most `limit` bytes. Files come from
// other people: a pipe or a device (which could block or never end) is refused before it is
// opened, and no more than `limit` bytes and one are ever read, whatever the file's size says.
// `limitText` words the limit for the reason: "it is larger than " and, say, "the 256 MiB a
// document may have".
TFileRead ReadWholeFile(const QString& path, qsizetype limit, const QString& limitText);
