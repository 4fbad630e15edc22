// The graph window: controls, menus, key routing and the lifecycle (load, Return, End Program,
// the closing guard, Update Graph and the rescue save after a failed first build).
#include "graph/GraphWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>

#include "commands/SceneBuild.h"
#include "graph/ContourProgressWindow.h"
#include "graph/DisplaySettingsDialog.h"
#include "graph/GraphState.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "numerics/Ivp.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetText.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

namespace {

QPointer<GraphWindow> g_instance;

// Size of the viewport through which the picture box is seen, in pixels.
constexpr int kViewportWidthPx = 560;
constexpr int kViewportHeightPx = 460;

QString Q(const rt::Text& s) {
  return ui::ToQString(s);
}

// Run-time errors the load reports as "Unanticipated error" (invalid call, overflow, division by
// zero) get the platform's numbers 5, 6 and 11.
int ErrorNumberOf(const std::exception& e) {
  if (dynamic_cast<const std::overflow_error*>(&e) != nullptr) return 6;
  if (dynamic_cast<const std::domain_error*>(&e) != nullptr) return 11;
  if (dynamic_cast<const std::invalid_argument*>(&e) != nullptr) return 5;
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) return 7;
  return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Picture box

PictureBox::PictureBox(draw::DrawTarget& target, QWidget* parent)
    : QWidget(parent), target_(target) {
  setFixedSize(target.PixelWidth(), target.PixelHeight());
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, target_.DeviceImage());  // drawn at the screen's pixel ratio
}

// ---------------------------------------------------------------------------------------------
// Construction

GraphWindow::GraphWindow(QWidget* parent)
    : QMainWindow(parent),
      display_(std::make_unique<draw::DrawTarget>(kDisplayWidthTwips / kTwipsPerPixel,
                                                  kDisplayHeightTwips / kTwipsPerPixel)),
      drawing_(std::make_unique<GraphDrawing>(*this)),
      navigation_(std::make_unique<GraphNavigation>(*this)),
      menus_(std::make_unique<GraphMenus>(*this)),
      animation_(std::make_unique<GraphAnimation>(*this)) {
  setObjectName(QStringLiteral("frmGraph"));
  setWindowTitle(QStringLiteral("Create Graph"));
  display_->SetScale(0, 0, kDisplayWidthTwips, kDisplayHeightTwips);
  display_->FillStyle = draw::kFillTransparent;
  BuildControls();
  BuildMenus();
  RouteKeys();
  // The field commands and the slope traces draw their progress on Picture1.
  if (auto* qt = dynamic_cast<ui::QtUiServices*>(&ui::Ui())) {
    qt->RegisterProgressBar(ms::kGraphProgressBar, Picture1);
  }
  g_instance = this;
}

void LoadGraphWindow() {
  GraphWindow::Load();
}

GraphWindow::~GraphWindow() {
  // The display options outlive the window; they are out of sight until the next one loads them.
  HideSetDisplay();
}

GraphWindow* GraphWindow::Instance() {
  return g_instance.data();
}

GraphWindow& GraphWindow::Load() {
  if (g_instance.isNull()) {
    auto* window = new GraphWindow();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->Form_Load();
  }
  return *g_instance;
}

