#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "worksheet/UndoHistory.h"
#include "worksheet/WorksheetText.h"

namespace {

TEST(WorksheetText, FilesReopenByteForByteAndSaveWithCrLf) {
  // Files as they lie on disk: opening and saving gives the same bytes back.
  const QByteArray files[] = {
      "a=1\r\nF{x}=x^2\r\n",
      "a=1\r\n\r\n",
      "\xB0 degrees\r\n",           // Latin-1 degree sign
      "\xC3\xA9t\xC3\xA9 = 1\r\n",  // UTF-8 text
      "\xFF\xFE\r\n",               // bytes that are not UTF-8
  };
  for (const QByteArray& bytes : files) {
    SCOPED_TRACE(bytes.toHex().toStdString());
    bool utf8 = false;
    const QString text = ws::DecodeWorksheetFile(bytes, &utf8);
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    EXPECT_EQ(ws::EncodeWorksheetFile(text, utf8), bytes);
  }
  EXPECT_EQ(ws::DecodeWorksheetFile("a=1\nb\rc\n"), ws::DecodeWorksheetFile("a=1\r\nb\r\nc\r\n"));
  // Editor text is saved with CR LF line ends and exactly one final line break; text beyond
  // Latin-1 as UTF-8.
  EXPECT_EQ(ws::EncodeWorksheetFile("a=1\nb=2"), QByteArray("a=1\r\nb=2\r\n"));
  EXPECT_EQ(ws::EncodeWorksheetFile("a=1\n\n"), QByteArray("a=1\r\n\r\n"));
  EXPECT_EQ(ws::EncodeWorksheetFile(QString::fromUtf8("\xCF\x80=3")), "\xCF\x80=3\r\n");
  EXPECT_EQ(ws::FileTitle("C:\\w\\x.txt"), QStringLiteral("x.txt"));
}

TEST(WorksheetText, WriteIsAtomicAndReadBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath("w.txt");
  ASSERT_TRUE(ws::WriteWorksheetFile(path, "a=1\nb=2"));
  QString back;
  ASSERT_TRUE(ws::ReadWorksheetFile(path, back));
  EXPECT_EQ(back, QStringLiteral("a=1\nb=2\n"));
  // A file in a folder that does not exist is not written and nothing else is touched.
  EXPECT_FALSE(ws::WriteWorksheetFile(dir.filePath("missing/w.txt"), "x"));
  EXPECT_FALSE(ws::ReadWorksheetFile(dir.filePath("missing.txt"), back));
  EXPECT_EQ(back, QStringLiteral("a=1\nb=2\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"w.txt"}));  // no leftovers
}

TEST(UndoHistory, KeepsTheNewestHundred) {
  ws::UndoHistory h;
  for (int i = 1; i <= 101; ++i) h.Push(QString::number(i));
  EXPECT_EQ(h.Count(), 100);
  EXPECT_EQ(h.Slot(1), QStringLiteral("2"));
  EXPECT_EQ(h.Slot(0) + h.Slot(101), QString());
  QString s;
  for (int expected = 101; expected >= 2; --expected) {
    ASSERT_TRUE(h.Pop(s));
    EXPECT_EQ(s, QString::number(expected));
  }
  EXPECT_FALSE(h.Pop(s));
}

}  // namespace
