#include "graph/AnimationSetupDialog.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "graph/FamilyPlotsDialog.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/QtWidgetKit.h"
#include "platform/ui/UiServices.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

FrameSettingsData Frames;

void ResetFrameSettings() {
  Frames = FrameSettingsData{};
}

rt::Text FrameBaseOf(const rt::Text& typed) {
  const long back = rt::InStrRev(typed, u"\\");
  const long slash = rt::InStrRev(typed, u"/");
  const long separator = std::max(back, slash);
  const rt::Text title = separator > 0 ? rt::Mid(typed, separator + 1) : typed;
  const long dot = rt::InStr(title, u".");
  return dot > 1 ? rt::Left(title, dot - 1) : title;
}

QString FrameBitmapName(const rt::Text& base, int frame) {
  return ui::ToQString(base + rt::IntText(frame) + u".bmp");
}

QString FrameTextName(const rt::Text& base) {
  return ui::ToQString(base + u".txt");
}

rt::Text FrameTextContent(const rt::Text& start, const rt::Text& end, const rt::Text& total,
                          const rt::Text& id) {
  return start + u"\r\n" + end + u"\r\n" + total + u"\r\n" + id + u"\r\n";
}

rt::Text FrameTotalOf(const rt::Text& typed) {
  if (typed.empty() || !rt::IsNumeric(typed) || rt::Val(typed) < 1.0) return u"10";
  return typed;
}

int16_t FrameCountOf(rt::Text& total) {
  if (total.empty() || !rt::IsNumeric(total)) total = u"10";
  int16_t count = 0;
  if (!rt::ToInt16(rt::Val(total), count)) {
    // More frames than a 16-bit count holds: the default, and the text file says so.
    total = u"10";
    count = 10;
  }
  if (count < 1) count = 10;
  return count;
}

// ---------------------------------------------------------------------------------------------
// The set-up window

namespace {

QPointer<AnimationSetupDialog> g_frames;

constexpr int kLoadLeftTwips = 3500;
constexpr int kLoadTopTwips = 350;

constexpr int32_t kStopIdleColor = rt::RGB(200, 200, 200);

rt::Text Typed(const QLineEdit* box) {
  return ui::FromQString(box->text());
}

}  // namespace

