// A long, seeded, random run of what a user can do with the real windows: the main window, the
// layer panel and both pickers. After every action the program's invariants must hold, and the
// only errors reported are the program's run-time errors.
//
// SOAK_SEED and SOAK_COUNT choose the run (scripts/soak sets them); the suite runs a fixed one.
#include "tests/app/UserActions.h"
#include "tests/panel/PanelFixture.h"

#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

namespace {

// The suite's own run: long enough to build up a stack and open the pickers many times.
constexpr int kSuiteCount = 1500;

int EnvironmentNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : fallback;
}

class SoakTest : public PanelTest {
 protected:
  SoakTest() : actions_(static_cast<uint32_t>(EnvironmentNumber("SOAK_SEED", 20261209))) {}

  void CheckInvariants(const std::string& step) {
    ASSERT_EQ(form->LBox->Count(), Composition->LayerCount()) << step;
    const std::set<const TZeltoLayer*> selected(Composition->Selection.begin(), Composition->Selection.end());
    ASSERT_EQ(selected.size(), Composition->Selection.size()) << step << ": a layer is selected twice";
    for (int32_t i = 0; i < Composition->LayerCount(); ++i) {
      const TZeltoLayer& layer = Composition->GetLayer(i);
      ASSERT_EQ(layer.Selected, selected.count(&layer) == 1) << step << ": layer " << i;
      ASSERT_EQ(form->LBox->Selected(i), layer.Selected) << step << ": row " << i;
    }
    ASSERT_EQ(selected.size(), std::size_t(std::count_if(Composition->Layers.begin(), Composition->Layers.end(),
                                                         [](const auto& l) { return l->Selected; })))
        << step;
    ASSERT_EQ(QSize(Composition->Bitmap.Width(), Composition->Bitmap.Height()),
              QSize(Composition->Width, Composition->Height))
        << step;
    const TZoom zoom = MainForm->Zoom();
    ASSERT_EQ(MainForm->PBox->size(), QSize(zoom.ToView(Composition->Width), zoom.ToView(Composition->Height)))
        << step;
    ASSERT_EQ(MainForm->LblZoom->text(), zoom.Percent()) << step;
    // The screen shows the composition as it now paints, at the zoom, wherever the canvas is in
    // view: every change ended with a repaint. No layer's own font is left on the canvas afterwards.
    const TFont before = Composition->DefaultFont();
    const QRect inView = CanvasInView();
    const QImage shown = OnScreen(inView);
    QImage painted(Composition->Width, Composition->Height, QImage::Format_RGB32);
    {
      TCanvas canvas(&painted);
      Composition->Paint(canvas);
    }
    ASSERT_TRUE(shown == AtZoom(painted, inView)) << step << ": the screen does not show the canvas in "
                                                  << inView.x() << "," << inView.y() << " " << inView.width()
                                                  << "x" << inView.height() << " at " << zoom.Percent().toStdString();
    ASSERT_EQ(Composition->DefaultFont(), before) << step;
    for (const QString& report : reports) {
      ASSERT_TRUE(UserActions::IsRunTimeError(report)) << step << ": reported " << report.toStdString();
      ++errorsReported_[QString(report).replace(QRegularExpression("[0-9]+"), "N").toStdString()];
    }
    reports.clear();
  }

  // The paint area's pixels `area` as the view shows `painted` at its zoom: copied onto the
  // window from the paint area's corner, scaled, pixels as squares above 100% and smoothed below.
  // The copy is made as the paint area makes it, with the same transformation of the window's
  // pixels, so that the scaled pixels must be the same to the last bit.
  static QImage AtZoom(const QImage& painted, const QRect& area) {
    const double scale = MainForm->Zoom().Scale();
    const QRect inWindow(MainForm->PBox->mapTo(MainForm, area.topLeft()), area.size());
    QImage window(MainForm->size(), QImage::Format_RGB32);
    {
      QPainter painter(&window);
      painter.setClipRect(inWindow);
      painter.translate(MainForm->PBox->mapTo(MainForm, QPoint(0, 0)));
      if (scale != 1) painter.scale(scale, scale);
      painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1);
      painter.drawImage(QPoint(0, 0), painted);
    }
    return window.copy(inWindow);
  }

  // The part of the paint area that the scrolling area shows, in the paint area's pixels.
  static QRect CanvasInView() {
    const QWidget* viewport = MainForm->ScrollBox1->viewport();
    const QRect view(MainForm->PBox->mapFrom(viewport, QPoint(0, 0)), viewport->size());
    return view & MainForm->PBox->rect();
  }

  // What the main window's backing store holds, that is what the screen shows, of the canvas
  // pixels `area`.
  static QImage OnScreen(const QRect& area) {
    const QPoint at = MainForm->PBox->mapTo(MainForm, area.topLeft());
    return MainForm->screen()
        ->grabWindow(MainForm->winId(), at.x(), at.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  UserActions actions_;
  std::map<std::string, int> errorsReported_;
  int32_t mostLayers_ = 0;
};

TEST_F(SoakTest, RandomUserActionsKeepTheProgramWhole) {
  const int count = EnvironmentNumber("SOAK_COUNT", kSuiteCount);
  for (int n = 0; n < count; ++n) {
    const std::string step = "action " + std::to_string(n) + ": " + actions_.Act();
    if (std::getenv("SOAK_TRACE"))
      std::printf("%s | layers %d selected %d\n", step.c_str(), Composition->LayerCount(), Composition->SelectedCount());
    for (int round = 0; round < 2; ++round) QApplication::processEvents();
    CheckInvariants(step);
    mostLayers_ = std::max(mostLayers_, Composition->LayerCount());
    if (HasFatalFailure()) return;
  }
  // A run as long as the suite's builds up a stack and works the pickers; a shorter one, chosen
  // by SOAK_COUNT, need not.
  if (count >= kSuiteCount) {
    EXPECT_GT(mostLayers_, 3) << "the run built up a stack";
    EXPECT_GT(actions_.PickersOpened(), 10) << "the run worked the pickers";
  }
  std::printf("%d actions; up to %d layers, %d at the end; %d pickers worked\n", count, mostLayers_,
              Composition->LayerCount(), actions_.PickersOpened());
  for (const auto& [text, times] : errorsReported_) std::printf("reported %d times: %s\n", times, text.c_str());
}

}  // namespace
