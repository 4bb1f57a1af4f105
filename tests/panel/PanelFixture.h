#pragma once
// The real main window and layer panel, made as the program makes them, driven with the mouse
// and the keys; the two repaints are recorded in order, and errors that reach the error report
// are collected (there must be none).
#include "app/MainUnit.h"
#include "panel/LayerUnit.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/PrintTo.h"
#include "toolkit/Application.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The paint events of watched widgets, by name, in the order they happen.
class RepaintLog : public QObject {
 public:
  void Watch(QWidget* widget, const char* name) {
    names_[widget] = name;
    widget->installEventFilter(this);
  }

  std::vector<std::string> Entries;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) Entries.push_back(names_[watched]);
    return false;
  }

 private:
  std::map<QObject*, std::string> names_;
};

enum class Cell { Visibility, DefaultFont, Text };

class PanelTest : public ::testing::Test {
 protected:
  PanelTest() {
    previous_ = SetErrorReport([this](const QString& message) { reports.append(message); });
    MainForm = new TMainForm;
    LayerForm = new TLayerForm;
    MainForm->show();
    form = LayerForm;
    EXPECT_TRUE(QTest::qWaitForWindowExposed(MainForm));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    log.Watch(MainForm->PBox, "canvas");
    log.Watch(form->LBox->viewport(), "list");
  }

  ~PanelTest() override {
    EXPECT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();
    delete LayerForm;
    LayerForm = nullptr;
    delete MainForm;
    MainForm = nullptr;
    SetErrorReport(previous_);
  }

  // Layers with these texts, added to the composition directly, and as many rows in the list.
  void MakeLayers(std::initializer_list<const char*> texts) {
    for (const char* text : texts) Composition->AddLayer(text);
    form->UpdateCount();
  }

  // A point in the middle of one part of row `row`, in the list's viewport.
  QPoint CellPoint(int row, Cell cell) const {
    const TRect rect = form->LBox->ItemRect(row);
    const int x = cell == Cell::Visibility ? 9 : cell == Cell::DefaultFont ? 27 : 70;
    return QPoint(rect.Left + x, rect.Top + 9);
  }

  void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(form->LBox->viewport(), Qt::LeftButton, modifiers, CellPoint(row, Cell::Text));
  }

  // Presses `keys` in the memo, its window active as the user's is, the dialog that opens
  // answered by `answer`; whether one opened.
  template <class Dialog>
  bool Press(QKeyCombination keys, std::function<void(Dialog&)> answer) {
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form));
    ModalAnswer<Dialog> dialog(std::move(answer));
    QTest::keyClick(form->MemText, keys.key(), keys.keyboardModifiers());
    return dialog.Opened;
  }

  // Focuses the list, as a user who works in the panel.
  void FocusList() {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->LBox->setFocus();
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < Composition->LayerCount(); ++i) texts.push_back(Composition->GetLayer(i).GetText());
    return texts;
  }

  std::vector<int> MarkedRows() const {
    std::vector<int> rows;
    for (int32_t i = 0; i < form->LBox->Count(); ++i)
      if (form->LBox->Selected(i)) rows.push_back(i);
    return rows;
  }

  // The composition's selection, as layer indexes in the order of selecting.
  std::vector<int> SelectionOrder() const {
    std::vector<int> order;
    for (const TZeltoLayer* selected : Composition->Selection)
      for (int32_t i = 0; i < Composition->LayerCount(); ++i)
        if (&Composition->GetLayer(i) == selected) order.push_back(i);
    return order;
  }

  // Lets everything queued happen, as between two inputs of a user, then starts the repaint
  // log afresh. A list whose rows changed lays them out on a zero timer and then paints, so
  // the queue is worked off in more than one round.
  void Settle() {
    for (int round = 0; round < 3; ++round) QApplication::processEvents();
    log.Entries.clear();
  }

  QImage GrabList() const { return form->LBox->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QImage GrabCanvas() const { return MainForm->PBox->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  TLayerForm* form;
  RepaintLog log;
  QStringList reports;

 private:
  TErrorReport previous_;
};

using Repaints = std::vector<std::string>;
