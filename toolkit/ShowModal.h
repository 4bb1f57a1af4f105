#pragma once
// Modal dialogs that give the focus back.
class QDialog;

// Shows `dialog` modally and returns its result. When it closes, however it closes, the window
// and the control that had the focus when it opened have it again. Left to itself the desktop
// would activate a window of its own choosing (on X11 the main window), and the user's next keys
// would land there.
int ShowModal(QDialog& dialog);
