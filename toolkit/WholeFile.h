#pragma once
// Files written whole or not at all, and files read whole within a limit.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Writes `bytes` as the whole of `path`, or nothing: they go into a temporary file beside it,
// which replaces `path` only once every byte is in, so that a full disk or a size limit never
// leaves a cut-off file in place of the one that was there.
// Returns an empty string on success, otherwise the reason as the system words it ("No space left on device").
[[nodiscard]] QString WriteWholeFile(const QString& path, QByteArrayView bytes);

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
