#include "toolkit/UndoKeys.h"

#include "toolkit/Application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

namespace {
// Watches the application's key events, since a key goes to the control that has the focus and
// a text field handles Ctrl+Z itself before its window would see it.
class TUndoKeys : public QObject {
 public:
  TUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo)
      : QObject(window), window_(window), undo_(std::move(undo)), redo_(std::move(redo)) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::ShortcutOverride) return false;
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != window_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const std::function<void()>* command = nullptr;
    if (key->key() == Qt::Key_Z && modifiers == Qt::ControlModifier)
      command = &undo_;
    else if ((key->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) ||
             (key->key() == Qt::Key_Y && modifiers == Qt::ControlModifier))
      command = &redo_;
    if (!command) return false;
    // The override is taken so that the key comes as a key press, whatever shortcut it may have.
    if (press) Guarded(*command);
    event->accept();
    return true;
  }

 private:
  QWidget* window_;
  std::function<void()> undo_;
  std::function<void()> redo_;
};
}  // namespace

void MakeUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo) {
  new TUndoKeys(window, std::move(undo), std::move(redo));
}
