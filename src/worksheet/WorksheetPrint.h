// The printed worksheet: the lines of one copy (header, worksheet lines, constants, functions,
// vectors) composed from the worksheet tables, and the page-length estimate that decides whether
// the results start on a new page. Rendering them on a printer is the window's part.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

namespace ws {

// A line that is exactly this starts a new page.
inline const QString kNewPageMark = QStringLiteral("\f");

// The results start on a new page when the line estimate reaches the threshold for the font size
// (whole points) and orientation; a size without a threshold always starts a new page.
bool ResultsOnNewPage(int fontSize, int lineEstimate, bool landscape);

// ConstCount + CurrentStmtNo + FuncCount + 2 VecCount + 10.
int PrintLineEstimate();

// The worksheet lines as printed: the editor text split at its line ends (a final line end does
// not start one more line), each line behind a Tab.
QStringList WorksheetPrintLines(const QString& editorText);

// The results part: constants, functions (vector components left out) and vectors, each line
// behind a Tab, at digits significant digits. undefined[i], when given and true, marks function i
// as not evaluated in the last run: its value prints as "undefined".
QStringList ResultPrintLines(int digits, const std::vector<bool>* undefined = nullptr);

// One copy: four blank lines, "Work File: " and the caption, two blank lines, the worksheet
// lines, a new-page mark when newPage is set, then the results.
QStringList ComposeWorksheetCopy(const QString& caption, const QString& editorText, bool newPage,
                                 int digits, const std::vector<bool>* undefined = nullptr);

// The paper as the layout sees it, in device units: the printable width and height, the height of
// one row, the distance between tab stops (a line's leading Tab is its first stop, so continued
// rows start there too), and the advance of a piece of text without tabs in the printer font.
struct PrintMetrics {
  double pageWidth = 0;
  double pageHeight = 0;
  double lineHeight = 1;
  double tabStop = 1;
  std::function<double(QStringView)> advance;
};

// A piece of a row without tabs and where it starts.
struct PrintPiece {
  double x = 0;
  QString text;
};

// One printed row: its number on the page (0 the top row), where its text starts and the text,
// which may hold tabs; the tabs go to the next stop counted from the left edge of the paper.
struct PrintRow {
  int row = 0;
  double x = 0;
  QString text;
};
using PrintPage = std::vector<PrintRow>;

// The pieces of a row's text between its tabs, each placed after the tab stop before it.
std::vector<PrintPiece> RowPieces(double x, QStringView text, const PrintMetrics& m);

// Lays the lines out on pages. A line wider than the paper is wrapped: it is cut after a blank or
// an operator in the last half of the row where there is one, else after the last character that
// fits, and goes on in the next row at the line's indent; a continued row counts as a row, and the
// blanks and tabs that close a wrapped line take none. A page is full when one more row would pass
// its height, and a new-page mark starts a new page. Rows that only hold blanks start no page of
// their own: rows and page breaks with nothing printed after them are left out. Every page holds
// at least one row, even on paper smaller than a row.
std::vector<PrintPage> LayOutPrintLines(const QStringList& lines, const PrintMetrics& m);

}  // namespace ws
