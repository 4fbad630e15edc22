#include "graph/ContourProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>

#include "graph/GraphWindow.h"
#include "platform/runtime/FormatSignificant.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Contour.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {
namespace {

ContourProgressWindow* g_window = nullptr;

// Height of a one-line label.
constexpr int kLabelHeightTwips = 255;
// Packed colours: a quadrant a branch started in, green (0, 255, 0); the segment count once the
// segment limit is reached, (255, 192, 192); the count otherwise, black.
constexpr int32_t kLitColor = 0x00FF00;
constexpr int32_t kLimitColor = 0xC0C0FF;
constexpr int32_t kBlack = 0;

QColor FromPacked(int32_t color) {
  int r = 0, g = 0, b = 0;
  rt::SplitRGB(color, r, g, b);
  return QColor(r, g, b);
}

QColor ButtonFace() {
  return QApplication::palette().color(QPalette::Button);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width = 0, int height = kLabelHeightTwips) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  if (width > 0) {
    label->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                       TwipsToPixels(height));
  } else {
    label->move(TwipsToPixels(left), TwipsToPixels(top));
    label->adjustSize();
  }
  return label;
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& title, int left, int top,
                     int width, int height) {
  auto* frame = new QGroupBox(title, parent);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                     TwipsToPixels(height));
  return frame;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int32_t color,
                        int left, int top, int width, int height) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                      TwipsToPixels(height));
  const QColor c = FromPacked(color);
  button->setStyleSheet(QStringLiteral("QPushButton { background-color: rgb(%1, %2, %3); }")
                            .arg(c.red())
                            .arg(c.green())
                            .arg(c.blue()));
  return button;
}

void SetBackground(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  if (palette.color(QPalette::Window) == color && label->autoFillBackground()) return;
  palette.setColor(QPalette::Window, color);
  label->setPalette(palette);
  label->setAutoFillBackground(true);
}

void SetForeground(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  if (palette.color(QPalette::WindowText) == color) return;
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

void SetText(QLabel* label, const rt::Text& text) {
  const QString q = ui::ToQString(text);
  if (label->text() != q) label->setText(q);
}

// The worksheet window is usable again after Abort and Exit.
void EnableWorksheet() {
  if (ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance()) sheet->setEnabled(true);
}

// Tracing's side of the window.
class ContourWindowQtHost final : public ms::ContourWindowHost {
 public:
  void Load() override { ContourProgressWindow::Load(); }
  void ShowWindow(bool shown) override {
    ContourProgressWindow& w = ContourProgressWindow::Load();
    if (shown) {
      w.show();
      w.raise();
    } else {
      w.hide();
    }
  }
  void Refresh() override {
    if (g_window) g_window->Mirror();
  }
  void SetGraphButtonsEnabled(bool enabled) override {
    gr::GraphWindow* graph = gr::GraphWindow::Instance();
    if (!graph) return;
    for (QPushButton* button : {graph->cmdReturn, graph->cmdExit, graph->cmdUpdate}) {
      if (button) button->setEnabled(enabled);
    }
  }
};

ContourWindowQtHost g_host;

// Size of the client area.
constexpr int kClientWidth = 6570;
constexpr int kClientHeight = 2490;
// Where the load places the window.
constexpr int kLoadLeft = 2500;
constexpr int kLoadTop = 500;

}  // namespace

