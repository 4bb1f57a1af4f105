#pragma once
// PNG files of the program's pictures, encoded for speed: a command line writes thousands of them.
//
// Every row is filtered with PNG's "Up" filter, which turns the rows of one colour that make most
// of a picture of text into zeros. Such rows, found by comparing each row with the one above, go
// into the stream as copies of a zero, unscanned; the other rows are deflated at zlib's fastest
// level. Several times as fast as Qt's encoder, which tries every filter on every row and
// deflates at the default level, for files somewhat larger.
#include <QByteArray>
#include <QImage>

// `picture` as a PNG of 8-bit red, green and blue, with alpha where `withAlpha` is set. Raises
// std::runtime_error for a null picture.
QByteArray EncodePng(const QImage& picture, bool withAlpha);
