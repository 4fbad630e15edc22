#include "worksheet/WorksheetWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "commands/ProgramState.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "language/Tokens.h"
#include "mathematics/Evaluator.h"
#include "mathematics/VectorOperations.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/QtWidgetKit.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetText.h"

namespace ws {

const std::array<const char16_t*, 16> kFuncCaptions = {
    u"Sin[",  u"Cos[", u"Tan[",  u"ASin[", u"ACos[", u"ATan[", u"Sinh[", u"Cosh[",
    u"Tanh[", u"Abs[", u"Sqrt[", u"Alog[", u"Log[",  u"Ln[",   u"Exp[",  u"Diff["};
const std::array<const char16_t*, 15> kVecCaptions = {
    u"vAdd[",  u"vMpy[",  u"vTan[",  u"vDiff[", u"vSub[", u"vDiv[", u"vUnit[", u"vEval[",
    u"vRotx[", u"vRoty[", u"vRotz[", u"vTran[", u"Zero[", u"sPwr[", u"sMag["};
const std::array<const char16_t*, 8> kSpcFuncCaptions = {u"Sign[", u"Abs[",   u"Unit[", u"Clip[",
                                                         u"Sqw[",  u"Floor[", u"Ceil[", u"Int["};

namespace {

WorksheetWindow* g_instance = nullptr;

QString Q(const char16_t* s) {
  return QString::fromUtf16(s);
}

QPushButton* InsertButton(const char16_t* caption, QWidget* parent) {
  auto* button = new QPushButton(Q(caption), parent);
  button->setFocusPolicy(Qt::NoFocus);  // the caret stays in the editor
  return button;
}

}  // namespace

WorksheetWindow::WorksheetWindow(GraphWindowLoader loadGraph, QWidget* parent)
    : QMainWindow(parent), loadGraph_(loadGraph) {
  g_instance = this;
  setObjectName(QStringLiteral("frmCalcInput"));
  setWindowTitle(QStringLiteral("Work Sheet"));
  BuildControls();
  BuildMenus();
  Form_Load();
}

WorksheetWindow::~WorksheetWindow() {
  if (g_instance == this) g_instance = nullptr;
}

namespace {

// The worksheet editor: text that leaves or enters it by the editor's own ways (its context menu,
// drag and drop) is the worksheet text of the selection and goes in through the window's stand-in
// mapping, as with Copy and Paste.
class SheetEditor final : public QPlainTextEdit {
 public:
  SheetEditor(QWidget* parent, std::function<QString()> selection,
              std::function<void(const QString&)> insert)
      : QPlainTextEdit(parent), selection_(std::move(selection)), insert_(std::move(insert)) {}

 protected:
  QMimeData* createMimeDataFromSelection() const override {
    auto* data = new QMimeData;
    data->setText(selection_());
    return data;
  }
  void insertFromMimeData(const QMimeData* source) override {
    if (source->hasText()) insert_(NormalizeLineEnds(source->text()));
  }

 private:
  std::function<QString()> selection_;
  std::function<void(const QString&)> insert_;
};

}  // namespace

WorksheetWindow* WorksheetWindow::Instance() {
  return g_instance;
}

void WorksheetWindow::BuildControls() {
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);

  Text1 = new SheetEditor(
      central, [this] { return SelectedText(); }, [this](const QString& s) { InsertSheetText(s); });
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text1->setTabChangesFocus(false);
  Text1->installEventFilter(this);
  // One undo history: the window's own (Ctrl+U). The editor's would run beside it with Ctrl+Z.
  Text1->setUndoRedoEnabled(false);
  connect(Text1->document(), &QTextDocument::contentsChange, this,
          [this](int position, int, int) { TextChanged(position); });
  connect(Text1->document(), &QTextDocument::modificationChanged, this, [this](bool changed) {
    if (changed) cmdCompute->setEnabled(true);
  });

  List2 = new QListWidget(central);
  List2->setObjectName(QStringLiteral("List2"));
  List1 = new QListWidget(central);
  List1->setObjectName(QStringLiteral("List1"));
  List1->hide();  // receives a copy of the listing; never shown

  picProgressBar = new QProgressBar(central);
  picProgressBar->setObjectName(QStringLiteral("picProgressBar"));
  picProgressBar->setTextVisible(false);
  picProgressBar->setRange(0, 1000);
  picProgressBar->setValue(0);
  picProgressBar->setMaximumHeight(12);
  // The bar is filled in olive (red 128, green 128, blue 0), whatever the platform's colours.
  picProgressBar->setStyleSheet(
      QStringLiteral("QProgressBar::chunk { background-color: rgb(128, 128, 0); }"));

