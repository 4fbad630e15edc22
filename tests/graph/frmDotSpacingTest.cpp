// The dot-spacing window: where it stands, what it keeps of the typed text, and the spacing that
// Save and Discard leave.
#include <QLineEdit>
#include <QPushButton>

#include "GraphTestSupport.h"
#include "graph/frmDotSpacing.h"

namespace gr::testing {
namespace {

using frmDotSpacingTest = GraphTest;

TEST(DotSpacingOfTest, SpacingOfATypedText) {
  struct Case {
    const char16_t* text;
    bool accepted;
    int16_t spacing;
  };
  const Case cases[] = {
      {u"10", true, 10},    {u" 25 ", true, 25},     {u"-2.5", true, 3},  {u"2.5", true, 2},
      {u"0.5", true, 0},    {u"-0.5", true, 1},      {u"1E2", true, 100}, {u"32767", true, 32767},
      {u"32768", false, 0}, {u"-32767.5", false, 0}, {u"", false, 0},     {u"abc", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ui::ToQString(c.text).toStdString());
    int16_t spacing = -7;
    EXPECT_EQ(DotSpacingOf(c.text, spacing), c.accepted);
    EXPECT_EQ(spacing, c.spacing);
  }
}

// Each load puts the window on top at its place and empties the entry; Save and Discard hide it.
TEST_F(frmDotSpacingTest, LoadSaveAndDiscard) {
  struct Case {
    const char* typed;
    bool save;              // Save, else Discard
    int16_t spacingBefore;  // the setting before the button
    int16_t spacingAfter;
    int16_t onAfter;
    bool entryKept;
  };
  const Case cases[] = {
      {"-2.5", true, 0, 3, -1, true},
      {"x", true, 20, 0, 0, true},
      {"15", false, 20, 20, -1, false},
      {"15", false, 0, 0, 0, false},
  };
  frmDotSpacing window;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + (c.save ? " saved" : " discarded"));
    ui_.topmost.clear();
    window.Form_Load();
    ASSERT_EQ(ui_.topmost.size(), 1u);
    EXPECT_EQ(ui_.topmost[0], static_cast<ui::WindowHandle>(static_cast<QWidget*>(&window)));
    EXPECT_EQ(window.pos(), QPoint(266, 133));  // 4000 and 2000 twips at 15 twips a pixel
    EXPECT_TRUE(window.Entry().empty());
    window.show();
    ms::CurveWork.DotSpacing = c.spacingBefore;
    ms::CurveWork.DotSpacingOn = 0;
    window.Text1->setText(QString::fromLatin1(c.typed));
    (c.save ? window.cmdSave : window.cmdDiscard)->click();
    EXPECT_EQ(ms::CurveWork.DotSpacing, c.spacingAfter);
    EXPECT_EQ(ms::CurveWork.DotSpacingOn, c.onAfter);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.Entry().empty(), !c.entryKept || c.typed[0] == 0);
  }
}

}  // namespace
}  // namespace gr::testing
