// The display-options window: loaded hidden with the graph window and shown from "Display Data",
// its blocks placed from the viewport's size, the time block named by the plot state, the check
// boxes switching their overlays on the picture and off again, the scroll bars moving them, the
// font buttons, the closing guard, dragging and Return.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <functional>

#include "OverlayTestSupport.h"

namespace gr::testing {
namespace {

class SetDisplayTest : public OverlayTest {};

// The viewport's extent in twips, as the load reads it.
int ViewportW(const frmGraph& w) {
  return w.OutDisplay->width() * kTwipsPerPixel;
}
int ViewportH(const frmGraph& w) {
  return w.OutDisplay->height() * kTwipsPerPixel;
}

bool MenuEnabled(frmGraph& w, const QString& caption) {
  for (QAction* a : w.menuBar()->actions()) {
    if (a->text() == caption) return a->isEnabled();
  }
  ADD_FAILURE() << "no menu " << caption.toStdString();
  return false;
}

TEST_F(SetDisplayTest, LoadsHiddenWithItsBlocksPlacedFromTheViewport) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay* d = frmSetDisplay::Instance();
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->isVisible());
  ASSERT_FALSE(ui_.topmost.empty());
  EXPECT_EQ(ui_.topmost.front(), static_cast<ui::WindowHandle>(static_cast<QWidget*>(d)));
  EXPECT_TRUE(d->Option1->isChecked());
  EXPECT_EQ(d->Frame2->title(), QStringLiteral("Tme Scales"));

  const int W = ViewportW(w), H = ViewportH(w);
  ASSERT_GT(W, 0);
  ASSERT_GT(H, 0);
  struct Bar {
    const char* name;
    QScrollBar* bar;
    int max;
    int value;
    const int32_t* position;
  };
  const OverlayStateData& s = OverlayState;
  const Bar bars[] = {
      {"scrHText", d->scrHText, W, 0, &s.DataTextX},
      {"scrVText", d->scrVText, 3 * H, 0, &s.DataTextY},
      {"scrHTime", d->scrHTime, W, W / 3, &s.TimeTextX},
      {"scrHWk", d->scrHWk, W, 0, &s.WkTextX},
      {"scrVWk", d->scrVWk, 3 * H, H / 2, &s.WkTextY},
      {"scrHVal", d->scrHVal, W, 0, &s.ValTextX},
      {"scrVVal", d->scrVVal, 3 * H, H / 2, &s.ValTextY},
      {"scrHtitle", d->scrHtitle, W, 0, &s.TitleX},
      {"scrVtitle", d->scrVtitle, 3 * H, H / 2, &s.TitleY},
      {"scrHLegend", d->scrHLegend, W, 0, &s.LegendX},
      {"scrVLegend", d->scrVLegend, 3 * H, H / 2, &s.LegendY},
  };
  for (const Bar& b : bars) {
    SCOPED_TRACE(b.name);
    EXPECT_EQ(b.bar->minimum(), 0);
    EXPECT_EQ(b.bar->maximum(), b.max);
    EXPECT_EQ(b.bar->value(), b.value);
    EXPECT_EQ(*b.position, b.value);
  }
  // The vertical time bar is not placed: its position keeps what it had.
  EXPECT_EQ(d->scrVTime->value(), 0);
  EXPECT_EQ(s.TimeTextY, 0);
  EXPECT_EQ(Graph.ShowLegend, 0);
  for (QLineEdit* box : {d->strLegendX, d->strLegendY, d->strLegendZ}) {
    EXPECT_TRUE(box->text().isEmpty());
  }
  EXPECT_TRUE(d->LegendXText.empty());
  // The graph window's load enables the time block.
  EXPECT_TRUE(d->Frame2->isEnabled());
  EXPECT_TRUE(d->scrHTime->isEnabled());
}

TEST_F(SetDisplayTest, DisplayDataShowsTheWindowAndExitHidesIt) {
  frmGraph& w = LoadEmpty();
  ASSERT_NE(w.mnuData, nullptr);
  EXPECT_EQ(w.mnuData->text(), QStringLiteral("Display Data"));
  frmSetDisplay* before = frmSetDisplay::Instance();
  w.mnuData->trigger();
  EXPECT_EQ(frmSetDisplay::Instance(), before);
  EXPECT_TRUE(Options().isVisible());
  // Its settings stay in force after Exit.
  Options().ckData->setChecked(true);
  Options().Command1->click();
  EXPECT_FALSE(Options().isVisible());
  EXPECT_EQ(Graph.ShowDataText, -1);
  w.mnuData->trigger();
  EXPECT_TRUE(Options().isVisible());
  EXPECT_TRUE(Options().ckData->isChecked());
}

