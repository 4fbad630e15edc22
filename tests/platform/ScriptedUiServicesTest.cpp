#include <gtest/gtest.h>

#include "platform/ui/ScriptedUiServices.h"

namespace {

using ui::ScriptedUiServices;

// The dialog queues, the Esc hook and Reset are used by every window test (Open, Save As, colour
// and print dialogs, Esc during Execute); the box answers also decide what the probe's --answer
// gives.
TEST(ScriptedUiServices, BoxesTakeScriptThenFixedThenDefaultAnswers) {
  struct Case {
    const char* what;
    std::deque<int> script;
    int fixed, style;
    std::vector<int> expected;  // answers of three boxes of this style
  };
  const Case cases[] = {
      {"stop box defaults to OK", {}, 0, 16, {1, 1, 1}},
      {"Yes/No/Cancel defaults to Yes", {}, 0, 51, {6, 6, 6}},
      {"script first, then fixed", {2}, 7, 51, {2, 7, 7}},
      {"script, then default", {7, 2}, 0, 51, {7, 2, 6}},
      {"fixed answer does not touch OK boxes", {}, 7, 48, {1, 1, 1}},
      {"fixed answer the box lacks: default", {}, 2, 4, {6, 6, 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedUiServices s;
    s.answers = c.script;
    s.fixedAnswer = c.fixed;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(s.MsgBox(u"text", c.style, u"Title " + rt::IntText(i)), c.expected[i]);
      ASSERT_EQ(s.boxes.size(), static_cast<size_t>(i + 1));
      EXPECT_EQ(s.boxes[i].title + s.boxes[i].text, u"Title " + rt::IntText(i) + u"text");
      EXPECT_EQ(s.boxes[i].answer, c.expected[i]);
    }
  }
}

TEST(ScriptedUiServices, InstalledServicesReceiveTheCoreCalls) {
  ScriptedUiServices s;
  ui::SetUi(&s);
  s.answers = {ui::kAnswerNo};
  EXPECT_EQ(ui::Ui().MsgBox(u"Save?", ui::kYesNoCancelExclamation, u"Work Sheet"), ui::kAnswerNo);
  ui::Ui().EndProgram();
  ui::SetUi(nullptr);
  // The silent default answers without reaching the scripted services.
  EXPECT_EQ(ui::Ui().MsgBox(u"x", ui::kYesNoCancelExclamation, u"t"), ui::kAnswerYes);
  EXPECT_EQ(s.boxes.size(), 1u);
  EXPECT_EQ(s.endProgramCalls, 1);
}

}  // namespace
