// The graph window's option menus end to end: a worksheet is executed and drawn, a menu item is
// chosen (the colour dialog answered from the script), and the rebuilt scene shows the change:
// segment colours and the box; the spacing typed for dot marks.
#include <QMenuBar>
#include <array>
#include <cmath>
#include <optional>
#include <set>

#include "GraphTestSupport.h"
#include "graph/DotSpacingDialog.h"

namespace gr::testing {
namespace {

// Segments drawn (rows 0 .. SegmentCountD - 1) of a colour that are not structure.
int CountSegments(int32_t packed) {
  int r = 0, g = 0, b = 0, n = 0;
  rt::SplitRGB(packed, r, g, b);
  for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
    const ms::SegmentRow& row = ms::Scene.SegmentTable[i];
    n += row[ms::kSegKind] != ms::kSegStructure && row[ms::kRed] == r && row[ms::kGreen] == g &&
         row[ms::kBlue] == b;
  }
  return n;
}

using GraphMenusTest = GraphTest;

// A colour item recolours exactly its curve's segments (an arrow head's too, none lost); a cancel
// keeps the colour. Marks drawn in black of their own stay black.
TEST_F(GraphMenusTest, ColourItemsRecolourTheirSegmentsAndACancelKeepsTheColour) {
  const char* twoCurves = "A<t> = <t, t^2, 0>\nB<t> = <t, -t-1, 0>\nPlot[A, B, {t,-2,2,40}a]\n";
  struct Case {
    const char* worksheet;
    int plot;  // 0: the item below
    QAction* GraphMenus::*item;
    int32_t* used;
  };
  const Case cases[] = {
      {twoCurves, 2, nullptr, &ms::Settings.PlotColorUsed[2]},
      {"F{t,x} = t\nIVP[F,{0,2,1}{1,0.0001}]\n", 0, &GraphMenus::mnuPlotIVPColor,
       &ms::Settings.IVPColorUsed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.worksheet << c.plot);
    GraphWindow& w = Run(c.worksheet);
    QAction* item =
        c.plot != 0 ? w.Menus().mnuPlot[static_cast<size_t>(c.plot - 1)] : w.Menus().*c.item;
    const int32_t before = *c.used, chosen = 0x2080C0;  // red C0, green 80, blue 20
    const int inBefore = CountSegments(before);
    ui_.colors = {std::nullopt, chosen};
    item->trigger();
    EXPECT_EQ(*c.used, before);
    EXPECT_EQ(CountSegments(before), inBefore);
    item->trigger();
    EXPECT_EQ(*c.used, chosen);
    EXPECT_GT(CountSegments(chosen), 5);
    EXPECT_EQ(CountSegments(chosen) + CountSegments(before), inBefore);
    if (c.plot == 0) continue;
    w.Menus().mnuDot10->trigger();  // points 0, 10, ..., 40 of each curve carry a mark
    int marks = 0;
    for (int i = 0; i < ms::Scene.SegmentCountD; ++i)
      marks += ms::Scene.SegmentTable[i][ms::kDotMark] == 1.0;
    EXPECT_EQ(marks, 10);
    w.Menus()
        .mnuYes->trigger();  // round a picture of curves only, the box adds its twelve grey edges
    EXPECT_EQ(CountSegments(0x808080), 12);
  }
}

// Every menu and item of the graph window answers to a name of its own, and pressing "Box ?" Yes
// and No by name draws and removes the twelve grey edges of the box, while the menu is offered; a
// picture that offers no box (a slope field) leaves the items unreachable.
TEST_F(GraphMenusTest, EveryItemHasItsNameAndTheBoxItemsArePressedByName) {
  GraphWindow& w = Run("A<t> = <t, t^2, 0>\nPlot[A, {t,-2,2,40}]\n");
  std::set<QString> names;
  int items = 0;
  for (QAction* item : w.menuBar()->findChildren<QAction*>()) {
    if (item->isSeparator() || item->text().isEmpty()) continue;
    SCOPED_TRACE(item->text().toStdString());
    ++items;
    // A submenu's own entry is named through its menu.
    const QString name = item->menu() != nullptr ? item->menu()->objectName() : item->objectName();
    EXPECT_TRUE(name.startsWith(QStringLiteral("mnu"))) << name.toStdString();
    names.insert(name);
  }
  EXPECT_EQ(static_cast<int>(names.size()), items);  // no two share a name
  for (const char* name : {"mnuYes", "mnuNo", "mnu1Deg", "mnu2Deg", "mnuDotNone", "mnuOSymbol",
                           "mnuPSymbol", "mnuXSymbol", "mnuXYPlane", "mnuData"}) {
    EXPECT_TRUE(names.count(QString::fromLatin1(name))) << name;
  }

  struct Step {
    const char* name;
    PressResult result;
    int16_t showBox;
    int greyEdges;
  };
  const Step steps[] = {{"mnuYes", PressResult::kPressed, -1, 12},
                        {"mnuNo", PressResult::kPressed, 0, 0},
                        {"mnuYes", PressResult::kPressed, -1, 12}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    EXPECT_EQ(PressGraphControl(QString::fromLatin1(s.name)), s.result);
    EXPECT_EQ(ms::View.ShowBox, s.showBox);
    EXPECT_EQ(CountSegments(0x808080), s.greyEdges);
  }
  GraphWindow* field = Regraph("F{x,y} = x\nPlotSlopeField[F, {-2,2,6}{-2,2,6} {0,1}]\n");
  ASSERT_NE(field, nullptr);
  ASSERT_FALSE(field->Menus().mnuBox->menuAction()->isEnabled());
  const bool yes = field->Menus().mnuYes->isChecked(), no = field->Menus().mnuNo->isChecked();
  EXPECT_EQ(PressGraphControl(QString::fromLatin1(yes ? "mnuNo" : "mnuYes")),
            PressResult::kDisabled);
  EXPECT_EQ(field->Menus().mnuYes->isChecked(), yes);
  EXPECT_EQ(field->Menus().mnuNo->isChecked(), no);
}

// "Axes Color" draws the axis lines in the colour chosen: red, green and blue each in its own
// place (a colour whose red and blue differ, so that a swap shows).
TEST_F(GraphMenusTest, TheAxesColourDrawsTheAxisLines) {
  GraphWindow& w = Run("A<t> = <t, t^2, 0>\nPlot[A, {t,-2,2,40}]\n");
  ui_.colors = {0x2080C0};  // packed red + 256 green + 65536 blue
  w.Menus().mnuAxes->trigger();
  EXPECT_EQ(Graph.AxesRGBChosen, (std::array<int32_t, 3>{0xC0, 0x80, 0x20}));
  int lines = 0;
  for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
    const ms::SegmentRow& row = ms::Scene.SegmentTable[i];
    const ms::Point3& p = ms::Scene.VertexXYZ[static_cast<int>(row[ms::kStartPoint])];
    const ms::Point3& q = ms::Scene.VertexXYZ[static_cast<int>(row[ms::kEndPoint])];
    const bool alongX = p[1] == 0 && q[1] == 0, alongY = p[0] == 0 && q[0] == 0;
    // An axis line, not a tick or a grid cross: longer than a grid unit.
    if (!(alongX || alongY) || std::hypot(q[0] - p[0], q[1] - p[1]) <= 1) continue;
    ++lines;
    EXPECT_EQ(row[ms::kRed], 0xC0);
    EXPECT_EQ(row[ms::kGreen], 0x80);
    EXPECT_EQ(row[ms::kBlue], 0x20);
  }
  EXPECT_EQ(lines, 2);  // x and y
}

