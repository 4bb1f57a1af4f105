#pragma once
// The composition as a document of its own: a .zelto file, UTF-8 JSON that a person can read and
// compare, holding everything the picture is made from. docs/document-format.md describes every
// field, its type and its range.
//
// Versions are "major.minor". A reader reads every minor version of its major and skips the fields
// it does not know; a newer major is refused with a message that says so. The writer writes the
// lowest version that holds the document: 1.0, or 1.1 where a layer remembers an anchor.
//
// Text is stored as Unicode, converted from the system code page, one string a line. Where a
// layer's bytes are not what their Unicode gives back (an invalid UTF-8 sequence, a lone lead
// byte), the bytes are kept as well, with the code page's name, so that the same code page
// reads them back exactly; another code page converts the Unicode, and says which layers had
// characters that it has no form for.
//
// Documents come from other people: a document over the limits below, of the wrong shape or
// with a value out of its range is refused as a whole, with the reason, and nothing of it is
// used. The writer keeps to the same limits, so that nothing is saved that could not be opened.
#include "model/Zelto.h"
#include "toolkit/CodePage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

// The format's name, which the desktop also finds a document by.
inline constexpr char kDocumentFormat[] = "org.zeltozelto.document";

struct TDocumentLimits {
  static constexpr qsizetype kMaxBytes = qsizetype(256) << 20;  // of the whole file
  static constexpr qsizetype kMaxLayers = 100'000;
  static constexpr qsizetype kMaxTextLength = 1 << 20;  // characters of a layer's text
  static constexpr qsizetype kMaxFaceLength = 1024;     // characters of a face name
};

// A document that cannot be read, or a composition that cannot be written as one; what() is the
// reason, one line.
class EDocument : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct TZeltoDocument {
  TZeltoContent Content;
  std::vector<int32_t> Selection;  // layer indexes, in the order of selecting
  // The document a recovery copy was kept for; empty for one never saved and for any other
  // document.
  QString RecoveryOf;
};

struct TDocumentRead {
  TZeltoDocument Document;
  // The layers, as "layer 3 (“Hello…”)", whose text had characters that the system code page
  // has no form for; they hold "?" in their place.
  QStringList Unconverted;
};

// The composition `content` with `selection` as a document, its text converted from the system
// code page. Raises EDocument where it is over the limits.
QByteArray WriteDocument(const TZeltoContent& content, std::span<const int32_t> selection,
                         const QString& recoveryOf = {});
// The same from `codePage`, which a thread other than the windows' has of its own: a code page's
// converters serve one thread at a time.
QByteArray WriteDocument(const TZeltoContent& content, std::span<const int32_t> selection,
                         const QString& recoveryOf, const TCodePage& codePage);

// Reads a document; raises EDocument with the reason where it cannot.
TDocumentRead ReadDocument(QByteArrayView bytes);

// Reads the document file at `path`; raises CannotOpen's error where it cannot.
TDocumentRead ReadDocumentFile(const QString& path);

// The error of the document at `path` that cannot be opened: "The document "…" could not be
// opened:" and the reason.
EDocument CannotOpen(const QString& path, const QString& reason);

// The faces a document draws with: the default font's and those of the layers that use a font
// of their own, each once.
QStringList FacesInUse(const TZeltoContent& content);
// Those of them that are not installed.
QStringList MissingFaces(const TZeltoContent& content);