TEST_F(SetDisplayTest, TheTimeBlockIsNamedByThePlotState) {
  struct Case {
    const char* name;
    std::function<void()> state;
    const char* caption;
    bool enabled;
    bool shown;
    bool displayOptions, animation, family;  // graph menus afterwards
  };
  ms::CommandRequestState& r = ms::Requests;
  const Case cases[] = {
      {"nothing", [] {}, "Tme Scales", true, true, true, true, true},
      {"3-D view", [] { ms::View.PlotKind = 7; }, "not used", false, true, false, false, false},
      {"BVP", [&r] { r.BVPRequested = -1; }, "Slopes", true, true, false, false, false},
      {"Integ", [&r] { r.IntegRequested = -1; }, "Integral Table", true, true, true, false, true},
      {"dblInt", [&r] { r.DblIntRequested = -1; }, "Tme Scales", true, false, true, true, true},
      {"IVP", [&r] { r.IVPRequested = -1; }, "Time Scales", true, true, true, true, true},
      {"contour", [&r] { r.ContourRequested = -1; }, "Elevation/Rotation", true, true, true, true,
       true},
      {"slope field", [&r] { r.SlopeFieldRequested = -1; }, "Elevation/Rotation", true, true, true,
       true, true},
      {"space field", [&r] { r.Field3DRequested = -1; }, "Elevation/Rotation", true, true, true,
       true, true},
      {"Plot", [] { ms::PlotRequest.PlotVectorCount = 1; }, "Time Scales", true, true, true, true,
       true},
      // The first match wins: a BVP beside an integral names the block by the BVP.
      {"BVP and Integ", [&r] { r.BVPRequested = r.IntegRequested = -1; }, "Slopes", true, true,
       false, false, false},
  };
  frmGraph& w = LoadEmpty();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r = ms::CommandRequestState{};
    ms::View.PlotKind = 1;
    ms::PlotRequest.PlotVectorCount = 0;
    for (QAction* a : w.menuBar()->actions()) a->setEnabled(true);
    c.state();
    // The window's own load, without the graph window's enabling of the time block after it.
    UnloadSetDisplay();
    frmSetDisplay& d = frmSetDisplay::Load();
    EXPECT_EQ(d.Frame2->title(), QString::fromLatin1(c.caption));
    EXPECT_EQ(d.Frame2->isEnabled(), c.enabled);
    EXPECT_EQ(d.scrHTime->isEnabled(), c.enabled);
    EXPECT_EQ(d.scrVTime->isEnabled(), c.enabled);
    EXPECT_EQ(!d.Frame2->isHidden(), c.shown);
    EXPECT_EQ(MenuEnabled(w, QStringLiteral("Display Options")), c.displayOptions);
    EXPECT_EQ(MenuEnabled(w, QStringLiteral("Animation")), c.animation);
    EXPECT_EQ(MenuEnabled(w, QStringLiteral("Family of Curves")), c.family);
  }
  // The graph window's load enables the time block again after the 3-D view disabled it.
  r = ms::CommandRequestState{};
  ms::View.PlotKind = 7;
  LoadSetDisplay();
  EXPECT_EQ(Options().Frame2->title(), QStringLiteral("not used"));
  EXPECT_TRUE(Options().Frame2->isEnabled());
  EXPECT_TRUE(Options().scrVTime->isEnabled());
  ms::View.PlotKind = 1;
}