// The spacing typed in the Custom window: the magnitude of its whole part, up to the largest count
// a mark can hold; anything else is refused.
TEST(DotSpacingTest, TheTypedSpacingIsTheWholePartsMagnitudeWithinItsLimit) {
  const std::tuple<const char16_t*, bool, int> cases[] = {
      {u"-2.5", true, 3}, {u"32767", true, 32767}, {u"32768", false, 0}, {u"abc", false, 0}};
  for (const auto& [text, accepted, spacing] : cases) {
    int16_t got = -1;
    EXPECT_EQ(DotSpacingOf(text, got), accepted) << rt::ToUtf8(text);
    EXPECT_EQ(got, spacing) << rt::ToUtf8(text);
  }
}

// The worksheet's preset colour items open the colour dialog (starting from black) directly:
// no graph window is loaded, so the pending requests are neither solved nor traced nor reported.
TEST_F(GraphMenusTest, WorksheetPresetColoursOpenTheDialogWithoutTheGraphWindow) {
  ws::WorksheetWindow& sheet = Sheet();
  sheet.show();
  sheet.TypeWorksheetText(
      QStringLiteral("F{t,x} = 1/(t-1)\nIVP[F,{0,2,1}{1,0.0001}]\nG{x,y} = x^2+y^2\n"
                     "PlotContour[G,{-3,3,-3,3}{1,1}{1,4,1}]\n"));
  sheet.cmdCompute_click();
  ASSERT_TRUE(ui_.boxes.empty());
  const long events = ui_.doEventsCount;
  const int16_t box = ms::View.ShowBox = -1;
  struct Step {
    QAction* item;
    std::optional<int32_t> answer;
    int32_t* setting;
  };
  const Step steps[] = {
      {sheet.mnuPreSetPlot[3], 0x010203, &ms::Settings.PlotColorUsed[3]},
      {sheet.mnuPreSetGrid, 0x00FF00, &ms::Settings.XYPlaneColor},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.item->text().toStdString());
    const int32_t before = *s.setting;
    ui_.colors = {s.answer};
    ui_.colorRequests.clear();
    s.item->trigger();
    ASSERT_EQ(ui_.colorRequests, std::vector<int32_t>{0});
    EXPECT_EQ(*s.setting, s.answer.value_or(before));
    EXPECT_EQ(GraphWindow::Instance(), nullptr);
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_EQ(ui_.doEventsCount, events);
    EXPECT_EQ(ms::View.ShowBox, box);
  }
}

}  // namespace
}  // namespace gr::testing
