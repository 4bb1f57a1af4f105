#pragma once
// The picture leaves the program: saved as an image file, or put on the clipboard for other
// programs to paste.
#include <QImage>

class QAbstractButton;
class QWidget;

// The composition as it paints now, rendered afresh: Width × Height pixels of 24-bit colour,
// exactly what the canvas shows.
QImage CompositionPicture();

// Asks for a file in the save dialog and writes the picture into it; cancelling writes nothing.
// A failed write raises EPictureWrite (app/PictureFile.h).
void SavePicture(QWidget* owner);

// Puts the picture on the clipboard as an image.
void CopyPicture();

// Keys that click the buttons anywhere in the program's windows while no dialog is open:
// Ctrl+S `save`; Ctrl+Shift+C and Ctrl+C `copy`, except that a text field with the focus keeps
// Ctrl+C to copy its own text.
void AddPictureKeys(QWidget* window, QAbstractButton* save, QAbstractButton* copy);
