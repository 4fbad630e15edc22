// The one drawing target of the program: a picture box as the windows draw on it. Coordinates are
// in a user scale (a left, a top, a width and a height in units of the caller's choosing, the
// height negative for a y axis that grows upwards); the target keeps a current position, a draw
// width in device pixels, a fill style for circles and boxes, a back colour and a font. Behind it
// is a QPainter, either on a QImage that the target owns (the screen picture, saved pictures) or
// on a painter that the caller keeps active (paper).
//
// Colours are packed RGB: red + 256 * green + 65536 * blue.
//
// Lines may be batched: between BeginBatch and EndBatch every line is kept, grouped by pen
// (colour and width), and EndBatch draws each group with one drawLines call, then the circles of
// the batch in the order they came. Pens are cosmetic: the width does not grow with the scale.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLineF>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

class QPainter;

namespace draw {

// Fill styles of the platform: 0 solid, 1 transparent.
enum FillStyle : int { kFillSolid = 0, kFillTransparent = 1 };

// Packed RGB to a colour and back.
uint32_t ToArgb(int32_t packedRgb);
int32_t PackRgb(int red, int green, int blue);

class DrawTarget {
 public:
  // A target drawing on its own image of widthPx x heightPx pixels, cleared to white. The scale
  // starts as one unit per pixel.
  DrawTarget(int widthPx, int heightPx);
  // A target drawing through a painter the caller keeps active (for example on a printer) over a
  // device area of widthPx x heightPx pixels. The painter must outlive the target.
  DrawTarget(QPainter& activePainter, int widthPx, int heightPx);
  ~DrawTarget();
  DrawTarget(const DrawTarget&) = delete;
  DrawTarget& operator=(const DrawTarget&) = delete;

  // User scale: (left, top) is the upper-left corner of the device area, width and height its
  // extent in units. A width or height of 0 is refused (the scale is left unchanged).
  void SetScale(double left, double top, double width, double height);
  double ScaleLeft() const { return scaleLeft_; }
  double ScaleTop() const { return scaleTop_; }
  double ScaleWidth() const { return scaleWidth_; }
  double ScaleHeight() const { return scaleHeight_; }
  int PixelWidth() const { return widthPx_; }
  int PixelHeight() const { return heightPx_; }

  // User units to device pixels.
  QPointF ToDevice(double x, double y) const;

  double CurrentX = 0;
  double CurrentY = 0;
  int DrawWidth = 1;  // pixels, at least 1 when used
  int FillStyle = kFillTransparent;
  int32_t FillColor = 0;
  int32_t BackColor = 0xFFFFFF;
  int32_t ForeColor = 0;
  QFont Font;

  // Fills the whole device area with BackColor; the current position becomes (0, 0). In a batch
  // the lines and circles kept so far are dropped.
  void Cls();
  // A line from (x1, y1) to (x2, y2); the current position becomes (x2, y2).
  void Line(double x1, double y1, double x2, double y2, int32_t color);
  // A rectangle with the corners (x1, y1) and (x2, y2), filled in its colour or outlined; the
  // current position becomes (x2, y2).
  void Box(double x1, double y1, double x2, double y2, int32_t color, bool filled);
  // A circle about (x, y) with a radius in units of the x scale, outlined in colour and filled
  // with FillColor unless FillStyle is transparent. The current position becomes (x, y).
  void Circle(double x, double y, double radius, int32_t color);
  // Text at the current position in ForeColor; the current position moves to the start of the
  // next line (x back where it was, y one text height further down).
  void Print(const QString& text);
  // Extent of a text in the current font, in units.
  double TextWidth(const QString& text) const;
  double TextHeight(const QString& text) const;

  void BeginBatch();
  void EndBatch();
  bool InBatch() const { return batching_; }
  // drawLines calls made by EndBatch since the target was made (one per pen group).
  long BatchedDrawCalls() const { return batchedDrawCalls_; }

  // An image target may hold its picture at a screen's device pixel ratio: drawing stays in the
  // target's pixels (PixelWidth x PixelHeight), the image underneath has ratio times as many, so
  // that lines and text are as sharp as the screen shows them. Setting a ratio clears the picture
  // to white. Ratios below 1 (and painter targets) are left at 1.
  void SetDevicePixelRatio(double ratio);
  double DevicePixelRatio() const { return ratio_; }
  // The picture of an image target at its pixel size (an empty image for a painter target): at a
  // ratio above 1 the device picture scaled down, so saved pictures keep their pixel size.
  QImage Image() const;
  // The picture as drawn, at the device pixel ratio (for the screen).
  const QImage& DeviceImage() const { return image_; }
  // Writes the picture of an image target as a file whose format follows the name's extension
  // ("bmp" and others Qt knows). False when it could not be written or there is no image.
  bool SaveImage(const QString& path, const char* format = nullptr) const;

 private:
  struct PenKey {
    int32_t color;
    int width;
    bool operator<(const PenKey& o) const {
      return color != o.color ? color < o.color : width < o.width;
    }
  };
  struct PendingCircle {
    QPointF centre;
    double radiusPx;
    int32_t color;
    int width;
    bool filled;
    int32_t fillColor;
  };

  template <typename Fn>
  void Paint(Fn&& fn);
  void UpdateTransform();
  QFontMetricsF Metrics() const;
  void DrawCircleNow(QPainter& p, const PendingCircle& c);
  int PenWidth() const { return DrawWidth < 1 ? 1 : DrawWidth; }

  QImage image_;
  QPainter* external_ = nullptr;
  int widthPx_ = 1;
  int heightPx_ = 1;
  double ratio_ = 1;
  double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
  QTransform toDevice_;

  bool batching_ = false;
  std::map<PenKey, std::vector<QLineF>> lineGroups_;
  std::vector<PendingCircle> circles_;
  long batchedDrawCalls_ = 0;
};

}  // namespace draw
