#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "support/ResultTables.h"
#include "worksheet/WorksheetPrint.h"

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

}  // namespace
}  // namespace ws::testing
