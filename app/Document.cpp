#include "app/Document.h"

#include "model/Document.h"
#include "toolkit/Application.h"
#include "toolkit/ShowModal.h"
#include "toolkit/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

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
  recoveryTimer_.setInterval(kRecoveryDelay);
  QObject::connect(&recoveryTimer_, &QTimer::timeout, window_, Guard([this] { KeepRecoveryCopy(); }));
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
  const TDocumentRead read = ReadDocumentFile(path);
  const TZeltoDocument& document = read.Document;
  const QStringList& unconverted = read.Unconverted;
  if (!MayLeave()) return false;
  try {
    Adopt(document, QFileInfo(path).absoluteFilePath());
  } catch (const std::exception& error) {
    throw EDocument(QStringLiteral("The document \"%1\" could not be opened: %2")
                        .arg(Native(path), QString::fromUtf8(error.what()))
                        .toStdString());
  }
  QStringList notes;
  QStringList missing;
  for (const QString& face : FacesInUse(document.Content))
    if (!QFontDatabase::hasFamily(face)) missing.append(face);
  if (!missing.isEmpty())
    notes.append(QStringLiteral("These fonts are not installed; what is drawn in them shows in another font "
                                "until they are: %1.")
                     .arg(missing.join(QStringLiteral(", "))));
  if (!unconverted.isEmpty())
    notes.append(QStringLiteral("Some characters of these layers have no form in this system's code page (%1) "
                                "and show as \"?\": %2.")
                     .arg(QString::fromStdString(TCodePage::System().Name()), unconverted.join(QStringLiteral(", "))));
  if (!notes.isEmpty()) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("ZeltoZelto"),
                    QStringLiteral("\"%1\" is open.").arg(Name()), QMessageBox::Ok, window_);
    box.setInformativeText(notes.join(QStringLiteral("\n\n")));
    ShowModal(box);
  }
  return true;
}

void TDocument::Adopt(const TZeltoDocument& document, const QString& path) {
  Composition->History.Start(document.Content, document.Selection);
  path_ = path;
  Changed();
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
  std::optional<TLeftBehind> copy = FindLeftBehind();
  if (!copy) return;
  TZeltoDocument document;
  try {
    document = ReadDocumentFile(copy->Path).Document;
  } catch (const EDocument&) {
    // A copy that cannot be read is of no use to anyone.
    copy->Discard();
    throw;
  }
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
    Adopt(document, document.RecoveryOf);
    Composition->History.MarkUnsaved();
    // This program keeps the changes from here on, in a copy of its own, before the old one goes.
    KeepRecoveryCopy();
    recovery_.Wait();
    copy->Discard();
  }
}

void TDocument::Changed() {
  if (OnNameChange) OnNameChange();
  if (Modified()) {
    recoveryTimer_.start();
  } else {
    recoveryTimer_.stop();
    if (copyKept_) recovery_.Forget();
    copyKept_ = false;
  }
}

void TDocument::KeepRecoveryCopy() {
  recovery_.Keep(Composition->History.Content(), Composition->SelectionIndexes(), path_);
  copyKept_ = true;
  const QString failure = recovery_.TakeFailure();
  if (failure.isEmpty() || recoveryFailureShown_) return;
  recoveryFailureShown_ = true;
  throw EDocument(QStringLiteral("No recovery copy of the unsaved changes can be kept in \"%1\": %2. Save them "
                                     "yourself.")
                          .arg(Native(TRecovery::Folder()), failure)
                          .toStdString());
}
