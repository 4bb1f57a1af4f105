#include "app/MainUnit.h"
#include "tests/support/PrintTo.h"
#include "toolkit/Application.h"
#include "toolkit/UiFont.h"
#include "toolkit/UpDown.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace {

// Replaces the whole text of `edit` by typing `keys`.
void Type(QLineEdit* edit, const QString& keys) {
  edit->selectAll();
  QTest::keyClicks(edit, keys);
}

void Clear(QLineEdit* edit) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
}

// The real main window, shown, with the error report captured and the paint handler's runs
// counted.
class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    previous_ = SetErrorReport([this](const QString& message) { reports.append(message); });
    MainForm = new TMainForm;
    form = MainForm;
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    const TPaintBox::TPaintEvent paint = form->PBox->OnPaint;
    form->PBox->OnPaint = [this, paint] {
      ++paints;
      paint();
    };
    paints = 0;
  }

  ~MainFormTest() override {
    delete MainForm;
    MainForm = nullptr;
    SetErrorReport(previous_);
  }

  // Both sizes of the canvas: the composition's, its bitmap's and the paint area's agree, the
  // paint area's at the zoom.
  QSize CanvasSize() const {
    const QSize size(Composition->Width, Composition->Height);
    EXPECT_EQ(QSize(Composition->Bitmap.Width(), Composition->Bitmap.Height()), size);
    const TZoom zoom = form->Zoom();
    EXPECT_EQ(form->PBox->size(), QSize(zoom.ToView(size.width()), zoom.ToView(size.height())));
    return size;
  }

  // Presses Ctrl with `key` in the size field, as a user does in the active main window.
  void ZoomKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->EditW->setFocus();
    QTest::keyClick(form->EditW, key, Qt::ControlModifier | modifiers);
  }

  // The canvas as the composition paints it at 100%, and as the paint area shows it.
  static QImage Painted() {
    QImage image(Composition->Width, Composition->Height, QImage::Format_RGB32);
    TCanvas canvas(&image);
    Composition->Paint(canvas);
    canvas.Release();
    return image;
  }
  QImage Shown() const { return form->PBox->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // The canvas pixel under the middle of the view, in canvas pixels.
  QPointF CanvasAtViewCentre() const {
    return QPointF(form->ViewCentre() - form->PBox->pos()) / form->Zoom().Scale();
  }

  TZeltoLayer& AddLayer(const char* text, int32_t left, int32_t top, bool selected) {
    const int32_t index = Composition->AddLayer(text);
    TZeltoLayer& layer = Composition->GetLayer(index);
    layer.Left = left;
    layer.Top = top;
    Composition->SetLayerSelected(index, selected);
    return layer;
  }

  TMainForm* form;
  QStringList reports;
  int paints = 0;

 private:
  TErrorReport previous_;
};

