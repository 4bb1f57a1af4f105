#include "pickers/ButtonPictures.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QTransform>

#include <functional>
#include <initializer_list>

namespace {

const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kGrey(128, 128, 128), kSilver(192, 192, 192), kGreen(0, 128, 0),
    kNavy(0, 0, 128), kRed(255, 0, 0), kLime(0, 255, 0), kBlue(0, 0, 255), kYellow(255, 255, 0), kAqua(0, 255, 255),
    kFuchsia(255, 0, 255);

// A transparent `side` × `side` picture with what `draw` paints on it.
QPixmap Picture(int side, const std::function<void(QPainter&)>& draw) {
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  draw(painter);
  painter.end();
  return QPixmap::fromImage(image);
}

// A 20 × 20 picture of hard-edged strokes 3 pixels wide in `color`.
QPixmap Strokes(const QColor& color, std::initializer_list<QPolygon> strokes) {
  return Picture(20, [&](QPainter& p) {
    p.setPen(QPen(color, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (const QPolygon& stroke : strokes) p.drawPolyline(stroke);
  });
}

// A white sheet with a black edge, `w` × `h` pixels with its top-left corner at (x, y).
void Sheet(QPainter& p, int x, int y, int w, int h) {
  p.fillRect(x, y, w, h, kBlack);
  p.fillRect(x + 1, y + 1, w - 2, h - 2, kWhite);
}

// The letter A, a stroke 2 pixels wide, in an 11 × 12 box from (x, y).
void LetterA(QPainter& p, int x, int y) {
  p.setPen(QPen(kBlack, 2));
  p.drawPolyline(QPolygon({QPoint(x, y + 11), QPoint(x + 5, y), QPoint(x + 10, y + 11)}));
  p.drawLine(x + 3, y + 7, x + 7, y + 7);
}

// Four swatches in a black frame, 11 × 11 from (x, y).
void Swatches(QPainter& p, int x, int y) {
  p.fillRect(x, y, 11, 11, kBlack);
  p.fillRect(x + 1, y + 1, 4, 4, kRed);
  p.fillRect(x + 6, y + 1, 4, 4, kLime);
  p.fillRect(x + 1, y + 6, 4, 4, kBlue);
  p.fillRect(x + 6, y + 6, 4, 4, kYellow);
}

}  // namespace

QPixmap OkGlyph() { return Strokes(kGreen, {QPolygon({QPoint(4, 10), QPoint(8, 14), QPoint(15, 5)})}); }

QPixmap CancelGlyph() {
  return Strokes(kRed, {QPolygon({QPoint(5, 5), QPoint(14, 14)}), QPolygon({QPoint(14, 5), QPoint(5, 14)})});
}

QPixmap FontColorGlyph() {
  static const QColor swatches[9] = {kRed, kYellow, kLime, kAqua, kBlue, kFuchsia, kBlack, kGrey, kWhite};
  return Picture(20, [](QPainter& p) {
    p.fillRect(1, 1, 19, 19, kBlack);
    for (int i = 0; i < 9; ++i) p.fillRect(2 + 6 * (i % 3), 2 + 6 * (i / 3), 5, 5, swatches[i]);
  });
}

QPixmap AddLayerGlyph() {
  return Picture(16, [](QPainter& p) {
    Sheet(p, 2, 1, 10, 13);
    p.fillRect(8, 10, 7, 3, kGreen);
    p.fillRect(10, 8, 3, 7, kGreen);
  });
}

QPixmap CopyLayerGlyph() {
  return Picture(16, [](QPainter& p) {
    Sheet(p, 1, 1, 9, 11);
    Sheet(p, 6, 4, 9, 11);
  });
}

QPixmap ArrowGlyph(bool up) {
  return Picture(16, [up](QPainter& p) {
    const int tip = up ? 2 : 13, base = up ? 8 : 7, stemTop = up ? 8 : 3;
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    p.drawPolygon(QPolygon({QPoint(8, tip), QPoint(14, base), QPoint(2, base)}));
    p.fillRect(6, stemTop, 4, 5, kNavy);
  });
}

QPixmap LayerFontGlyph() {
  return Picture(16, [](QPainter& p) { LetterA(p, 2, 2); });
}

QPixmap LayerColorGlyph() {
  return Picture(16, [](QPainter& p) { Swatches(p, 2, 2); });
}

QPixmap DefaultFontGlyph() {
  return Picture(16, [](QPainter& p) {
    Sheet(p, 0, 0, 16, 16);
    LetterA(p, 2, 2);
  });
}

QPixmap DefaultColorGlyph() {
  return Picture(16, [](QPainter& p) {
    Sheet(p, 0, 0, 16, 16);
    Swatches(p, 2, 2);
  });
}

QPixmap AnchorGlyph(int anchor) {
  return Picture(16, [anchor](QPainter& p) {
    Sheet(p, 1, 1, 14, 14);
    p.fillRect(3 + 4 * (anchor % 3), 3 + 4 * (anchor / 3), 2, 2, kNavy);
  });
}

// A diskette, 14 × 14 from (x, y).
void Diskette(QPainter& p, int x, int y) {
  p.fillRect(x, y, 14, 14, kNavy);
  p.fillRect(x + 3, y, 8, 6, kWhite);      // the label
  p.fillRect(x + 4, y + 9, 6, 5, kSilver);  // the shutter
  p.fillRect(x + 5, y + 10, 2, 3, kNavy);
}

// A landscape, sky, sun and a green field, in a black frame 11 × 10 from (x, y).
void Landscape(QPainter& p, int x, int y) {
  p.fillRect(x, y, 11, 10, kBlack);
  p.fillRect(x + 1, y + 1, 9, 4, kAqua);
  p.fillRect(x + 6, y + 2, 2, 2, kYellow);
  p.fillRect(x + 1, y + 5, 9, 4, kGreen);
}

QPixmap ExportPictureGlyph() {
  return Picture(16, [](QPainter& p) {
    Landscape(p, 0, 1);
    // An arrow out of it, to the right and down.
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPolygon(QPolygon({QPoint(15, 15), QPoint(8, 15), QPoint(15, 8)}));
    p.fillRect(9, 10, 3, 3, kRed);
  });
}

QPixmap NewDocumentGlyph() {
  return Picture(16, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kBlack);
    p.drawPolygon(QPolygon({QPoint(2, 0), QPoint(10, 0), QPoint(14, 4), QPoint(14, 16), QPoint(2, 16)}));
    p.setBrush(kWhite);
    p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(9, 1), QPoint(13, 5), QPoint(13, 15), QPoint(3, 15)}));
    p.fillRect(9, 1, 1, 4, kBlack);  // the folded corner
    p.fillRect(9, 4, 4, 1, kBlack);
  });
}

