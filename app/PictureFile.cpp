#include "app/PictureFile.h"

#include "toolkit/PngWriter.h"
#include "toolkit/WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

QString TPictureFormat::Filter() const {
  return Name + QStringLiteral(" (*.") + Suffixes.join(QStringLiteral(" *.")) + QLatin1Char(')');
}

const QList<TPictureFormat>& PictureFormats() {
  static const QList<TPictureFormat> formats = {
      {QStringLiteral("PNG image"), {QStringLiteral("png")}, "png"},
      {QStringLiteral("BMP image"), {QStringLiteral("bmp")}, "bmp"},
      {QStringLiteral("JPEG image"), {QStringLiteral("jpg"), QStringLiteral("jpeg")}, "jpeg"},
  };
  return formats;
}

const TPictureFormat* PictureFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix();
  for (const TPictureFormat& format : PictureFormats())
    if (format.Suffixes.contains(suffix, Qt::CaseInsensitive)) return &format;
  return nullptr;
}

QString WithPictureSuffix(const QString& path, const TPictureFormat& fallback) {
  return PictureFormatOf(path) ? path : path + QLatin1Char('.') + fallback.Suffixes.first();
}

QString PictureNotSaved(const QString& path, const QString& reason) {
  return QStringLiteral("The picture could not be saved as \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

namespace {
[[noreturn]] void Fail(const QString& path, const QString& reason) {
  throw EPictureWrite(PictureNotSaved(path, reason).toStdString());
}
}  // namespace

QByteArray EncodePicture(const QImage& picture, const TPictureFormat& format, bool withAlpha) {
  if (format.Writer == "png") {
    try {
      return EncodePng(picture, withAlpha);
    } catch (const std::exception& error) {
      throw EPictureWrite(error.what());
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format.Writer);
  if (!writer.write(picture.convertToFormat(QImage::Format_RGB888)))
    throw EPictureWrite(writer.errorString().toStdString());
  return bytes;
}

void WritePicture(const QImage& picture, const QString& path, bool withAlpha) {
  const TPictureFormat* format = PictureFormatOf(path);
  if (!format) Fail(path, QStringLiteral("the name ends in none of the picture types"));
  QByteArray bytes;
  try {
    bytes = EncodePicture(picture, *format, withAlpha);
  } catch (const EPictureWrite& error) {
    Fail(path, QString::fromUtf8(error.what()));
  }
  WriteEncodedPicture(bytes, path);
}

void WriteEncodedPicture(QByteArrayView bytes, const QString& path) {
  const QString reason = WriteWholeFile(path, bytes);
  if (!reason.isEmpty()) Fail(path, reason);
}
