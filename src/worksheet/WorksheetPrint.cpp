#include "worksheet/WorksheetPrint.h"

#include <algorithm>
#include <cmath>

#include "commands/WorksheetRun.h"
#include "language/CommandArguments.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "platform/runtime/FormatSignificant.h"
#include "platform/ui/QtUiServices.h"

namespace ws {

namespace {

const QString kTab = QStringLiteral("\t");

// Page thresholds by font size: portrait, landscape.
struct PageThreshold {
  int fontSize;
  int portrait;
  int landscape;
};
constexpr PageThreshold kThresholds[] = {{8, 74, 57}, {10, 59, 48}, {12, 48, 36}, {14, 40, 30}};

// A stored identifier as shown: a one-letter name is stored with a trailing "_".
rt::Text ShownName(const rt::Text& name) {
  if (name.size() >= 2 && name[1] == u'_') return name.substr(0, 1);
  return name;
}

QString Display(const rt::Text& text) {
  return ui::ToQString(ms::DetokenizeForDisplay(text));
}

rt::Text WithoutUnderscores(rt::Text s) {
  std::erase(s, u'_');
  return s;
}

using rt::IsDigit;

// The value of a vector's component function at digits significant digits, read back as a number
// and written in the general number form; false when the function does not exist.
bool ComponentValue(const rt::Text& funcName, int digits, const std::vector<bool>* undefined,
                    QString& out) {
  rt::Text firstParm;
  int16_t index = 0;
  int16_t msgNo = 0;
  msgNo = ms::FindFunction(funcName, firstParm, index);
  if (msgNo != 0 || index < 1 || index > ms::Tables.FuncCount) return false;
  const rt::Text listed = ms::ListedValue(index, digits, undefined);
  out = ui::ToQString(listed == u"undefined" ? listed : rt::NumText(rt::Val(listed)));
  return true;
}

}  // namespace

bool ResultsOnNewPage(int fontSize, int lineEstimate, bool landscape) {
  for (const PageThreshold& t : kThresholds) {
    if (t.fontSize == fontSize) return lineEstimate >= (landscape ? t.landscape : t.portrait);
  }
  return true;
}

int PrintLineEstimate() {
  const ms::WorksheetTables& t = ms::Tables;
  return t.ConstCount + t.CurrentStmtNo + t.FuncCount + 2 * t.VecCount + 10;
}

QStringList WorksheetPrintLines(const QString& editorText) {
  QStringList lines;
  if (editorText.isEmpty()) return lines;
  QStringList pieces = editorText.split(QLatin1Char('\n'));
  if (editorText.endsWith(QLatin1Char('\n'))) pieces.removeLast();
  for (const QString& piece : pieces) lines << kTab + piece;
  return lines;
}

QStringList ResultPrintLines(int digits, const std::vector<bool>* undefined) {
  const ms::WorksheetTables& t = ms::Tables;
  QStringList lines;
  const int constCount = std::clamp<int>(t.ConstCount, 0, ms::kMaxConstants);
  for (int i = 1; i <= constCount; ++i) {
    const ms::ConstRec& c = t.ConstTable[i];
    const rt::Text n = ShownName(c.Name);
    lines << kTab + Display(n + u" = " + c.Expr);
    lines << kTab + Display(n + u" = " + ms::ShownConstantValue(i));
  }
  lines << QString();

  const int funcCount = std::clamp<int>(t.FuncCount, 0, ms::kMaxFunctions);
  for (int i = 1; i <= funcCount; ++i) {
    const ms::FuncRec& f = t.FuncTable[i];
    const rt::Text& name = f.Name;
    // Vector component functions ("X", "Y" or "Z" and a number) are printed with their vector.
    if (name.size() >= 2 && (name[0] == u'X' || name[0] == u'Y' || name[0] == u'Z') &&
        IsDigit(name[1])) {
      continue;
    }
    const rt::Text n =
        (name.size() >= 2 && name[1] == u'_') ? name.substr(0, 1) : name.substr(0, 2);
    if (n.size() == 2 && IsDigit(n[1])) {
      lines << QStringLiteral(" ");
      continue;
    }
    rt::Text header = n + u"{" + f.Parm1;
    for (const rt::Text* p : {&f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5}) {
      if (!p->empty()) header += u"," + *p;
    }
    header += u"}=";
    const QString h = ui::ToQString(header);
    lines << kTab + h + Display(WithoutUnderscores(f.Expr));
    lines << kTab + h + ui::ToQString(ms::ListedValue(i, digits, undefined));
    lines << QStringLiteral(" ");
  }
  lines << QStringLiteral(" ") << QString();

  const int vecCount = std::clamp<int>(t.VecCount, 0, ms::kMaxVectors);
  for (int i = 1; i <= vecCount; ++i) {
    const ms::VecRec& v = t.VecTable[i];
    const QString n = ui::ToQString(ShownName(v.Name));
    const QString head = n + QLatin1Char('<') + ui::ToQString(v.Parm) + QStringLiteral("> = ");
    const QString d = Display(v.DefText);
    if (d.startsWith(QLatin1Char('v'))) lines << kTab + head + d;
    lines << kTab + head + QLatin1Char('<') + Display(v.XExpr) + QStringLiteral(" , ") +
                 Display(v.YExpr) + QStringLiteral(" , ") + Display(v.ZExpr) + QLatin1Char('>');
    QString x, y, z;
    // A vector whose component functions are missing (after an aborted run) prints no values.
    if (ComponentValue(v.XFuncName, digits, undefined, x) &&
        ComponentValue(v.YFuncName, digits, undefined, y) &&
        ComponentValue(v.ZFuncName, digits, undefined, z)) {
      lines << kTab + head + QLatin1Char('<') + x + QStringLiteral("  ,  ") + y +
                   QStringLiteral("  ,  ") + z + QStringLiteral(" >");
    }
    lines << QStringLiteral(" ");
  }
  return lines;
}

QStringList ComposeWorksheetCopy(const QString& caption, const QString& editorText, bool newPage,
                                 int digits, const std::vector<bool>* undefined) {
  QStringList lines;
  for (int i = 0; i < 4; ++i) lines << QStringLiteral(" ");
  lines << kTab + QStringLiteral("Work File: ") + caption + QStringLiteral("  ");
  lines << QStringLiteral(" ") << QStringLiteral(" ");
  lines << WorksheetPrintLines(editorText);
  if (newPage) lines << kNewPageMark;
  lines << ResultPrintLines(digits, undefined);
  return lines;
}

namespace {

// Device units below which two positions count as the same (rounding in the font metrics).
constexpr double kSlack = 1e-6;

double NextTabStop(double x, const PrintMetrics& m) {
  const double stop = m.tabStop > 0 ? m.tabStop : 1.0;
  return (std::floor(x / stop + kSlack) + 1.0) * stop;
}

bool IsBlankRow(QStringView text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); });
}

