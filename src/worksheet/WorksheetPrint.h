// The printed worksheet: the lines of one copy (header, worksheet lines, constants, functions,
// vectors) composed from the worksheet tables, and the page-length estimate that decides whether
// the results start on a new page. Rendering them on a printer is the window's part.
#pragma once

#include <QString>
#include <QStringList>
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

}  // namespace ws
