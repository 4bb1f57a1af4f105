#pragma once
// The picture leaves the program: saved as an image file, or put on the clipboard for other
// programs to paste.
#include <QImage>

class QWidget;

// The composition as it paints now, rendered afresh: Width × Height pixels of 24-bit colour,
// exactly what the canvas shows.
QImage CompositionPicture();

// Asks for a file in the save dialog and writes the picture into it; cancelling writes nothing.
// A failed write raises EPictureWrite (app/PictureFile.h).
void SavePicture(QWidget* owner);

// Puts the picture on the clipboard as an image.
void CopyPicture();