void GraphWindow::BuildControls() {
  auto* central = new QWidget(this);
  auto* top = new QHBoxLayout(central);
  top->addLayout(BuildPictureArea(central), 1);
  // The side panel keeps its natural width; the picture's viewport takes what the window gains.
  auto* panelBox = new QWidget(central);
  panelBox->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  auto* panel = new QVBoxLayout(panelBox);
  panel->setContentsMargins(0, 0, 0, 0);
  top->addWidget(panelBox, 0);
  GraphNavigation& nav = *navigation_;
  panel->addWidget(nav.Frame3);
  panel->addWidget(BuildProgress(central));
  panel->addWidget(nav.Frame2);
  for (QGroupBox* f : {nav.Frame5, nav.Frame6, nav.Frame7, nav.Frame8, nav.Frame9}) {
    panel->addWidget(f);
  }
  panel->addWidget(nav.Frame1);

  cmdUpdate = new QPushButton(QStringLiteral("Update Graph"), central);
  cmdReturn = new QPushButton(QStringLiteral("Return"), central);
  cmdExit = new QPushButton(QStringLiteral("End Program"), central);
  cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
  cmdReturn->setObjectName(QStringLiteral("cmdReturn"));
  cmdExit->setObjectName(QStringLiteral("cmdExit"));
  panel->addWidget(cmdUpdate);
  panel->addWidget(cmdReturn);
  panel->addWidget(cmdExit);
  panel->addStretch(1);
  setCentralWidget(central);
  connect(cmdReturn, &QPushButton::clicked, this, [this] { cmdReturn_Click(); });
  connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
  connect(cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
}

// The viewport with the picture box and the two panning scroll bars; the navigation's controls
// are made here, after the picture box, so that the keys' focus order starts at the picture.
QGridLayout* GraphWindow::BuildPictureArea(QWidget* central) {
  auto* left = new QGridLayout();
  OutDisplay = new QWidget(central);
  OutDisplay->setObjectName(QStringLiteral("OutDisplay"));
  // The viewport takes what the window gains; beyond the picture's size it shows the picture in
  // its middle, on the picture's white.
  OutDisplay->setMinimumSize(kViewportWidthPx, kViewportHeightPx);
  OutDisplay->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  OutDisplay->setAutoFillBackground(true);
  QPalette white = OutDisplay->palette();
  white.setColor(QPalette::Window, Qt::white);
  OutDisplay->setPalette(white);
  DisplayBox = new PictureBox(*display_, OutDisplay);
  DisplayBox->setObjectName(QStringLiteral("Display"));
  // The picture takes the keys (and a click gives them back to it).
  DisplayBox->setFocusPolicy(Qt::StrongFocus);
  DisplayBox->move(0, 0);
  navigation_->InitControls(central);
  left->addWidget(OutDisplay, 0, 0);
  left->addWidget(navigation_->VScrScroll, 0, 1);
  left->addWidget(navigation_->HScrScroll, 1, 0);
  left->setRowStretch(0, 1);
  left->setColumnStretch(0, 1);
  return left;
}

// The progress of the build: the bar, the vertices count and the curves' labels.
QGroupBox* GraphWindow::BuildProgress(QWidget* central) {
  auto* progress = ui::MakeFrame(central, QString(), QStringLiteral("Progress on Plot Generation"));
  auto* pg = new QGridLayout(progress);
  Picture1 = new QProgressBar(progress);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Picture1->setRange(0, 1000);
  Picture1->setValue(0);
  Picture1->setTextVisible(false);
  pg->addWidget(Picture1, 0, 0, 1, 7);
  pg->addWidget(new QLabel(QStringLiteral("Vertices Count: "), progress), 1, 0, 1, 3);
  Label5 = new QLabel(QStringLiteral("0"), progress);
  Label5->setObjectName(QStringLiteral("Label5"));
  pg->addWidget(Label5, 1, 3, 1, 4);
  pg->addWidget(new QLabel(QStringLiteral("Plot: "), progress), 2, 0);
  for (int k = 0; k < 6; ++k) {
    PlotLabels[k] = new QLabel(QString::number(k + 1), progress);
    PlotLabels[k]->setObjectName(QStringLiteral("Label%1").arg(15 + k));
    PlotLabels[k]->setAlignment(Qt::AlignCenter);
    PlotLabels[k]->setAutoFillBackground(true);
    pg->addWidget(PlotLabels[k], 2, k + 1);
  }
  return progress;
}

// The menu bar: each part builds, connects and enables its own menus; the window adds
// "End Program" to the printer options.
void GraphWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  menus_->InitMenus(bar);
  QMenu* printer = bar->addMenu(QStringLiteral("Printer Options"));
  drawing_->InitMenus(printer);  // set-up, pen ("Fine", "Medium"), print and picture items
  printer->addSeparator();
  mnuEnd = printer->addAction(QStringLiteral("End Program"));
  printer->setObjectName(QStringLiteral("mnuPrinter"));
  mnuEnd->setObjectName(QStringLiteral("mnuEnd"));
  connect(mnuEnd, &QAction::triggered, this, [this] { mnuEnd_Click(); });
  animation_->InitMenus(bar);
}

