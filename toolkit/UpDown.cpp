#include "toolkit/UpDown.h"

#include "toolkit/Application.h"
#include "toolkit/Checked.h"
#include "toolkit/Convert.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>
#include <optional>

TUpDown::TUpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  connect(up_, &QToolButton::clicked, this, Guard([this] { Step(+1); }));
  connect(down_, &QToolButton::clicked, this, Guard([this] { Step(-1); }));
  resize(kWidth, 21);
}

void TUpDown::SetAssociate(QLineEdit* edit) {
  if (associate_) {
    associate_->removeEventFilter(this);
    disconnect(associate_, nullptr, this, nullptr);
  }
  associate_ = edit;
  if (!edit) return;
  setParent(edit->parentWidget());
  setGeometry(edit->x() + edit->width(), edit->y(), kWidth, edit->height());
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textChanged, this, [this] { FollowEdit(); });
  edit->setText(QString::number(position_));
  show();
}

void TUpDown::SetRange(int16_t min, int16_t max) {
  min_ = min;
  max_ = std::max(min, max);
  SetPosition(Position());
}

// Runs on every change of the edit, so that "the previous position" is the last number within
// range that the edit held. It reads the edit's text as it is now, not the notification's: a
// nested change may already have replaced it.
void TUpDown::FollowEdit() {
  if (!associate_) return;
  const std::optional<int32_t> value = TryStrToInt(associate_->text());
  if (value && *value >= min_ && *value <= max_) position_ = static_cast<int16_t>(*value);
}

int16_t TUpDown::Position() {
  FollowEdit();
  return position_;
}

void TUpDown::SetPosition(int value) {
  const int16_t position = std::clamp(RangeToInt16(value), min_, max_);
  if (position == Position()) return;
  position_ = position;
  if (associate_) associate_->setText(QString::number(position));
}

void TUpDown::Restore(const QString& text, int16_t position) {
  position_ = std::clamp(position, min_, max_);
  if (!associate_) return;
  const QSignalBlocker quiet(associate_);
  associate_->setText(text);
}

void TUpDown::Step(int delta) {
  int next = Position() + delta;
  if (next > max_) next = Wrap ? min_ : max_;
  if (next < min_) next = Wrap ? max_ : min_;
  SetPosition(next);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == associate_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Guarded([this, key] { Step(key == Qt::Key_Up ? +1 : -1); });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent*) {
  const int upper = height() / 2;
  up_->setGeometry(0, 0, width(), upper);
  down_->setGeometry(0, upper, width(), height() - upper);
}

QLineEdit* MakeUpDownEdit(QWidget* parent, const QRect& geometry, int16_t min, int16_t max, int16_t position,
                          TUpDown*& spinner) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(geometry);
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  spinner = new TUpDown(parent);
  spinner->SetRange(min, max);
  spinner->SetPosition(position);
  spinner->SetAssociate(edit);
  return edit;
}
