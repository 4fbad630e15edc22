#include <gtest/gtest.h>

#include "LanguageFixture.h"
#include "language/TextEdits.h"

namespace ms {
namespace {

class TextEditsTest : public LanguageTest {};

TEST_F(TextEditsTest, TextHelpers) {
  // One character replaced inside the text; positions outside it change nothing.
  const struct {
    const char16_t* text;
    int32_t pos;
    const char16_t* insert;
    const char* out;
  } splices[] = {{u"abc", 1, u"XY", "XYbc"}, {u"abc", 3, u"", "ab"},    {u"abc", 0, u"X", "abc"},
                 {u"abc", 4, u"X", "abc"},   {u"abc", -7, u"X", "abc"}, {u"", 1, u"X", ""}};
  for (const auto& c : splices) {
    SCOPED_TRACE(U8(c.text) + " " + std::to_string(c.pos));
    rt::Text t = c.text;
    SpliceString(t, c.pos, c.insert);
    EXPECT_EQ(U8(t), c.out);
    EXPECT_EQ(U8(ReplaceCharAt(c.text, static_cast<int16_t>(c.pos), c.insert)), c.out);
  }
  const std::pair<const char16_t*, const char*> titles[] = {
      {u"C:\\plots\\curve1.bmp", "curve1"}, {u"C:\\dir.x\\name", "name"}, {u"C:\\plots\\", ""}};
  for (const auto& [path, title] : titles) {
    SCOPED_TRACE(U8(path));
    EXPECT_EQ(U8(FileTitleNoExt(path)), title);
  }
}

}  // namespace
}  // namespace ms
