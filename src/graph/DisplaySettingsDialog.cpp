// The display-options window: controls, the load that places every block, the handlers of the
// check boxes, scroll bars, boxes and buttons, the closing guard and dragging the window by its
// face. The overlay drawing lives in GraphOverlays.cpp and GraphLegends.cpp.
#include "graph/DisplaySettingsDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "graph/GraphOverlays.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

namespace {

QPointer<DisplaySettingsDialog> g_window;

// Size of the title box's font when the window loads (points).
constexpr double kTitleFontSize = 12;
// Largest value a scroll bar holds.
constexpr int kBarLimit = 32767;
// View code of the three-equation 3-D view.
constexpr int16_t kThreeEquationView = 7;

void Redraw() {
  if (GraphWindow* graph = GraphWindow::Instance()) graph->updateplot();
}

int16_t Flag(bool on) {
  return on ? -1 : 0;
}

// A menu of the graph window's menu bar by its caption.
void SetGraphMenuEnabled(const QString& caption, bool enabled) {
  GraphWindow* graph = GraphWindow::Instance();
  if (graph == nullptr) return;
  for (QAction* a : graph->menuBar()->actions()) {
    if (a->text() == caption) a->setEnabled(enabled);
  }
}

QScrollBar* MakeBar(QWidget* parent, const char* name) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(QLatin1String(name));
  bar->setRange(0, 0);
  bar->setMinimumWidth(120);
  bar->setFocusPolicy(Qt::NoFocus);
  return bar;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name) {
  auto* box = new QCheckBox(parent);
  box->setObjectName(QLatin1String(name));
  return box;
}

}  // namespace

DisplaySettingsDialog::DisplaySettingsDialog(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::Tool) {
  setObjectName(QStringLiteral("frmSetDisplay"));
  setWindowTitle(QStringLiteral("Display Data"));
  BuildControls();
  // A click on a check box or button leaves the keys where they were, so that the graph's keys
  // (which this window passes on) keep working; Tab still reaches every control.
  for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
    button->setFocusPolicy(Qt::TabFocus);
  }
  g_window = this;
}

DisplaySettingsDialog::~DisplaySettingsDialog() {
  if (g_window == this) g_window = nullptr;
}

DisplaySettingsDialog* DisplaySettingsDialog::Instance() {
  return g_window.data();
}

DisplaySettingsDialog& DisplaySettingsDialog::Load() {
  if (g_window.isNull()) {
    // Owned by the worksheet window, which lasts as long as the program, so that it serves every
    // graph window; without one, by the graph window, so that it goes with it.
    QWidget* owner = ws::WorksheetWindow::Instance();
    if (owner == nullptr) owner = GraphWindow::Instance();
    auto* window = new DisplaySettingsDialog(owner);
    window->Form_Load();
  }
  return *g_window;
}