TEST_F(MainFormTest, StartsAsTheWindowIsLaidOut) {
  EXPECT_EQ(form->windowTitle(), "MainForm");
  EXPECT_EQ(form->frameGeometry(), QRect(302, 231, 345, 315));
  EXPECT_EQ(form->font(), UiFont().ToQFont());
  EXPECT_EQ(form->Panel1->height(), 41);
  EXPECT_EQ(form->Panel1->geometry().topLeft(), QPoint(0, 0));
  for (auto [edit, spinner] : {std::pair{form->EditW, form->UdW}, std::pair{form->EditH, form->UdH}}) {
    EXPECT_EQ(edit->parentWidget(), form->Panel1);
    EXPECT_EQ(edit->text(), "200");
    EXPECT_EQ(spinner->Associate(), edit);
    EXPECT_EQ(spinner->Min(), 1);
    EXPECT_EQ(spinner->Max(), 400);
    EXPECT_FALSE(spinner->Wrap);
    EXPECT_EQ(spinner->Position(), 200);
    EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled));
  }
  EXPECT_EQ(form->ScrollBox1->widget(), form->PBox);
  EXPECT_EQ(form->PBox->pos(), QPoint(0, 0));
  EXPECT_TRUE(form->PBox->testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_EQ(CanvasSize(), QSize(200, 200));
  EXPECT_EQ(form->PBox->size(), QSize(200, 200));
  EXPECT_EQ(form->PBox->focusPolicy(), Qt::ClickFocus);
  EXPECT_EQ(Composition->LayerCount(), 0);
  EXPECT_FALSE(form->Dragging);
  EXPECT_EQ(form->LblZoom->parentWidget(), form->Panel1);
  EXPECT_EQ(form->LblZoom->objectName(), "LblZoom");
  EXPECT_EQ(form->LblZoom->geometry(), QRect(294, 24, 43, 13));
  EXPECT_EQ(form->LblZoom->alignment(), Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(form->LblZoom->text(), "100%");
}

TEST_F(MainFormTest, TheCanvasShowsWhite) {
  form->PBox->repaint();
  const QImage image = form->PBox->grab().toImage();
  ASSERT_EQ(image.size(), QSize(200, 200));
  for (const QPoint p : {QPoint(0, 0), QPoint(199, 0), QPoint(100, 100), QPoint(0, 199), QPoint(199, 199)})
    EXPECT_EQ(image.pixelColor(p), QColor(Qt::white)) << p.x() << "," << p.y();
}

TEST_F(MainFormTest, ANewLayerStartsInTheToolkitsDefaultFontNotTheWindowFont) {
  RepaintCanvas();  // the paint area's surface has now taken on the window font
  EXPECT_EQ(form->PBox->Canvas().Font(), UiFont());
  TZeltoLayer& layer = AddLayer("Ag", 0, 0, false);
  EXPECT_EQ(layer.Font, TFont{});
  EXPECT_EQ(layer.Font.Color, clWindowText);
  EXPECT_NE(layer.Font.Name, UiFont().Name);
  EXPECT_EQ(Composition->DefaultFont(), TFont{});
}

// How a size field is emptied or zeroed: by keys, or by the program setting its text.
struct RefillCase {
  const char* name;
  bool height;
  std::function<void(QLineEdit*)> spoil;
};

class MainFormRefillTest : public MainFormTest, public ::testing::WithParamInterface<RefillCase> {};

TEST_P(MainFormRefillTest, AnEmptyOrZeroSizeIsReplacedByTheSpinnersPosition) {
  const RefillCase& c = GetParam();
  QLineEdit* edit = c.height ? form->EditH : form->EditW;
  TUpDown* spinner = c.height ? form->UdH : form->UdW;
  spinner->SetPosition(123);
  ASSERT_EQ(edit->text(), "123");
  const QSize before = CanvasSize();
  c.spoil(edit);
  EXPECT_EQ(edit->text(), "123");
  EXPECT_EQ(spinner->Position(), 123);
  EXPECT_EQ(CanvasSize(), before);
  EXPECT_EQ(c.height ? before.height() : before.width(), 123);
  EXPECT_TRUE(reports.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainFormRefillTest,
    ::testing::Values(RefillCase{"ClearedW", false, [](QLineEdit* e) { Clear(e); }},
                      RefillCase{"ClearedH", true, [](QLineEdit* e) { Clear(e); }},
                      RefillCase{"TypedZeroW", false, [](QLineEdit* e) { Type(e, "0"); }},
                      RefillCase{"TypedZeroH", true, [](QLineEdit* e) { Type(e, "0"); }},
                      RefillCase{"SetDoubleZero", false, [](QLineEdit* e) { e->setText("00"); }},
                      RefillCase{"SetBeyond32Bits", true, [](QLineEdit* e) { e->setText("4294967296"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainFormTest, ClearingRedrawsForTheNestedRunAndAgainForTheOuterOne) {
  Clear(form->EditW);
  EXPECT_EQ(paints, 2);
}

TEST_F(MainFormTest, ATypedSizeAboveTheSpinnersRangeIsTaken) {
  for (QLineEdit* edit : {form->EditW, form->EditH}) Type(edit, "999");
  EXPECT_EQ(CanvasSize(), QSize(999, 999));
  EXPECT_EQ(form->EditW->text(), "999");
  EXPECT_EQ(form->ScrollBox1->horizontalScrollBar()->maximum(), 999 - form->ScrollBox1->viewport()->width());
  // The spinner goes on from the last size within its range (99, typed on the way to 999).
  QTest::mouseClick(form->UdW->UpButton(), Qt::LeftButton);
  EXPECT_EQ(form->EditW->text(), "100");
  EXPECT_EQ(CanvasSize(), QSize(100, 999));
  form->UdW->SetPosition(400);
  QTest::keyClick(form->EditW, Qt::Key_Up);
  EXPECT_EQ(form->EditW->text(), "400");
  EXPECT_EQ(CanvasSize(), QSize(400, 999));
  EXPECT_TRUE(reports.isEmpty());
}

TEST_F(MainFormTest, OnlyDigitsGetIntoTheSizeFields) {
  Type(form->EditW, "3a-5");
  EXPECT_EQ(form->EditW->text(), "35");
  QApplication::clipboard()->setText("7x");
  QTest::keyClick(form->EditW, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form->EditW->text(), "35");
  QApplication::clipboard()->setText("12");
  QTest::keyClick(form->EditW, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form->EditW->text(), "3512");
}

// A canvas size whose bitmap cannot be made: too wide, too high, or too many pixels in all.
struct HugeCase {
  const char* name;
  const char* width;
  const char* height;
};

class MainFormHugeTest : public MainFormTest, public ::testing::WithParamInterface<HugeCase> {};

TEST_P(MainFormHugeTest, ASizeTheBitmapCannotTakeIsReportedAndChangesNothing) {
  const HugeCase& c = GetParam();
  form->EditW->setText(c.width);
  ASSERT_TRUE(reports.isEmpty());
  const QSize before = CanvasSize();
  paints = 0;
  form->EditH->setText(c.height);
  ASSERT_EQ(reports.size(), 1);
  EXPECT_TRUE(reports[0].contains(c.height)) << reports[0].toStdString();
  EXPECT_EQ(CanvasSize(), before);
  EXPECT_EQ(paints, 0);
  // The field shows the size in force, not the one that could not be made.
  EXPECT_EQ(form->EditH->text(), QString::number(before.height()));
  // The program goes on: a valid size is taken afterwards.
  form->EditH->setText("50");
  EXPECT_EQ(CanvasSize(), QSize(before.width(), 50));
  EXPECT_EQ(reports.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, MainFormHugeTest,
                         ::testing::Values(HugeCase{"Huge", "200", "99999999"},
                                           HugeCase{"TooHigh", "300", "32768"},
                                           HugeCase{"TooManyPixels", "32767", "2049"}),
                         [](const auto& info) { return std::string(info.param.name); });

// After the report, the field shows the size in force, quietly: typed digit by digit, the last size
// that could be made; pasted, the size before. Neither is a step of the history.
TEST_F(MainFormTest, AfterASizeThatCannotBeMadeTheFieldShowsTheSizeInForce) {
  Type(form->EditW, "65535");
  ASSERT_EQ(reports.size(), 1);
  EXPECT_EQ(form->EditW->text(), "6553");
  EXPECT_EQ(CanvasSize(), QSize(6553, 200));
  const std::size_t steps = Composition->History.UndoCount();

  form->EditH->selectAll();
  QGuiApplication::clipboard()->setText(QStringLiteral("65535"));
  QTest::keyClick(form->EditH, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(reports.size(), 2);
  EXPECT_EQ(form->EditH->text(), "200");
  EXPECT_EQ(CanvasSize(), QSize(6553, 200));
  EXPECT_EQ(Composition->History.UndoCount(), steps);
  // Undo takes back the typed width as one step, the field with it.
  form->BtnUndo->click();
  EXPECT_EQ(form->EditW->text(), "200");
  EXPECT_EQ(CanvasSize(), QSize(200, 200));
  EXPECT_EQ(reports.size(), 2);
}

// A drag of (+10, -5) in two steps, with any button.
class MainFormDragTest : public MainFormTest, public ::testing::WithParamInterface<Qt::MouseButton> {};

TEST_P(MainFormDragTest, MovesEverySelectedLayerByThePointersTotalTravel) {
  const Qt::MouseButton button = GetParam();
  TZeltoLayer& a = AddLayer("A", 5, 7, true);
  TZeltoLayer& b = AddLayer("B", 150, -20, false);
  TZeltoLayer& c = AddLayer("C", -30, 300, true);
  QTest::mousePress(form->PBox, button, {}, QPoint(40, 40));
  EXPECT_EQ(paints, 0);
  QTest::mouseMove(form->PBox, QPoint(47, 36));
  QTest::mouseRelease(form->PBox, button, {}, QPoint(50, 35));
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(15, 2));
  EXPECT_EQ(QPoint(b.Left, b.Top), QPoint(150, -20));
  EXPECT_EQ(QPoint(c.Left, c.Top), QPoint(-20, 295));
  EXPECT_EQ(paints, 2);
  EXPECT_FALSE(form->Dragging);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MainFormDragTest,
                         ::testing::Values(Qt::LeftButton, Qt::RightButton, Qt::MiddleButton));

TEST_F(MainFormTest, APressAndReleaseAtOnePointRedrawsOnceAndMovesNothing) {
  TZeltoLayer& a = AddLayer("A", 5, 7, true);
  QTest::mousePress(form->PBox, Qt::LeftButton, {}, QPoint(60, 60));
  QTest::mouseRelease(form->PBox, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(5, 7));
  EXPECT_EQ(paints, 1);
}

TEST_F(MainFormTest, ADragWithNothingSelectedRedrawsNothing) {
  TZeltoLayer& a = AddLayer("A", 5, 7, false);
  QTest::mousePress(form->PBox, Qt::LeftButton, {}, QPoint(60, 60));
  QTest::mouseMove(form->PBox, QPoint(80, 90));
  QTest::mouseRelease(form->PBox, Qt::LeftButton, {}, QPoint(90, 95));
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(5, 7));
  EXPECT_EQ(paints, 0);
}

TEST_F(MainFormTest, MovesWithoutAPressAreIgnored) {
  TZeltoLayer& a = AddLayer("A", 5, 7, true);
  QTest::mouseRelease(form->PBox, Qt::LeftButton, {}, QPoint(90, 95));
  QTest::mouseMove(form->PBox, QPoint(30, 30));
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(5, 7));
  EXPECT_EQ(paints, 0);
}

TEST_F(MainFormTest, AnOverflowingDragStepIsReportedAndMovesNothing) {
  TZeltoLayer& a = AddLayer("A", 5, 7, true);
  // The press starts the drag at the left end of 32 bits; the button stays held for the move.
  QTest::mousePress(form->PBox, Qt::LeftButton, {}, QPoint(INT32_MIN, 60));
  QTest::mouseMove(form->PBox, QPoint(61, 60));
  EXPECT_EQ(reports, QStringList{"Integer overflow"});
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(5, 7));
  EXPECT_EQ(paints, 0);
  EXPECT_TRUE(form->Dragging);
}

TEST_F(MainFormTest, AnErrorWhileDrawingIsReportedAndTheCanvasGoesOn) {
  AddLayer("AB", INT32_MAX - 1, 0, false);
  RepaintCanvas();
  EXPECT_EQ(reports, QStringList{"Integer overflow"});
  Composition->GetLayer(0).Left = 0;
  RepaintCanvas();
  EXPECT_EQ(reports.size(), 1);
  EXPECT_EQ(paints, 2);
}

TEST_F(MainFormTest, ResizingLeavesLayersWhereTheyWere) {
  TZeltoLayer& a = AddLayer("W", 150, 20, false);
  const auto inkRight = [] {
    // Whether anything but white lies right of x = 140 in the rendered canvas.
    const QImage& image = Composition->Bitmap.Image();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 140; x < image.width(); ++x)
        if (image.pixelColor(x, y) != QColor(Qt::white)) return true;
    return false;
  };
  RepaintCanvas();
  ASSERT_TRUE(inkRight());
  Type(form->EditW, "100");
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(150, 20));
  EXPECT_FALSE(inkRight());
  Type(form->EditW, "200");
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(150, 20));
  EXPECT_TRUE(inkRight());
}

// ---- The zoom of the view ----

// Each key of the zoom and where it leads from where the one before left the view; none of them
// is a step of the history.
TEST_F(MainFormTest, TheZoomKeysStepWithinTheBoundsAndTheCanvasFollows) {
  struct Press {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int times;
    TZoom zoom;
    const char* label;
  };
  const Press presses[] = {
      {Qt::Key_Plus, Qt::NoModifier, 1, {3, 2}, "150%"},  {Qt::Key_Equal, Qt::NoModifier, 1, {2, 1}, "200%"},
      {Qt::Key_Plus, Qt::KeypadModifier, 1, {3, 1}, "300%"}, {Qt::Key_Plus, Qt::NoModifier, 9, {16, 1}, "1600%"},
      {Qt::Key_Minus, Qt::NoModifier, 1, {12, 1}, "1200%"}, {Qt::Key_0, Qt::NoModifier, 1, {1, 1}, "100%"},
      {Qt::Key_Minus, Qt::NoModifier, 3, {1, 3}, "33%"},    {Qt::Key_Minus, Qt::NoModifier, 9, {1, 8}, "13%"},
      {Qt::Key_0, Qt::NoModifier, 1, {1, 1}, "100%"},
  };
  TZeltoLayer& layer = AddLayer("A", 5, 7, true);
  for (const Press& press : presses) {
    for (int n = 0; n < press.times; ++n) ZoomKey(press.key, press.modifiers);
    const std::string what = press.label;
    EXPECT_EQ(form->Zoom(), press.zoom) << what;
    EXPECT_EQ(form->LblZoom->text(), press.label);
    EXPECT_EQ(form->PBox->size(), QSize(press.zoom.ToView(200), press.zoom.ToView(200))) << what;
    EXPECT_EQ(form->PBox->Canvas().Scale(), press.zoom.Scale()) << what;
  }
  EXPECT_EQ(CanvasSize(), QSize(200, 200));
  EXPECT_EQ(QPoint(layer.Left, layer.Top), QPoint(5, 7));
  EXPECT_FALSE(Composition->History.CanUndo());
  EXPECT_TRUE(reports.isEmpty());
}

TEST_F(MainFormTest, FitShowsTheWholeCanvasAsLargeAsTheViewLetsIt) {
  const QSize view = form->ScrollBox1->maximumViewportSize();
  for (const QSize canvas : {QSize(999, 999), QSize(150, 120), QSize(20, 10)}) {
    form->EditW->setText(QString::number(canvas.width()));
    form->EditH->setText(QString::number(canvas.height()));
    ZoomKey(Qt::Key_9);
    const QSize shown = form->PBox->size();
    EXPECT_EQ(form->Zoom(), FitZoom(canvas, view));
    EXPECT_TRUE(shown.width() <= view.width() && shown.height() <= view.height()) << canvas.width();
    EXPECT_TRUE(shown.width() == view.width() || shown.height() == view.height() || form->Zoom() == TZoom({16, 1}))
        << canvas.width();
    EXPECT_FALSE(form->ScrollBox1->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(form->ScrollBox1->verticalScrollBar()->isVisible());
    EXPECT_EQ(CanvasSize(), canvas);
  }
  EXPECT_EQ(form->Zoom(), (TZoom{16, 1})) << "a canvas of 20 x 10 fits at the largest zoom";
}

// What the paint area shows at 300%, 100% and 25% of a canvas with text in two colours.
TEST_F(MainFormTest, TheViewShowsTheCanvasPixelsAtTheZoom) {
  TZeltoLayer& black = AddLayer("Wg", 3, 4, false);
  TZeltoLayer& red = AddLayer("M", 40, 30, false);
  black.Font.Size = red.Font.Size = 40;
  black.UseDefaultFont = red.UseDefaultFont = false;
  red.Font.Color = clRed;
  form->PBox->repaint();
  const QImage painted = Painted();
  EXPECT_EQ(Shown(), painted) << "100%: the canvas as it paints";

  form->SetZoom({3, 1}, QPoint(0, 0));
  QImage shown = Shown();
  ASSERT_EQ(shown.size(), QSize(600, 600));
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 600; ++x)
      ASSERT_EQ(shown.pixel(x, y), painted.pixel(x / 3, y / 3)) << "300%, at " << x << "," << y;

  // At 25% a pixel shows what lies under it, smoothed: it is one of the colours there or between
  // them, and exactly the colour where there is only one.
  form->SetZoom({1, 4}, QPoint(0, 0));
  shown = Shown();
  ASSERT_EQ(shown.size(), QSize(50, 50));
  int inked = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) {
      int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
      for (int v = 4 * y; v < 4 * y + 4; ++v)
        for (int u = 4 * x; u < 4 * x + 4; ++u) {
          const QRgb p = painted.pixel(u, v);
          const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
          for (int c = 0; c < 3; ++c) low[c] = std::min(low[c], channels[c]), high[c] = std::max(high[c], channels[c]);
        }
      const QRgb p = shown.pixel(x, y);
      const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
      for (int c = 0; c < 3; ++c)
        ASSERT_TRUE(channels[c] >= low[c] && channels[c] <= high[c]) << "25%, at " << x << "," << y << " channel " << c;
      inked += p != qRgb(255, 255, 255);
    }
  EXPECT_GT(inked, 20);
  EXPECT_TRUE(reports.isEmpty());
}

