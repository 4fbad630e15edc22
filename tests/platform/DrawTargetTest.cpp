// The drawing target: packed colours, the user scale and the device pixel ratio (the primitives
// and batched drawing are seen in every drawing test of the graph window).
#include <gtest/gtest.h>

#include <QImage>
#include <QPointF>
#include <limits>

#include "platform/draw/DrawTarget.h"

namespace {

using draw::DrawTarget;

TEST(DrawTargetTest, PackedColoursAndTheUserScale) {
  // Red in the low byte; bytes are clamped.
  EXPECT_EQ(draw::ToArgb(draw::PackRgb(300, -5, 128)), 0xFFFF0080u);
  DrawTarget t(200, 100);
  struct Scale {
    double left, top, width, height, x, y, px, py;
  };
  const Scale scales[] = {
      {0, 0, 3000, 1500, 1500, 750, 100, 50},  // twips: 15 per pixel
      {-10, 10, 20, -20, 10, -10, 200, 100},   // y growing upwards, origin in the middle
      {100, 50, 200, 100, 100, 50, 0, 0},      // shifted origin
  };
  for (const Scale& c : scales) {
    SCOPED_TRACE(c.width);
    t.SetScale(c.left, c.top, c.width, c.height);
    EXPECT_EQ(t.ToDevice(c.x, c.y), QPointF(c.px, c.py));
  }
  // A zero or non-finite extent is refused and keeps the scale.
  t.SetScale(0, 0, 0, 100);
  t.SetScale(0, 0, 100, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(t.ScaleWidth(), 200);
  EXPECT_EQ(t.ScaleHeight(), 100);
}

// At a device pixel ratio of 2 the picture underneath has twice the pixels each way and the
// drawing lands where it would at 1; the picture given out and saved keeps the target's size.
TEST(DrawTargetTest, APixelRatioSharpensThePictureButKeepsItsSize) {
  draw::DrawTarget t(100, 50);
  t.SetScale(0, 0, 1000, 500);
  t.SetDevicePixelRatio(2);
  t.Line(0, 250, 1000, 250, draw::PackRgb(255, 0, 0));  // across the middle row
  EXPECT_EQ(t.DeviceImage().size(), QSize(200, 100));
  EXPECT_EQ(t.DeviceImage().pixel(100, 50) | 0xFF000000u, 0xFFFF0000u);
  EXPECT_EQ(t.DeviceImage().pixel(100, 40) | 0xFF000000u, 0xFFFFFFFFu);
  const QImage logical = t.Image();
  EXPECT_EQ(logical.size(), QSize(100, 50));
  EXPECT_EQ(qRed(logical.pixel(50, 25)), 255);
  EXPECT_LT(qGreen(logical.pixel(50, 25)), 128);  // red, however the rows were merged
  // Ratios below 1 are refused.
  t.SetDevicePixelRatio(0.5);
  EXPECT_DOUBLE_EQ(t.DevicePixelRatio(), 2.0);
}

}  // namespace
