#include <gtest/gtest.h>

#include "platform/ui/ScriptedUiServices.h"

namespace {

using ui::ScriptedUiServices;

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
      {"OK/Cancel defaults to OK", {}, 0, 1, {1, 1, 1}},
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
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(s.MsgBox(u"line 1\r\nline 2", c.style, u"Title " + rt::IntText(i)), c.expected[i]);
    ASSERT_EQ(s.boxes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(s.boxes[i].title, u"Title " + rt::IntText(i));
      EXPECT_EQ(s.boxes[i].text, u"line 1\r\nline 2");
      EXPECT_EQ(s.boxes[i].style, c.style);
      EXPECT_EQ(s.boxes[i].answer, c.expected[i]);
    }
  }
}

TEST(ScriptedUiServices, DialogsAnswerFromTheirQueuesAndThenCancel) {
  ScriptedUiServices s;
  s.openPaths = {u"a.txt", u""};
  s.savePaths = {u"b.txt"};
  s.colors = {0x123456, std::nullopt};
  s.fonts = {ui::FontChoice{u"Serif", 14, true, false}};
  s.prints = {true};

  ui::FileDialogRequest req;
  req.defaultExt = u"txt";
  rt::Text path = u"unchanged";
  EXPECT_TRUE(s.OpenFileDialog(req, path));
  EXPECT_EQ(path, u"a.txt");
  path = u"unchanged";
  EXPECT_FALSE(s.OpenFileDialog(req, path));  // "" in the script
  EXPECT_FALSE(s.OpenFileDialog(req, path));  // script exhausted
  EXPECT_EQ(path, u"unchanged");
  EXPECT_TRUE(s.SaveFileDialog(req, path));
  EXPECT_EQ(path, u"b.txt");
  EXPECT_FALSE(s.SaveFileDialog(req, path));
  ASSERT_EQ(s.fileRequests.size(), 5u);
  EXPECT_FALSE(s.fileRequests[0].save);
  EXPECT_TRUE(s.fileRequests[3].save);
  EXPECT_EQ(s.fileRequests[3].request.defaultExt, u"txt");

  int32_t colour = 99;
  EXPECT_TRUE(s.ColorDialog(0xFF, colour));
  EXPECT_EQ(colour, 0x123456);
  colour = 99;
  EXPECT_FALSE(s.ColorDialog(0xFF00, colour));
  EXPECT_FALSE(s.ColorDialog(0xFF0000, colour));
  EXPECT_EQ(colour, 99);
  EXPECT_EQ(s.colorRequests, (std::vector<int32_t>{0xFF, 0xFF00, 0xFF0000}));

  ui::FontChoice font;
  EXPECT_TRUE(s.FontDialog(ui::FontChoice{u"MS Sans Serif", 12}, font));
  EXPECT_EQ(font.family, u"Serif");
  EXPECT_TRUE(font.bold);
  EXPECT_FALSE(s.FontDialog(font, font));
  ASSERT_EQ(s.fontRequests.size(), 2u);
  EXPECT_EQ(s.fontRequests[0].family, u"MS Sans Serif");

  EXPECT_TRUE(s.PrintDialog());
  EXPECT_FALSE(s.PrintDialog());
  EXPECT_EQ(s.printRequests, 2);
}

TEST(ScriptedUiServices, RecordsRequestsAndRunsTheDoEventsHook) {
  ScriptedUiServices s;
  bool abort = false;
  s.onDoEvents = [&] {
    if (s.doEventsCount == 3) abort = true;  // Esc during the third pass
  };
  int passes = 0;
  while (!abort && passes < 100) {
    ++passes;
    s.DoEvents();
  }
  EXPECT_EQ(passes, 3);

  const uint32_t pixels[6] = {1, 2, 3, 4, 5, 6};
  s.SetClipboardPicture(pixels, 3, 2);
  EXPECT_EQ(s.clipboardPicture, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
  s.SetClipboardPicture(nullptr, -4, 7);  // a bad picture is recorded by its size only
  EXPECT_TRUE(s.clipboardPicture.empty());
  EXPECT_EQ(s.clipboardPictureWidth, -4);

  s.SetBusy(true);
  s.SetBusy(false);
  EXPECT_FALSE(s.busy);
  EXPECT_EQ(s.busyChanges, 2);
  s.ShowProgress(u"Picture1", 1.0);
  ASSERT_EQ(s.progress.size(), 1u);
  EXPECT_EQ(s.progress[0].bar, u"Picture1");

  s.SetClipboardText(u"F{x}=x^2");
  s.answers = {7};
  s.Reset();
  EXPECT_TRUE(s.answers.empty());
  EXPECT_EQ(s.ClipboardText(), u"");
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