AnimationSetupDialog::AnimationSetupDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmSetFrames"));
  setWindowTitle(QStringLiteral("Animation"));
  auto* top = new QGridLayout(this);

  Frame1 = ui::MakeFrame(this, "Frame1", QStringLiteral("File Name Less .bmp"));
  auto* f1 = new QVBoxLayout(Frame1);
  txtFrameFile = ui::MakeBox(Frame1, "txtFrameFile");
  f1->addWidget(txtFrameFile);
  top->addWidget(Frame1, 0, 0);

  Frame2 = ui::MakeFrame(this, "Frame2",
                         QStringLiteral("Enter Constant ID to Vary && its Numerical Range"));
  auto* f2 = new QGridLayout(Frame2);
  Text1 = ui::MakeBox(Frame2, "Text1");
  txtStart = ui::MakeBox(Frame2, "txtStart");
  txtEnd = ui::MakeBox(Frame2, "txtEnd");
  f2->addWidget(Text1, 0, 0);
  f2->addWidget(new QLabel(QStringLiteral("Const ID"), Frame2), 0, 1);
  f2->addWidget(txtStart, 1, 0);
  f2->addWidget(new QLabel(QStringLiteral("Start Numrical"), Frame2), 1, 1);
  f2->addWidget(txtEnd, 2, 0);
  f2->addWidget(new QLabel(QStringLiteral("End Numerical"), Frame2), 2, 1);
  top->addWidget(Frame2, 1, 0);

  Frame3 = ui::MakeFrame(this, "Frame3", QStringLiteral("Total Frames"));
  auto* f3 = new QVBoxLayout(Frame3);
  txtTotalFrames = ui::MakeBox(Frame3, "txtTotalFrames");
  f3->addWidget(txtTotalFrames);
  top->addWidget(Frame3, 2, 0);

  Frame4 = ui::MakeFrame(this, "Frame4", QString());
  auto* f4 = new QHBoxLayout(Frame4);
  cmdSave = ui::MakeButton(Frame4, "cmdSave", QStringLiteral("Save"));
  cmdCancel = ui::MakeButton(Frame4, "cmdCancel", QStringLiteral("Cancel"));
  f4->addWidget(cmdSave);
  f4->addWidget(cmdCancel);
  top->addWidget(Frame4, 0, 1);

  Frame5 = ui::MakeFrame(this, "Frame5", QString());
  auto* f5 = new QVBoxLayout(Frame5);
  for (const char* note :
       {"Save--Update settings.", "Cancel--No Action Taken", "Former settings remain."}) {
    f5->addWidget(new QLabel(QString::fromLatin1(note), Frame5));
  }
  top->addWidget(Frame5, 1, 1);

  Frame6 = ui::MakeFrame(this, "Frame6", QStringLiteral("Progress on Frame Generation"));
  auto* f6 = new QGridLayout(Frame6);
  cmdStop = ui::MakeButton(Frame6, "cmdStop", QStringLiteral("Stop"));
  lblFrameNo = ui::MakeLabel(Frame6, "lblFrameNo", QString());
  lblFrameCt = ui::MakeLabel(Frame6, "lblFrameCt", QString());
  lblConstID = ui::MakeLabel(Frame6, "lblConstID", QString());
  f6->addWidget(cmdStop, 0, 0, 1, 4);
  f6->addWidget(new QLabel(QStringLiteral("Frame # "), Frame6), 1, 0);
  f6->addWidget(lblFrameNo, 1, 1);
  f6->addWidget(new QLabel(QStringLiteral("of"), Frame6), 1, 2);
  f6->addWidget(lblFrameCt, 1, 3);
  f6->addWidget(new QLabel(QStringLiteral("Update Const ID:"), Frame6), 2, 0, 1, 2);
  f6->addWidget(lblConstID, 2, 2, 1, 2);
  lblFolder = ui::MakeLabel(Frame6, "lblFolder", QString());
  lblFolder->setWordWrap(true);
  lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
  f6->addWidget(lblFolder, 3, 0, 1, 4);
  top->addWidget(Frame6, 2, 1);

  connect(txtFrameFile, &QLineEdit::textChanged, this,
          [this] { Frames.FrameFileBase = Typed(txtFrameFile); });
  connect(Text1, &QLineEdit::textChanged, this, [this] { Frames.FrameConstID = Typed(Text1); });
  connect(txtStart, &QLineEdit::textChanged, this, [this] { Family.RangeStart = Typed(txtStart); });
  connect(txtEnd, &QLineEdit::textChanged, this, [this] { Family.RangeEnd = Typed(txtEnd); });
  connect(txtTotalFrames, &QLineEdit::textChanged, this,
          [this] { Frames.FrameTotal = FrameTotalOf(Typed(txtTotalFrames)); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
  SetStopColor(kStopIdleColor);
  g_frames = this;
}

AnimationSetupDialog::~AnimationSetupDialog() = default;

AnimationSetupDialog* AnimationSetupDialog::Instance() {
  return g_frames.data();
}

AnimationSetupDialog& AnimationSetupDialog::Load() {
  if (g_frames.isNull()) {
    auto* window = new AnimationSetupDialog(GraphWindow::Instance());
    window->Form_Load();
  }
  return *g_frames;
}

void AnimationSetupDialog::Form_Load() {
  ui::Ui().MakeTopmostAtOrigin(static_cast<ui::WindowHandle>(static_cast<QWidget*>(this)));
  move(TwipsToPixels(kLoadLeftTwips), TwipsToPixels(kLoadTopTwips));
  cmdStop->setEnabled(false);
}

void AnimationSetupDialog::cmdSave_Click() {
  if (txtFrameFile->text().isEmpty()) {
    ui::Ui().MsgBox(u"Please enter file name less .bmp extension to store your frames.",
                    ui::kOkOnly, ws::kAppTitle);
    return;
  }
  if (txtStart->text().isEmpty() || txtEnd->text().isEmpty()) {
    ui::Ui().MsgBox(u"Please enter the range values for the assigned constant ID.", ui::kOkOnly,
                    ws::kAppTitle);
    return;
  }
  // A range whose frame values are not all finite numbers is refused before a run could write
  // them into the worksheet.
  rt::Text total = Frames.FrameTotal;
  if (!RangeValuesFinite(Family.RangeStart, Family.RangeEnd, FrameCountOf(total))) {
    ui::Ui().MsgBox(kRangeTooWide, ui::kOkOnly, ws::kAppTitle);
    return;
  }
  if (GraphWindow* graph = GraphWindow::Instance()) {
    graph->Animation().OfferFrameRun(true);
    graph->cmdReturn->setEnabled(true);
  }
  hide();
}

void AnimationSetupDialog::cmdCancel_Click() {
  if (GraphWindow* graph = GraphWindow::Instance()) {
    graph->Animation().OfferFrameRun(false);
    graph->cmdReturn->setEnabled(true);
  }
  hide();
}

void AnimationSetupDialog::cmdStop_Click() {
  ms::RunFlags.StopFrames = -1;
  cmdSave->setEnabled(true);
  cmdCancel->setEnabled(true);
  cmdStop->setEnabled(false);
  SetStopColor(rt::RGB(128, 128, 128));
}

void AnimationSetupDialog::SetStopColor(int32_t color) {
  stopColor_ = color;
  int r = 0, g = 0, b = 0;
  rt::SplitRGB(color, r, g, b);
  cmdStop->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3);").arg(r).arg(g).arg(b));
}

void AnimationSetupDialog::ShowFolder(const QString& folder) {
  lblFolder->setText(QStringLiteral("Frames written in ") + folder);
  // The window keeps the size it was shown at; a path wrapped over more lines than the label has
  // room for would lose its last lines, the folder's own name among them. The layout widens the
  // window for a long word of the path, but a window manager takes no height for width from it:
  // the height the label needs at the window's width is set as the window's least height, which
  // the window system keeps to however it resizes the window.
  QLayout* grid = layout();
  if (grid == nullptr) return;
  grid->activate();
  const int w = std::max(width(), minimumWidth());
  const int needed = grid->totalHeightForWidth(w);
  setMinimumHeight(needed);
  if (w != width() || needed > height()) resize(w, std::max(height(), needed));
}

void AnimationSetupDialog::ShowModal(std::function<void()> afterClose) {
  if (isVisible()) return;
  afterClose_ = std::move(afterClose);
  setWindowModality(Qt::ApplicationModal);
  show();
}

void AnimationSetupDialog::ShowModeless() {
  if (isVisible()) return;
  afterClose_ = nullptr;
  setWindowModality(Qt::NonModal);
  show();
}

void AnimationSetupDialog::reject() {
  if (cmdStop->isEnabled()) return;
  QDialog::reject();
}

void AnimationSetupDialog::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (event->spontaneous()) return;
  std::function<void()> after = std::move(afterClose_);
  afterClose_ = nullptr;
  setWindowModality(Qt::NonModal);
  if (after) after();
}

}  // namespace gr