// Each box sets its show flag(s), and its block appears in its region of the picture when the box
// is checked and goes again when it is cleared.
TEST_F(SetDisplayTest, EachOverlayAppearsAndGoesWithItsCheckBox) {
  struct Case {
    const char* name;
    QCheckBox* frmSetDisplay::*box;
    std::vector<int16_t*> flags;
    std::function<void(frmSetDisplay&)> content;
    // Region right and below of the block's corner, picture units.
    const int32_t* x;
    const int32_t* y;
  };
  OverlayStateData& s = OverlayState;
  const Case cases[] = {
      {"data scales",
       &frmSetDisplay::ckData,
       {&Graph.ShowDataText},
       [](frmSetDisplay&) {},
       &s.DataTextX,
       &s.DataTextY},
      {"time scales",
       &frmSetDisplay::ckTime,
       {&Graph.ShowTimeText},
       [](frmSetDisplay&) {},
       &s.TimeTextX,
       &s.TimeTextY},
      {"worksheet",
       &frmSetDisplay::ckWk,
       {&Graph.ShowWkText},
       [this](frmSetDisplay&) { Sheet().TypeWorksheetText(QStringLiteral("a = 12345\n")); },
       &s.WkTextX,
       &s.WkTextY},
      {"values",
       &frmSetDisplay::CkVal,
       {&Graph.ShowValText, &ms::Tables.ShowValLegend},
       [](frmSetDisplay&) {
         ms::Tables.FuncCount = 1;
         ms::Tables.FuncTable[1].Name = u"F_";
         ms::Tables.FuncTable[1].Parm1 = u"x";
         ms::Tables.FuncTable[1].Value = 2.5;
         ms::Tables.FuncTable[1].LineBreak = -1;
       },
       &s.ValTextX,
       &s.ValTextY},
      {"title",
       &frmSetDisplay::ckText,
       {&Graph.ShowTitle},
       [](frmSetDisplay& d) { d.strText->setText(QStringLiteral("Damped Spring")); },
       &s.TitleX,
       &s.TitleY},
      {"legend",
       &frmSetDisplay::ckLegend,
       {&Graph.ShowLegend},
       [](frmSetDisplay& d) {
         d.strLegendX->setText(QStringLiteral("time"));
         d.strLegendY->setText(QStringLiteral("height"));
       },
       &s.LegendX,
       &s.LegendY},
  };
  Sheet();  // the worksheet window first: making it resets the program's state
  frmGraph& w = LoadEmpty();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadSetDisplay();
    frmSetDisplay& d = Options();
    c.content(d);
    w.updateplot();
    const double x = *c.x, y = *c.y;
    EXPECT_EQ(DarkPixels(w.Display(), x - 100, y - 100, 3000, 900), 0);
    (d.*c.box)->click();
    for (const int16_t* f : c.flags) EXPECT_EQ(*f, -1);
    EXPECT_GT(DarkPixels(w.Display(), x, y, 3000, 900), 20);
    (d.*c.box)->click();
    for (const int16_t* f : c.flags) EXPECT_EQ(*f, 0);
    EXPECT_EQ(DarkPixels(w.Display(), x - 100, y - 100, 3000, 900), 0);
    ms::Tables.FuncCount = 0;
  }
}

TEST_F(SetDisplayTest, ScrollBarsMoveTheirBlocks) {
  struct Case {
    const char* name;
    QCheckBox* frmSetDisplay::*box;
    QScrollBar* frmSetDisplay::*bar;
    const int32_t* position;  // the coordinate the bar moves
    const int32_t* other;     // the block's other coordinate
    bool horizontal;
  };
  const OverlayStateData& s = OverlayState;
  const Case cases[] = {
      {"data across", &frmSetDisplay::ckData, &frmSetDisplay::scrHText, &s.DataTextX, &s.DataTextY,
       true},
      {"data down", &frmSetDisplay::ckData, &frmSetDisplay::scrVText, &s.DataTextY, &s.DataTextX,
       false},
      {"time across", &frmSetDisplay::ckTime, &frmSetDisplay::scrHTime, &s.TimeTextX, &s.TimeTextY,
       true},
      {"time down", &frmSetDisplay::ckTime, &frmSetDisplay::scrVTime, &s.TimeTextY, &s.TimeTextX,
       false},
      {"title down", &frmSetDisplay::ckText, &frmSetDisplay::scrVtitle, &s.TitleY, &s.TitleX,
       false},
      {"legend across", &frmSetDisplay::ckLegend, &frmSetDisplay::scrHLegend, &s.LegendX,
       &s.LegendY, true},
      {"legend down", &frmSetDisplay::ckLegend, &frmSetDisplay::scrVLegend, &s.LegendY, &s.LegendX,
       false},
      {"worksheet across", &frmSetDisplay::ckWk, &frmSetDisplay::scrHWk, &s.WkTextX, &s.WkTextY,
       true},
      {"worksheet down", &frmSetDisplay::ckWk, &frmSetDisplay::scrVWk, &s.WkTextY, &s.WkTextX,
       false},
      {"values across", &frmSetDisplay::CkVal, &frmSetDisplay::scrHVal, &s.ValTextX, &s.ValTextY,
       true},
      {"values down", &frmSetDisplay::CkVal, &frmSetDisplay::scrVVal, &s.ValTextY, &s.ValTextX,
       false},
  };
  Sheet().TypeWorksheetText(QStringLiteral("b = 7\n"));
  frmGraph& w = LoadEmpty();
  ms::Tables.FuncCount = 1;
  ms::Tables.FuncTable[1].Name = u"G_";
  ms::Tables.FuncTable[1].Parm1 = u"t";
  ms::Tables.FuncTable[1].LineBreak = -1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadSetDisplay();
    frmSetDisplay& d = Options();
    d.strText->setText(QStringLiteral("Title"));
    d.strLegendX->setText(QStringLiteral("x"));
    d.strLegendY->setText(QStringLiteral("y"));
    (d.*c.box)->setChecked(true);
    const int32_t before = *c.position;
    const int32_t after = before + 3000;
    auto inkAt = [&](int32_t pos) {
      const double x = c.horizontal ? pos : *c.other;
      const double y = c.horizontal ? *c.other : pos;
      return DarkPixels(w.Display(), x, y, 1500, 500);
    };
    EXPECT_GT(inkAt(before), 10);
    EXPECT_EQ(inkAt(after), 0);
    (d.*c.bar)->setValue(after);
    EXPECT_EQ(*c.position, after);
    EXPECT_GT(inkAt(after), 10);
    EXPECT_EQ(inkAt(before), 0);
    (d.*c.box)->setChecked(false);
  }
  ms::Tables.FuncCount = 0;
}