ContourProgressWindow::ContourProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("frmContour"));
  setWindowTitle(QStringLiteral("Contour Progress"));
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));

  Frame1 = MakeFrame(this, "Frame1", QStringLiteral("Level Status"), 360, 240, 3495, 735);
  lblLevel = MakeLabel(Frame1, "lblLevel", QString(), 240, 300, 975);
  Label1 = MakeLabel(Frame1, "Label1", QStringLiteral("of"), 1320, 300);
  lblMaxCt = MakeLabel(Frame1, "lblMaxCt", QString(), 1680, 300, 495);
  Label2 = MakeLabel(Frame1, "Label2", QStringLiteral("step"), 2280, 300);
  lblStep = MakeLabel(Frame1, "lblStep", QString(), 2880, 300, 495);

  Frame2 = MakeFrame(this, "Frame2", QStringLiteral("Computation"), 360, 1200, 3495, 975);
  Label3 = MakeLabel(Frame2, "Label3", QStringLiteral("Update Contour Segments:"), 240, 300);
  lblSegCt = MakeLabel(Frame2, "lblSegCt", QString(), 2400, 315, 615);
  Label4 = MakeLabel(Frame2, "Label4", QStringLiteral("Maximum Contour Segments allowed: 15000"),
                     240, 550);

  Frame3 = MakeFrame(this, "Frame3", QStringLiteral("Quadrant / Each Level"), 4080, 240, 2295, 735);
  const int lefts[4] = {120, 720, 1320, 1920};
  const char* names[4] = {"lblQ1", "lblQ2", "lblQ3", "lblQ4"};
  for (int q = 0; q < 4; ++q) {
    lblQ[static_cast<size_t>(q)] =
        MakeLabel(Frame3, names[q], QStringLiteral(" %1").arg(q + 1), lefts[q], 360, 255, 250);
  }

  cmdExit = MakeButton(this, "cmdExit", QStringLiteral("Exit to Graph"), rt::RGB(192, 255, 192),
                       4080, 1560, 1335, 495);
  cmdAbort = MakeButton(this, "cmdAbort", QStringLiteral("Abort"), rt::RGB(255, 192, 192), 5640,
                        1560, 735, 495);
  connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbort_Click(); });
  connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

ContourProgressWindow::~ContourProgressWindow() {
  if (g_window == this) {
    g_window = nullptr;
    ms::ContourWindowUnloaded();
  }
}

ContourProgressWindow* ContourProgressWindow::Instance() {
  return g_window;
}

ContourProgressWindow& ContourProgressWindow::Load() {
  if (!g_window) {
    g_window = new ContourProgressWindow();
    g_window->Form_Load();
  }
  return *g_window;
}

void ContourProgressWindow::Form_Load() {
  ui::Ui().MakeTopmostAtOrigin(static_cast<ui::WindowHandle>(static_cast<QWidget*>(this)));
  move(TwipsToPixels(kLoadLeft), TwipsToPixels(kLoadTop));
  ms::ContourWindowLoad();
  Mirror();
}

void ContourProgressWindow::cmdAbort_Click() {
  ms::ContourAbortClick();
  Mirror();
  EnableWorksheet();
}

void ContourProgressWindow::cmdExit_Click() {
  ms::ContourExitClick();
  Mirror();
  EnableWorksheet();
}

void ContourProgressWindow::Mirror() {
  const ms::ContourWindowData& w = ms::ContourWindow;
  SetText(lblLevel, w.Level ? rt::FormatSignificant(*w.Level, 5) : rt::Text());
  SetText(lblMaxCt, w.LastLevel ? rt::NumText(*w.LastLevel) : rt::Text());
  SetText(lblStep, w.LevelStep ? rt::NumText(*w.LevelStep) : rt::Text());
  SetText(lblSegCt, w.Segments ? rt::IntText(*w.Segments) : rt::Text());
  SetForeground(lblSegCt, FromPacked(w.SegmentLimitReached ? kLimitColor : kBlack));
  for (int q = 1; q <= 4; ++q) {
    SetBackground(lblQ[static_cast<size_t>(q - 1)],
                  w.QuadrantReached[static_cast<size_t>(q)] ? FromPacked(kLitColor) : ButtonFace());
  }
  cmdAbort->setEnabled(w.Tracing);
  cmdExit->setEnabled(w.Finished);
}

void ContourProgressWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (ms::ContourWindow.Tracing) return;
  cmdExit_Click();
}

void InstallContourWindow() {
  ms::SetContourWindowHost(&g_host);
}

void UnloadContourWindow() {
  delete g_window;
}

}  // namespace gr
