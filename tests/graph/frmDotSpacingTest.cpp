// The dot-spacing window: where it stands, what it keeps of the typed text, and the spacing that
// Save and Discard leave.
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "GraphTestSupport.h"
#include "graph/frmDotSpacing.h"

namespace gr::testing {
namespace {

class frmDotSpacingTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    window_ = std::make_unique<frmDotSpacing>();
    window_->Form_Load();
  }
  void TearDown() override {
    window_.reset();
    GraphTest::TearDown();
  }
  std::unique_ptr<frmDotSpacing> window_;
};

TEST_F(frmDotSpacingTest, SpacingOfATypedText) {
  struct Case {
    const char16_t* text;
    bool accepted;
    int16_t spacing;
  };
  const Case cases[] = {
      {u"10", true, 10},       {u" 25 ", true, 25},  {u"-2.5", true, 3},   {u"2.5", true, 2},
      {u"0.5", true, 0},       {u"-0.5", true, 1},   {u"1E2", true, 100},  {u"32767", true, 32767},
      {u"-32767.5", false, 0}, {u"32768", false, 0}, {u"1E300", false, 0}, {u"", false, 0},
      {u"abc", false, 0},      {u"1,5", false, 0},   {u"-", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ui::ToQString(c.text).toStdString());
    int16_t spacing = -7;
    EXPECT_EQ(DotSpacingOf(c.text, spacing), c.accepted);
    EXPECT_EQ(spacing, c.spacing);
  }
}

TEST_F(frmDotSpacingTest, LoadPlacesTheWindowOnTopAndEmptiesIt) {
  window_->Text1->setText(QStringLiteral("12"));
  EXPECT_EQ(window_->Entry(), u"12");
  ui_.topmost.clear();
  window_->Form_Load();
  ASSERT_EQ(ui_.topmost.size(), 1u);
  EXPECT_EQ(ui_.topmost[0], static_cast<ui::WindowHandle>(static_cast<QWidget*>(window_.get())));
  // 4000 and 2000 twips at 15 twips a pixel.
  EXPECT_EQ(window_->pos(), QPoint(266, 133));
  EXPECT_TRUE(window_->Text1->text().isEmpty());
  EXPECT_TRUE(window_->Entry().empty());
  EXPECT_EQ(window_->cmdSave->text(), QStringLiteral("Save"));
  EXPECT_EQ(window_->cmdDiscard->text(), QStringLiteral("Discard"));
}

TEST_F(frmDotSpacingTest, SaveAndDiscardSetTheSpacingAndHide) {
  struct Case {
    const char* typed;
    bool save;              // Save, else Discard
    int16_t spacingBefore;  // the setting before the button
    int16_t spacingAfter;
    int16_t onAfter;
    bool entryKept;
  };
  const Case cases[] = {
      {"-2.5", true, 0, 3, -1, true},  {"0.5", true, 7, 0, -1, true},
      {"x", true, 20, 0, 0, true},     {"", true, 20, 0, 0, true},
      {"99999", true, 20, 0, 0, true}, {"15", false, 20, 20, -1, false},
      {"15", false, 0, 0, 0, false},   {"abc", false, 1, 1, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + (c.save ? " saved" : " discarded"));
    window_->Form_Load();
    window_->show();
    ms::CurveWork.DotSpacing = c.spacingBefore;
    ms::CurveWork.DotSpacingOn = 0;
    window_->Text1->setText(QString::fromLatin1(c.typed));
    (c.save ? window_->cmdSave : window_->cmdDiscard)->click();
    EXPECT_EQ(ms::CurveWork.DotSpacing, c.spacingAfter);
    EXPECT_EQ(ms::CurveWork.DotSpacingOn, c.onAfter);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->Entry().empty(), !c.entryKept || c.typed[0] == 0);
  }
}

TEST_F(frmDotSpacingTest, ModalShowReturnsOnceSavedAndUnloadsTheWindow) {
  bool seen = false;
  QTimer::singleShot(0, [&seen] {
    frmDotSpacing* shown = frmDotSpacing::Instance();
    ASSERT_NE(shown, nullptr);
    seen = shown->isModal() && shown->isVisible();
    shown->Text1->setText(QStringLiteral("40"));
    shown->cmdSave->click();
  });
  window_.reset();
  ShowDotSpacingModal(nullptr);
  EXPECT_TRUE(seen);
  EXPECT_EQ(frmDotSpacing::Instance(), nullptr);
  EXPECT_EQ(ms::CurveWork.DotSpacing, 40);
  EXPECT_EQ(ms::CurveWork.DotSpacingOn, -1);
}

}  // namespace
}  // namespace gr::testing