TEST_F(SetDisplayTest, TheTitleFollowsItsHorizontalBarWhenTheThumbIsReleased) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  d.strText->setText(QStringLiteral("Title"));
  d.ckText->setChecked(true);
  const double y = OverlayState.TitleY;
  EXPECT_GT(DarkPixels(w.Display(), 0, y, 1500, 500), 10);
  // Dragging stores the position but leaves the title where it is.
  d.scrHtitle->setSliderDown(true);
  d.scrHtitle->setValue(4000);
  EXPECT_EQ(OverlayState.TitleX, 4000);
  EXPECT_GT(DarkPixels(w.Display(), 0, y, 1500, 500), 10);
  EXPECT_EQ(DarkPixels(w.Display(), 4000, y, 1500, 500), 0);
  d.scrHtitle->setSliderDown(false);
  EXPECT_EQ(DarkPixels(w.Display(), 0, y, 1500, 500), 0);
  EXPECT_GT(DarkPixels(w.Display(), 4000, y, 1500, 500), 10);
  // Other bars redraw while their thumb moves.
  d.scrVtitle->setSliderDown(true);
  d.scrVtitle->setValue(static_cast<int>(y) + 2000);
  EXPECT_GT(DarkPixels(w.Display(), 4000, y + 2000, 1500, 500), 10);
  d.scrVtitle->setSliderDown(false);
}

TEST_F(SetDisplayTest, TypingATitleOrLabelWaitsForTheNextRedraw) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  d.ckText->setChecked(true);
  const double x = OverlayState.TitleX, y = OverlayState.TitleY;
  EXPECT_EQ(DarkPixels(w.Display(), x, y, 3000, 600), 0);
  d.strText->setText(QStringLiteral("Later"));
  EXPECT_EQ(d.TitleText, u"Later");
  EXPECT_EQ(DarkPixels(w.Display(), x, y, 3000, 600), 0);
  w.updateplot();
  EXPECT_GT(DarkPixels(w.Display(), x, y, 3000, 600), 10);

  for (auto [box, field] :
       {std::pair{d.strLegendX, &d.LegendXText}, std::pair{d.strLegendY, &d.LegendYText},
        std::pair{d.strLegendZ, &d.LegendZText}}) {
    box->setText(QStringLiteral("label"));
    EXPECT_EQ(*field, u"label");
  }
}

