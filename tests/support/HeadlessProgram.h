#pragma once
// The real program as a process without a display: no X server or Wayland compositor to reach,
// and no platform chosen, so that the program must choose its own where it needs one.
#include <QProcessEnvironment>

inline QProcessEnvironment HeadlessEnvironment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
  return environment;
}
