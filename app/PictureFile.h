#pragma once
// Writing the picture into an image file: the formats offered, the file name's extension, the
// encoding, and a write that leaves either the whole new file or the one that was there before.
#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

struct TPictureFormat {
  QString Name;          // as the save dialog's list of types shows it
  QStringList Suffixes;  // without the dot; the first is the one a name without any gets
  QByteArray Writer;     // QImageWriter's name of the format

  // The save dialog's filter: "PNG image (*.png)".
  QString Filter() const;
};

// PNG, the default, then BMP and JPEG.
const QList<TPictureFormat>& PictureFormats();

// The format whose suffix ends `path`, in any case; null when none does.
const TPictureFormat* PictureFormatOf(const QString& path);

// `path` when its suffix names a format; otherwise `path` with `fallback`'s suffix appended, so
// that "picture" and "picture.txt" become "picture.png" and "picture.txt.png".
QString WithPictureSuffix(const QString& path, const TPictureFormat& fallback);

// A picture that could not be encoded or written; the text gives the reason and, where a file
// was being written, names it.
class EPictureWrite : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The message of a picture that could not be written into `path`, for the system's `reason`.
QString PictureNotSaved(const QString& path, const QString& reason);

// `picture` as 24-bit colour, encoded in `format`, with the picture's alpha where `withAlpha` is
// set (PNG alone keeps it). PNG is encoded for speed (toolkit/PngWriter.h), the others by Qt.
// Raises EPictureWrite with the writer's reason ("Image is empty") when it cannot be encoded.
QByteArray EncodePicture(const QImage& picture, const TPictureFormat& format, bool withAlpha = false);

// Writes `picture`, encoded as EncodePicture does, into `path`, in the format its suffix names.
// The file appears whole or not at all (WriteWholeFile): the picture goes into a temporary file
// beside it, which replaces the file only once every byte is in. On failure, a full disk or a
// size limit included, raises EPictureWrite naming the file and the reason, and leaves a file
// that was there as it was and none where there was none.
void WritePicture(const QImage& picture, const QString& path, bool withAlpha = false);
// Writes a picture encoded already into `path`, as WritePicture writes it.
void WriteEncodedPicture(QByteArrayView bytes, const QString& path);
