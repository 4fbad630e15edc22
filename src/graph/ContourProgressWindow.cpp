#include "graph/ContourProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>

#include "graph/GraphWindow.h"
#include "platform/runtime/FormatSignificant.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/QtWidgetKit.h"
#include "platform/ui/UiServices.h"
#include "plotting/Contour.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {
namespace {

ContourProgressWindow* g_window = nullptr;

// Packed colours: a quadrant a branch started in, green (0, 255, 0); the segment count once the
// segment limit is reached, (255, 192, 192); the count otherwise, black.
constexpr int32_t kLitColor = 0x00FF00;
constexpr int32_t kLimitColor = 0xC0C0FF;
constexpr int32_t kBlack = 0;

// The widest texts the value labels show, so that a longer value does not push its neighbours
// aside while tracing: a level as FormatSignificant writes it with five digits, a level count or
// step, the segment count up to the fixed maximum.
const QString kWidestLevel = QStringLiteral("-8.8888E-888");
const QString kWidestCount = QStringLiteral("-88888.88");
const QString kWidestSegments = QStringLiteral("88888");

QColor ButtonFace() {
  return QApplication::palette().color(QPalette::Button);
}

// A label keeps room for its widest text in its current font.
void ReserveWidth(QLabel* label, const QString& widest) {
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest));
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
  // Tracing refreshes after every segment; redrawing the labels that often costs more than the
  // tracing. A change a user must not miss (tracing started or ended, a quadrant lit, the segment
  // limit) is shown at once; the running level and count at most every kRefreshInterval ms, the
  // clock read once per kRefreshBatch refreshes. The end of a run always changes Tracing, so the
  // final state is shown.
  void Refresh() override {
    if (!g_window) return;
    const uint32_t marks = Marks();
    if (marks == shownMarks_ && clock_.isValid()) {
      if (++pending_ < kRefreshBatch || clock_.elapsed() < kRefreshInterval) return;
    }
    shownMarks_ = marks;
    pending_ = 0;
    clock_.start();
    g_window->Mirror();
  }
  void SetGraphButtonsEnabled(bool enabled) override {
    gr::GraphWindow* graph = gr::GraphWindow::Instance();
    if (!graph) return;
    for (QPushButton* button : {graph->cmdReturn, graph->cmdExit, graph->cmdUpdate}) {
      if (button) button->setEnabled(enabled);
    }
  }

 private:
  static constexpr qint64 kRefreshInterval = 20;
  static constexpr int kRefreshBatch = 16;

  // The state that is shown at once when it changes, as bits.
  static uint32_t Marks() {
    const ms::ContourWindowData& w = ms::ContourWindow;
    uint32_t m = (w.Tracing ? 1u : 0u) | (w.Finished ? 2u : 0u) |
                 (w.SegmentLimitReached ? 4u : 0u) | (w.Visible != 0 ? 8u : 0u);
    for (size_t q = 1; q <= 4; ++q) m |= w.QuadrantReached[q] ? (16u << q) : 0u;
    return m;
  }

  QElapsedTimer clock_;
  uint32_t shownMarks_ = 0;
  int pending_ = 0;
};

ContourWindowQtHost g_host;

// Where the load places the window.
constexpr int kLoadLeft = 2500;
constexpr int kLoadTop = 500;

}  // namespace