TEST_F(SetDisplayTest, FontButtonsTakeTheChosenFontAndCancelKeepsIt) {
  LoadEmpty();
  frmSetDisplay& d = Options();
  const QFont title = d.strText->font();
  EXPECT_DOUBLE_EQ(title.pointSizeF(), 12);
  const QFont legend = d.strLegendX->font();

  struct Case {
    const char* name;
    QPushButton* button;
    std::vector<QLineEdit*> boxes;
    QFont before;
  };
  const Case cases[] = {
      {"title", d.cmdTitleFont, {d.strText}, title},
      {"legend", d.cmdLegendFont, {d.strLegendX, d.strLegendY, d.strLegendZ}, legend},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.fonts.push_back(std::nullopt);
    c.button->click();
    for (QLineEdit* box : c.boxes) EXPECT_EQ(box->font(), c.before);
    ui::FontChoice chosen;
    chosen.family = ui::FromQString(c.before.family());
    chosen.pointSize = 17;
    chosen.bold = true;
    chosen.italic = true;
    ui_.fonts.push_back(chosen);
    c.button->click();
    ASSERT_FALSE(ui_.fontRequests.empty());
    EXPECT_DOUBLE_EQ(ui_.fontRequests.back().pointSize, c.before.pointSizeF());
    for (QLineEdit* box : c.boxes) {
      EXPECT_DOUBLE_EQ(box->font().pointSizeF(), 17);
      EXPECT_TRUE(box->font().bold());
      EXPECT_TRUE(box->font().italic());
    }
  }
  // The title's font is not the legend's.
  EXPECT_DOUBLE_EQ(d.strText->font().pointSizeF(), 17);
  EXPECT_EQ(ui_.boxes.size(), 0u);
}

TEST_F(SetDisplayTest, TheCloseBoxIsRefusedAndTheProgramsOwnCloseIsNot) {
  LoadEmpty();
  frmSetDisplay& d = Options();
  d.show();
  EXPECT_TRUE(d.Form_QueryUnload(false));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, u"Please use the Minimize Button on the Control Panel.");
  EXPECT_EQ(ui_.boxes[0].style, ui::kOkOnly);
  EXPECT_FALSE(d.Form_QueryUnload(true));
  EXPECT_EQ(ui_.boxes.size(), 1u);
  // A close the program asks for passes the guard.
  d.close();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

TEST_F(SetDisplayTest, DraggingTheFaceMovesTheWindow) {
  LoadEmpty();
  frmSetDisplay& d = Options();
  d.show();
  d.move(200, 150);
  const QPoint start = d.pos();
  const QPointF at(10, 12);
  QMouseEvent press(QEvent::MouseButtonPress, at, d.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&d, &press);
  const QPointF to(30, 4);
  QMouseEvent move(QEvent::MouseMove, to, d.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&d, &move);
  EXPECT_EQ(d.pos(), start + QPoint(20, -8));
  // Without the left button held the window stays.
  QMouseEvent hover(QEvent::MouseMove, at, d.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&d, &hover);
  EXPECT_EQ(d.pos(), start + QPoint(20, -8));
}

TEST_F(SetDisplayTest, ReturnUnloadsTheWindowAndClearsTheTextSwitches) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  for (QCheckBox* box : {d.ckData, d.ckTime, d.ckWk, d.CkVal}) box->setChecked(true);
  w.cmdReturn_Click();
  EXPECT_EQ(frmSetDisplay::Instance(), nullptr);
  for (int16_t f : {Graph.ShowDataText, Graph.ShowTimeText, Graph.ShowWkText, Graph.ShowValText}) {
    EXPECT_EQ(f, 0);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  // A new graph window loads a new one, hidden, with its boxes clear.
  frmGraph& again = LoadEmpty();
  (void)again;
  ASSERT_NE(frmSetDisplay::Instance(), nullptr);
  EXPECT_FALSE(Options().isVisible());
  EXPECT_FALSE(Options().ckData->isChecked());
}

TEST_F(SetDisplayTest, ALegendLeftOnAtReturnDoesNotAskForLabelsAtTheNextLoad) {
  frmGraph& w = LoadEmpty();
  Options().strLegendX->setText(QStringLiteral("x"));
  Options().strLegendY->setText(QStringLiteral("y"));
  Options().ckLegend->setChecked(true);
  EXPECT_EQ(Graph.ShowLegend, -1);
  w.cmdReturn_Click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ui_.Reset();
  LoadEmpty();
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(Graph.ShowLegend, 0);
  EXPECT_FALSE(Options().ckLegend->isChecked());
}

}  // namespace
}  // namespace gr::testing
