// The completeness check of a printed PDF document: what a write that failed part-way leaves is
// never taken for a whole document.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "platform/ui/QtFileWrite.h"

namespace {

// A document of two pages with text and lines, as the printer writes one.
QByteArray TwoPages() {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    QPainter painter(&pdf);
    painter.drawText(100, 100, QStringLiteral("a = 1"));
    painter.drawLine(0, 0, 2000, 2000);
    pdf.newPage();
    painter.drawText(100, 100, QStringLiteral("b = 2"));
  }
  return buffer.data();
}

// A write that fails loses the bytes it was given: the document cut short at any byte, or with a
// block of bytes left out of its objects or its cross-reference table (a later write succeeded),
// is not complete; the document itself is.
TEST(PdfComplete, OnlyTheWholeDocumentIsComplete) {
  const QByteArray whole = TwoPages();
  ASSERT_GT(whole.size(), 1000);
  EXPECT_TRUE(ui::PdfComplete(whole));
  for (qsizetype cut = 0; cut < whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    ASSERT_FALSE(ui::PdfComplete(whole.left(cut)));
  }
  const struct {
    qsizetype from, count;
  } dropped[] = {
      {whole.size() / 4, 4096}, {whole.size() / 2, 512}, {20, 1}, {whole.size() - 150, 8}};
  for (const auto& d : dropped) {
    SCOPED_TRACE(d.from);
    QByteArray lost = whole;
    lost.remove(d.from, d.count);
    EXPECT_FALSE(ui::PdfComplete(lost));
  }
  EXPECT_FALSE(ui::PdfComplete(QByteArray("%PDF-1.4 the earlier print\n%%EOF\n")));
}

}  // namespace