  // While Execute runs, the line of the bar says how to stop it.
  lblRunning = new QLabel(QStringLiteral("Running: Esc stops the run."), central);
  lblRunning->setObjectName(QStringLiteral("lblRunning"));
  lblRunning->hide();
  auto* progressRow = new QHBoxLayout();
  progressRow->addWidget(picProgressBar, 1);
  progressRow->addWidget(lblRunning);

  grid->addWidget(Text1, 0, 0, 3, 1);
  grid->addLayout(progressRow, 3, 0);
  grid->addWidget(List2, 4, 0, 2, 1);
  grid->addWidget(List1, 6, 0);
  grid->setColumnStretch(0, 3);
  grid->setRowStretch(0, 3);
  grid->setRowStretch(4, 2);

  auto* side = new QVBoxLayout();
  auto* funcFrame = new QGroupBox(QStringLiteral("Built-in Functions"), central);
  auto* funcGrid = new QGridLayout(funcFrame);
  for (int i = 0; i < static_cast<int>(cmdFunc.size()); ++i) {
    cmdFunc[i] = InsertButton(kFuncCaptions[i], funcFrame);
    cmdFunc[i]->setObjectName(QStringLiteral("cmdFunc_%1").arg(i));
    funcGrid->addWidget(cmdFunc[i], i / 4, i % 4);
  }
  auto* vecFrame = new QGroupBox(QStringLiteral("Vector Operations "), central);
  auto* vecGrid = new QGridLayout(vecFrame);
  auto* scaFrame = new QGroupBox(QStringLiteral("Scalar Functions"), central);
  auto* scaGrid = new QGridLayout(scaFrame);
  for (int i = 0; i < static_cast<int>(cmdVec.size()); ++i) {
    QGroupBox* frame = i < 12 ? vecFrame : scaFrame;
    cmdVec[i] = InsertButton(kVecCaptions[i], frame);
    cmdVec[i]->setObjectName(QStringLiteral("cmdVec_%1").arg(i));
    if (i < 12) {
      vecGrid->addWidget(cmdVec[i], i / 4, i % 4);
    } else {
      scaGrid->addWidget(cmdVec[i], 0, i - 12);
    }
  }
  cmdSca = InsertButton(kScaCaption, scaFrame);
  cmdSca->setObjectName(QStringLiteral("cmdSca_15"));
  scaGrid->addWidget(cmdSca, 0, 3);
  auto* spcFrame = new QGroupBox(QStringLiteral("Specialize Functions"), central);
  auto* spcGrid = new QGridLayout(spcFrame);
  for (int i = 0; i < static_cast<int>(cmdSpcFunc.size()); ++i) {
    cmdSpcFunc[i] = InsertButton(kSpcFuncCaptions[i], spcFrame);
    cmdSpcFunc[i]->setObjectName(QStringLiteral("cmdSpcFunc_%1").arg(i));
    spcGrid->addWidget(cmdSpcFunc[i], i / 4, i % 4);
  }

  auto* processFrame = new QGroupBox(QStringLiteral("Process WorkSheet"), central);
  auto* processRow = new QHBoxLayout(processFrame);
  cmdCompute = new QPushButton(QStringLiteral("Execute"), processFrame);
  cmdGraph = new ui::TwoFaceButton(QStringLiteral("Graph"), processFrame, kGraphIdleColor,
                                   kGraphReadyColor);
  cmdClearValues = new QPushButton(QStringLiteral("Clear Results"), processFrame);
  cmdClearWk = new QPushButton(QStringLiteral("Clear Work Sheet"), processFrame);
  cmdCompute->setObjectName(QStringLiteral("cmdCompute"));
  cmdGraph->setObjectName(QStringLiteral("cmdGraph"));
  cmdClearValues->setObjectName(QStringLiteral("cmdClearValues"));
  cmdClearWk->setObjectName(QStringLiteral("cmdClearWk"));
  for (QPushButton* b :
       {cmdCompute, static_cast<QPushButton*>(cmdGraph), cmdClearValues, cmdClearWk})
    processRow->addWidget(b);
  cmdClose = new QPushButton(QStringLiteral("End"), central);
  cmdClose->setObjectName(QStringLiteral("cmdClose"));