// The blocks of the window design, laid out so that every caption and value keeps the room its
// text needs at any font: Level Status and Computation on the left, the quadrant lights and the
// two buttons on the right.
ContourProgressWindow::ContourProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("frmContour"));
  setWindowTitle(QStringLiteral("Contour Progress"));

  Frame1 = ui::MakeFrame(this, "Frame1", QStringLiteral("Level Status"));
  lblLevel = ui::MakeLabel(Frame1, "lblLevel", QString());
  Label1 = ui::MakeLabel(Frame1, "Label1", QStringLiteral("of"));
  lblMaxCt = ui::MakeLabel(Frame1, "lblMaxCt", QString());
  Label2 = ui::MakeLabel(Frame1, "Label2", QStringLiteral("step"));
  lblStep = ui::MakeLabel(Frame1, "lblStep", QString());
  auto* levelRow = new QHBoxLayout(Frame1);
  for (QLabel* label : {lblLevel, Label1, lblMaxCt, Label2, lblStep}) levelRow->addWidget(label);
  levelRow->addStretch(1);

  Frame2 = ui::MakeFrame(this, "Frame2", QStringLiteral("Computation"));
  Label3 = ui::MakeLabel(Frame2, "Label3", QStringLiteral("Update Contour Segments:"));
  lblSegCt = ui::MakeLabel(Frame2, "lblSegCt", QString());
  Label4 =
      ui::MakeLabel(Frame2, "Label4", QStringLiteral("Maximum Contour Segments allowed: 15000"));
  auto* computation = new QGridLayout(Frame2);
  computation->addWidget(Label3, 0, 0);
  computation->addWidget(lblSegCt, 0, 1);
  computation->addWidget(Label4, 1, 0, 1, 2);
  computation->setColumnStretch(2, 1);

  Frame3 = ui::MakeFrame(this, "Frame3", QStringLiteral("Quadrant / Each Level"));
  auto* lights = new QHBoxLayout(Frame3);
  const char* names[4] = {"lblQ1", "lblQ2", "lblQ3", "lblQ4"};
  for (int q = 0; q < 4; ++q) {
    QLabel* light = ui::MakeLabel(Frame3, names[q], QStringLiteral(" %1").arg(q + 1));
    light->setAlignment(Qt::AlignCenter);
    lblQ[static_cast<size_t>(q)] = light;
    lights->addWidget(light);
  }

  cmdExit = ui::MakeButton(this, QStringLiteral("cmdExit"), QStringLiteral("Exit to Graph"));
  cmdAbort = ui::MakeButton(this, QStringLiteral("cmdAbort"), QStringLiteral("Abort"));
  ui::PaintButton(cmdExit, rt::RGB(192, 255, 192));
  ui::PaintButton(cmdAbort, rt::RGB(255, 192, 192));
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(cmdExit);
  buttons->addWidget(cmdAbort);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Frame1, 0, 0);
  grid->addWidget(Frame2, 1, 0);
  grid->addWidget(Frame3, 0, 1);
  grid->addLayout(buttons, 1, 1, Qt::AlignBottom);
  // The window takes the size its blocks need and keeps it (it has no sizing border).
  grid->setSizeConstraint(QLayout::SetFixedSize);
  ReserveValueWidths();

  connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbort_Click(); });
  connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

void ContourProgressWindow::ReserveValueWidths() {
  ReserveWidth(lblLevel, kWidestLevel);
  ReserveWidth(lblMaxCt, kWidestCount);
  ReserveWidth(lblStep, kWidestCount);
  ReserveWidth(lblSegCt, kWidestSegments);
  for (QLabel* light : lblQ) ReserveWidth(light, QStringLiteral(" 88 "));
}

void ContourProgressWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) ReserveValueWidths();
  QWidget::changeEvent(event);
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
  ++mirrorCount_;
  const ms::ContourWindowData& w = ms::ContourWindow;
  SetText(lblLevel, w.Level ? rt::FormatSignificant(*w.Level, 5) : rt::Text());
  SetText(lblMaxCt, w.LastLevel ? rt::NumText(*w.LastLevel) : rt::Text());
  SetText(lblStep, w.LevelStep ? rt::NumText(*w.LevelStep) : rt::Text());
  SetText(lblSegCt, w.Segments ? rt::IntText(*w.Segments) : rt::Text());
  SetForeground(lblSegCt, ui::PackedColor(w.SegmentLimitReached ? kLimitColor : kBlack));
  for (int q = 1; q <= 4; ++q) {
    SetBackground(lblQ[static_cast<size_t>(q - 1)], w.QuadrantReached[static_cast<size_t>(q)]
                                                        ? ui::PackedColor(kLitColor)
                                                        : ButtonFace());
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
