#pragma once
// The document the composition is kept in: the file it was opened from or saved to, whether it
// has changes that are not saved, and the commands that make, open and save it. Wherever changes
// would be lost (a new document, another one opened, the program closed) it first asks whether
// to save them. While there are unsaved changes it keeps a recovery copy (app/Recovery.h) a few
// seconds after the last change, and offers a copy that a program killed or crashed left behind.
//
// Opening replaces the composition as a whole and starts its history afresh, as at the program's
// start. A document that cannot be opened is refused with one message, naming the file and the
// reason, and the composition that was open stays as it was. Saving writes the whole file or
// nothing: a save that fails leaves the file that was there.
#include "app/Recovery.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;
struct TDocumentRead;
struct TZeltoDocument;

class TDocument {
 public:
  // How long after the last change the recovery copy is written; however often the composition
  // changes, the copy is never further behind than the longest delay.
  static constexpr int kRecoveryDelay = 3000;
  static constexpr int kRecoveryLongestDelay = 10000;

  // `window` owns the dialogs and the questions.
  explicit TDocument(QWidget* window);

  const QString& Path() const { return path_; }
  // The file's name, "title-card.zelto", or "Untitled" for a document never saved.
  QString Name() const;
  bool Modified() const;

  // The commands, as the buttons and keys run them. Each returns whether it was done: the user
  // may cancel. A failure raises EDocument (model/Document.h), naming the file and the reason.
  bool New();
  bool Open();                     // asks which file
  bool Open(const QString& path);  // asks whether to save changes once the file has been read
  bool Save();
  bool SaveAs();
  // Asks "Save changes to …?" (Save, Discard, Cancel) where there are unsaved changes. Returns
  // whether they are dealt with, saved or discarded, so that the composition may go.
  bool MayLeave();
  // Offers the newest copy that a program which no longer runs left behind.
  void OfferRecovery();

  // Runs on every change of the composition or of whether it is saved.
  void Changed();
  // Runs whenever the name or the unsaved state shown may have changed.
  std::function<void()> OnNameChange;

  TRecovery& Recovery() { return recovery_; }

 private:
  void Write(const QString& path);
  // Makes the composition `read`'s document, kept as `path`, and tells of fonts that are not
  // installed and of characters that the code page has no form for.
  void Adopt(const TDocumentRead& read, const QString& path);
  void KeepRecoveryCopy();
  void RecoveryFailed(const QString& reason);

  QWidget* window_;
  QString path_;
  TRecovery recovery_;
  QTimer recoveryTimer_;
  QElapsedTimer unkeptSince_;  // the first change that no copy holds yet
  bool copyKept_ = false;
  bool recoveryFailureShown_ = false;
};