  side->addWidget(funcFrame);
  side->addWidget(vecFrame);
  side->addWidget(scaFrame);
  side->addWidget(spcFrame);
  side->addWidget(processFrame);
  side->addStretch(1);
  side->addWidget(cmdClose, 0, Qt::AlignRight);
  // The buttons scroll when the window is narrower than they are, so the editor and the results
  // keep a width that can be worked in.
  auto* sidePanel = new QWidget();
  sidePanel->setLayout(side);
  sideScroll = new QScrollArea(central);
  sideScroll->setObjectName(QStringLiteral("sideScroll"));
  sideScroll->setFrameShape(QFrame::NoFrame);
  sideScroll->setWidgetResizable(true);
  sideScroll->setWidget(sidePanel);
  sideScroll->setMinimumWidth(kMinSidePanelWidth);
  sideScroll->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  Text1->setMinimumWidth(kMinEditorWidth);
  List2->setMinimumWidth(kMinEditorWidth);
  grid->addWidget(sideScroll, 0, 1, 7, 1);
  setCentralWidget(central);

  auto connectInsert = [this](QPushButton* b) {
    connect(b, &QPushButton::clicked, this, [this, b] { InsertCaption(b->text()); });
  };
  for (QPushButton* b : cmdFunc) connectInsert(b);
  for (QPushButton* b : cmdVec) connectInsert(b);
  connectInsert(cmdSca);
  for (QPushButton* b : cmdSpcFunc) connectInsert(b);
  connect(cmdCompute, &QPushButton::clicked, this, [this] { cmdCompute_click(); });
  connect(cmdGraph, &QPushButton::clicked, this, [this] { cmdGraph_click(); });
  connect(cmdClearValues, &QPushButton::clicked, this, [this] { cmdClearValues_click(); });
  connect(cmdClearWk, &QPushButton::clicked, this, [this] { cmdClearWk_click(); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_click(); });

  if (auto* services = dynamic_cast<ui::QtUiServices*>(&ui::Ui())) {
    services->RegisterProgressBar(u"picProgressBar", picProgressBar);
    services->RegisterProgressBar(u"", picProgressBar);
    services->SetDialogParent(this);
  }
  resize(1000, 700);
}

void WorksheetWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto add = [this](QMenu* menu, const QString& caption, const char* name, QKeySequence key,
                    void (WorksheetWindow::*handler)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) a->setShortcut(key);
    if (handler) connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return a;
  };

  QMenu* file = bar->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  mnuNew = add(file, QStringLiteral("New"), "mnuNew", {}, &WorksheetWindow::mnuNew_click);
  mnuFileOpen =
      add(file, QStringLiteral("Open"), "mnuFileOpen", {}, &WorksheetWindow::mnuFileOpen_click);
  file->addSeparator();
  mnuSave = file->addAction(QStringLiteral("Save"));
  mnuSave->setObjectName(QStringLiteral("mnuSave"));
  mnuSave->setShortcut(QKeySequence(Qt::Key_F1));
  connect(mnuSave, &QAction::triggered, this, [this] { mnuSave_click(); });
  mnuSaveAs = file->addAction(QStringLiteral("Save As"));
  mnuSaveAs->setObjectName(QStringLiteral("mnuSaveAs"));
  mnuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  connect(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAs_click(); });
  file->addSeparator();
  QMenu* layout = file->addMenu(QStringLiteral("Layout"));
  layout->setObjectName(QStringLiteral("mnuLay"));
  mnuPort = add(layout, QStringLiteral("Portrait"), "mnuPort", {}, &WorksheetWindow::mnuPort_click);
  mnuLand =
      add(layout, QStringLiteral("Landscape"), "mnuLand", {}, &WorksheetWindow::mnuLand_click);
  mnuPort->setCheckable(true);
  mnuLand->setCheckable(true);
  mnuPrint = add(file, QStringLiteral("Print "), "mnuPrint", {}, &WorksheetWindow::mnuPrint_click);
  file->addSeparator();
  menuClose =
      add(file, QStringLiteral("Close"), "menuClose", {}, &WorksheetWindow::menuClose_click);

  QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
  edit->setObjectName(QStringLiteral("mnuEdit"));
  mnuCopy = add(edit, QStringLiteral("Copy"), "mnuCopy", QKeySequence(Qt::CTRL | Qt::Key_C),
                &WorksheetWindow::mnuCopy_click);
  mnuPaste = add(edit, QStringLiteral("Paste"), "mnuPaste", QKeySequence(Qt::CTRL | Qt::Key_V),
                 &WorksheetWindow::mnuPaste_click);
  mnuCopyCut = add(edit, QStringLiteral("Copy && Cut"), "mnuCopyCut",
                   QKeySequence(Qt::CTRL | Qt::Key_X), &WorksheetWindow::mnuCopyCut_click);
  mnuUndo = add(edit, QStringLiteral("Undo"), "mnuUndo", QKeySequence(Qt::CTRL | Qt::Key_U),
                &WorksheetWindow::mnuUndo_click);
  edit->addSeparator();
  mnuDelete = add(edit, QStringLiteral("Delete"), "mnuDelete", QKeySequence(Qt::Key_Delete),
                  &WorksheetWindow::mnuDelete_click);

  QMenu* exec = bar->addMenu(QStringLiteral("Execution"));
  exec->setObjectName(QStringLiteral("mnuExec"));
  mnuCompute = exec->addAction(QStringLiteral("Compute"));
  mnuCompute->setObjectName(QStringLiteral("mnuCompute"));
  mnuCompute->setShortcut(QKeySequence(Qt::Key_F5));
  connect(mnuCompute, &QAction::triggered, this, [this] { mnuCompute_click(); });

  QMenu* display = bar->addMenu(QStringLiteral("Options: Display"));
  display->setObjectName(QStringLiteral("mnuOption"));
  QMenu* preset = display->addMenu(QStringLiteral("PreSet Colors"));
  preset->setObjectName(QStringLiteral("mnuPreset"));
  mnuPreSetGrid = add(preset, QStringLiteral("Preset  Color XY Plane"), "mnuPreSetGrid", {},
                      &WorksheetWindow::mnuPreSetGrid_click);
  mnuPreSetAxes = add(preset, QStringLiteral("Peset Color Axes"), "mnuPreSetAxes", {},
                      &WorksheetWindow::mnuPreSetAxes_click);
  preset->addSeparator();
  static const char* const kPlotItems[7][2] = {{"", ""},
                                               {"PreSet Plot 1 Color", "mnuPreSetPlot1"},
                                               {"PreSet Plot 2 Color", "mnuPresetPlot2"},
                                               {"Preset Plot 3 Color", "mnuPresetPlot3"},
                                               {"Preset Plot 4 Color", "mnuPresetPlot4"},
                                               {"PreSet Plot 5 Color", "mnuPresetPlot5"},
                                               {"Preset Plot 6 Color", "mnuPresetPlot6"}};
  for (int k = 1; k <= 6; ++k) {
    mnuPreSetPlot[k] = preset->addAction(QLatin1String(kPlotItems[k][0]));
    mnuPreSetPlot[k]->setObjectName(QLatin1String(kPlotItems[k][1]));
    connect(mnuPreSetPlot[k], &QAction::triggered, this, [this, k] { PresetPlotColor(k); });
  }
  mnuFonts =
      add(display, QStringLiteral("Fonts"), "mnuFonts", {}, &WorksheetWindow::mnuFonts_click);
  QMenu* disc = display->addMenu(QStringLiteral("Show Discontinuous ?"));
  disc->setObjectName(QStringLiteral("mnuDiscontinuity"));
  mnuContYes = add(disc, QStringLiteral("Yes - - Include Limit Markers"), "mnuContYes", {},
                   &WorksheetWindow::mnuContYes_click);
  mnuNoMarkers = add(disc, QStringLiteral("Yes --  No Limit Markers"), "mnuNoMarkers", {},
                     &WorksheetWindow::mnuNoMarkers_click);
  mnuContNo = add(disc, QStringLiteral("No  - - Plot as Continuous"), "mnuContNo", {},
                  &WorksheetWindow::mnuContNo_click);
  for (QAction* a : {mnuContYes, mnuNoMarkers, mnuContNo}) a->setCheckable(true);

  QMenu* computation = bar->addMenu(QStringLiteral("Options: Computation"));
  computation->setObjectName(QStringLiteral("mnuOpt"));
  QMenu* precision = computation->addMenu(QStringLiteral("Display Precision"));
  precision->setObjectName(QStringLiteral("mnuPrecision"));
  for (int d = 4; d <= 8; ++d) {
    mnuDigits[d] = precision->addAction(QStringLiteral("%1-digits").arg(d));
    mnuDigits[d]->setObjectName(QStringLiteral("mnu%1").arg(d));
    mnuDigits[d]->setCheckable(true);
    connect(mnuDigits[d], &QAction::triggered, this, [this, d] { SetDisplayDigits(d); });
  }
  QMenu* rk = computation->addMenu(QStringLiteral("RK-4 Increment"));
  rk->setObjectName(QStringLiteral("mnuRK"));
  static const char* const kRkItems[5][2] = {{"h = 0.2", "mnuH2"},
                                             {"h = 0.1", "mnuH1"},
                                             {"h = 0.05", "mnuH05"},
                                             {"h = 0.02", "mnuH02"},
                                             {"h = 0.01", "mnuH01"}};
  for (int i = 0; i < 5; ++i) {
    mnuRK[i] = rk->addAction(QLatin1String(kRkItems[i][0]));
    mnuRK[i]->setObjectName(QLatin1String(kRkItems[i][1]));
    mnuRK[i]->setCheckable(true);
    connect(mnuRK[i], &QAction::triggered, this, [this, i] { SetSlopeFieldStep(i); });
  }

  QMenu* field = bar->addMenu(QStringLiteral("Field Graphics Options"));
  field->setObjectName(QStringLiteral("mnuField"));
  QMenu* slope = field->addMenu(QStringLiteral("Slope Fields"));
  slope->setObjectName(QStringLiteral("mnuSlope"));
  mnuFDir = add(slope, QStringLiteral("Forward Direction"), "mnuFDir", {},
                &WorksheetWindow::mnuFDir_click);
  mnuBDir =
      add(slope, QStringLiteral("Both Directions"), "mnuBDir", {}, &WorksheetWindow::mnuBDir_click);
  mnuFDir->setCheckable(true);
  mnuBDir->setCheckable(true);

  mnuAbout = bar->addAction(QStringLiteral("About"));
  mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
  connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_click(); });
  mnuXfrmHelp = bar->addAction(QStringLiteral("Help"));
  mnuXfrmHelp->setObjectName(QStringLiteral("mnuXfrmHelp"));
  connect(mnuXfrmHelp, &QAction::triggered, this, [this] { mnuXfrmHelp_click(); });
}

