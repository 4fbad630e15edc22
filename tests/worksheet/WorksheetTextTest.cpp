#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/ui/QtUiServices.h"
#include "worksheet/UndoHistory.h"
#include "worksheet/WorksheetText.h"

namespace {

TEST(WorksheetText, EditorAndCoreLineEnds) {
  struct Case {
    QString editor;
    std::u16string core;
  } cases[] = {
      {"", u""},
      {"a=1", u"a=1"},
      {"a=1\nb=2", u"a=1\r\nb=2"},
      {"a=1\nb=2\n", u"a=1\r\nb=2\r\n"},
      {"\n\n", u"\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.editor.toStdString());
    EXPECT_EQ(ws::EditorToCore(c.editor), c.core);
    EXPECT_EQ(ws::CoreToEditor(c.core), c.editor);
  }
}

TEST(WorksheetText, LineEndsOfAnyKindBecomeLf) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"a\r\nb", "a\nb"},           {"a\nb", "a\nb"},     {"a\rb", "a\nb"},
      {"a\r\n\r\nb\r", "a\n\nb\n"}, {"a\n\rb", "a\n\nb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(ws::NormalizeLineEnds(QString::fromLatin1(c.in)), QString::fromLatin1(c.out));
  }
}

TEST(WorksheetText, FileEncodingRoundTripsBytes) {
  // Files as they lie on disk: opening and saving must give the same bytes back.
  const QByteArray cases[] = {
      QByteArray("a=1\r\nF{x}=x^2\r\n"),
      QByteArray("a=1\r\n\r\n"),
      QByteArray("\xB0 degrees\r\n"),           // Latin-1 degree sign
      QByteArray("\xC3\xA9t\xC3\xA9 = 1\r\n"),  // UTF-8 text
      QByteArray("\xFF\xFE\r\n"),               // bytes that are not UTF-8
  };
  for (const QByteArray& bytes : cases) {
    SCOPED_TRACE(bytes.toHex().toStdString());
    bool utf8 = false;
    const QString text = ws::DecodeWorksheetFile(bytes, &utf8);
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    EXPECT_EQ(ws::EncodeWorksheetFile(text, utf8), bytes);
  }
}

TEST(WorksheetText, SaveEndsWithOneLineBreak) {
  struct Case {
    QString editor;
    QByteArray file;
  } cases[] = {
      {"a=1", "a=1\r\n"},
      {"a=1\n", "a=1\r\n"},
      {"a=1\nb=2", "a=1\r\nb=2\r\n"},
      {"a=1\n\n", "a=1\r\n\r\n"},
      {QString::fromUtf8("\xCF\x80=3.14"), "\xCF\x80=3.14\r\n"},  // beyond Latin-1: UTF-8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.editor.toStdString());
    EXPECT_EQ(ws::EncodeWorksheetFile(c.editor), c.file);
  }
}

TEST(WorksheetText, LfAndCrLfFilesReadAlike) {
  EXPECT_EQ(ws::DecodeWorksheetFile("a=1\nb=2\n"), ws::DecodeWorksheetFile("a=1\r\nb=2\r\n"));
}

TEST(WorksheetText, WriteIsAtomicAndReadBack) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("w.txt");
  ASSERT_TRUE(ws::WriteWorksheetFile(path, "a=1\nb=2"));
  QString back;
  ASSERT_TRUE(ws::ReadWorksheetFile(path, back));
  EXPECT_EQ(back, QStringLiteral("a=1\nb=2\n"));
  // A file in a folder that does not exist is not written and nothing else is touched.
  EXPECT_FALSE(ws::WriteWorksheetFile(dir.filePath("missing/w.txt"), "x"));
  EXPECT_FALSE(ws::ReadWorksheetFile(dir.filePath("missing.txt"), back));
  EXPECT_EQ(back, QStringLiteral("a=1\nb=2\n"));
  EXPECT_FALSE(ws::WriteWorksheetFile(QString(), "x"));
}

TEST(WorksheetText, FileTitle) {
  struct Case {
    const char* path;
    const char* title;
  } cases[] = {{"/a/b/c.txt", "c.txt"}, {"C:\\w\\x.txt", "x.txt"}, {"x.txt", "x.txt"}, {"/d/", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ws::FileTitle(QString::fromLatin1(c.path)), QString::fromLatin1(c.title));
  }
}

TEST(UndoHistory, KeepsTheNewestHundred) {
  ws::UndoHistory h;
  for (int i = 1; i <= 101; ++i) h.Push(QString::number(i));
  EXPECT_EQ(h.Count(), 100);
  EXPECT_EQ(h.Slot(1), QStringLiteral("2"));
  EXPECT_EQ(h.Slot(100), QStringLiteral("101"));
  EXPECT_EQ(h.Slot(0), QString());
  EXPECT_EQ(h.Slot(101), QString());
  QString s;
  for (int expected = 101; expected >= 2; --expected) {
    SCOPED_TRACE(expected);
    ASSERT_TRUE(h.Pop(s));
    EXPECT_EQ(s, QString::number(expected));
  }
  EXPECT_FALSE(h.Pop(s));
  EXPECT_EQ(h.Count(), 0);
}

TEST(QtUiServices, FileFilters) {
  struct Case {
    std::u16string in;
    const char* out;
  } cases[] = {
      {u"Text Documents (*.txt)|*.txt", "Text Documents (*.txt)"},
      {u"Image File (*.bmp)|*.bmp", "Image File (*.bmp)"},
      {u"Text|*.txt", "Text (*.txt)"},
      {u"Text|*.txt|All|*.*", "Text (*.txt);;All (*.*)"},
      {u"Pictures|*.bmp;*.png", "Pictures (*.bmp *.png)"},
      {u"|*.txt", "(*.txt)"},
      {u"Anything", "Anything (*)"},
      {u"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(ui::QtFileFilter(c.in), QString::fromLatin1(c.out));
  }
}

TEST(QtUiServices, MessageBoxStyles) {
  struct Case {
    int style, buttons, icon;
  } cases[] = {{0, 0, 0}, {16, 0, 16}, {48, 0, 48}, {51, 3, 48}, {36, 4, 32}, {65, 1, 64}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    const ui::MsgBoxShape shape = ui::DecodeMsgStyle(c.style);
    EXPECT_EQ(shape.buttons, c.buttons);
    EXPECT_EQ(shape.icon, c.icon);
  }
}

TEST(QtUiServices, TextConversionKeepsUtf16Units) {
  const std::u16string s = u"a\u00C8[x]\u00FF\U0001F600";
  EXPECT_EQ(ui::FromQString(ui::ToQString(s)), s);
  EXPECT_EQ(ui::ToQString(s).size(), static_cast<qsizetype>(s.size()));
}

}  // namespace
