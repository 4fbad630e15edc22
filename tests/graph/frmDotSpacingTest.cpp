// The dot-spacing window's reading of the typed spacing (the window itself is driven through the
// graph window's "Custom" item).
#include <gtest/gtest.h>

#include "graph/frmDotSpacing.h"

namespace gr::testing {
namespace {

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
    SCOPED_TRACE(rt::ToUtf8(c.text));
    int16_t spacing = -7;
    EXPECT_EQ(DotSpacingOf(c.text, spacing), c.accepted);
    EXPECT_EQ(spacing, c.spacing);
  }
}

}  // namespace
}  // namespace gr::testing