// Every key of the window reaches the key handlers, whichever control has the focus.
void GraphWindow::RouteKeys() {
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

// A key goes to the window's focus control (the window itself when no control has the focus).
// A key that control does not take travels on to its parents; it is acted on once, where it
// arrived.
QWidget* GraphWindow::KeyReceiver() {
  QWidget* focus = focusWidget();
  return focus != nullptr ? focus : this;
}

bool GraphWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == DisplayBox) drawing_->DisplayMouseEvent(event);
  // Back in the graph window (from the display-options window, a box, another program), the keys
  // reach the picture unless a control of the window holds the focus.
  if (watched == this && event->type() == QEvent::WindowActivate) {
    QWidget* focus = focusWidget();
    if (focus == nullptr || !focus->isVisible() || !focus->isEnabled()) DisplayBox->setFocus();
  }
  // A resized viewport keeps the picture panned as the scroll bars say and the drawing in place
  // relative to its middle.
  if (watched == OutDisplay && event->type() == QEvent::Resize) {
    navigation_->ViewportResized(static_cast<QResizeEvent*>(event)->oldSize());
  }
  navigation_->ScaleBoxEvent(watched, event);
  if (event->type() == QEvent::KeyPress && watched == KeyReceiver()) {
    const auto& key = *static_cast<QKeyEvent*>(event);
    // A character typed into a text box (the scale boxes) is the box's: its checks run when the
    // box is left. The arrows and Esc act wherever the focus is.
    if (qobject_cast<QLineEdit*>(watched) == nullptr || !IsCharacterKey(key)) GraphKey(key);
  }
  return QMainWindow::eventFilter(watched, event);
}

bool GraphWindow::IsCharacterKey(const QKeyEvent& key) {
  const QString text = key.text();
  return text.size() == 1 && text[0].unicode() >= 32;
}

void GraphWindow::GraphKey(const QKeyEvent& key) {
  // The arrows by the key codes of Form_KeyDown.
  static constexpr std::array<std::pair<int, int>, 4> kArrows = {
      {{Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39}, {Qt::Key_Down, 40}}};
  for (const auto& [qtKey, code] : kArrows) {
    if (key.key() == qtKey) {
      Form_KeyDown(code, 0);
      return;
    }
  }
  if (key.key() == Qt::Key_Escape) {
    Form_KeyPress(27);
    return;
  }
  if (IsCharacterKey(key)) Form_KeyPress(key.text()[0].unicode());
}

// ---------------------------------------------------------------------------------------------
// Small control helpers

void GraphWindow::SetBusyPointer(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  ui::Ui().SetBusy(busy);
}

void GraphWindow::ShowReturn(bool shown) {
  returnShown_ = shown;
  cmdReturn->setVisible(shown);
}

bool GraphWindow::ReturnShown() const {
  return returnShown_;
}

void GraphWindow::ShowCurveBuilt(int curve) {
  constexpr int32_t kProgressDone = 0x00FF00;  // pure green
  if (curve >= 1 && curve <= static_cast<int>(PlotLabels.size())) {
    ui::PaintBackground(PlotLabels[static_cast<size_t>(curve - 1)], kProgressDone);
  }
}

void GraphWindow::ShowCount() {
  Label5->setText(Q(rt::NumText(ms::Scene.VertexCountD)));
}

// ---------------------------------------------------------------------------------------------
// Load

// The picture is drawn at the pixel ratio of the screen the window is on (2 on a screen scaled
// to 200 %), so that it is as sharp as the controls around it; a move to a screen of another
// ratio draws it again at that one.
void GraphWindow::ApplyPixelRatio(bool redraw) {
  const double ratio = std::max(1.0, devicePixelRatioF());
  if (ratio == display_->DevicePixelRatio()) return;
  display_->SetDevicePixelRatio(ratio);
  if (redraw && !building_) updateplot();
}

