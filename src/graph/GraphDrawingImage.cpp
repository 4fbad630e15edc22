// Saving the graph's picture as a bitmap file, and the framed capture: a rectangle framed with the
// mouse on the picture goes to the clipboard as a picture and is saved as a bitmap.
//
// Other windows save pictures through SaveGraphBitmap(path) and WriteBitmap(picture, path)
// (GraphImage.h): the animation frames, for example, are written with them.
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "graph/GraphDrawing.h"
#include "graph/GraphImage.h"
#include "graph/GraphWindow.h"
#include "platform/ui/QtFileWrite.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

namespace {

// Mouse buttons as the handlers receive them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// The framed part starts this far (Display's units, twips) inside the corner where the drag began,
// which leaves the band's start edges out of the picture.
constexpr double kFrameInset = 10;

// The band shown while a frame is dragged: a dotted outline that inverts the picture beneath it,
// over the picture box and transparent to the mouse.
class FrameBand : public QWidget {
 public:
  explicit FrameBand(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(parent->size());
    hide();
  }
  void ShowRect(const QRect& rect) {
    rect_ = rect;
    resize(parentWidget()->size());
    show();
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect_);
  }

 private:
  QRect rect_;
};

int ButtonsOf(Qt::MouseButtons buttons) {
  int out = 0;
  if (buttons & Qt::LeftButton) out |= kLeftButton;
  if (buttons & Qt::RightButton) out |= kRightButton;
  if (buttons & Qt::MiddleButton) out |= kMiddleButton;
  return out;
}

// Whether two positions are equal once rounded to single precision; positions beyond its range
// are compared as they are.
bool SameInSingle(double a, double b) {
  const auto fits = [](double v) {
    return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max();
  };
  if (!fits(a) || !fits(b)) return a == b;
  return static_cast<float>(a) == static_cast<float>(b);
}

// The save dialog of both picture items; false when it was cancelled.
bool AskPictureName(rt::Text& chosen) {
  ui::FileDialogRequest request;
  request.filter = kPictureFilter;
  request.defaultExt = kPictureExt;
  request.overwritePrompt = true;
  return ui::Ui().SaveFileDialog(request, chosen) && !chosen.empty();
}

// Writes the picture under the name the dialog returned; the window's caption then shows that
// name. A file that could not be written is said (and nothing is left of it); false (caption
// unchanged) when nothing was written.
bool WritePictureAs(QWidget& window, const QImage& picture, const rt::Text& chosen) {
  const QString file = PictureFileFor(ui::ToQString(chosen));
  if (file.isEmpty() || !WriteBitmap(picture, file)) {
    ui::Ui().MsgBox(u"The picture could not be written to " + ui::FromQString(file) + u".",
                    ui::kExclamation, ws::kAppTitle);
    return false;
  }
  window.setWindowTitle(ui::ToQString(chosen));
  return true;
}

// Pixel positions are kept within this reach of the picture, so that sizes stay in range.
constexpr double kPixelReach = 1.0e8;

// Display's unit point to the nearest pixel boundary.
QPoint PixelOf(const draw::DrawTarget& t, double x, double y) {
  const QPointF d = t.ToDevice(x, y);
  const auto near = [](double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::lround(std::clamp(v, -kPixelReach, kPixelReach)));
  };
  return {near(d.x()), near(d.y())};
}

// A dotted outline, every second pixel, in the colour: the rectangle's edge pixels are the
// columns and rows of its two corners.
void DottedBox(draw::DrawTarget& t, double x1, double y1, double x2, double y2, int32_t color) {
  const QRect bounds(0, 0, t.PixelWidth(), t.PixelHeight());
  const QRect r = QRect(PixelOf(t, x1, y1), PixelOf(t, x2, y2)).normalized();
  const double ux = t.ScaleWidth() / t.PixelWidth(), uy = t.ScaleHeight() / t.PixelHeight();
  const auto dot = [&](int px, int py) {
    if (!bounds.contains(px, py)) return;
    const double x = t.ScaleLeft() + px * ux, y = t.ScaleTop() + py * uy;
    t.Box(x, y, x + ux, y + uy, color, true);
  };
  const QRect edges = r.intersected(bounds.adjusted(-1, -1, 1, 1));
  for (int px = edges.left(); px <= edges.right(); px += 2) {
    dot(px, r.top());
    dot(px, r.bottom());
  }
  for (int py = edges.top(); py <= edges.bottom(); py += 2) {
    dot(r.left(), py);
    dot(r.right(), py);
  }
}

// The worksheet's Graph button, greyed and disabled after a framed capture.
void GreyGraphButton() {
  ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance();
  if (sheet == nullptr) return;
  sheet->DisableGraphButton();
}

}  // namespace

bool WriteBitmap(const QImage& picture, const QString& path) {
  if (picture.isNull() || path.isEmpty()) return false;
  // Written beside the target and renamed over it once complete: a failed write leaves neither a
  // truncated file nor a damaged earlier one, and a device, a pipe or a folder under the name is
  // refused. A bitmap file has no alpha channel: the opaque RGB picture is written.
  const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
  return ui::WriteWholeFile(path, [&opaque](QIODevice& file) {
           return opaque.save(&file, "BMP");
         }) == ui::WholeWrite::kWritten;
}

bool WriteBitmap(const draw::DrawTarget& picture, const QString& path) {
  return WriteBitmap(picture.Image(), path);
}

bool SaveGraphBitmap(const QString& path) {
  GraphWindow* w = GraphWindow::Instance();
  if (w == nullptr) return false;
  return WriteBitmap(w->Display(), path);
}