// ---------------------------------------------------------------------------------------------
// Text at the window boundary

rt::Text WorksheetWindow::WorksheetText() const {
  return EditorToCore(SheetText());
}

QString WorksheetWindow::EditorRawText() const {
  // The document separates its blocks with U+2029; a U+2029 of the text itself stands in as a
  // private-use character, so every U+2029 here is a line break.
  QString text = Text1->document()->toRawText();
  text.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
  return text;
}

QString WorksheetWindow::SheetText() const {
  return standIns_.FromEditor(EditorRawText());
}

void WorksheetWindow::ReplaceText(const QString& text) {
  const QString sheet = NormalizeLineEnds(text);
  standIns_ = EditorStandIns::Avoiding(sheet);
  ++quietEdits_;
  Text1->setPlainText(standIns_.ToEditor(sheet));
  --quietEdits_;
}

void WorksheetWindow::InsertSheetText(const QString& text) {
  QTextCursor cursor = Text1->textCursor();
  if (standIns_.Collide(text)) {
    // The whole document moves to stand-ins that neither it nor the new text holds; each
    // stand-in is one character, so the caret and the selection keep their positions.
    const QString sheet = SheetText();
    const int anchor = cursor.anchor(), position = cursor.position();
    standIns_ = EditorStandIns::Avoiding(sheet + text);
    ++quietEdits_;
    Text1->setPlainText(standIns_.ToEditor(sheet));
    --quietEdits_;
    cursor = Text1->textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
  }
  cursor.insertText(standIns_.ToEditor(text));
  Text1->setTextCursor(cursor);
}

void WorksheetWindow::TextChanged(int position) {
  const QString now = EditorRawText();
  if (quietEdits_ == 0) {
    // The removed characters lie between the common start (not beyond the reported position)
    // and the common end of the text before and after.
    const qsizetype before = shadow_.size(), after = now.size();
    const qsizetype limit = std::min<qsizetype>({position, before, after});
    qsizetype start = 0;
    while (start < limit && shadow_[start] == now[start]) ++start;
    qsizetype tail = 0;
    while (tail < before - start && tail < after - start &&
           shadow_[before - 1 - tail] == now[after - 1 - tail]) {
      ++tail;
    }
    if (before - start - tail > 0) {
      undo_.Push(standIns_.FromEditor(shadow_.mid(start, before - start - tail)));
    }
  }
  shadow_ = now;
}

