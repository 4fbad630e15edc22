// The widget kit: twips rounded to the nearest pixel, packed colours read red first, and the
// controls it makes.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "platform/runtime/Runtime.h"
#include "platform/ui/QtWidgetKit.h"

namespace {

TEST(QtWidgetKit, TwipsRoundToTheNearestPixel) {
  // 1440 twips to the inch at 96 pixels to the inch; halves round up.
  for (const int twips : {0, 1, 7, 8, 14, 15, 22, 23, 350, 1440, 3500, 11500, 15000}) {
    SCOPED_TRACE(twips);
    EXPECT_EQ(ui::TwipsToPixels(twips), static_cast<int>(std::floor(twips * 96.0 / 1440 + 0.5)));
  }
}

TEST(QtWidgetKit, PackedColoursAreRedGreenBlueFromTheLowByte) {
  struct Case {
    int r, g, b;
    const char* css;
  };
  const Case cases[] = {{0, 0, 0, "#000000"},   {255, 0, 0, "#ff0000"},     {0, 255, 0, "#00ff00"},
                        {0, 0, 255, "#0000ff"}, {192, 255, 192, "#c0ffc0"}, {1, 2, 3, "#010203"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.css);
    const int32_t packed = c.r + 256 * c.g + 65536 * c.b;
    EXPECT_EQ(packed, rt::RGB(c.r, c.g, c.b));
    EXPECT_EQ(ui::PackedColor(packed), QColor(c.r, c.g, c.b));
    EXPECT_EQ(ui::CssColor(packed), QString::fromLatin1(c.css));
  }
}

TEST(QtWidgetKit, LabelsShowMarkupAsTextAndButtonsLeaveReturnToTheBoxes) {
  QDialog dialog;
  QLabel* label = ui::MakeLabel(&dialog, QStringLiteral("lblX"), QStringLiteral("<x = z1>"));
  EXPECT_EQ(label->objectName(), QStringLiteral("lblX"));
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  QPushButton* button = ui::MakeButton(&dialog, QStringLiteral("cmdSave"), QStringLiteral("Save"));
  EXPECT_EQ(button->objectName(), QStringLiteral("cmdSave"));
  EXPECT_FALSE(button->autoDefault());
  ui::PaintBackground(label, rt::RGB(0, 255, 0));
  EXPECT_TRUE(label->autoFillBackground());
  EXPECT_EQ(label->palette().color(QPalette::Window), QColor(0, 255, 0));
}

}  // namespace