QPixmap OpenDocumentGlyph() {
  return Picture(16, [](QPainter& p) {
    p.fillRect(0, 3, 6, 2, kBlack);  // the folder's tab
    p.fillRect(0, 4, 15, 11, kBlack);
    p.fillRect(1, 5, 13, 9, kYellow);
    p.fillRect(1, 8, 13, 1, kBlack);  // its front opens
  });
}

QPixmap SaveDocumentGlyph() {
  return Picture(16, [](QPainter& p) { Diskette(p, 1, 1); });
}

QPixmap SaveDocumentAsGlyph() {
  return Picture(16, [](QPainter& p) {
    Diskette(p, 0, 0);
    // Three dots: a name to give.
    for (int x : {8, 11, 14}) p.fillRect(x, 14, 2, 2, kRed);
  });
}

QPixmap CopyPictureGlyph() {
  return Picture(16, [](QPainter& p) {
    Sheet(p, 1, 1, 9, 11);
    Sheet(p, 5, 4, 11, 11);
    p.fillRect(6, 5, 9, 5, kAqua);  // a landscape: sky, sun and a green field
    p.fillRect(12, 6, 2, 2, kYellow);
    p.fillRect(6, 10, 9, 4, kGreen);
  });
}

QPixmap UndoGlyph() {
  return Picture(16, [](QPainter& p) {
    p.setPen(QPen(kNavy, 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(QPolygon({QPoint(6, 6), QPoint(10, 6), QPoint(13, 9), QPoint(13, 15)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    p.drawPolygon(QPolygon({QPoint(1, 6), QPoint(6, 1), QPoint(6, 11)}));
  });
}

QPixmap RedoGlyph() { return UndoGlyph().transformed(QTransform::fromScale(-1, 1)); }
