#include "commands/WorksheetRun.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "commands/ExecuteCommands.h"
#include "commands/ProgramState.h"
#include "language/ClearStorage.h"
#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/Settings.h"
#include "language/Simplify.h"
#include "language/StatementCheck.h"
#include "language/Tokens.h"
#include "language/WorksheetReader.h"
#include "language/WorksheetTables.h"
#include "mathematics/Classify.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Evaluator.h"
#include "mathematics/VectorOperations.h"
#include "platform/runtime/FormatSignificant.h"
#include "plotting/PlotRequest.h"

namespace ms {

namespace {

using rt::IsDigit;
using rt::IsLower;

rt::Text ShownName(const rt::Text& name) {
  if (name.size() >= 2 && name[1] == u'_') return name.substr(0, 1);
  return name;
}

rt::Text WithoutUnderscores(rt::Text s) {
  std::erase(s, u'_');
  return s;
}

// The value of a named constant's value text, as the parameter set reads it.
bool ConstantValue(const rt::Text& name, double& value) {
  const int count = std::clamp<int>(Tables.ConstCount, 0, ms::kMaxConstants);
  for (int i = 1; i <= count; ++i) {
    if (Tables.ConstTable[i].Name != name) continue;
    rt::Text text;
    Simplify(Tables.ConstTable[i].ValueText, u"[2,2,2]", text);
    if (!text.empty() && text.front() == u'(') {
      text = text.size() >= 2 ? text.substr(1, text.size() - 2) : rt::Text();
    }
    value = rt::Val(text);
    return true;
  }
  return false;
}

// The FuncTable index of a function, or 0 when there is none.
int16_t FunctionIndex(const rt::Text& name) {
  rt::Text firstParm;
  int16_t index = 0;
  int16_t msgNo = 0;
  msgNo = FindFunction(name, firstParm, index);
  if (msgNo != 0 || index < 1 || index > std::min<int>(Tables.FuncCount, ms::kMaxFunctions)) {
    return 0;
  }
  return index;
}

// One statement the reader yielded: checked and stored, classified (and the command it names run),
// then the function table compiled. Returns true when the reading must stop (an error, or an abort
// when abortable).
bool ProcessStatement(rt::Text statement, bool abortable, rt::Text& stmtText, int16_t& msgNo) {
  msgNo = CheckStatementSyntax(statement, stmtText);
  if (msgNo != 0) return true;
  // Go on with the text the checker stored (blanks removed, built-in names tokenised).
  const int16_t last = Tables.StatementCount;
  if (last >= 1 && last <= kMaxStatements) statement = Tables.StatementList[last].Text;
  msgNo = ClassifyAndRun(statement);
  if (msgNo != 0) {
    stmtText = statement;
    return true;
  }
  // A statement can take a good part of a second (a long one compiles the whole table again):
  // events run after every one, so that Esc is seen between any two.
  if (PollAbort(kStepsPerEvents) && abortable) return true;
  // The compiler reports the offending text of a few messages in its argument; the statement the
  // error box shows stays the one being read.
  rt::Text compiled;
  msgNo = CompileFunctions(compiled);
  if (msgNo != 0) {
    stmtText = statement;
    return true;
  }
  ++Tables.CurrentStmtNo;
  return false;
}

}  // namespace

int16_t ProcessWorksheet(const rt::Text& worksheet, rt::Text& stmtText) {
  WorksheetStatements reader(worksheet);
  rt::Text statement;
  bool abortable = false;
  int16_t msgNo = 0;
  while (reader.Next(statement, abortable)) {
    if (ProcessStatement(statement, abortable, stmtText, msgNo)) return msgNo;
  }
  stmtText = reader.StmtText();
  return reader.MsgNo();
}

int16_t SetUpParm(const rt::Text& stmt) {
  int16_t msgNo = 0;
  const long len = static_cast<long>(stmt.size());
  auto at = [&](long pos) -> char16_t { return pos >= 1 && pos <= len ? stmt[pos - 1] : 0; };
  long p = 2;
  for (;;) {
    const char16_t name = at(p);
    if (!IsLower(name)) {
      return kMsgParmFormat;
    }
    const int32_t entry = AppendValue(rt::Text(1, name), 0.0, msgNo);
    if (msgNo != 0) return msgNo;
    if (p + 1 >= len || at(p + 1) != u'=') {
      return kMsgParmFormat;
    }
    long q = p + 2;
    if (q >= len || at(q) == u',') {
      return kMsgParmFormat;
    }
    rt::Text valueText;
    while (at(q) != u'>' && at(q) != u';' && q < len) {
      if (at(q) == u',') {
        return kMsgParmFormat;
      }
      valueText.push_back(at(q));
      ++q;
    }
    const char16_t terminator = at(q);
    if (terminator != u';' && terminator != u'>') {
      return kMsgParmFormat;
    }
    double value = 0;
    if (rt::IsNumeric(valueText)) {
      value = rt::Val(valueText);
    } else {
      bool negative = false;
      if (!valueText.empty() && valueText.front() == u'-') {
        negative = true;
        valueText.erase(0, 1);
      }
      if (valueText.size() == 1 && IsLower(valueText[0])) {
        valueText += u'_';
      } else if (valueText.size() >= 2 && IsLower(valueText[0]) &&
                 !(IsLower(valueText[1]) || IsDigit(valueText[1]) || valueText[1] == u'_')) {
        return kMsgParmFormat;
      }
      if (!ConstantValue(valueText, value)) {
        return kMsgParmNotConstant;
      }
      if (negative) value = -value;
    }
    Tables.ValueList[static_cast<size_t>(entry)].Value = value;
    if (terminator == u'>') {
      return 0;
    }
    p = q + 1;
    if (p >= len) {
      return kMsgParmFormat;
    }
  }
}

int16_t FindParameterStatement() {
  const int count = std::clamp<int>(Tables.StatementCount, 0, ms::kMaxStatements);
  for (int k = 1; k <= count; ++k) {
    const rt::Text& text = Tables.StatementList[k].Text;
    if (!text.empty() && text.front() == u'<') return static_cast<int16_t>(k);
  }
  return 0;
}

int16_t AppendEndMark() {
  int16_t msgNo = 0;
  AppendValue(u"#", 0.0, msgNo);
  return msgNo;
}

rt::Text ListedValue(int i, int digits, const std::vector<bool>* undefined) {
  const bool failed = undefined && i >= 0 && i < static_cast<int>(undefined->size()) &&
                      (*undefined)[static_cast<size_t>(i)];
  return failed ? rt::Text(u"undefined")
                : rt::FormatSignificant(Tables.FuncTable[i].Value, static_cast<int16_t>(digits));
}

rt::Text ShownConstantValue(int i) {
  const ConstRec& c = Tables.ConstTable[static_cast<size_t>(i)];
  return c.NotComputed ? rt::Text(u"not computed") : c.ValueText;
}

std::vector<rt::Text> ResultsListing(int digits, const std::vector<bool>* undefined) {
  const WorksheetTables& t = Tables;
  std::vector<rt::Text> lines;
  RestartAbortPoll();
  lines.push_back(u" - - - - - - - - - Constants - - - - - - - - -");
  const int constCount = std::clamp<int>(t.ConstCount, 0, ms::kMaxConstants);
  for (int i = 1; i <= constCount; ++i) {
    if (PollAbort()) return lines;
    const ConstRec& c = t.ConstTable[i];
    const rt::Text n = ShownName(c.Name);
    lines.push_back(DetokenizeForDisplay(n + u" = " + c.Expr));
    lines.push_back(DetokenizeForDisplay(n + u" = " + ShownConstantValue(i)));
  }
  lines.push_back(u" - - - - - - Expanded Functions - - - - - - - -");
  const int funcCount = std::clamp<int>(t.FuncCount, 0, ms::kMaxFunctions);
  for (int i = 1; i <= funcCount; ++i) {
    if (PollAbort()) return lines;
    const FuncRec& f = t.FuncTable[i];
    const rt::Text e = DetokenizeForDisplay(WithoutUnderscores(f.Expr));
    const rt::Text n =
        (f.Name.size() >= 2 && f.Name[1] == u'_') ? f.Name.substr(0, 1) : f.Name.substr(0, 2);
    const rt::Text v = ListedValue(i, digits, undefined);
    if (n.size() == 1) {
      lines.push_back(n + u":  " + e);
      lines.push_back(n + u" :  " + v);
    } else if (n.size() == 2 && !IsDigit(n[1])) {
      lines.push_back(n + u":  " + e);
      lines.push_back(n + u" : " + v);
    }
  }
  lines.push_back(u" ");
  lines.push_back(u" - - - - - - Vectors Functions - - - - - - - - -");
  const int vecCount = std::clamp<int>(t.VecCount, 0, ms::kMaxVectors);
  for (int i = 1; i <= vecCount; ++i) {
    if (PollAbort()) return lines;
    const VecRec& v = t.VecTable[i];
    const rt::Text n = ShownName(v.Name);
    const rt::Text def = DetokenizeForDisplay(v.DefText);
    if (!def.empty() && def.front() == u'v') lines.push_back(n + u"<" + v.Parm + u"> = " + def);
    lines.push_back(n + u": <" + DetokenizeForDisplay(v.XExpr) + u"  ,  " +
                    DetokenizeForDisplay(v.YExpr) + u"  ,  " + DetokenizeForDisplay(v.ZExpr) +
                    u" >");
    const int16_t x = FunctionIndex(v.XFuncName);
    const int16_t y = FunctionIndex(v.YFuncName);
    const int16_t z = FunctionIndex(v.ZFuncName);
    if (x != 0 && y != 0 && z != 0) {
      lines.push_back(n + u": <" + ListedValue(x, digits, undefined) + u"  ,  " +
                      ListedValue(y, digits, undefined) + u"  ,  " +
                      ListedValue(z, digits, undefined) + u" >");
    }
    lines.push_back(u" ");
  }
  return lines;
}

int16_t CheckPlotVectors() {
  PlotRequestData& plot = PlotRequest;
  const int count = plot.PlotVectorCount;
  if (count < 0 || count > ms::kMaxPlotCurves || count > ms::kMaxPlotVectors) {
    return kMsgPlotVectorUnknown;
  }
  for (int k = 1; k <= count; ++k) {
    int16_t vec = 0;
    const int16_t msgNo = FindVector(plot.PlotVectorList[k], vec);
    if (msgNo != 0 || vec < 1 || vec > std::min<int>(Tables.VecCount, ms::kMaxVectors)) {
      return kMsgPlotVectorUnknown;
    }
    const VecRec& v = Tables.VecTable[vec];
    const int16_t ids[3] = {FunctionIndex(v.XFuncName), FunctionIndex(v.YFuncName),
                            FunctionIndex(v.ZFuncName)};
    for (int c = 0; c < 3; ++c) {
      if (ids[c] == 0) {
        return kMsgPlotVectorUnknown;
      }
      plot.PlotSpec[static_cast<size_t>(3 * (k - 1) + c)] = ids[c];
    }
  }
  return 0;
}

ExecuteOutcome RunExecute(rt::Text sheet, const std::function<void()>& worksheetRead) {
  ExecuteOutcome out;
  ClearAll();
  ClearRequestsForExecute();
  PlotRequest.PlotVectorCount = 0;
  PlotRequest.PlotSelect.fill(0);
  for (int k = 1; k <= kPlotColorCount; ++k) Settings.PlotColor[k] = 0;
  // Every run numbers its component functions from 1 again: a counter that kept growing would
  // make an unchanged worksheet fail after some tens of runs.
  VectorStacks.ComponentFuncCounter = 0;
  ClearResultsList();
  WorksheetSignals.GraphAvailable.reset();
  RunFlags.AbortRun = 0;

  // The reader takes only statements ended by a line break or ":"; a last line the user did not end
  // with Enter is part of the worksheet all the same, so it gets its line break here.
  if (!sheet.empty() && sheet.back() != u'\n' && sheet.back() != u':') sheet += u"\r\n";
  out.msgNo = ProcessWorksheet(sheet, out.stmtText);
  if (worksheetRead) worksheetRead();
  if (out.msgNo != 0) {
    out.stmtNo = Tables.CurrentStmtNo;
    return out;
  }
  if (RunFlags.AbortRun != 0) {
    out.aborted = true;
    RunFlags.AbortRun = 0;
    return out;
  }
  out.stmtText.clear();
  out.graphReady = AnyCommandRequested(true);

  const int16_t parm = FindParameterStatement();
  if (parm != 0) {
    // Errors of the parameter set and of the evaluation name the "<" statement: its number and
    // its text.
    const StatementRec& stmt = Tables.StatementList[parm];
    const auto stopAt = [&](ExecuteStage stage) {
      out.stage = stage;
      out.stmtNo = stmt.StmtNo;
      out.stmtText = stmt.Text;
      return out;
    };
    out.msgNo = SetUpParm(stmt.Text);
    if (out.msgNo != 0) return stopAt(ExecuteStage::kParameters);
    // A function whose evaluation fails keeps its record's value; mark every value first so that
    // the listing can say which were not evaluated instead of showing a stale number.
    const int funcCount = std::clamp<int>(Tables.FuncCount, 0, kMaxFunctions);
    constexpr double kNotEvaluated = std::numeric_limits<double>::quiet_NaN();
    for (int i = 1; i <= funcCount; ++i) Tables.FuncTable[i].Value = kNotEvaluated;
    out.msgNo = EvaluateFunctions();
    out.undefinedFunctions.assign(static_cast<size_t>(funcCount) + 1, false);
    for (int i = 1; i <= funcCount; ++i) {
      if (std::isnan(Tables.FuncTable[i].Value)) {
        out.undefinedFunctions[static_cast<size_t>(i)] = true;
        Tables.FuncTable[i].Value = 0;
      }
    }
    if (out.msgNo != 0) return stopAt(ExecuteStage::kEvaluation);
    out.evaluated = true;
  }

  out.msgNo = AppendEndMark();
  if (out.msgNo != 0) {
    out.stage = ExecuteStage::kEndMark;
    out.stmtNo = Tables.CurrentStmtNo;
    return out;
  }
  out.stage = ExecuteStage::kDone;
  return out;
}

}  // namespace ms
