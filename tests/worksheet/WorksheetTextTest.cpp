#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "worksheet/UndoHistory.h"
#include "worksheet/WorksheetText.h"

namespace {

TEST(WorksheetText, FilesReopenByteForByteInTheirEncodingAndSaveWithCrLf) {
  using ws::FileEncoding;
  // Files as they lie on disk: opening and saving gives the same bytes back.
  const struct {
    QByteArray bytes;
    FileEncoding encoding;
  } files[] = {
      {"a=1\r\nF{x}=x^2\r\n", FileEncoding::kLatin1},
      {"a=1\r\n\r\n", FileEncoding::kLatin1},
      {"\xB0 degrees\xA0\r\n", FileEncoding::kLatin1},     // Latin-1 degree sign, no-break space
      {"\xFF\xFE\xFD\r\n", FileEncoding::kLatin1},         // odd length: no UTF-16 mark
      {"\xC3\xA9t\xC3\xA9 = 1\r\n", FileEncoding::kUtf8},  // UTF-8 text
      {"a\xE2\x80\xA8"
       "b\r\n",
       FileEncoding::kUtf8},  // U+2028 inside a line
      {"\xEF\xBB\xBF"
       "a=1\r\n",
       FileEncoding::kUtf8Bom},  // UTF-8 with its mark
      {QByteArray("\xFF\xFE"
                  "a\0=\0"
                  "1\0\r\0\n\0",
                  12),
       FileEncoding::kUtf16Le},
      {QByteArray("\xFE\xFF\0a\0=\0"
                  "1\0\r\0\n",
                  12),
       FileEncoding::kUtf16Be},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.bytes.toHex().toStdString());
    FileEncoding encoding = FileEncoding::kLatin1;
    const QString text = ws::DecodeWorksheetFile(f.bytes, &encoding);
    EXPECT_EQ(encoding, f.encoding);
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    EXPECT_EQ(ws::EncodeWorksheetFile(text, encoding), f.bytes);
  }
  EXPECT_EQ(ws::DecodeWorksheetFile(QByteArray("\xFF\xFE"
                                               "a\0\r\0\n\0",
                                               8)),
            QStringLiteral("a\n"));
  EXPECT_EQ(ws::DecodeWorksheetFile("a=1\nb\rc\n"), ws::DecodeWorksheetFile("a=1\r\nb\r\nc\r\n"));
  // Editor text is saved with CR LF line ends and exactly one final line break; text beyond
  // Latin-1 as UTF-8.
  EXPECT_EQ(ws::EncodeWorksheetFile("a=1\nb=2"), QByteArray("a=1\r\nb=2\r\n"));
  EXPECT_EQ(ws::EncodeWorksheetFile("a=1\n\n"), QByteArray("a=1\r\n\r\n"));
  EXPECT_EQ(ws::EncodeWorksheetFile(QString::fromUtf8("\xCF\x80=3")), "\xCF\x80=3\r\n");
  EXPECT_EQ(ws::FileTitle("C:\\w\\x.txt"), QStringLiteral("x.txt"));
  // The characters the editor would break lines at stand in as private-use characters, both ways.
  const QString special = QString::fromUtf16(u"a\u2028b\u2029c\uFDD0d\uFDD1e\u00A0");
  const QString inEditor = ws::ToEditorChars(special);
  for (const QChar c : {QChar(0x2028), QChar(0x2029), QChar(0xFDD0), QChar(0xFDD1)})
    EXPECT_FALSE(inEditor.contains(c));
  EXPECT_EQ(ws::FromEditorChars(inEditor), special);
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