QString PictureFileFor(const QString& chosenName) {
  const QFileInfo info(chosenName);
  const QString name = info.fileName();
  if (name.isEmpty()) return {};
  // The file holds bitmap data, so its name ends in ".bmp": a name ending otherwise ("plot2.png",
  // "plot") gets the extension added.
  const bool isBitmapName = name.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
  return QDir(info.absolutePath()).filePath(isBitmapName ? name : name + QStringLiteral(".bmp"));
}

// ---------------------------------------------------------------------------------------------
// "Save Image (bmp)": the whole picture as drawn. A cancel ends it silently, a failed write is
// said.

void GraphDrawing::mnuSaveGraph_Click() {
  rt::Text chosen;
  if (!AskPictureName(chosen)) return;
  WritePictureAs(w_, w_.Display().Image(), chosen);
}

// ---------------------------------------------------------------------------------------------
// "Save Framed (bmp)": armed here, the frame is dragged with the left button and taken at the
// next button release over the picture.

void GraphDrawing::mnuSaveFrame_Click() {
  BoxStartX = BoxStartY = BoxEndX = BoxEndY = 0;
  BoxMode = true;
  if (frameBand_.isNull()) frameBand_ = new FrameBand(w_.DisplayBox);
  frameBand_->hide();
  w_.DisplayBox->setCursor(Qt::CrossCursor);
}

void GraphDrawing::DisplayMouseEvent(QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
      type != QEvent::MouseButtonRelease) {
    return;
  }
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const draw::DrawTarget& t = w_.Display();
  const QPointF at = mouse->position();
  const double x = t.ScaleLeft() + at.x() * t.ScaleWidth() / t.PixelWidth();
  const double y = t.ScaleTop() + at.y() * t.ScaleHeight() / t.PixelHeight();
  if (type == QEvent::MouseButtonPress) {
    Display_MouseDown(ButtonsOf(mouse->button()), x, y);
  } else if (type == QEvent::MouseMove) {
    Display_MouseMove(ButtonsOf(mouse->buttons()), x, y);
  } else {
    Display_MouseUp(ButtonsOf(mouse->button()), x, y);
  }
}

void GraphDrawing::Display_MouseDown(int button, double x, double y) {
  if (!BoxMode || button != kLeftButton) return;
  // A band left from an earlier drag goes; the new frame starts here.
  if (BoxEndX != 0) {
    if (!frameBand_.isNull()) frameBand_->hide();
    BoxEndX = x;
    BoxEndY = y;
  }
  BoxStartX = x;
  BoxStartY = y;
}

void GraphDrawing::Display_MouseMove(int button, double x, double y) {
  if (!BoxMode || (button & kLeftButton) == 0) return;
  BoxEndX = x;
  BoxEndY = y;
  if (auto* band = static_cast<FrameBand*>(frameBand_.data())) {
    band->ShowRect(QRect(PixelOf(w_.Display(), BoxStartX, BoxStartY), PixelOf(w_.Display(), x, y))
                       .normalized());
  }
}

void GraphDrawing::Display_MouseUp(int /*button*/, double x, double y) {
  w_.DisplayBox->unsetCursor();
  if (!BoxMode) return;
  BoxMode = false;
  if (!frameBand_.isNull()) frameBand_->hide();
  // A click without a drag takes nothing.
  if (!SameInSingle(x, BoxStartX)) {
    CaptureFrame(x, y);
    return;
  }
  GreyGraphButton();
}

void GraphDrawing::CaptureFrame(double releaseX, double releaseY) {
  // The corners in order: the start corner is the upper left one.
  if (BoxStartX > BoxEndX) {
    BoxEndX = BoxStartX;
    BoxStartX = releaseX;
  }
  if (BoxStartY > BoxEndY) {
    BoxEndY = BoxStartY;
    BoxStartY = releaseY;
  }
  // The frame stays on the picture as a dotted outline in the picture's fore colour.
  DottedBox(w_.Display(), BoxStartX, BoxStartY, BoxEndX, BoxEndY, w_.Display().ForeColor);
  w_.DisplayBox->update();

  // The framed part, from just inside the start corner to the end corner, as far as it lies on
  // the picture. A frame with no picture in it cannot be taken.
  BoxStartX += kFrameInset;
  BoxStartY += kFrameInset;
  const QPoint from = PixelOf(w_.Display(), BoxStartX, BoxStartY);
  const QPoint to = PixelOf(w_.Display(), BoxEndX, BoxEndY);
  const int width = to.x() - from.x(), height = to.y() - from.y();
  const QRect part =
      width > 0 && height > 0
          ? QRect(from.x(), from.y(), width, height).intersected(w_.Display().Image().rect())
          : QRect();
  if (part.isEmpty()) {
    ui::Ui().MsgBox(u"No image found. Redo your box frame.", ui::kExclamation, u"?");
    return;
  }
  const QImage picture = w_.Display().Image().copy(part).convertToFormat(QImage::Format_ARGB32);

  std::vector<uint32_t> pixels(static_cast<size_t>(picture.width()) * picture.height());
  for (int row = 0; row < picture.height(); ++row) {
    const auto* line = reinterpret_cast<const uint32_t*>(picture.constScanLine(row));
    std::copy(line, line + picture.width(),
              pixels.begin() + static_cast<size_t>(row) * picture.width());
  }
  ui::Ui().SetClipboardPicture(pixels.data(), picture.width(), picture.height());

  // A cancel keeps the picture on the clipboard and ends the capture here.
  rt::Text chosen;
  if (!AskPictureName(chosen)) return;
  if (!WritePictureAs(w_, picture, chosen)) return;

  BoxStartX = BoxStartY = BoxEndX = BoxEndY = 0;
  GreyGraphButton();
}

}  // namespace gr
