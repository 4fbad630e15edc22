#include "worksheet/WorksheetPrint.h"

#include <algorithm>

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

}  // namespace ws
