#pragma once
// Files written whole or not at all.
#include <QByteArrayView>
#include <QString>

// Writes `bytes` as the whole of `path`, or nothing: they go into a temporary file beside it,
// which replaces `path` only once every byte is in, so that a full disk or a size limit never
// leaves a cut-off file in place of the one that was there.
// Returns an empty string on success, otherwise the reason as the system words it ("No space left on device").
[[nodiscard]] QString WriteWholeFile(const QString& path, QByteArrayView bytes);
