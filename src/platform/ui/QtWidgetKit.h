// The small widget kit the windows are built from: lengths of the window design in twips as
// pixels, colours packed as the design packs them, and labels, buttons, frames and text boxes
// named as the design names its controls.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
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
// The widget's background (or the palette role given) in a packed RGB colour, filled.
void PaintBackground(QWidget* widget, int32_t packed, QPalette::ColorRole role = QPalette::Window);

}  // namespace ui