void WorksheetWindow::SetWorksheetText(const rt::Text& coreText) {
  ReplaceText(CoreToEditor(coreText));
}

void WorksheetWindow::TypeWorksheetText(const QString& editorText) {
  ReplaceText(editorText);
  QTextCursor end = Text1->textCursor();
  end.movePosition(QTextCursor::End);
  Text1->setTextCursor(end);
  Text1->document()->setModified(true);
}

bool WorksheetWindow::IsChanged() const {
  return Text1->document()->isModified();
}

QStringList WorksheetWindow::ResultLines() const {
  QStringList lines;
  for (int i = 0; i < List2->count(); ++i) lines << List2->item(i)->text();
  return lines;
}

// ---------------------------------------------------------------------------------------------
// Start-up

void WorksheetWindow::SetGraphButton(bool enabled, int32_t color) {
  graphColor_ = color;
  cmdGraph->setEnabled(enabled);
  cmdGraph->ShowFace(color == kGraphReadyColor);
}

void WorksheetWindow::DisableGraphButton() {
  SetGraphButton(false, kGraphIdleColor);
}

void WorksheetWindow::ClearProgress() {
  picProgressBar->setValue(0);
}

void WorksheetWindow::ClearListing() {
  List1->clear();
  List2->clear();
}

void WorksheetWindow::ClearWorksheetTables() {
  ms::ClearStatements();
  ms::ClearConstants();
  ms::ClearVectors();
  ms::ClearCallList();
  ms::ClearFunctions();
  ms::ClearValueList();
}

void WorksheetWindow::Form_Load() {
  // Every table, setting, request and module state at its start-up value, the built-in names
  // filled, the reader connected to its checking steps; ComponentFuncCounter 0.
  ms::ResetProgramState();
  undo_.Clear();
  setWindowTitle(QStringLiteral("No File"));
  mnuPort->setChecked(true);
  mnuLand->setChecked(false);
  ui::Printer().setPageOrientation(QPageLayout::Portrait);
  SetGraphButton(false, kGraphIdleColor);
  cmdCompute->setEnabled(true);
  cmdClearValues->setEnabled(false);
  cmdClearWk->setEnabled(true);
  SetDisplayDigits(4);
  SetSlopeFieldStep(0);
  mnuFDir->setChecked(true);
  mnuBDir->setChecked(false);
  mnuContYes->setChecked(false);
  mnuNoMarkers->setChecked(false);
  mnuContNo->setChecked(true);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSize(12);
  Text1->setFont(font);
  mnuNew_click();
  ClearProgress();
  for (size_t i = 0; i < cmdFunc.size(); ++i) {
    if (i != 15) ui::PaintButton(cmdFunc[i], kFuncButtonColor);  // "Diff[" keeps its own colour
  }
  for (QPushButton* b : cmdSpcFunc) ui::PaintButton(b, kSpcFuncButtonColor);
}

// ---------------------------------------------------------------------------------------------
// Keys

bool WorksheetWindow::eventFilter(QObject* watched, QEvent* event) {
  // While Execute runs, Esc anywhere but in a box of its own stops the run.
  if (running_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
      QApplication::activeModalWidget() == nullptr) {
    Form_KeyPress(27);
    return true;
  }
  if (watched == Text1) {
    if (event->type() == QEvent::KeyPress) {
      // A typed character that the document uses as a stand-in is the character itself: it goes
      // in the way Paste puts it, so that the document takes other stand-ins first.
      const QString typed = static_cast<QKeyEvent*>(event)->text();
      if (standIns_.Collide(typed)) {
        InsertSheetText(typed);
        return true;
      }
    }
    if (event->type() == QEvent::ShortcutOverride) {
      // The editor would take these keys for its own copy, paste, cut, select-all and delete;
      // they belong to the window's menu items, which keep the undo history.
      auto* key = static_cast<QKeyEvent*>(event);
      const QKeySequence pressed(key->keyCombination());
      for (QAction* a :
           {mnuCopy, mnuPaste, mnuCopyCut, mnuUndo, mnuDelete, mnuSave, mnuSaveAs, mnuCompute}) {
        if (a->shortcut() == pressed) return true;  // not accepted: the shortcut fires
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace ws
