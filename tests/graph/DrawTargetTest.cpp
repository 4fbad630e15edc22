// The drawing target: packed colours, the user scale, the primitives, batched drawing, text and
// drawing through a caller's painter.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <limits>

#include "platform/draw/DrawTarget.h"

namespace {

using draw::DrawTarget;

uint32_t Pixel(const DrawTarget& t, double x, double y) {
  const QPointF d = t.ToDevice(x, y);
  return t.Image().pixel(static_cast<int>(d.x()), static_cast<int>(d.y())) | 0xFF000000u;
}

TEST(DrawTargetTest, PackedColoursAndTheUserScale) {
  struct Colour {
    int r, g, b;
    int32_t packed;  // red in the low byte
    uint32_t argb;
  };
  const Colour colours[] = {{255, 0, 0, 0x0000FF, 0xFFFF0000u},
                            {0, 0, 255, 0xFF0000, 0xFF0000FFu},
                            {192, 192, 255, 0xFFC0C0, 0xFFC0C0FFu},
                            {300, -5, 128, 0x8000FF, 0xFFFF0080u}};  // bytes are clamped
  for (const Colour& c : colours) {
    SCOPED_TRACE(c.packed);
    EXPECT_EQ(draw::PackRgb(c.r, c.g, c.b), c.packed);
    EXPECT_EQ(draw::ToArgb(c.packed), c.argb);
  }
  DrawTarget t(200, 100);
  struct Scale {
    double left, top, width, height, x, y, px, py;
  };
  const Scale scales[] = {
      {0, 0, 3000, 1500, 1500, 750, 100, 50},  // twips: 15 per pixel
      {-10, 10, 20, -20, 0, 0, 100, 50},       // y growing upwards, origin in the middle
      {-10, 10, 20, -20, 10, -10, 200, 100},   // the lower right corner
      {100, 50, 200, 100, 100, 50, 0, 0},      // shifted origin
  };
  for (const Scale& c : scales) {
    SCOPED_TRACE(c.width);
    t.SetScale(c.left, c.top, c.width, c.height);
    EXPECT_DOUBLE_EQ(t.ToDevice(c.x, c.y).x(), c.px);
    EXPECT_DOUBLE_EQ(t.ToDevice(c.x, c.y).y(), c.py);
  }
  // A zero or non-finite extent is refused and keeps the scale.
  t.SetScale(0, 0, 400, 200);
  t.SetScale(0, 0, 0, 100);
  t.SetScale(0, 0, 100, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(t.ScaleWidth(), 400);
  EXPECT_EQ(t.ScaleHeight(), 200);
}

TEST(DrawTargetTest, LinesBoxesCirclesAndTheSavedBitmap) {
  DrawTarget t(100, 100);
  t.SetScale(0, 0, 1500, 1500);  // 15 units per pixel
  t.Cls();
  t.Line(150, 300, 1350, 300, 0x0000FF);
  EXPECT_EQ(Pixel(t, 750, 300), 0xFFFF0000u);
  EXPECT_EQ(Pixel(t, 750, 600), 0xFFFFFFFFu);
  EXPECT_EQ(t.CurrentX, 1350);
  EXPECT_EQ(t.CurrentY, 300);
  t.Box(150, 900, 450, 1200, 0x00FF00, true);
  EXPECT_EQ(Pixel(t, 300, 1050), 0xFF00FF00u);
  // A transparent circle leaves its centre; a solid one fills it with FillColor.
  t.FillStyle = draw::kFillTransparent;
  t.Circle(1050, 1050, 150, 0xFF0000);
  EXPECT_EQ(Pixel(t, 1050, 1050), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(t, 1050 + 150, 1050), 0xFF0000FFu);
  // The saved bitmap reads back the same pixels; a folder that does not exist is refused.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("pic.bmp"));
  ASSERT_TRUE(t.SaveImage(path, "BMP"));
  EXPECT_EQ(QImage(path), t.Image().convertToFormat(QImage(path).format()));
  EXPECT_FALSE(t.SaveImage(dir.filePath(QStringLiteral("no/such/folder/pic.bmp")), "BMP"));
  t.FillStyle = draw::kFillSolid;
  t.FillColor = 0;
  t.Circle(1050, 1050, 150, 0);
  EXPECT_EQ(Pixel(t, 1050, 1050), 0xFF000000u);
  // Cls paints the back colour everywhere and puts the position back at the origin.
  t.BackColor = 0x00FFFF;  // yellow
  t.Cls();
  EXPECT_EQ(Pixel(t, 750, 300), 0xFFFFFF00u);
  EXPECT_EQ(t.CurrentX, 0);
  EXPECT_EQ(t.CurrentY, 0);
}

TEST(DrawTargetTest, BatchDrawsOneCallPerPenAndKeepsCirclesOnTop) {
  DrawTarget t(100, 100);
  t.BeginBatch();
  const int32_t colours[] = {0x0000FF, 0x00FF00, 0x0000FF, 0xFF0000, 0x00FF00, 0x0000FF};
  for (int i = 0; i < 6; ++i) t.Line(10, 10 + 10 * i, 90, 10 + 10 * i, colours[i]);
  t.DrawWidth = 3;
  t.Line(10, 80, 90, 80, 0x0000FF);  // same colour, other width: a pen of its own
  t.DrawWidth = 1;
  t.FillStyle = draw::kFillSolid;
  t.Circle(50, 10, 4, 0);
  EXPECT_EQ(t.Image().pixel(50, 10) | 0xFF000000u, 0xFFFFFFFFu);  // nothing before the end
  t.EndBatch();
  EXPECT_EQ(t.BatchedDrawCalls(), 4);
  const std::pair<int, uint32_t> rows[] = {
      {20, 0xFF00FF00u}, {30, 0xFFFF0000u}, {40, 0xFF0000FFu}, {81, 0xFFFF0000u}};
  for (const auto& [y, argb] : rows) {
    SCOPED_TRACE(y);
    EXPECT_EQ(t.Image().pixel(20, y) | 0xFF000000u, argb);
  }
  // The filled circle was drawn over the first (red) line; an empty batch draws nothing.
  EXPECT_EQ(t.Image().pixel(50, 10) | 0xFF000000u, 0xFF000000u);
  t.BeginBatch();
  t.EndBatch();
  EXPECT_EQ(t.BatchedDrawCalls(), 4);
}

TEST(DrawTargetTest, PrintAdvancesOneLineAndMeasuresInUnits) {
  DrawTarget t(400, 200);
  t.SetScale(0, 0, 6000, 3000);
  t.Font = QFont(QStringLiteral("Sans"), 12);
  const double h = t.TextHeight(QStringLiteral("Ag"));
  EXPECT_GT(h, 0);
  EXPECT_NEAR(t.TextHeight(QStringLiteral("a\nb")), 2 * h, 1e-9);
  EXPECT_GT(t.TextWidth(QStringLiteral("WWWW")), t.TextWidth(QStringLiteral("W")));
  t.CurrentX = 300;
  t.CurrentY = 150;
  t.Print(QStringLiteral("Hello"));
  EXPECT_EQ(t.CurrentX, 300);
  EXPECT_NEAR(t.CurrentY, 150 + h, 1e-9);
  // Something dark was written where the text stands.
  int darkest = 255;
  for (int y = 10; y < 40; ++y) {
    for (int x = 20; x < 100; ++x) darkest = std::min(darkest, qGray(t.Image().pixel(x, y)));
  }
  EXPECT_LT(darkest, 128);
}

TEST(DrawTargetTest, PainterTargetDrawsThroughTheCallersPainter) {
  QImage page(50, 50, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    painter.scale(2, 2);  // the target works in device pixels whatever the painter's transform
    DrawTarget t(painter, 50, 50);
    t.SetScale(0, 0, 500, 500);
    t.Line(0, 250, 500, 250, 0xFF0000);
    EXPECT_TRUE(t.Image().isNull());
    EXPECT_FALSE(t.SaveImage(QStringLiteral("never.bmp")));
  }
  EXPECT_EQ(page.pixel(10, 25) | 0xFF000000u, 0xFF0000FFu);
}

}  // namespace
