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

// Pixels inside the rectangle (picture units) that are near the packed colour (each channel
// within 60, near-white excluded), or dark (every channel below 100) when packed is negative.
inline int CountPixels(const draw::DrawTarget& t, double left, double top, double width,
                       double height, int32_t packed = -1) {
  const QRect r =
      QRectF(t.ToDevice(left, top), t.ToDevice(left + width, top + height)).normalized().toRect();
  const QColor want = QColor::fromRgb(draw::ToArgb(std::max(packed, 0)));
  int n = 0;
  for (int y = std::max(0, r.top()); y < std::min(t.Image().height(), r.bottom()); ++y) {
    for (int x = std::max(0, r.left()); x < std::min(t.Image().width(), r.right()); ++x) {
      const QColor c(t.Image().pixel(x, y));
      const bool dark = c.red() < 100 && c.green() < 100 && c.blue() < 100;
      const bool near = std::abs(c.red() - want.red()) <= 60 &&
                        std::abs(c.green() - want.green()) <= 60 &&
                        std::abs(c.blue() - want.blue()) <= 60 &&
                        !(c.red() > 230 && c.green() > 230 && c.blue() > 230);
      n += (packed < 0 ? dark : near) ? 1 : 0;
    }
  }
  return n;
}
inline int DarkPixels(const draw::DrawTarget& t, double left, double top, double width,
                      double height) {
  return CountPixels(t, left, top, width, height);
}

// Records what the overlays print while it lives.
struct PrintRecorder {
  std::vector<PrintedText> log;
  PrintRecorder() { SetPrintLog(&log); }
  ~PrintRecorder() { SetPrintLog(nullptr); }
  PrintRecorder(const PrintRecorder&) = delete;
  std::vector<rt::Text> Texts() const {
    std::vector<rt::Text> out;
    for (const PrintedText& p : log) out.push_back(p.text);
    return out;
  }
  // The printed texts joined by "|".
  rt::Text Joined() const {
    rt::Text out;
    for (const PrintedText& p : log) out += (out.empty() ? u"" : u"|") + p.text;
    return out;
  }
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
  // The graph window with nothing to build (without axes the picture stays white).
  frmGraph& LoadEmpty() {
    ms::Requests = ms::CommandRequestState{};
    frmGraph& w = Load();
    Graph.ShowAxes = 0;
    w.GenerateData();
    return w;
  }
  frmSetDisplay& Options() { return *frmSetDisplay::Instance(); }
  // A function record k whose value line is listed.
  static void AddValueFunction(int k, const char16_t* name, const char16_t* parm, double value) {
    ms::Tables.FuncCount = static_cast<int16_t>(k);
    ms::FuncRec& f = ms::Tables.FuncTable[static_cast<size_t>(k)];
    f = ms::FuncRec{};
    f.Name = name;
    f.Parm1 = parm;
    f.Value = value;
    f.LineBreak = -1;
  }
};

}  // namespace gr::testing