void GraphWindow::Form_Load() {
  show();
  // The first build draws the picture; nothing of an earlier scene is drawn before it.
  ApplyPixelRatio(false);
  if (QWindow* handle = windowHandle()) {
    connect(handle, &QWindow::screenChanged, this, [this] { ApplyPixelRatio(true); });
  }
  ui::Ui().DoEvents();
  TakeWorksheetFont();

  ShowReturn(false);
  ms::RunFlags.StopFrames = 0;
  show();
  LoadSetDisplay();  // the display-options window, hidden

  menus_->ResetColourItems();
  ms::Tables.PlotPending = 0;
  navigation_->CentrePicture();
  menus_->ResetItemsForLoad();
  ResetForLoad();
  navigation_->ResetViewForLoad();
  ms::Scene.VertexCount = ms::Scene.SegmentCount = 0;
  ms::Scene.VertexCountD = ms::Scene.SegmentCountD = 0;
  Graph.SavedVertexCount = Graph.SavedSegmentCount = 0;

  // Contour tracing shows its progress window.
  gr::InstallContourWindow();

  // A run-time failure of the first build is caught here: the worksheet is offered for saving
  // and the program ends.
  try {
    GenerateData();
  } catch (const std::exception& e) {
    LoadFailed(ErrorNumberOf(e), ui::FromQString(QString::fromLocal8Bit(e.what())));
  } catch (...) {
    LoadFailed(0, u"Unknown error");
  }
}

// The picture takes the worksheet's font, the printer the picture's. A worksheet ending with ":"
// loses it, and no longer counts as changed.
void GraphWindow::TakeWorksheetFont() {
  ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance();
  if (sheet == nullptr) return;
  const QFont sheetFont = sheet->Text1->font();
  QFont f = display_->Font;
  if (sheetFont.pointSizeF() > 0) f.setPointSizeF(sheetFont.pointSizeF());
  f.setFamily(sheetFont.family());
  f.setBold(sheetFont.bold());
  f.setItalic(sheetFont.italic());
  display_->Font = f;
  printerFont_ = f;

  rt::Text text = sheet->WorksheetText();
  if (!text.empty() && text.back() == u':') {
    text.pop_back();
    sheet->SetWorksheetText(text);
    sheet->Text1->document()->setModified(false);
  }
}

// The frames, progress labels, overlay switches and loop flags as the window loads.
void GraphWindow::ResetForLoad() {
  navigation_->HideViewFrames();
  cmdUpdate->hide();

  Graph.ShowDataText = Graph.ShowTimeText = Graph.ShowWkText = Graph.ShowValText = 0;
  ms::Tables.ShowValLegend = 0;
  ms::CurveWork.DotSpacingOn = 0;
  ms::Solutions.SphereMarkersOn = 0;
  ms::MathVars.UsedFloor = ms::MathVars.UsedCeil = ms::MathVars.UsedInt = 0;

  Graph.OverlayMode = 0;
  Graph.FamilyMode = 0;
  ms::CurveWork.FamilyColorCode = -1;
  Graph.ShowAxes = -1;
  ms::CurveWork.ArrowFlagPos = 0;
  Graph.FinePen = 0;
  Graph.Generating = 0;

  ms::PlotRequest.PlotSelect.fill(0);
  for (int k = 1; k <= ms::kPlotColorCount; ++k) ms::Settings.PlotColor[k] = 0;
  Graph.AxesRGBChosen = {200, 200, 200};

  for (QLabel* l : PlotLabels) ui::PaintBackground(l, 0xFFFFFF);
  PlotLabels[2]->setText(QStringLiteral("3"));
  PlotLabels[5]->setText(QStringLiteral("6"));
}

