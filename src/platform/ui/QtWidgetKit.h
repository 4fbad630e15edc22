// The small widget kit the windows are built from: lengths of the window design in twips as
// pixels, colours packed as the design packs them, and labels, buttons, frames and text boxes
// named as the design names its controls.
#pragma once

#include <QColor>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace ui {

// Twips per pixel of the window design (1440 twips to the inch on a 96 dots-per-inch screen).
constexpr int kTwipsPerPixel = 15;
// A length of the window design in twips as whole pixels, rounded to the nearest.
constexpr int TwipsToPixels(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// A packed RGB colour (red + 256 green + 65536 blue) as a colour, and as a style-sheet colour
// "#rrggbb".
QColor PackedColor(int32_t packed);
QString CssColor(int32_t packed);

// A label of plain text: "<x = constant>" is text, never markup.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text = QString());
// A button that is never its dialog's default.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption);
QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& title);
QLineEdit* MakeBox(QWidget* parent, const QString& name);

// The button's face in a packed RGB colour (its palette's button colour).
void PaintButton(QPushButton* button, int32_t packed);
// A push button with two faces in fixed packed RGB colours, off (shown at first) and on. Each face
// is one palette made once, so the style draws and caches each face once, however often the button
// switches between them; setting a palette or a style sheet instead would give the style a new
// palette, and a new cached face, at every switch.
class TwoFaceButton : public QPushButton {
 public:
  TwoFaceButton(const QString& caption, QWidget* parent, int32_t off, int32_t on);
  // Repaints only when the face changes.
  void ShowFace(bool on);
  // The face colour shown.
  QColor FaceColor() const { return faces_[on_ ? 1 : 0].color(QPalette::Button); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<QPalette, 2> faces_;
  bool on_ = false;
};

// The widget's background (or the palette role given) in a packed RGB colour, filled.
void PaintBackground(QWidget* widget, int32_t packed, QPalette::ColorRole role = QPalette::Window);

}  // namespace ui
