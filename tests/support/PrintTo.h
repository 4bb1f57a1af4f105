#pragma once
// Readable failure messages: Qt's values as text, a zoom as its fraction, and a table's case by
// its name.
#include "app/Zoom.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <ostream>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QColor& color, std::ostream* out) {
  *out << "rgb(" << color.red() << ", " << color.green() << ", " << color.blue() << ")";
}
inline void PrintTo(const QRect& r, std::ostream* out) {
  *out << "(" << r.x() << ", " << r.y() << ") " << r.width() << " x " << r.height();
}
inline void PrintTo(const QSize& size, std::ostream* out) { *out << size.width() << " x " << size.height(); }
inline void PrintTo(const QPoint& p, std::ostream* out) { *out << "(" << p.x() << ", " << p.y() << ")"; }
QT_END_NAMESPACE

inline void PrintTo(const TZoom& zoom, std::ostream* out) { *out << zoom.Numerator << "/" << zoom.Denominator; }

namespace {
// In the unnamed namespace of the test file that includes this, where its case types are, so
// that the printer finds it.
template <class Case>
  requires requires(const Case& c) { std::string(c.name); }
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}
}  // namespace
