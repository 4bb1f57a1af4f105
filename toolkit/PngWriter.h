#pragma once
// PNG files of the program's pictures, encoded for speed: a command line writes thousands of them.
//
// Every row is filtered with PNG's "Sub" filter, which turns the flat runs of a text picture into
// zeros, and deflated at zlib's fastest level: about four times as fast as Qt's encoder (which
// tries every filter on every row and deflates at the default level), for files some 5% larger.
#include <QByteArray>
#include <QImage>

// `picture` as a PNG of 8-bit red, green and blue, with alpha where `withAlpha` is set. Raises
// std::runtime_error for a null picture.
QByteArray EncodePng(const QImage& picture, bool withAlpha);
