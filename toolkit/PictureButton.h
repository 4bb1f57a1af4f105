#pragma once
// The windows' buttons that show a picture and no text.
#include <QLatin1String>
#include <QPixmap>
#include <QRect>
#include <QWidget>

// A button of type `Button` (a tool button or a push button) named `name` at `geometry` of
// `parent`, showing `picture` at its own size.
template <class Button>
Button* MakeButton(QWidget* parent, const QRect& geometry, const QPixmap& picture, const char* name) {
  auto* button = new Button(parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  button->setIcon(picture);
  button->setIconSize(picture.size());
  return button;
}
