#include "app/PictureExport.h"

#include "app/PictureFile.h"
#include "model/Zelto.h"
#include "toolkit/Canvas.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

namespace {

// Where the save dialog opens: the user's pictures folder, or the home folder when there is none.
QString PicturesFolder() {
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

// The save dialog, Qt's own rather than the desktop's. The picture's type follows the name's
// extension, or the chosen filter where the name has none of the types' extensions; Qt's dialog
// lets the name be completed before it accepts, so that its question before replacing a file
// asks about the file that is really written.
class TPictureDialog : public QFileDialog {
 public:
  explicit TPictureDialog(QWidget* owner) : QFileDialog(owner, QStringLiteral("Save picture"), PicturesFolder()) {
    setAcceptMode(AcceptSave);
    setOption(DontUseNativeDialog);
    QStringList filters;
    for (const TPictureFormat& format : PictureFormats()) filters.append(format.Filter());
    setNameFilters(filters);
    selectFile(QStringLiteral("picture.png"));
  }

  void accept() override {
    const QString typed = selectedFiles().value(0);
    if (!typed.isEmpty() && !QFileInfo(typed).isDir()) {
      const QString path = WithPictureSuffix(typed, PictureFormats().at(nameFilters().indexOf(selectedNameFilter())));
      if (path != typed) {
        // The name field takes a selected name only while it has no focus.
        QWidget* focus = focusWidget();
        if (focus) focus->clearFocus();
        selectFile(path);
        if (focus) focus->setFocus();
      }
    }
    QFileDialog::accept();
  }
};

}  // namespace

QImage CompositionPicture() {
  QImage picture(Composition->Width, Composition->Height, QImage::Format_RGB32);
  {
    TCanvas canvas(&picture);
    Composition->Paint(canvas);
  }
  return picture.convertToFormat(QImage::Format_RGB888);
}

void SavePicture(QWidget* owner) {
  TPictureDialog dialog(owner);
  if (dialog.exec() != QDialog::Accepted) return;
  WritePicture(CompositionPicture(), dialog.selectedFiles().value(0));
}

void CopyPicture() { QGuiApplication::clipboard()->setImage(CompositionPicture()); }
