#include "app/Document.h"

#include "model/Document.h"
#include "toolkit/Application.h"
#include "toolkit/ShowModal.h"
#include "toolkit/WholeFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

const QString kFilter = QStringLiteral("ZeltoZelto document (*.zelto)");
const QString kAllFiles = QStringLiteral("All files (*)");

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

// Where the open and save dialogs begin: the folder of the document open, or the documents
// folder (the home folder where there is none).
QString StartFolder(const QString& path) {
  if (!path.isEmpty()) return QFileInfo(path).absolutePath();
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// Qt's own dialogs, the same on every desktop.
QString AskForFile(QWidget* owner, QFileDialog::AcceptMode mode, const QString& start, const QString& name) {
  QFileDialog dialog(owner, mode == QFileDialog::AcceptOpen ? QStringLiteral("Open") : QStringLiteral("Save as"),
                     start);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(mode);
  dialog.setNameFilters({kFilter, kAllFiles});
  if (mode == QFileDialog::AcceptOpen) {
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setDefaultSuffix(QStringLiteral("zelto"));
    dialog.selectFile(name);
  }
  if (ShowModal(dialog) != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

}  // namespace

TDocument::TDocument(QWidget* window) : window_(window) {
  recoveryTimer_.setSingleShot(true);
  QObject::connect(&recoveryTimer_, &QTimer::timeout, window_, Guard([this] { KeepRecoveryCopy(); }));
  recovery_.OnFailure = [this](const QString& reason) { Guarded([&] { RecoveryFailed(reason); }); };
}

QString TDocument::Name() const {
  return path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
}

bool TDocument::Modified() const { return Composition->History.Modified(); }

bool TDocument::New() {
  if (!MayLeave()) return false;
  TZeltoContent empty;
  empty.Canvas = {200, 200, TFont{}};
  Composition->History.Start(empty, {});
  path_.clear();
  Changed();
  return true;
}

bool TDocument::Open() {
  const QString path = AskForFile(window_, QFileDialog::AcceptOpen, StartFolder(path_), {});
  return !path.isEmpty() && Open(path);
}

bool TDocument::Open(const QString& path) {
  // The file first: one that cannot be opened asks nothing, and changes nothing.
  TDocumentRead read = ReadDocumentFile(path);
  const bool modified = Modified();
  if (!MayLeave()) return false;
  // Saving the changes may have written this very file: what it holds now is what opens.
  if (modified && !Modified()) read = ReadDocumentFile(path);
  Adopt(read, QFileInfo(path).absoluteFilePath());
  return true;
}

void TDocument::Adopt(const TDocumentRead& read, const QString& path) {
  try {
    Composition->History.Start(read.Document.Content, read.Document.Selection);
  } catch (const std::exception& error) {
    throw CannotOpen(path, QString::fromUtf8(error.what()));
  }
  path_ = path;
  Changed();

  QStringList notes;
  const QStringList missing = MissingFaces(read.Document.Content);
  if (!missing.isEmpty())
    notes.append(QStringLiteral("These fonts are not installed; what is drawn in them shows in another font "
                                "until they are: %1.")
                     .arg(missing.join(QStringLiteral(", "))));
  if (!read.Unconverted.isEmpty())
    notes.append(QStringLiteral("Some characters of these layers have no form in this system's code page (%1) "
                                "and show as \"?\": %2.")
                     .arg(QString::fromStdString(TCodePage::System().Name()), read.Unconverted.join(QStringLiteral(", "))));
  if (notes.isEmpty()) return;
  QMessageBox box(QMessageBox::Information, QStringLiteral("ZeltoZelto"), QStringLiteral("\"%1\" is open.").arg(Name()),
                  QMessageBox::Ok, window_);
  box.setInformativeText(notes.join(QStringLiteral("\n\n")));
  ShowModal(box);
}

bool TDocument::Save() {
  if (path_.isEmpty()) return SaveAs();
  Write(path_);
  return true;
}

bool TDocument::SaveAs() {
  const QString name = path_.isEmpty() ? QStringLiteral("Untitled.zelto") : QFileInfo(path_).fileName();
  const QString path = AskForFile(window_, QFileDialog::AcceptSave, StartFolder(path_), name);
  if (path.isEmpty()) return false;
  Write(path);
  return true;
}

void TDocument::Write(const QString& path) {
  const std::shared_ptr<const TZeltoContent> content = Composition->History.Content();
  QString reason;
  try {
    reason = WriteWholeFile(path, WriteDocument(*content, Composition->SelectionIndexes()));
  } catch (const EDocument& error) {
    reason = QString::fromUtf8(error.what());
  }
  if (!reason.isEmpty())
    throw EDocument(QStringLiteral("The document could not be saved as \"%1\": %2").arg(Native(path), reason).toStdString());
  path_ = QFileInfo(path).absoluteFilePath();
  Composition->History.MarkSaved();
  Changed();
}

bool TDocument::MayLeave() {
  if (!Modified()) return true;
  QMessageBox box(QMessageBox::Question, QStringLiteral("ZeltoZelto"),
                  QStringLiteral("Save changes to \"%1\"?").arg(Name()),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window_);
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  // Alt and the letter choose, as on every desktop's own question.
  box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
  box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
  switch (ShowModal(box)) {
    case QMessageBox::Save:
      return Save();
    case QMessageBox::Discard:
      // The recovery copy goes with the composition, once it goes.
      return true;
    default:
      return false;
  }
}

void TDocument::OfferRecovery() {
  // A copy that cannot be read (of a newer version, say) is kept aside for the user, and the
  // next one is offered.
  std::optional<TLeftBehind> copy;
  std::optional<TDocumentRead> read;
  QStringList unreadable;
  while (!read && (copy = FindLeftBehind())) {
    try {
      read = ReadDocumentFile(copy->Path);
    } catch (const EDocument& error) {
      const QString aside = copy->SetAside();
      unreadable.append(QStringLiteral("%1 It is kept as \"%2\".").arg(QString::fromUtf8(error.what()), Native(aside)));
      // Not renamed, it would be found again: the next start tries once more.
      if (aside == copy->Path) break;
    }
  }
  if (!unreadable.isEmpty()) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("ZeltoZelto"),
                    QStringLiteral("A recovery copy that ZeltoZelto left behind cannot be read."), QMessageBox::Ok,
                    window_);
    box.setInformativeText(unreadable.join(QStringLiteral("\n\n")));
    ShowModal(box);
  }
  if (!read) return;
  const TZeltoDocument& document = read->Document;
  const QString of = document.RecoveryOf.isEmpty() ? QStringLiteral("a composition never saved")
                                                   : QStringLiteral("\"%1\"").arg(QFileInfo(document.RecoveryOf).fileName());
  QMessageBox box(QMessageBox::Question, QStringLiteral("ZeltoZelto"),
                  QStringLiteral("ZeltoZelto ended before the changes to %1 were saved. A copy of them was kept on %2. "
                                 "Restore it?")
                      .arg(of, QLocale().toString(copy->Written, QLocale::ShortFormat)),
                  QMessageBox::NoButton, window_);
  QPushButton* restore = box.addButton(QStringLiteral("&Restore"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
  QPushButton* later = box.addButton(QStringLiteral("&Not now"), QMessageBox::RejectRole);
  box.setDefaultButton(restore);
  box.setEscapeButton(later);
  ShowModal(box);
  if (box.clickedButton() == discard) {
    copy->Discard();
  } else if (box.clickedButton() == restore) {
    if (!MayLeave()) return;
    Adopt(*read, document.RecoveryOf);
    Composition->History.MarkUnsaved();
    // This program keeps the changes from here on, in a copy of its own, before the old one
    // goes; where that copy cannot be written, the old one stays for the next start.
    KeepRecoveryCopy();
    recovery_.Wait();
    if (recovery_.HasCopy()) copy->Discard();
  }
}

void TDocument::Changed() {
  if (OnNameChange) OnNameChange();
  if (Modified()) {
    if (!recoveryTimer_.isActive()) unkeptSince_.start();
    recoveryTimer_.start(int(std::clamp<qint64>(kRecoveryLongestDelay - unkeptSince_.elapsed(), 0, kRecoveryDelay)));
  } else {
    recoveryTimer_.stop();
    if (copyKept_) recovery_.Forget();
    copyKept_ = false;
  }
}

void TDocument::KeepRecoveryCopy() {
  recoveryTimer_.stop();
  recovery_.Keep(Composition->History.Content(), Composition->SelectionIndexes(), path_);
  copyKept_ = true;
}

void TDocument::RecoveryFailed(const QString& reason) {
  // Once: the copy is tried again at every change, and the user knows to save.
  if (std::exchange(recoveryFailureShown_, true)) return;
  throw EDocument(QStringLiteral("No recovery copy of the unsaved changes can be kept in \"%1\": %2. Save them "
                                 "yourself.")
                      .arg(Native(TRecovery::Folder()), reason)
                      .toStdString());
}
