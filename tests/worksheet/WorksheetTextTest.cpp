#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "worksheet/UndoHistory.h"
#include "worksheet/WorksheetText.h"

namespace {

using ws::FileEncoding;

// Files as they lie on disk: opening and saving gives the same bytes back, with CR LF line ends.
// (The characters the editor cannot hold as they are go through the window's Open and Save test.)
TEST(WorksheetText, FilesReopenByteForByteInTheirEncodingAndSaveWithCrLf) {
  const std::pair<const char*, FileEncoding> files[] = {
      {"613d310d0a467b787d3d785e320d0a", FileEncoding::kLatin1},  // a=1 F{x}=x^2
      {"fffefd0d0d000a00", FileEncoding::kUtf16Le},               // U+0DFD: the mark decides
      {"c3a974c3a9203d20310d0a", FileEncoding::kUtf8},            // "été = 1"
      {"efbbbf613d310d0a", FileEncoding::kUtf8Bom},
      {"fffe61003d0031000d000a00", FileEncoding::kUtf16Le},
      {"feff0061003d0031000d000a", FileEncoding::kUtf16Be},
  };
  for (const auto& [hex, expectedEncoding] : files) {
    SCOPED_TRACE(hex);
    const QByteArray bytes = QByteArray::fromHex(hex);
    FileEncoding encoding = FileEncoding::kLatin1;
    const QString text = ws::DecodeWorksheetFile(bytes, &encoding);
    EXPECT_EQ(encoding, expectedEncoding);
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    EXPECT_EQ(ws::EncodeWorksheetFile(text, encoding).toHex(), QByteArray(hex));
  }
  EXPECT_EQ(ws::DecodeWorksheetFile("a=1\nb\rc\n"), QStringLiteral("a=1\nb\nc\n"));
  // Editor text is saved with CR LF line ends and exactly one final line break; text beyond
  // Latin-1 as UTF-8.
  EXPECT_EQ(ws::EncodeWorksheetFile("a=1\nb=2"), QByteArray("a=1\r\nb=2\r\n"));
  EXPECT_EQ(ws::EncodeWorksheetFile("a=1\n\n"), QByteArray("a=1\r\n\r\n"));
  EXPECT_EQ(ws::EncodeWorksheetFile(QString::fromUtf8("\xCF\x80=3")), "\xCF\x80=3\r\n");
  EXPECT_EQ(ws::FileTitle("C:\\w\\x.txt") + ws::FileTitle("/w/y.txt"),
            QStringLiteral("x.txty.txt"));
}

// Behind a UTF-16 mark the file is UTF-16 whatever its length or its units: the CR and LF bytes
// inside a character are no line breaks, a lone surrogate is kept as it is, and a last odd byte is
// no part of the text; such a file is not opened, so it is never saved back altered.
TEST(WorksheetText, Utf16FilesAreUtf16WhateverTheirLengthAndUnits) {
  struct Case {
    const char* hex;
    FileEncoding encoding;
    const char16_t* text;
    bool whole;
  } cases[] = {
      // a=1 CR LF b=, then half of "2"
      {"fffe61003d0031000d000a0062003d0032", FileEncoding::kUtf16Le, u"a=1\nb=", false},
      {"feff0061003d0031000d000a0062003d00", FileEncoding::kUtf16Be, u"a=1\nb=", false},
      {"fffe0d0a0a0d0d000a00", FileEncoding::kUtf16Le, u"\u0a0d\u0d0a\n", true},
      {"fffe00d861000d000a00", FileEncoding::kUtf16Le,
       u"\xd800"
       u"a\n",
       true},
      {"fffe", FileEncoding::kUtf16Le, u"", true},
      {"feff41", FileEncoding::kUtf16Be, u"", false},
  };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hex);
    const QByteArray bytes = QByteArray::fromHex(c.hex);
    FileEncoding encoding = FileEncoding::kLatin1;
    bool whole = !c.whole;
    const QString text = ws::DecodeWorksheetFile(bytes, &encoding, &whole);
    EXPECT_EQ(encoding, c.encoding);
    EXPECT_EQ(whole, c.whole);
    EXPECT_EQ(text, QString::fromUtf16(c.text));
    // Read from a file: a whole one saves back to the same bytes (it ends with its line break),
    // one of odd length is refused and the text given stays.
    const QString path = dir.filePath(QStringLiteral("f%1.txt").arg(c.hex));
    {
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(bytes);
    }
    QString read = QStringLiteral("kept");
    QString why;
    EXPECT_EQ(ws::ReadWorksheetFile(path, read, &encoding, &why), c.whole);
    EXPECT_EQ(why.isEmpty(), c.whole);
    if (c.whole && text.endsWith('\n')) {
      EXPECT_EQ(ws::EncodeWorksheetFile(read, encoding).toHex(), QByteArray(c.hex));
    }
    if (!c.whole) {
      EXPECT_EQ(read, QStringLiteral("kept"));
    }
  }
}

TEST(UndoHistory, KeepsTheNewestHundred) {
  ws::UndoHistory h;
  for (int i = 1; i <= 101; ++i) h.Push(QString::number(i));
  EXPECT_EQ(h.Count(), 100);
  EXPECT_EQ(h.Slot(0) + "|" + h.Slot(1) + "|" + h.Slot(100) + "|" + h.Slot(101),
            QStringLiteral("|2|101|"));
  QString s;
  for (int expected = 101; expected >= 2; --expected) {
    ASSERT_TRUE(h.Pop(s));
    EXPECT_EQ(s, QString::number(expected));
  }
  EXPECT_FALSE(h.Pop(s));
}

}  // namespace
