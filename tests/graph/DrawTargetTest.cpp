#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/draw/DrawTarget.h"

namespace {

using draw::DrawTarget;

uint32_t Pixel(const DrawTarget& t, double x, double y) {
  const QPointF d = t.ToDevice(x, y);
  return t.Image().pixel(static_cast<int>(d.x()), static_cast<int>(d.y())) | 0xFF000000u;
}

TEST(DrawTargetTest, PackedColoursHaveRedInTheLowByte) {
  struct Case {
    int r, g, b;
    int32_t packed;
    uint32_t argb;
  };
  const Case cases[] = {
      {255, 0, 0, 0x0000FF, 0xFFFF0000u},    {0, 255, 0, 0x00FF00, 0xFF00FF00u},
      {0, 0, 255, 0xFF0000, 0xFF0000FFu},    {192, 192, 255, 0xFFC0C0, 0xFFC0C0FFu},
      {300, -5, 128, 0x8000FF, 0xFFFF0080u},  // bytes are clamped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.packed);
    EXPECT_EQ(draw::PackRgb(c.r, c.g, c.b), c.packed);
    EXPECT_EQ(draw::ToArgb(c.packed), c.argb);
  }
}

TEST(DrawTargetTest, UserScaleMapsToDevicePixels) {
  DrawTarget t(200, 100);
  struct Case {
    double left, top, width, height;
    double x, y;
    double px, py;
  };
  const Case cases[] = {
      {0, 0, 200, 100, 50, 25, 50, 25},        // one unit per pixel
      {0, 0, 3000, 1500, 1500, 750, 100, 50},  // twips: 15 per pixel
      {-10, 10, 20, -20, 0, 0, 100, 50},       // y growing upwards, origin in the middle
      {-10, 10, 20, -20, 10, -10, 200, 100},   // the lower right corner
      {100, 50, 200, 100, 100, 50, 0, 0},      // shifted origin
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    t.SetScale(c.left, c.top, c.width, c.height);
    const QPointF d = t.ToDevice(c.x, c.y);
    EXPECT_DOUBLE_EQ(d.x(), c.px);
    EXPECT_DOUBLE_EQ(d.y(), c.py);
  }
  // A zero or non-finite extent is refused and keeps the scale.
  t.SetScale(0, 0, 400, 200);
  t.SetScale(0, 0, 0, 100);
  t.SetScale(0, 0, 100, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(t.ScaleWidth(), 400);
  EXPECT_EQ(t.ScaleHeight(), 200);
}

TEST(DrawTargetTest, LinesBoxesAndCirclesPaintInTheirColours) {
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
  // Nothing is painted before the batch ends.
  EXPECT_EQ(t.Image().pixel(50, 10) | 0xFF000000u, 0xFFFFFFFFu);
  t.EndBatch();
  EXPECT_EQ(t.BatchedDrawCalls(), 4);
  const struct {
    int y;
    uint32_t argb;
  } rows[] = {{20, 0xFF00FF00u}, {30, 0xFFFF0000u}, {40, 0xFF0000FFu}, {50, 0xFF00FF00u},
              {60, 0xFFFF0000u}, {80, 0xFFFF0000u}, {81, 0xFFFF0000u}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.y);
    EXPECT_EQ(t.Image().pixel(20, r.y) | 0xFF000000u, r.argb);
  }
  // The filled circle was drawn over the first (red) line.
  EXPECT_EQ(t.Image().pixel(50, 10) | 0xFF000000u, 0xFF000000u);
  // An empty batch draws nothing.
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
  bool inked = false;
  const QRect area(20, 10, 80, 30);
  for (int y = area.top(); y <= area.bottom() && !inked; ++y) {
    for (int x = area.left(); x <= area.right() && !inked; ++x) {
      inked = qGray(t.Image().pixel(x, y)) < 128;
    }
  }
  EXPECT_TRUE(inked);
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

TEST(DrawTargetTest, SavedBitmapReadsBackTheSamePixels) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  DrawTarget t(40, 30);
  t.Line(0, 15, 40, 15, 0x00FF00);
  const QString path = dir.filePath(QStringLiteral("pic.bmp"));
  ASSERT_TRUE(t.SaveImage(path, "BMP"));
  QImage back(path);
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.size(), QSize(40, 30));
  EXPECT_EQ(back.pixel(20, 15) | 0xFF000000u, 0xFF00FF00u);
  EXPECT_EQ(back.pixel(20, 5) | 0xFF000000u, 0xFFFFFFFFu);
  EXPECT_FALSE(t.SaveImage(dir.filePath(QStringLiteral("no/such/folder/pic.bmp")), "BMP"));
}

}  // namespace
