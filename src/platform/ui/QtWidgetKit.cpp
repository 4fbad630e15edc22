#include "platform/ui/QtWidgetKit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ui {

QColor PackedColor(int32_t packed) {
  return QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
}

QString CssColor(int32_t packed) {
  return QStringLiteral("#%1%2%3")
      .arg(packed & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((packed >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((packed >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  // Return in a dialog's box belongs to the box: no button takes it as the dialog's default.
  button->setAutoDefault(false);
  return button;
}

QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& title) {
  auto* frame = new QGroupBox(title, parent);
  frame->setObjectName(name);
  return frame;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  return box;
}

void PaintButton(QPushButton* button, int32_t packed) {
  // Through the palette, not a style sheet: a style sheet's colour is put into a fresh copy of the
  // palette at every paint, and the style caches the button's face under each new copy, so a
  // button repainted at every run would take more memory at every run.
  PaintBackground(button, packed, QPalette::Button);
}

TwoFaceButton::TwoFaceButton(const QString& caption, QWidget* parent, int32_t off, int32_t on)
    : QPushButton(caption, parent) {
  faces_[0] = faces_[1] = palette();
  faces_[0].setColor(QPalette::Button, PackedColor(off));
  faces_[1].setColor(QPalette::Button, PackedColor(on));
}

void TwoFaceButton::ShowFace(bool on) {
  if (on == on_) return;
  on_ = on;
  update();
}

void TwoFaceButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.palette = faces_[on_ ? 1 : 0];
  painter.drawControl(QStyle::CE_PushButton, option);
}

void PaintBackground(QWidget* widget, int32_t packed, QPalette::ColorRole role) {
  QPalette palette = widget->palette();
  palette.setColor(role, PackedColor(packed));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace ui