TEST_F(MainFormTest, EveryRepaintAtAZoomPaintsOnce) {
  AddLayer("A", 5, 7, true);
  for (const TZoom zoom : {TZoom{4, 1}, TZoom{1, 3}, TZoom{1, 1}}) {
    form->SetZoom(zoom, QPoint(0, 0));
    paints = 0;
    RepaintCanvas();
    EXPECT_EQ(paints, 1);
  }
}

// At 400% the pointer's motion moves the layers by a quarter, rounded down from where the drag
// began, so that nothing of a slow motion is lost.
TEST_F(MainFormTest, ADragAtAZoomMovesTheLayersByTheCanvasPixelsItCrosses) {
  TZeltoLayer& a = AddLayer("A", 5, 7, true);
  form->SetZoom({4, 1}, QPoint(0, 0));
  QTest::mousePress(form->PBox, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(form->PBox, QPoint(140, 100));
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(15, 7));
  QTest::mouseMove(form->PBox, QPoint(142, 98));
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(15, 6));
  QTest::mouseRelease(form->PBox, Qt::LeftButton, {}, QPoint(144, 96));
  EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(16, 6));
}

TEST_F(MainFormTest, TheSizeFieldsAndUndoSizeThePaintAreaForTheZoom) {
  form->SetZoom({3, 1}, QPoint(0, 0));
  Type(form->EditW, "50");
  EXPECT_EQ(form->PBox->size(), QSize(150, 600));
  EXPECT_EQ(CanvasSize(), QSize(50, 200));
  form->BtnUndo->click();
  EXPECT_EQ(form->PBox->size(), QSize(600, 600));
  form->SetZoom({1, 3}, QPoint(0, 0));
  form->BtnRedo->click();
  EXPECT_EQ(form->PBox->size(), QSize(17, 67));
  EXPECT_EQ(CanvasSize(), QSize(50, 200));
}

