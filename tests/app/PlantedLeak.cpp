// Built only for the sanitizer run, never for the product: a window whose mouse handler loses
// what it allocates. The run must report the leak, with this handler in its stack, although Qt's
// event dispatch called the handler; a suppression broad enough to hide it fails this test.
#include "toolkit/Application.h"
#include "toolkit/Font.h"

#include <QTest>
#include <QWidget>

namespace {
class LeakyWindow : public QWidget {
 protected:
  void mousePressEvent(QMouseEvent*) override { lost_ = new TFont; }

 private:
  TFont* lost_ = nullptr;
};
}  // namespace

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  {
    auto* window = new LeakyWindow;
    window->show();
    QTest::mouseClick(window, Qt::LeftButton);
    delete window;
  }
  return 0;
}
