#include "toolkit/ShowModal.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

namespace {
// Gives the focus back on every way out, an error passing through included.
class TFocusReturn {
 public:
  explicit TFocusReturn(const QDialog& dialog)
      : focus_(QApplication::focusWidget()),
        window_(focus_                  ? focus_->window()
                : dialog.parentWidget() ? dialog.parentWidget()->window()
                                        : nullptr) {}
  ~TFocusReturn() {
    if (!window_ || !window_->isVisible()) return;
    window_->activateWindow();
    if (focus_) focus_->setFocus(Qt::ActiveWindowFocusReason);
  }
  TFocusReturn(const TFocusReturn&) = delete;
  TFocusReturn& operator=(const TFocusReturn&) = delete;

 private:
  QPointer<QWidget> focus_;
  QPointer<QWidget> window_;
};
}  // namespace

int ShowModal(QDialog& dialog) {
  const TFocusReturn focusReturn(dialog);
  return dialog.exec();
}