// The canvas point under the view's middle (keys) or under the pointer (wheel) stays where it was.
TEST_F(MainFormTest, ZoomingKeepsTheCanvasPointUnderTheMiddleOrThePointer) {
  Type(form->EditW, "400");
  Type(form->EditH, "400");
  form->ScrollBox1->horizontalScrollBar()->setValue(50);
  form->ScrollBox1->verticalScrollBar()->setValue(60);
  const QPointF middle = CanvasAtViewCentre();
  ZoomKey(Qt::Key_Plus);
  ASSERT_EQ(form->Zoom(), (TZoom{3, 2}));
  EXPECT_NEAR(CanvasAtViewCentre().x(), middle.x(), 1);
  EXPECT_NEAR(CanvasAtViewCentre().y(), middle.y(), 1);
  ZoomKey(Qt::Key_Plus);
  EXPECT_NEAR(CanvasAtViewCentre().x(), middle.x(), 1);
  EXPECT_NEAR(CanvasAtViewCentre().y(), middle.y(), 1);

  // A notch of the wheel over the paint area, and one in two halves over the viewport.
  const auto wheel = [this](QWidget* over, QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &event);
  };
  const QPoint pointer(30, 40);  // of the viewport
  QWidget* viewport = form->ScrollBox1->viewport();
  const QPointF under = QPointF(pointer - form->PBox->pos()) / form->Zoom().Scale();
  wheel(form->PBox, form->PBox->mapFrom(viewport, pointer), 120, Qt::ControlModifier);
  ASSERT_EQ(form->Zoom(), (TZoom{3, 1}));
  EXPECT_NEAR((pointer - form->PBox->pos()).x() / 3.0, under.x(), 1);
  EXPECT_NEAR((pointer - form->PBox->pos()).y() / 3.0, under.y(), 1);
  wheel(viewport, pointer, -60, Qt::ControlModifier);
  EXPECT_EQ(form->Zoom(), (TZoom{3, 1}));
  wheel(viewport, pointer, -60, Qt::ControlModifier);
  EXPECT_EQ(form->Zoom(), (TZoom{2, 1}));
  EXPECT_NEAR((pointer - form->PBox->pos()).x() / 2.0, under.x(), 1);
  EXPECT_NEAR((pointer - form->PBox->pos()).y() / 2.0, under.y(), 1);
  // Without Ctrl the wheel scrolls, as before.
  const int scrolled = form->ScrollBox1->verticalScrollBar()->value();
  wheel(viewport, pointer, -120, Qt::NoModifier);
  EXPECT_EQ(form->Zoom(), (TZoom{2, 1}));
  EXPECT_GT(form->ScrollBox1->verticalScrollBar()->value(), scrolled);
}

}  // namespace
