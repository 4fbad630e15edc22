// Shared by the display-options tests: the graph window loaded with nothing to build (a white
// picture), pixel counts in regions of the picture given in its own units, and the texts the
// overlays print, recorded.
#pragma once

#include <QImage>
#include <QRectF>
#include <vector>

#include "GraphTestSupport.h"
#include "graph/GraphOverlays.h"
#include "graph/frmSetDisplay.h"

namespace gr::testing {

// Pixels of the picture inside the rectangle (left, top, width, height in picture units) that
// pass the test.
template <typename Pred>
int CountPixels(const draw::DrawTarget& t, double left, double top, double width, double height,
                Pred pred) {
  const QRectF r =
      QRectF(t.ToDevice(left, top), t.ToDevice(left + width, top + height)).normalized();
  const QImage& img = t.Image();
  int n = 0;
  for (int y = std::max(0, static_cast<int>(r.top()));
       y < std::min(img.height(), static_cast<int>(r.bottom())); ++y) {
    for (int x = std::max(0, static_cast<int>(r.left()));
         x < std::min(img.width(), static_cast<int>(r.right())); ++x) {
      if (pred(QColor(img.pixel(x, y)))) ++n;
    }
  }
  return n;
}

// Dark pixels (black text and its darker edges).
inline int DarkPixels(const draw::DrawTarget& t, double left, double top, double width,
                      double height) {
  return CountPixels(t, left, top, width, height, [](const QColor& c) {
    return c.red() < 100 && c.green() < 100 && c.blue() < 100;
  });
}

// Pixels close to a packed colour (each channel within 60) that are not near white.
inline int PixelsOfColour(const draw::DrawTarget& t, double left, double top, double width,
                          double height, int32_t packed) {
  const QColor want = QColor::fromRgb(draw::ToArgb(packed));
  return CountPixels(t, left, top, width, height, [&want](const QColor& c) {
    const bool near = std::abs(c.red() - want.red()) <= 60 &&
                      std::abs(c.green() - want.green()) <= 60 &&
                      std::abs(c.blue() - want.blue()) <= 60;
    const bool white = c.red() > 230 && c.green() > 230 && c.blue() > 230;
    return near && !white;
  });
}

// Records what the overlays print while it lives.
class PrintRecorder {
 public:
  PrintRecorder() { SetPrintLog(&log_); }
  ~PrintRecorder() { SetPrintLog(nullptr); }
  PrintRecorder(const PrintRecorder&) = delete;
  PrintRecorder& operator=(const PrintRecorder&) = delete;

  const std::vector<PrintedText>& Log() const { return log_; }
  void Clear() { log_.clear(); }
  // The printed texts in order.
  std::vector<rt::Text> Texts() const {
    std::vector<rt::Text> out;
    for (const PrintedText& p : log_) out.push_back(p.text);
    return out;
  }

 private:
  std::vector<PrintedText> log_;
};

class OverlayTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ResetOverlayState();
  }
  void TearDown() override {
    UnloadSetDisplay();
    GraphTest::TearDown();
    ResetOverlayState();
  }

  // The graph window with nothing to build and its display-options window.
  frmGraph& LoadEmpty() {
    ms::Requests = ms::CommandRequestState{};
    frmGraph& w = Load();
    // Without axes an empty scene leaves the picture white.
    Graph.ShowAxes = 0;
    w.GenerateData();
    return w;
  }
  frmSetDisplay& Options() { return *frmSetDisplay::Instance(); }
};

}  // namespace gr::testing
