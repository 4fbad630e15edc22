#include "platform/draw/DrawTarget.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace draw {

uint32_t ToArgb(int32_t packedRgb) {
  const uint32_t v = static_cast<uint32_t>(packedRgb);
  const uint32_t r = v & 0xFFu, g = (v >> 8) & 0xFFu, b = (v >> 16) & 0xFFu;
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

int32_t PackRgb(int red, int green, int blue) {
  auto byte = [](int c) { return std::clamp(c, 0, 255); };
  return byte(red) + 256 * byte(green) + 65536 * byte(blue);
}

namespace {

QColor ToColor(int32_t packed) {
  return QColor::fromRgb(ToArgb(packed));
}

QPen CosmeticPen(int32_t color, int width) {
  QPen pen(ToColor(color));
  pen.setWidth(width);
  pen.setCosmetic(true);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

}  // namespace

DrawTarget::DrawTarget(int widthPx, int heightPx)
    : image_(std::max(widthPx, 1), std::max(heightPx, 1), QImage::Format_ARGB32_Premultiplied),
      widthPx_(std::max(widthPx, 1)),
      heightPx_(std::max(heightPx, 1)) {
  image_.fill(Qt::white);
  SetScale(0, 0, widthPx_, heightPx_);
}

DrawTarget::DrawTarget(QPainter& activePainter, int widthPx, int heightPx)
    : external_(&activePainter), widthPx_(std::max(widthPx, 1)), heightPx_(std::max(heightPx, 1)) {
  SetScale(0, 0, widthPx_, heightPx_);
}

DrawTarget::~DrawTarget() {
  if (batching_) EndBatch();
}

void DrawTarget::SetScale(double left, double top, double width, double height) {
  if (!(width != 0) || !(height != 0) || !std::isfinite(left) || !std::isfinite(top) ||
      !std::isfinite(width) || !std::isfinite(height)) {
    return;
  }
  scaleLeft_ = left;
  scaleTop_ = top;
  scaleWidth_ = width;
  scaleHeight_ = height;
  UpdateTransform();
}

void DrawTarget::UpdateTransform() {
  const double sx = widthPx_ / scaleWidth_;
  const double sy = heightPx_ / scaleHeight_;
  toDevice_ = QTransform(sx, 0, 0, sy, -scaleLeft_ * sx, -scaleTop_ * sy);
}

QPointF DrawTarget::ToDevice(double x, double y) const {
  return toDevice_.map(QPointF(x, y));
}

template <typename Fn>
void DrawTarget::Paint(Fn&& fn) {
  if (external_ != nullptr) {
    external_->save();
    external_->resetTransform();
    external_->setRenderHint(QPainter::Antialiasing, false);
    fn(*external_);
    external_->restore();
    return;
  }
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, false);
  fn(p);
}

void DrawTarget::Cls() {
  lineGroups_.clear();
  circles_.clear();
  Paint([&](QPainter& p) { p.fillRect(QRectF(0, 0, widthPx_, heightPx_), ToColor(BackColor)); });
  CurrentX = 0;
  CurrentY = 0;
}

void DrawTarget::Line(double x1, double y1, double x2, double y2, int32_t color) {
  const QLineF line(ToDevice(x1, y1), ToDevice(x2, y2));
  CurrentX = x2;
  CurrentY = y2;
  if (batching_) {
    lineGroups_[PenKey{color, PenWidth()}].push_back(line);
    return;
  }
  Paint([&](QPainter& p) {
    p.setPen(CosmeticPen(color, PenWidth()));
    p.drawLine(line);
  });
}

void DrawTarget::Box(double x1, double y1, double x2, double y2, int32_t color, bool filled) {
  const QRectF rect = QRectF(ToDevice(x1, y1), ToDevice(x2, y2)).normalized();
  CurrentX = x2;
  CurrentY = y2;
  Paint([&](QPainter& p) {
    if (filled) {
      p.fillRect(rect, ToColor(color));
    } else {
      p.setPen(CosmeticPen(color, PenWidth()));
      p.setBrush(Qt::NoBrush);
      p.drawRect(rect);
    }
  });
}

void DrawTarget::DrawCircleNow(QPainter& p, const PendingCircle& c) {
  p.setPen(CosmeticPen(c.color, c.width));
  if (c.filled) {
    p.setBrush(ToColor(c.fillColor));
  } else {
    p.setBrush(Qt::NoBrush);
  }
  p.drawEllipse(c.centre, c.radiusPx, c.radiusPx);
}

void DrawTarget::Circle(double x, double y, double radius, int32_t color) {
  const double radiusPx = std::fabs(radius * widthPx_ / scaleWidth_);
  CurrentX = x;
  CurrentY = y;
  if (!std::isfinite(radiusPx)) return;
  const PendingCircle c{ToDevice(x, y), radiusPx, color, PenWidth(), FillStyle != kFillTransparent,
                        FillColor};
  if (batching_) {
    circles_.push_back(c);
    return;
  }
  Paint([&](QPainter& p) { DrawCircleNow(p, c); });
}

void DrawTarget::Print(const QString& text) {
  const QPointF at = ToDevice(CurrentX, CurrentY);
  Paint([&](QPainter& p) {
    p.setFont(Font);
    p.setPen(ToColor(ForeColor));
    const QFontMetricsF m(Font, p.device());
    p.drawText(QPointF(at.x(), at.y() + m.ascent()), text);
  });
  CurrentY += TextHeight(text);
}

// Text is measured for the device it is drawn on: a printer's resolution is many times the
// screen's, and a line measured at the screen's would print over the one before it.
QFontMetricsF DrawTarget::Metrics() const {
  if (external_ != nullptr && external_->device() != nullptr) {
    return QFontMetricsF(Font, external_->device());
  }
  return QFontMetricsF(Font);
}

double DrawTarget::TextWidth(const QString& text) const {
  const QFontMetricsF m = Metrics();
  return m.horizontalAdvance(text) * scaleWidth_ / widthPx_;
}

double DrawTarget::TextHeight(const QString& text) const {
  const QFontMetricsF m = Metrics();
  const qsizetype lines = std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
  return m.height() * static_cast<double>(lines) * std::fabs(scaleHeight_) / heightPx_;
}

void DrawTarget::BeginBatch() {
  batching_ = true;
}

void DrawTarget::EndBatch() {
  if (!batching_) return;
  batching_ = false;
  if (lineGroups_.empty() && circles_.empty()) return;
  Paint([&](QPainter& p) {
    for (const auto& [pen, lines] : lineGroups_) {
      p.setPen(CosmeticPen(pen.color, pen.width));
      p.drawLines(lines.data(), static_cast<int>(lines.size()));
      ++batchedDrawCalls_;
    }
    for (const PendingCircle& c : circles_) DrawCircleNow(p, c);
  });
  lineGroups_.clear();
  circles_.clear();
}

void DrawTarget::SetDevicePixelRatio(double ratio) {
  if (external_ != nullptr || !(ratio >= 1) || ratio > 8 || ratio == ratio_) return;
  if (batching_) EndBatch();
  ratio_ = ratio;
  image_ =
      QImage(static_cast<int>(std::ceil(widthPx_ * ratio)),
             static_cast<int>(std::ceil(heightPx_ * ratio)), QImage::Format_ARGB32_Premultiplied);
  image_.setDevicePixelRatio(ratio);
  image_.fill(Qt::white);
}

QImage DrawTarget::Image() const {
  if (ratio_ == 1 || image_.isNull()) return image_;
  QImage logical =
      image_.scaled(widthPx_, heightPx_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  logical.setDevicePixelRatio(1);
  return logical;
}

bool DrawTarget::SaveImage(const QString& path, const char* format) const {
  if (image_.isNull()) return false;
  // A bitmap file has no alpha: write the opaque RGB picture.
  return Image().convertToFormat(QImage::Format_RGB32).save(path, format);
}

}  // namespace draw