// A row is best cut after one of these: the blank or operator stays at the end of the row.
bool IsBreakAfter(QChar c) {
  return QStringView(u" \t+-*/^=,;:)]}>").contains(c);
}

// The end of the character that starts at i: a surrogate pair and the combining marks after it
// stay together, so a row is never cut inside a character.
qsizetype CharEnd(QStringView s, qsizetype i) {
  qsizetype j = i + 1;
  if (s[i].isHighSurrogate() && j < s.size() && s[j].isLowSurrogate()) ++j;
  while (j < s.size()) {
    char32_t c = s[j].unicode();
    qsizetype len = 1;
    if (s[j].isHighSurrogate() && j + 1 < s.size() && s[j + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(s[j], s[j + 1]);
      len = 2;
    }
    if (!QChar::isMark(c)) break;
    j += len;
  }
  return j;
}

// Places the pieces of a row's text between its tabs, started at x; returns where the row ends (a
// final tab reaches its stop).
double PlacePieces(double x, QStringView text, const PrintMetrics& m,
                   std::vector<PrintPiece>* pieces) {
  double pos = x;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != QLatin1Char('\t')) continue;
    if (i > start) {
      PrintPiece piece{pos, text.mid(start, i - start).toString()};
      pos += m.advance(piece.text);
      if (pieces) pieces->push_back(std::move(piece));
    }
    if (i < text.size()) pos = NextTabStop(pos, m);
    start = i + 1;
  }
  return pos;
}

}  // namespace

