#pragma once
// The pictures of the windows' buttons, in colours of the classic 16-colour palette on a
// transparent ground.
#include <QPixmap>

// 20 × 20: the dialogs' OK and Cancel buttons, a green check mark and a red cross; the cross
// also deletes layers.
QPixmap OkGlyph();
QPixmap CancelGlyph();
// 20 × 20: the font picker's colour button, a 3 × 3 grid of swatches.
QPixmap FontColorGlyph();

// 16 × 16: the layer panel's buttons.
QPixmap AddLayerGlyph();   // a sheet with a green plus
QPixmap CopyLayerGlyph();  // two sheets, one over the other
QPixmap ArrowGlyph(bool up);
QPixmap LayerFontGlyph();   // the letter A
QPixmap LayerColorGlyph();  // four swatches
// The default font and colour: the same pictures on a sheet, the canvas.
QPixmap DefaultFontGlyph();
QPixmap DefaultColorGlyph();
// The canvas with a block at one of its nine anchors (0..8).
QPixmap AnchorGlyph(int anchor);

// 16 × 16: the main window's undo and redo buttons, an arrow turning back to the left and its
// mirror image.
QPixmap UndoGlyph();
QPixmap RedoGlyph();
// 16 × 16: the main window's buttons that export the picture (a picture with an arrow out of it)
// and copy it (a picture on the front one of two sheets).
QPixmap ExportPictureGlyph();
QPixmap CopyPictureGlyph();
// 16 × 16: the main window's document buttons: a new sheet, an open folder, a diskette, and a
// diskette with a name to give.
QPixmap NewDocumentGlyph();
QPixmap OpenDocumentGlyph();
QPixmap SaveDocumentGlyph();
QPixmap SaveDocumentAsGlyph();