void GraphWindow::LoadFailed(int errorNumber, const rt::Text& description) {
  SetBusyPointer(false);
  const bool unanticipated = errorNumber == 5 || errorNumber == 6 || errorNumber == 11;
  ui::Ui().MsgBox((unanticipated ? rt::Text(u"Unanticipated error : ") : rt::Text(u"Error is : ")) +
                      description,
                  ui::kOkOnly, ws::kAppTitle);
  const int answer = ui::Ui().MsgBox(
      u"Error most likely overflow caused by a division by zero\r\n or a value that has approach "
      u"infinity. Choose YES/NO to save the worksheet.",
      20, u"Unknown");
  if (answer == ui::kAnswerYes) {
    // A save that did not happen is said, and offered again, until it succeeds or the user
    // declines: the worksheet is never dropped without a word.
    while (!SaveWorksheet()) {
      const int again = ui::Ui().MsgBox(
          u"The worksheet was not saved.\r\nChoose YES to try again, NO to end without saving.", 20,
          u"Unknown");
      if (again != ui::kAnswerYes) break;
    }
  } else {
    if (ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance()) sheet->show();
    hide();
  }
  unloading_ = true;
  gr::UnloadContourWindow();
  ui::Ui().EndProgram();
}

// True when the worksheet was written or there was nothing to write.
bool GraphWindow::SaveWorksheet() {
  ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance();
  if (sheet == nullptr || sheet->SheetText().isEmpty()) return true;
  ui::FileDialogRequest request;
  request.filter = u"Text File (*.txt)|*.txt";
  request.defaultExt = u"txt";
  request.overwritePrompt = true;
  rt::Text chosen;
  if (!ui::Ui().SaveFileDialog(request, chosen) || chosen.empty()) return false;
  const QString path = Q(chosen);
  if (!ws::WriteWorksheetFile(path, sheet->SheetText())) return false;
  setWindowTitle(path);
  sheet->Text1->document()->setModified(false);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Leaving the window

void GraphWindow::Unload() {
  unloading_ = true;
  hide();
  if (g_instance == this) g_instance = nullptr;
  deleteLater();
}

void GraphWindow::cmdReturn_Click() {
  // Return from inside a build that has not unwound (a click while a command lets events run)
  // would pull the window from under it.
  if (building_) return;
  // The data, time, worksheet and value texts are switched off (the display options' boxes).
  Graph.ShowDataText = Graph.ShowTimeText = Graph.ShowWkText = Graph.ShowValText = 0;
  ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance();
  if (sheet != nullptr) {
    sheet->DisableGraphButton();
    sheet->show();
  }
  Unload();
  HideSetDisplay();
  gr::UnloadContourWindow();
  if (sheet != nullptr) {
    sheet->cmdGraph->setEnabled(false);
    sheet->cmdCompute->setEnabled(true);
  }
  ms::RunFlags.StopFrames = 0;
  int16_t total = ms::Tables.StatementCount;
  ms::DrawProgress(ms::kWorksheetProgressBar, total, 0);
}

// Ending the program from here is ending it from the worksheet: its End asks about unsaved
// changes, and Cancel (or a save that did not happen) keeps the program running.
void GraphWindow::cmdExit_Click() {
  if (ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance()) {
    QPointer<GraphWindow> self(this);
    sheet->cmdClose_click();
    // The program ends once every window is closed; the contour progress window goes with it.
    if (self && !self->isVisible()) gr::UnloadContourWindow();
    return;
  }
  unloading_ = true;
  gr::UnloadContourWindow();
  ui::Ui().EndProgram();
}

void GraphWindow::mnuEnd_Click() {
  cmdExit_Click();
}

void GraphWindow::cmdUpdate_Click() {
  if (building_) return;
  DisplayBox->update();
  ms::RunFlags.Replot = -1;
  ms::CurveWork.ArrowFlagPos = 0;
  GenerateData();
}

bool GraphWindow::Form_QueryUnload(int unloadMode) {
  if (unloadMode == kUnloadByProgram) return false;
  ui::Ui().MsgBox(u"PLease use the 'End Program' button to close this program.", ui::kOkOnly,
                  ws::kAppTitle);
  return true;
}

// A close the platform delivers (the close box, the system menu, the session ending) is the
// user's; a close the program asks for (End Program, the end of the program from another window)
// is an unload by the program.
int GraphWindow::UnloadModeOf(bool spontaneous, bool unloading) {
  return (unloading || !spontaneous) ? kUnloadByProgram : kUnloadByUser;
}

void GraphWindow::closeEvent(QCloseEvent* event) {
  if (Form_QueryUnload(UnloadModeOf(event->spontaneous(), unloading_))) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace gr
