// The ODE view buttons: five frames of buttons, one per kind of solved system, each button one
// view of the stored solution (a component or a derivative against t, a phase-plane curve or a
// three-dimensional trajectory). A press records the view code, marks the button and rebuilds the
// picture from the stored solution points without solving again.
#include <QGridLayout>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include "graph/DisplaySettingsDialog.h"
#include "graph/GraphNavigation.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "platform/draw/DrawTarget.h"
#include "platform/ui/QtWidgetKit.h"
#include "plotting/SceneStore.h"

namespace gr {

namespace {

constexpr int kFirstCode = 1;
constexpr int kLastCode = 22;
// Background of the chosen button and of its sisters (packed RGB).
constexpr int32_t kChosenColor = 0xFFFFC0;
constexpr int32_t kWhite = 0xFFFFFF;
// Buttons per row inside a frame.
constexpr int kButtonsPerRow = 4;

struct ViewButtonSpec {
  const char* name;
  const char* caption;
  int frame;  // 5..9
};

// Entry k is view code k (entry 0 unused). Captions are the buttons' texts as the user knows
// them, irregular spacing and brackets included.
constexpr ViewButtonSpec kViewButtons[kLastCode + 1] = {
    {"", "", 0},
    {"cmdIVPPlot1", "X{t} : t", 5},
    {"cmdIVPPlot2", "X' (t)  : t", 5},
    {"cmdIVPPlot3", "X' (t) :X(t)", 5},
    {"cmdIVPPlot4", "X{t} : t", 6},
    {"cmdIVPPlot5", "Y{t} : t", 6},
    {"cmdIVPPlot6", "Z{t} : t", 6},
    {"cmdIVPPlot7", "X(t) : Y(t) : Z{t}", 6},
    {"cmdIVPPlot8", "X(t) : t", 7},
    {"cmdIVPPlot9", "X'(t) : t", 7},
    {"cmdIVPPlot10", "X'(t) : X{t}", 7},
    {"cmdIVPPlot11", "Y{t} : t", 7},
    {"cmdIVPPlot12", "Y'(t) : t", 7},
    {"cmdIVPPlot13", "Y'(t) :Y{t)", 7},
    {"cmdIVPPlot14", "Y(t) : Xl(t)", 7},
    {"cmdPlot15", "X{t} : t", 8},
    {"cmdPlot16", "Y{t} : t", 8},
    {"cmdPlot17", "Y(t) : Xl(t)", 8},
    {"cmdPlot18", "X{t} : t", 9},
    {"cmdPlot19", "Y{t}: t", 9},
    {"cmdPlot20", "Z{t} : t", 9},
    {"cmdPlot21", "W{t} : t", 9},
    {"cmdPlot22", "X(t) : Y(t) : Z(t)", 9},
};

// Frame captions by frame number 5..9; those of Frame5 and Frame7 hold a double quote of their
// own (the second-derivative mark).
const char* FrameCaption(int frame) {
  switch (frame) {
    case 5:
      return "IVP: Models F{t,x,x',x\",...) to 4";
    case 6:
      return "IVP: X'=F{t,x,y,z}; Y'=G{t,x,y,z}; Z'=H{t,x,y,z}";
    case 7:
      return "IVP :  X'' = F(t,x,x',y,y')  and  Y\" = G(t,x,x',y,y')";
    case 8:
      return "IVP: X' = F{t,x,y}; Y' = G{t,x,y}";
    default:
      return "IVP: X'=F{t,x,y,z,w}; Y'=G{t,x,y,z,w}; Z'=H{t,x,y,z,w}; W'=R{t,x,y,z,w}";
  }
}

bool ValidCode(int code) {
  return code >= kFirstCode && code <= kLastCode;
}

// The two 3-D trajectory views.
bool TrajectoryView(int code) {
  return code == 7 || code == 22;
}

}  // namespace

void GraphNavigation::InitViewButtons(QWidget* parent) {
  for (QGroupBox** f : {&Frame5, &Frame6, &Frame7, &Frame8, &Frame9}) {
    *f = new QGroupBox(parent);
    (*f)->hide();
  }
  const std::array<QGroupBox*, 10> frames = {nullptr, nullptr, nullptr, nullptr, nullptr,
                                             Frame5,  Frame6,  Frame7,  Frame8,  Frame9};
  std::array<QGridLayout*, 10> layouts{};
  std::array<int, 10> placed{};
  for (int f = 5; f <= 9; ++f) {
    QGroupBox* frame = frames[static_cast<size_t>(f)];
    frame->setObjectName(QStringLiteral("Frame%1").arg(f));
    frame->setTitle(QString::fromUtf8(FrameCaption(f)));
    layouts[static_cast<size_t>(f)] = new QGridLayout(frame);
  }
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    const ViewButtonSpec& spec = kViewButtons[code];
    const auto f = static_cast<size_t>(spec.frame);
    auto* button = new QPushButton(QString::fromUtf8(spec.caption), frames[f]);
    button->setObjectName(QString::fromLatin1(spec.name));
    button->setFocusPolicy(Qt::NoFocus);
    layouts[f]->addWidget(button, placed[f] / kButtonsPerRow, placed[f] % kButtonsPerRow);
    ++placed[f];
    ViewButtons[static_cast<size_t>(code)] = button;
    SetViewButtonColor(code, kWhite);
    QObject::connect(button, &QPushButton::clicked, &w_, [this, code] { ViewButton_Click(code); });
  }
}