void DisplaySettingsDialog::BuildControls() {
  auto* top = new QVBoxLayout(this);

  auto* headings = new QHBoxLayout();
  headings->addSpacing(40);
  lblHorizontal = new QLabel(QStringLiteral("Horizontal"), this);
  lblVertical = new QLabel(QStringLiteral("Vertical"), this);
  headings->addWidget(lblHorizontal, 1);
  headings->addWidget(lblVertical, 1);
  headings->addStretch(1);
  top->addLayout(headings);

  // One block: a frame with its check box and two position bars in the first row; extras below.
  auto block = [&](QGroupBox*& frame, const char* frameName, const QString& caption,
                   QCheckBox*& check, const char* checkName, QScrollBar*& h, const char* hName,
                   QScrollBar*& v, const char* vName) {
    frame = new QGroupBox(caption, this);
    frame->setObjectName(QLatin1String(frameName));
    auto* grid = new QGridLayout(frame);
    check = MakeCheck(frame, checkName);
    h = MakeBar(frame, hName);
    v = MakeBar(frame, vName);
    grid->addWidget(check, 0, 0);
    grid->addWidget(h, 0, 1);
    grid->addWidget(v, 0, 2);
    top->addWidget(frame);
    return grid;
  };

  block(Frame1, "Frame1", QStringLiteral("Data Scales"), ckData, "ckData", scrHText, "scrHText",
        scrVText, "scrVText");
  block(Frame2, "Frame2", QStringLiteral("Tme Scales"), ckTime, "ckTime", scrHTime, "scrHTime",
        scrVTime, "scrVTime");

  QGridLayout* wk = block(Frame3, "Frame3", QStringLiteral("WorkSheet -- Change Formats?"), ckWk,
                          "ckWk", scrHWk, "scrHWk", scrVWk, "scrVWk");
  Option1 = new QRadioButton(QStringLiteral("None"), Frame3);
  Option2 = new QRadioButton(QStringLiteral("{ } --> ( )"), Frame3);
  Option3 = new QRadioButton(QStringLiteral("{ } , [ ] --> ( )"), Frame3);
  Option1->setObjectName(QStringLiteral("Option1"));
  Option2->setObjectName(QStringLiteral("Option2"));
  Option3->setObjectName(QStringLiteral("Option3"));
  wk->addWidget(Option1, 1, 0);
  wk->addWidget(Option2, 1, 1);
  wk->addWidget(Option3, 1, 2);

  block(Frame4, "Frame4", QStringLiteral("Display Select Values"), CkVal, "CkVal", scrHVal,
        "scrHVal", scrVVal, "scrVVal");

  QGridLayout* title = block(Frame5, "Frame5", QStringLiteral("Enter Optional Title"), ckText,
                             "ckText", scrHtitle, "scrHtitle", scrVtitle, "scrVtitle");
  strText = new QLineEdit(Frame5);
  strText->setObjectName(QStringLiteral("strText"));
  QFont titleFont = strText->font();
  titleFont.setPointSizeF(kTitleFontSize);
  strText->setFont(titleFont);
  title->addWidget(strText, 1, 0, 1, 3);
  Frame7 = new QGroupBox(QStringLiteral("Center Text"), Frame5);
  Frame7->setObjectName(QStringLiteral("Frame7"));
  auto* centre = new QHBoxLayout(Frame7);
  ckCenter = MakeCheck(Frame7, "ckCenter");
  centre->addWidget(ckCenter);
  title->addWidget(Frame7, 2, 0, 1, 2);
  cmdTitleFont = new QPushButton(QStringLiteral("Font"), Frame5);
  cmdTitleFont->setObjectName(QStringLiteral("cmdTitleFont"));
  title->addWidget(cmdTitleFont, 2, 2);

  QGridLayout* legend = block(Frame6, "Frame6", QStringLiteral("Axis Labels Legend"), ckLegend,
                              "ckLegend", scrHLegend, "scrHLegend", scrVLegend, "scrVLegend");
  const std::array<std::pair<QLineEdit**, const char*>, 3> labels = {
      {{&strLegendX, "X"}, {&strLegendY, "Y"}, {&strLegendZ, "Z"}}};
  int column = 0;
  for (const auto& [box, heading] : labels) {
    legend->addWidget(new QLabel(QLatin1String(heading), Frame6), 1, column);
    *box = new QLineEdit(Frame6);
    (*box)->setObjectName(QStringLiteral("strLegend%1").arg(QLatin1String(heading)));
    legend->addWidget(*box, 2, column);
    ++column;
  }
  cmdLegendFont = new QPushButton(QStringLiteral("Font"), Frame6);
  cmdLegendFont->setObjectName(QStringLiteral("cmdLegendFont"));
  legend->addWidget(cmdLegendFont, 3, 2);

  builtTitleFont_ = strText->font();
  builtLegendFont_ = strLegendX->font();

  Command1 = new QPushButton(QStringLiteral("Exit"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  top->addWidget(Command1);

  // A check box acts whenever its value changes, by the user or by the program.
  connect(ckData, &QCheckBox::toggled, this, [this] { ckData_Click(); });
  connect(ckTime, &QCheckBox::toggled, this, [this] { ckTime_Click(); });
  connect(ckWk, &QCheckBox::toggled, this, [this] { ckWk_Click(); });
  connect(CkVal, &QCheckBox::toggled, this, [this] { CkVal_Click(); });
  connect(ckText, &QCheckBox::toggled, this, [this] { ckText_Click(); });
  connect(ckLegend, &QCheckBox::toggled, this, [this] { ckLegend_Click(); });

  // Each bar stores its value into its position and redraws, while its thumb is dragged too; the
  // title's horizontal bar moves the title only when the thumb is released.
  OverlayStateData& s = OverlayState;
  const std::array<std::pair<QScrollBar*, int32_t*>, 11> bars = {{
      {scrHText, &s.DataTextX},
      {scrVText, &s.DataTextY},
      {scrHTime, &s.TimeTextX},
      {scrVTime, &s.TimeTextY},
      {scrHWk, &s.WkTextX},
      {scrVWk, &s.WkTextY},
      {scrHVal, &s.ValTextX},
      {scrVVal, &s.ValTextY},
      {scrVtitle, &s.TitleY},
      {scrHLegend, &s.LegendX},
      {scrVLegend, &s.LegendY},
  }};
  for (const auto& [bar, position] : bars) {
    QScrollBar* b = bar;
    int32_t* p = position;
    connect(b, &QScrollBar::valueChanged, this, [this, b, p] { BarChanged(b, *p, true); });
  }
  connect(scrHtitle, &QScrollBar::valueChanged, this,
          [this] { BarChanged(scrHtitle, OverlayState.TitleX, !scrHtitle->isSliderDown()); });
  connect(scrHtitle, &QScrollBar::sliderReleased, this,
          [this] { BarChanged(scrHtitle, OverlayState.TitleX, true); });

  connect(strText, &QLineEdit::textChanged, this,
          [this](const QString& t) { TitleText = ui::FromQString(t); });
  connect(strLegendX, &QLineEdit::textChanged, this,
          [this](const QString& t) { LegendXText = ui::FromQString(t); });
  connect(strLegendY, &QLineEdit::textChanged, this,
          [this](const QString& t) { LegendYText = ui::FromQString(t); });
  connect(strLegendZ, &QLineEdit::textChanged, this,
          [this](const QString& t) { LegendZText = ui::FromQString(t); });
  connect(cmdTitleFont, &QPushButton::clicked, this, [this] { cmdTitleFont_Click(); });
  connect(cmdLegendFont, &QPushButton::clicked, this, [this] { cmdLegendFont_Click(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void DisplaySettingsDialog::ResetControls() {
  for (QCheckBox* box : {ckData, ckTime, ckWk, CkVal, ckText, ckLegend, ckCenter}) {
    const QSignalBlocker blocked(box);
    box->setChecked(false);
  }
  Graph.ShowDataText = Graph.ShowTimeText = Graph.ShowWkText = Graph.ShowValText = 0;
  Graph.ShowTitle = Graph.ShowLegend = 0;
  ms::Tables.ShowValLegend = 0;
  for (QScrollBar* bar : {scrHText, scrVText, scrHTime, scrVTime, scrHWk, scrVWk, scrHVal, scrVVal,
                          scrHtitle, scrVtitle, scrHLegend, scrVLegend}) {
    const QSignalBlocker blocked(bar);
    bar->setRange(0, 0);
    bar->setValue(0);
    bar->setEnabled(true);
  }
  strText->clear();
  strText->setFont(builtTitleFont_);
  for (QLineEdit* box : {strLegendX, strLegendY, strLegendZ}) {
    box->clear();
    box->setFont(builtLegendFont_);
  }
  Frame2->setTitle(QStringLiteral("Tme Scales"));
  Frame2->setEnabled(true);
  Frame2->show();
}

void DisplaySettingsDialog::Form_Load() {
  // The fonts go back to the worksheet's after a title or legend; without a worksheet window,
  // to the picture's font as the graph window set it.
  if (GraphWindow* graph = GraphWindow::Instance()) worksheetFontFallback_ = graph->Display().Font;

  ui::Ui().MakeTopmostAtOrigin(static_cast<ui::WindowHandle>(static_cast<QWidget*>(this)));
  Option1->setChecked(true);
  // The legend is off before the bars below redraw: a legend left on by an earlier graph window
  // would otherwise ask for the labels this new window does not have yet.
  Graph.ShowLegend = 0;

  // Ranges from the graph window's viewport in twips: 0..W across, 0..3H down.
  const GraphWindow* graph = GraphWindow::Instance();
  const int w =
      graph != nullptr ? std::min(graph->OutDisplay->width() * kTwipsPerPixel, kBarLimit) : 0;
  const int h =
      graph != nullptr ? std::min(graph->OutDisplay->height() * kTwipsPerPixel, kBarLimit / 3) : 0;
  for (QScrollBar* bar : {scrHText, scrHTime, scrHWk, scrHVal, scrHtitle, scrHLegend}) {
    bar->setRange(0, w);
  }
  for (QScrollBar* bar : {scrVText, scrVTime, scrVWk, scrVVal, scrVtitle, scrVLegend}) {
    bar->setRange(0, 3 * h);
  }
  OverlayStateData& s = OverlayState;
  s.DataTextX = scrHText->value();
  s.DataTextY = scrVText->value();
  s.TimeTextX = scrHTime->value() + w / 3;
  scrHTime->setValue(s.TimeTextX);
  s.WkTextX = scrHWk->value();
  s.WkTextY = scrVWk->value() + h / 2;
  scrVWk->setValue(s.WkTextY);
  s.ValTextX = scrHVal->value();
  s.ValTextY = scrVVal->value() + h / 2;
  scrVVal->setValue(s.ValTextY);
  s.TitleX = scrHtitle->value();
  s.TitleY = scrVtitle->value() + h / 2;
  scrVtitle->setValue(s.TitleY);
  s.LegendX = scrHLegend->value();
  s.LegendY = scrVLegend->value() + h / 2;
  scrVLegend->setValue(s.LegendY);

  LegendXText.clear();
  LegendYText.clear();
  LegendZText.clear();
  strLegendX->clear();
  strLegendY->clear();
  strLegendZ->clear();
  Graph.ShowLegend = 0;

  SetTimeFrameByPlotState();
}

void DisplaySettingsDialog::SetTimeFrameByPlotState() {
  const ms::CommandRequestState& r = ms::Requests;
  if (ms::View.PlotKind == kThreeEquationView) {
    Frame2->setTitle(QStringLiteral("not used"));
    Frame2->setEnabled(false);
    scrHTime->setEnabled(false);
    scrVTime->setEnabled(false);
    SetGraphMenuEnabled(QStringLiteral("Display Options"), false);
    SetGraphMenuEnabled(QStringLiteral("Animation"), false);
    SetGraphMenuEnabled(QStringLiteral("Family of Curves"), false);
  } else if (r.BVPRequested != 0) {
    Frame2->setTitle(QStringLiteral("Slopes"));
    SetGraphMenuEnabled(QStringLiteral("Display Options"), false);
    SetGraphMenuEnabled(QStringLiteral("Animation"), false);
    SetGraphMenuEnabled(QStringLiteral("Family of Curves"), false);
  } else if (r.IntegRequested != 0) {
    Frame2->setTitle(QStringLiteral("Integral Table"));
    SetGraphMenuEnabled(QStringLiteral("Animation"), false);
  } else if (r.DblIntRequested != 0) {
    Frame2->hide();
  } else if (r.IVPRequested != 0) {
    Frame2->setEnabled(true);
    Frame2->setTitle(QStringLiteral("Time Scales"));
    scrHTime->setEnabled(true);
    scrVTime->setEnabled(true);
    SetGraphMenuEnabled(QStringLiteral("Display Options"), true);
    SetGraphMenuEnabled(QStringLiteral("Animation"), true);
  } else if (r.ContourRequested != 0 || r.Contour1Requested != 0 || r.SlopeFieldRequested != 0 ||
             r.DirFieldRequested != 0 || r.Field3DRequested != 0) {
    Frame2->setTitle(QStringLiteral("Elevation/Rotation"));
  } else if (ms::PlotRequest.PlotVectorCount != 0) {
    Frame2->setTitle(QStringLiteral("Time Scales"));
  }
}

void DisplaySettingsDialog::BarChanged(QScrollBar* bar, int32_t& position, bool redraw) {
  position = bar->value();
  if (redraw) Redraw();
}

void DisplaySettingsDialog::ckData_Click() {
  Graph.ShowDataText = Flag(ckData->isChecked());
  Redraw();
}

void DisplaySettingsDialog::ckTime_Click() {
  Graph.ShowTimeText = Flag(ckTime->isChecked());
  Redraw();
}

void DisplaySettingsDialog::ckWk_Click() {
  Graph.ShowWkText = Flag(ckWk->isChecked());
  Redraw();
}

void DisplaySettingsDialog::CkVal_Click() {
  // The value lines and the select-values block go together.
  Graph.ShowValText = Flag(CkVal->isChecked());
  ms::Tables.ShowValLegend = Flag(CkVal->isChecked());
  Redraw();
}

void DisplaySettingsDialog::ckText_Click() {
  Graph.ShowTitle = Flag(ckText->isChecked());
  Redraw();
}

void DisplaySettingsDialog::ckLegend_Click() {
  Graph.ShowLegend = Flag(ckLegend->isChecked());
  Redraw();
}

namespace {

// The font dialog from a box's font; false when cancelled (nothing changes then).
bool ChooseFont(const QFont& current, QFont& chosenFont) {
  const ui::FontChoice initial = ui::FontChoiceOf(current);
  ui::FontChoice chosen = initial;
  if (!ui::Ui().FontDialog(initial, chosen)) return false;
  chosenFont = ui::WithFontChoice(current, chosen);
  return true;
}

}  // namespace

void DisplaySettingsDialog::cmdTitleFont_Click() {
  QFont font;
  if (ChooseFont(strText->font(), font)) strText->setFont(font);
}

void DisplaySettingsDialog::cmdLegendFont_Click() {
  QFont font;
  if (!ChooseFont(strLegendX->font(), font)) return;
  for (QLineEdit* box : {strLegendX, strLegendY, strLegendZ}) box->setFont(font);
}

void DisplaySettingsDialog::Command1_Click() {
  hide();
}

bool DisplaySettingsDialog::Form_QueryUnload(bool byProgram) {
  if (byProgram) return false;
  ui::Ui().MsgBox(u"Please use the Minimize Button on the Control Panel.", ui::kOkOnly,
                  ws::kAppTitle);
  return true;
}

void DisplaySettingsDialog::keyPressEvent(QKeyEvent* event) {
  GraphWindow* graph = GraphWindow::Instance();
  if (graph == nullptr) {
    QWidget::keyPressEvent(event);
    return;
  }
  graph->GraphKey(*event);
  event->accept();
}

void DisplaySettingsDialog::closeEvent(QCloseEvent* event) {
  // A close the platform delivers (the close box) is the user's; the program's own closes pass.
  if (Form_QueryUnload(!event->spontaneous())) {
    event->ignore();
    return;
  }
  event->accept();
}

void DisplaySettingsDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint p = event->position().toPoint();
    mouseX_ = p.x();
    mouseY_ = p.y();
  }
  QWidget::mousePressEvent(event);
}

void DisplaySettingsDialog::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) != 0) {
    const QPoint p = event->position().toPoint();
    move(x() + (p.x() - mouseX_), y() + (p.y() - mouseY_));
  }
  QWidget::mouseMoveEvent(event);
}

QFont DisplaySettingsDialog::WorksheetFont() const {
  if (const ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance())
    return sheet->Text1->font();
  return worksheetFontFallback_;
}

int DisplaySettingsDialog::FormatOptionSelected() {
  if (Option2->isChecked()) return kFormatBraces;
  if (Option3->isChecked()) return kFormatBracesBrackets;
  if (!Option1->isChecked()) Option1->setChecked(true);
  return kFormatNone;
}

OverlayContent DisplaySettingsDialog::Content() {
  OverlayContent c;
  c.format = FormatOptionSelected();
  c.centreTitle = ckCenter->isChecked();
  // The title as this window measures it (its own font, twips).
  c.titleWidth = QFontMetricsF(font()).horizontalAdvance(ui::ToQString(TitleText)) * kTwipsPerPixel;
  const rt::Text converted = ConvertByFormat(TitleText, c.format);
  if (Graph.ShowTitle != 0 && converted != TitleText) strText->setText(ui::ToQString(converted));
  c.title = converted;
  c.titleFont = strText->font();
  c.legendX = LegendXText;
  c.legendY = LegendYText;
  c.legendZ = LegendZText;
  c.legendFont = strLegendX->font();
  // Unchecking the box switches the legend off and redraws without it; a box that is already
  // unchecked would not, so the switch is cleared then.
  c.labelsMissing = [self = QPointer<DisplaySettingsDialog>(this)] {
    if (self && self->ckLegend->isChecked()) {
      self->ckLegend->setChecked(false);
    } else {
      Graph.ShowLegend = 0;
    }
  };
  c.worksheetFont = WorksheetFont();
  return c;
}

// ---------------------------------------------------------------------------------------------

void LoadSetDisplay() {
  // A window left from an earlier graph window is loaded again from its built state: the load
  // places every block afresh.
  if (DisplaySettingsDialog* kept = DisplaySettingsDialog::Instance()) {
    kept->hide();
    kept->ResetControls();
    kept->Form_Load();
  }
  DisplaySettingsDialog& w = DisplaySettingsDialog::Load();
  w.hide();
  w.Frame2->setEnabled(true);
  w.scrHTime->setEnabled(true);
  w.scrVTime->setEnabled(true);
}

void ShowSetDisplay() {
  DisplaySettingsDialog& w = DisplaySettingsDialog::Load();
  w.show();
  w.raise();
}

void HideSetDisplay() {
  if (DisplaySettingsDialog* w = DisplaySettingsDialog::Instance()) w->hide();
}

void UnloadSetDisplay() {
  delete DisplaySettingsDialog::Instance();
}

OverlayContent OverlayContentNow() {
  OverlayContent c;
  if (g_window) c = g_window->Content();
  const ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance();
  if (sheet != nullptr) c.worksheetText = sheet->WorksheetText();
  GraphWindow* graph = GraphWindow::Instance();
  if (graph == nullptr) return c;
  if (!g_window) c.worksheetFont = sheet != nullptr ? sheet->Text1->font() : graph->Display().Font;
  c.viewportWidth = static_cast<double>(graph->OutDisplay->width()) * kTwipsPerPixel;
  c.bvpTrialsPlain = graph->Menus().BvpTrialsPlain();
  c.dotSpacingShown = !graph->Menus().NoDotSpacing();
  c.display = &graph->Display();
  return c;
}

}  // namespace gr