std::vector<PrintPiece> RowPieces(double x, QStringView text, const PrintMetrics& m) {
  std::vector<PrintPiece> pieces;
  PlacePieces(x, text, m, &pieces);
  return pieces;
}

namespace {

// Splits one line into the rows it takes: each row's start and text. A line that starts with a
// Tab goes on at the first tab stop, any other at the left edge.
std::vector<PrintRow> WrapLine(const QString& line, const PrintMetrics& m) {
  std::vector<PrintRow> rows;
  const QStringView all(line);
  const qsizetype n = all.size();
  const double indent = line.startsWith(QLatin1Char('\t')) ? NextTabStop(0, m) : 0.0;
  double x = 0;
  qsizetype p = 0;
  std::vector<qsizetype> ends;  // the character ends of the row being built
  do {
    // Characters are taken one at a time while they fit by their own advances; the row as a whole
    // is then measured, since the font may set neighbours closer or wider than alone.
    ends.clear();
    double pos = x;
    for (qsizetype q = p; q < n;) {
      const qsizetype e = all[q] == QLatin1Char('\t') ? q + 1 : CharEnd(all, q);
      pos = all[q] == QLatin1Char('\t') ? NextTabStop(pos, m) : pos + m.advance(all.mid(q, e - q));
      if (pos > m.pageWidth + kSlack && !ends.empty()) break;
      ends.push_back(e);
      q = e;
    }
    while (ends.size() > 1 &&
           PlacePieces(x, all.mid(p, ends.back() - p), m, nullptr) > m.pageWidth + kSlack) {
      ends.pop_back();
    }
    qsizetype k = ends.empty() ? n : ends.back();
    if (k < n) {
      // Cut after a blank or an operator in the last half of the row, where there is one.
      for (size_t j = ends.size(); j >= 1 && j > ends.size() / 2; --j) {
        const qsizetype at = ends[j - 1];
        if (IsBreakAfter(all[at - 1])) {
          k = at;
          break;
        }
      }
    }
    rows.push_back(PrintRow{0, x, all.mid(p, k - p).toString()});
    p = k;
    x = indent;
    // Blanks and tabs that close the line print nothing: they take no row of their own.
  } while (p < n && !IsBlankRow(all.mid(p)));
  return rows;
}

}  // namespace

std::vector<PrintPage> LayOutPrintLines(const QStringList& lines, const PrintMetrics& m) {
  std::vector<PrintPage> pages(1);
  int row = 0;               // the next row of the page
  bool pageHasText = false;  // a row of the page holds more than blanks
  const double height = m.pageHeight + kSlack;
  // Blank rows and page breaks wait until something is printed after them.
  struct Waiting {
    bool pageBreak;
    PrintRow row;
  };
  std::vector<Waiting> waiting;

  const auto place = [&](PrintRow r) {
    if (row > 0 && (row + 1) * m.lineHeight > height) {
      // A page that holds only blanks is not started: the rows go on at its top instead.
      if (pageHasText) pages.emplace_back();
      pages.back().clear();
      row = 0;
      pageHasText = false;
    }
    r.row = row++;
    pages.back().push_back(std::move(r));
  };

  for (const QString& line : lines) {
    if (line == kNewPageMark) {
      waiting.push_back(Waiting{true, {}});
      continue;
    }
    for (PrintRow& r : WrapLine(line, m)) {
      if (IsBlankRow(r.text)) {
        waiting.push_back(Waiting{false, std::move(r)});
        continue;
      }
      for (Waiting& w : waiting) {
        if (!w.pageBreak) {
          place(std::move(w.row));
        } else {
          if (pageHasText) pages.emplace_back();
          pages.back().clear();
          row = 0;
          pageHasText = false;
        }
      }
      waiting.clear();
      place(std::move(r));
      pageHasText = true;
    }
  }
  return pages;
}

}  // namespace ws
