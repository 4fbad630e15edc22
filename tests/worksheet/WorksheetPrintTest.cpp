#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>

#include "support/ResultTables.h"
#include "worksheet/WorksheetPrint.h"

// gtest shows a QString as its text.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace ws::testing {
namespace {

using ms::testing::ResultTables;

// The results go on a new page from 48 estimated lines at 12 points in portrait, from 30 at 14
// points in landscape; an unusable font size always starts one.
TEST(WorksheetPrint, ResultsPageThresholds) {
  struct Case {
    int fontSize, estimate;
    bool landscape, newPage;
  } cases[] = {{12, 47, false, false},
               {12, 48, false, true},
               {14, 29, true, false},
               {14, 30, true, true},
               {-3, 0, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.fontSize << " pt, " << c.estimate);
    EXPECT_EQ(ws::ResultsOnNewPage(c.fontSize, c.estimate, c.landscape), c.newPage);
  }
}

using PrintedResults = ResultTables;

// One copy: four blank lines, the file, two blank lines, the worksheet lines, the page break when
// the results start a new page, then the constants, functions and vectors.
TEST_F(PrintedResults, OneCopyIsHeaderWorksheetPageBreakAndResults) {
  EXPECT_EQ(ws::WorksheetPrintLines("a=1\n\nb=2\n"), QStringList({"\ta=1", "\t", "\tb=2"}));
  EXPECT_TRUE(ws::WorksheetPrintLines("").isEmpty());
  // The results: a constant's expression and value, a function's value, only a blank line for a
  // name of a letter and a digit (G2), a vector's value in the general number form, no value line
  // for a vector whose component functions are missing.
  const QStringList results = ws::ResultPrintLines(4);
  ASSERT_EQ(results.size(), 18);
  const std::pair<int, const char*> lines[] = {{0, "\ta = 2+3"},
                                               {1, "\ta = (5)"},
                                               {4, "\tF{x,y,z}= 2.5"},
                                               {6, " "},
                                               {14, "\tA<t> = <2  ,  -0.25  ,  0 >"},
                                               {16, "\tB<s> = <1 , 2 , 3>"},
                                               {17, " "}};
  for (const auto& [k, text] : lines) EXPECT_EQ(results[k], QString::fromLatin1(text)) << k;
  for (bool newPage : {false, true}) {
    QStringList expected = {" ", " ", " ", " ", "\tWork File: demo.txt  ", " ", " ", "\ta=2+3"};
    if (newPage) expected << ws::kNewPageMark;
    EXPECT_EQ(ws::ComposeWorksheetCopy("demo.txt", "a=2+3\n", newPage, 4), expected + results)
        << newPage;
  }
  // A function that was not evaluated prints as such, not with the value its record holds.
  std::vector<bool> undefined(7, false);
  undefined[6] = true;
  undefined[3] = true;
  const QStringList marked = ws::ResultPrintLines(4, &undefined);
  EXPECT_EQ(marked[8], QStringLiteral("\tHb{t}=undefined"));
  EXPECT_EQ(marked[14], QStringLiteral("\tA<t> = <2  ,  undefined  ,  0 >"));
  ms::Tables.FuncCount = 32000;  // must stay inside the tables
  EXPECT_FALSE(ws::ResultPrintLines(8).isEmpty());
}

// Paper of 20 units by 58 rows, tab stops 4 units apart, every UTF-16 unit 1 unit wide: where
// each character lands is plain arithmetic.
PrintMetrics UnitPaper(double width = 20) {
  PrintMetrics m;
  m.pageWidth = width;
  m.pageHeight = 58;
  m.lineHeight = 1;
  m.tabStop = 4;
  m.advance = [](QStringView s) { return static_cast<double>(s.size()); };
  return m;
}

// Where a row ends on unit paper, counted here character by character: a tab goes to the next
// multiple of 4 past the position.
double UnitRowEnd(double x, const QString& text) {
  for (const QChar c : text) x = c == QLatin1Char('\t') ? (std::floor(x / 4) + 1) * 4 : x + 1;
  return x;
}

// A line wider than the paper goes on in the next rows, cut after a blank or an operator near the
// end of the row, else where the row is full, never inside a character; a tab keeps inside the
// width; the rows together hold the line, character for character.
TEST(WorksheetPrint, LongLinesWrapInsideThePrintableWidth) {
  const QString digits = QStringLiteral("0123456789").repeated(12);
  QString sum = QStringLiteral("\ta=1");
  for (int k = 2; k <= 30; ++k) sum += QStringLiteral("+%1").arg(k);
  const QString accents = QStringLiteral("e\u0301").repeated(15);
  struct Case {
    const char* what;
    QString line;
    double width;
    QStringList rows;  // empty: only the general checks
  } cases[] = {
      {"comment of 121 digits, nowhere to cut",
       "'" + digits,
       20,
       {"'0123456789012345678", "90123456789012345678", "90123456789012345678",
        "90123456789012345678", "90123456789012345678", "90123456789012345678", "9"}},
      {"statement cut after its operators",
       "\ta=1+2+3+4+5+6+7+8+9+10+11",
       20,
       {"\ta=1+2+3+4+5+6+7+", "8+9+10+11"}},
      {"cut after the blank, not inside the word",
       "\t' alpha beta gamma delta",
       20,
       {"\t' alpha beta ", "gamma delta"}},
      {"ten tabs: b on the third row",
       "\t'a" + QString(10, QLatin1Char('\t')) + "b",
       20,
       {"\t'a\t\t\t\t", "\t\t\t\t", "\t\tb"}},
      {"accented letters stay whole", accents, 20, {accents.left(20), accents.mid(20)}},
      {"a = 1+2+...+30", sum, 20, {}},
      {"paper narrower than a character", "\tab\tc", 0.5, {"\t", "a", "b", "\t", "c"}},
      {"an empty line is one row", "", 20, {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PrintMetrics m = UnitPaper(c.width);
    const std::vector<PrintPage> pages = LayOutPrintLines({"x", c.line, "x"}, m);
    ASSERT_EQ(pages.size(), 1u);
    const PrintPage& page = pages[0];
    ASSERT_GE(page.size(), 3u);
    QStringList rows;
    QString joined;
    for (size_t i = 1; i + 1 < page.size(); ++i) {
      const PrintRow& r = page[i];
      EXPECT_EQ(r.row, static_cast<int>(i));  // one row after the other
      EXPECT_DOUBLE_EQ(r.x, i == 1 ? 0 : (c.line.startsWith('\t') ? 4 : 0));
      // Inside the width, unless a single character is wider than the paper.
      if (r.text.size() > 1) {
        EXPECT_LE(UnitRowEnd(r.x, r.text), c.width) << r.text.toStdString();
      }
      EXPECT_FALSE(!r.text.isEmpty() && r.text[0].isMark()) << "cut inside a character";
      rows << r.text;
      joined += r.text;
    }
    EXPECT_EQ(joined, c.line);
    if (!c.rows.isEmpty()) {
      EXPECT_EQ(rows, c.rows);
    }
    // Every row but the last is cut after an operator or a blank when its last half holds one.
    for (qsizetype i = 0; i + 1 < rows.size(); ++i) {
      const QString& r = rows[i];
      const bool canCut = std::any_of(r.begin() + r.size() / 2, r.end(), [](QChar ch) {
        return QStringLiteral(" +-*/^=,;:)]}>").contains(ch);
      });
      if (canCut && c.width >= 1) {
        EXPECT_TRUE(QStringLiteral(" \t+-*/^=,;:)]}>").contains(r.back())) << r.toStdString();
      }
    }
  }
}

// The blanks and tabs that close a line print nothing: where they do not fit in the line's last
// row they are left out rather than printed as an empty row between two lines.
TEST(WorksheetPrint, ClosingBlanksOfAWrappedLineTakeNoRow) {
  const QString digits = QStringLiteral("0123456789");
  struct Case {
    const char* what;
    QString line;
    QStringList rows;
  } cases[] = {
      {"a comment and ten blanks",
       "\t' alpha beta gamma delta" + QString(10, ' '),
       {"\t' alpha beta ", "gamma delta     "}},
      {"a full row and a tab",
       "'" + digits + digits.left(9) + "\t",
       {"'" + digits + digits.left(9)}},
      {"a statement, blanks, a tab and blanks",
       "\ta=1+2+3+4+5+6+7+8+9+10+11" + QString(9, ' ') + "\t  ",
       {"\ta=1+2+3+4+5+6+7+", "8+9+10+11       "}},
      {"a blank line wider than the paper", QString(45, ' '), {QString(20, ' ')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<PrintPage> pages = LayOutPrintLines({"x", c.line, "x"}, UnitPaper());
    ASSERT_EQ(pages.size(), 1u);
    QStringList rows;
    for (size_t i = 0; i < pages[0].size(); ++i) {
      EXPECT_EQ(pages[0][i].row, static_cast<int>(i));
      rows << pages[0][i].text;
    }
    EXPECT_EQ(rows, QStringList{"x"} + c.rows + QStringList{"x"});
  }
}

// Rows are counted 58 to the page on this paper; a page is not started for blank rows alone, nor by
// a page break that only blank rows follow.
TEST(WorksheetPrint, PagesHoldRowsAndNoPageOfBlanksAlone) {
  const auto text = [](int n) {
    QStringList l;
    for (int i = 1; i <= n; ++i) l << QStringLiteral("\tline %1").arg(i);
    return l;
  };
  const QStringList blanks3 = {" ", "", "\t"};
  struct Case {
    const char* what;
    QStringList lines;
    std::vector<int> rowsPerPage;  // rows placed on each page
    std::vector<int> textRow;      // the row of the first line that holds more than blanks
  } cases[] = {
      {"a full page, then blank rows", text(58) + blanks3, {58}, {0}},
      {"one more printed row starts page 2", text(58) + blanks3 + text(1), {58, 4}, {0, 3}},
      {"a page break with only blanks after it",
       text(3) + QStringList{kNewPageMark} + blanks3,
       {3},
       {0}},
      {"a page break, blanks, a page break, text",
       text(3) + QStringList{kNewPageMark} + blanks3 + QStringList{kNewPageMark} + text(2),
       {3, 2},
       {0, 0}},
      {"blank rows filling a page are not a page",
       text(1) + QStringList{kNewPageMark} + QStringList(60, " ") + text(1),
       {1, 3},
       {0, 2}},
      {"a wrapped line crossing the page end",
       text(57) + QStringList{"\t" + QString(30, 'w')},
       {58, 1},
       {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<PrintPage> pages = LayOutPrintLines(c.lines, UnitPaper());
    ASSERT_EQ(pages.size(), c.rowsPerPage.size());
    for (size_t p = 0; p < pages.size(); ++p) {
      EXPECT_EQ(static_cast<int>(pages[p].size()), c.rowsPerPage[p]) << "page " << p + 1;
      ASSERT_FALSE(pages[p].empty());
      EXPECT_EQ(pages[p].back().row, c.rowsPerPage[p] - 1);
      const auto printed = std::find_if(pages[p].begin(), pages[p].end(), [](const PrintRow& r) {
        return !r.text.trimmed().isEmpty();
      });
      ASSERT_NE(printed, pages[p].end());
      EXPECT_EQ(printed->row, c.textRow[p]);
    }
  }
}

}  // namespace
}  // namespace ws::testing