void GraphNavigation::SetViewButtonColor(int code, int32_t color) {
  if (!ValidCode(code)) return;
  const auto c = static_cast<size_t>(code);
  viewButtonColors_[c] = color;
  ViewButtons[c]->setStyleSheet(QStringLiteral("background-color: %1;").arg(ui::CssColor(color)));
}

int32_t GraphNavigation::ViewButtonColor(int code) const {
  return ValidCode(code) ? viewButtonColors_[static_cast<size_t>(code)] : 0;
}

void GraphNavigation::ViewButton_Click(int code) {
  if (!ValidCode(code)) return;
  // The solvers let events run while they build, and the family and animation loops between
  // their builds; a press then is dropped, so that the view code cannot change under a build.
  if (w_.Building() || w_.LoopRunning()) return;
  const int frame = kViewButtons[code].frame;

  // The time-scales block of the display options can be shown and placed for the three- and
  // four-equation systems; the 3-D trajectory of three equations renames it.
  if (frame == 6 || frame == 7 || frame == 9) {
    if (DisplaySettingsDialog* options = DisplaySettingsDialog::Instance()) {
      options->Frame2->setEnabled(true);
      options->scrHTime->setEnabled(true);
      options->scrVTime->setEnabled(true);
      if (code == 7) options->Frame2->setTitle(QStringLiteral("Elevation/Rotation"));
    }
  }

  ms::RunFlags.Replot = -1;
  ms::View.ODEViewRequest = static_cast<int16_t>(code);
  ms::View.PlotKind = static_cast<int16_t>(code);
  if (code == 7) ms::View.ZAxisNeeded = 0;

  if (frame == 5) Frame5->setVisible(true);
  if (TrajectoryView(code)) w_.Menus().SetBoxEnabled(true);

  MarkViewButton(code);
  w_.GenerateData();
}

void GraphNavigation::MarkViewButton(int code) {
  if (!ValidCode(code)) return;
  const int frame = kViewButtons[code].frame;
  // Only the first button of the four-equation frame marks itself; the others whiten the frame.
  const bool whitenAll = code >= 19 && code <= 22;
  for (int other = kFirstCode; other <= kLastCode; ++other) {
    if (kViewButtons[other].frame != frame) continue;
    SetViewButtonColor(other, (other == code && !whitenAll) ? kChosenColor : kWhite);
  }
}

}  // namespace gr
