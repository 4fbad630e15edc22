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
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "OverlayTestSupport.h"

namespace gr::testing {
namespace {

class SetDisplayTest : public OverlayTest {};

TEST_F(SetDisplayTest, LoadsHiddenWithItsBlocksPlacedAndDisplayDataShowsIt) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  EXPECT_FALSE(d.isVisible());
  ASSERT_FALSE(ui_.topmost.empty());
  EXPECT_EQ(ui_.topmost.front(), static_cast<ui::WindowHandle>(static_cast<QWidget*>(&d)));
  const int W = w.OutDisplay->width() * kTwipsPerPixel, H = w.OutDisplay->height() * kTwipsPerPixel;
  ASSERT_GT(W * H, 0);
  const OverlayStateData& s = OverlayState;
  const std::tuple<QScrollBar*, int, int, const int32_t*> bars[] = {
      {d.scrHText, W, 0, &s.DataTextX},       {d.scrVText, 3 * H, 0, &s.DataTextY},
      {d.scrHTime, W, W / 3, &s.TimeTextX},   {d.scrVTime, 3 * H, 0, &s.TimeTextY},
      {d.scrVWk, 3 * H, H / 2, &s.WkTextY},   {d.scrHVal, W, 0, &s.ValTextX},
      {d.scrVtitle, 3 * H, H / 2, &s.TitleY}, {d.scrVLegend, 3 * H, H / 2, &s.LegendY}};
  for (const auto& [bar, max, value, position] : bars) {
    SCOPED_TRACE(bar->objectName().toStdString());
    EXPECT_EQ(bar->maximum(), max);
    EXPECT_EQ(bar->value(), value);
    EXPECT_EQ(*position, value);
  }
  // "Display Data" shows the same window; Exit hides it and its settings stay in force.
  w.mnuData->trigger();
  EXPECT_TRUE(d.isVisible());
  d.ckData->setChecked(true);
  d.Command1->click();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(Graph.ShowDataText, -1);
  w.mnuData->trigger();
  EXPECT_EQ(frmSetDisplay::Instance(), &d);
  EXPECT_TRUE(d.isVisible());
}

TEST_F(SetDisplayTest, TheTimeBlockIsNamedByThePlotState) {
  ms::CommandRequestState& r = ms::Requests;
  struct Case {
    const char* name;
    int16_t* flag;
    const char* caption;
    bool enabled, shown;
    bool options, animation, family;  // graph menus afterwards
    int16_t value = -1;
  };
  const Case cases[] = {
      {"nothing", nullptr, "Tme Scales", true, true, true, true, true},
      {"3-D view", &ms::View.PlotKind, "not used", false, true, false, false, false, 7},
      {"BVP", &r.BVPRequested, "Slopes", true, true, false, false, false},
      {"Integ", &r.IntegRequested, "Integral Table", true, true, true, false, true},
      {"dblInt", &r.DblIntRequested, "Tme Scales", true, false, true, true, true},
      {"IVP", &r.IVPRequested, "Time Scales", true, true, true, true, true},
      {"Plot", &ms::PlotRequest.PlotVectorCount, "Time Scales", true, true, true, true, true, 1},
      {"contour", &r.ContourRequested, "Elevation/Rotation", true, true, true, true, true},
  };
  frmGraph& w = LoadEmpty();
  auto menu = [&w](const char* caption) {
    for (QAction* a : w.menuBar()->actions()) {
      if (a->text() == QLatin1String(caption)) return a->isEnabled();
    }
    ADD_FAILURE() << caption;
    return false;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r = ms::CommandRequestState{};
    ms::View.PlotKind = 1;
    ms::PlotRequest.PlotVectorCount = 0;
    if (c.flag != nullptr) *c.flag = c.value;
    for (QAction* a : w.menuBar()->actions()) a->setEnabled(true);
    // The window's own load, without the graph window's enabling of the time block after it.
    UnloadSetDisplay();
    frmSetDisplay& d = frmSetDisplay::Load();
    EXPECT_EQ(d.Frame2->title(), QLatin1String(c.caption));
    EXPECT_EQ(d.Frame2->isEnabled(), c.enabled);
    EXPECT_EQ(d.scrVTime->isEnabled(), c.enabled);
    EXPECT_EQ(!d.Frame2->isHidden(), c.shown);
    EXPECT_EQ(menu("Display Options"), c.options);
    EXPECT_EQ(menu("Animation"), c.animation);
    EXPECT_EQ(menu("Family of Curves"), c.family);
  }
  // The graph window's load enables the time block again after the 3-D view disabled it.
  r = ms::CommandRequestState{};
  ms::View.PlotKind = 7;
  LoadSetDisplay();
  EXPECT_TRUE(Options().Frame2->isEnabled());
  EXPECT_TRUE(Options().scrVTime->isEnabled());
}

// Each box sets its show flag and its block appears on the picture; its scroll bar moves it; when
// the box is cleared the block goes.
TEST_F(SetDisplayTest, EachOverlayAppearsWithItsCheckBoxAndMovesWithItsBar) {
  Sheet().TypeWorksheetText(QStringLiteral("a = 12345\n"));
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  AddValueFunction(1, u"F_", u"x", 2.5);
  d.strText->setText(QStringLiteral("Damped Spring"));
  d.strLegendX->setText(QStringLiteral("time"));
  d.strLegendY->setText(QStringLiteral("height"));
  OverlayStateData& s = OverlayState;
  struct Case {
    const char* name;
    QCheckBox* box;
    int16_t* flag;
    QScrollBar* bar;
    int32_t* moved;  // the coordinate the bar moves
    int32_t* other;
    bool across;
  };
  const Case cases[] = {
      {"data", d.ckData, &Graph.ShowDataText, d.scrHText, &s.DataTextX, &s.DataTextY, true},
      {"time", d.ckTime, &Graph.ShowTimeText, d.scrVTime, &s.TimeTextY, &s.TimeTextX, false},
      {"worksheet", d.ckWk, &Graph.ShowWkText, d.scrVWk, &s.WkTextY, &s.WkTextX, false},
      {"values", d.CkVal, &Graph.ShowValText, d.scrHVal, &s.ValTextX, &s.ValTextY, true},
      {"title", d.ckText, &Graph.ShowTitle, d.scrVtitle, &s.TitleY, &s.TitleX, false},
      {"legend", d.ckLegend, &Graph.ShowLegend, d.scrHLegend, &s.LegendX, &s.LegendY, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto ink = [&](int32_t at, double margin = 0) {
      const double x = c.across ? at : *c.other, y = c.across ? *c.other : at;
      return DarkPixels(w.Display(), x - margin, y - margin, 1500 + 20 * margin, 500 + 4 * margin);
    };
    const int32_t before = *c.moved, after = before + 3000;
    EXPECT_EQ(ink(before, 100), 0);
    c.box->click();
    EXPECT_EQ(*c.flag, -1);
    EXPECT_GT(ink(before), 10);
    EXPECT_EQ(ink(after), 0);
    c.bar->setValue(after);
    EXPECT_EQ(*c.moved, after);
    EXPECT_GT(ink(after), 10);
    EXPECT_EQ(ink(before), 0);
    c.box->click();
    EXPECT_EQ(*c.flag, 0);
    EXPECT_EQ(ink(after, 100), 0);
  }
  // The title's horizontal bar stores its position while the thumb is dragged, and moves the
  // title when it is released.
  d.ckText->setChecked(true);
  const double y = s.TitleY;
  d.scrHtitle->setSliderDown(true);
  d.scrHtitle->setValue(4000);
  EXPECT_EQ(s.TitleX, 4000);
  EXPECT_GT(DarkPixels(w.Display(), 0, y, 1500, 500), 10);
  d.scrHtitle->setSliderDown(false);
  EXPECT_EQ(DarkPixels(w.Display(), 0, y, 1500, 500), 0);
  EXPECT_GT(DarkPixels(w.Display(), 4000, y, 1500, 500), 10);
}

TEST_F(SetDisplayTest, FontButtonsTakeTheChosenFontAndCancelKeepsIt) {
  LoadEmpty();
  frmSetDisplay& d = Options();
  const std::pair<QPushButton*, std::vector<QLineEdit*>> cases[] = {
      {d.cmdTitleFont, {d.strText}}, {d.cmdLegendFont, {d.strLegendX, d.strLegendZ}}};
  for (const auto& [button, boxes] : cases) {
    SCOPED_TRACE(button->objectName().toStdString());
    const QFont before = boxes[0]->font();
    ui_.fonts = {std::nullopt, ui::FontChoice{ui::FromQString(before.family()), 17, true, true}};
    button->click();
    EXPECT_EQ(boxes[0]->font(), before);
    button->click();
    EXPECT_DOUBLE_EQ(ui_.fontRequests.back().pointSize, before.pointSizeF());
    for (QLineEdit* box : boxes) {
      EXPECT_DOUBLE_EQ(box->font().pointSizeF(), 17);
      EXPECT_TRUE(box->font().bold() && box->font().italic());
    }
  }
}

TEST_F(SetDisplayTest, TheCloseBoxIsRefusedAndDraggingTheFaceMovesTheWindow) {
  LoadEmpty();
  frmSetDisplay& d = Options();
  d.show();
  EXPECT_TRUE(d.Form_QueryUnload(false));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, u"Please use the Minimize Button on the Control Panel.");
  EXPECT_EQ(ui_.boxes[0].style, ui::kOkOnly);
  EXPECT_FALSE(d.Form_QueryUnload(true));
  d.move(200, 150);
  const QPoint start = d.pos();
  auto mouse = [&d](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent e(type, at, d.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&d, &e);
  };
  mouse(QEvent::MouseButtonPress, {10, 12}, Qt::LeftButton);
  mouse(QEvent::MouseMove, {30, 4}, Qt::LeftButton);
  EXPECT_EQ(d.pos(), start + QPoint(20, -8));
  mouse(QEvent::MouseMove, {10, 12}, Qt::NoButton);  // without the button held it stays
  EXPECT_EQ(d.pos(), start + QPoint(20, -8));
  // A close the program asks for passes the guard.
  d.close();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

TEST_F(SetDisplayTest, ReturnUnloadsTheWindowAndTheNextLoadStartsClear) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  d.strLegendX->setText(QStringLiteral("x"));
  d.strLegendY->setText(QStringLiteral("y"));
  for (QCheckBox* box : {d.ckData, d.ckTime, d.ckWk, d.CkVal, d.ckLegend}) box->setChecked(true);
  w.cmdReturn_Click();
  EXPECT_EQ(frmSetDisplay::Instance(), nullptr);
  for (int16_t f : {Graph.ShowDataText, Graph.ShowTimeText, Graph.ShowWkText, Graph.ShowValText}) {
    EXPECT_EQ(f, 0);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  // A legend left on does not ask the new window, which has no labels, for them.
  ui_.Reset();
  LoadEmpty();
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(Graph.ShowLegend, 0);
  EXPECT_FALSE(Options().isVisible());
  EXPECT_FALSE(Options().ckData->isChecked());
}

}  // namespace
}  // namespace gr::testing
