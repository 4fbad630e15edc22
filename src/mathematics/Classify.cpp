#include "mathematics/Classify.h"

#include <algorithm>

#include "language/CommandRequests.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Constants.h"
#include "mathematics/Definitions.h"
#include "mathematics/VectorOperations.h"

namespace ms {

WorksheetSignalState WorksheetSignals;

namespace {

// The commands the graph window runs when it builds its picture: classification only files the
// statement. Their names cannot begin one another, so the order of the rows does not matter.
struct DeferredCommand {
  const char16_t* name;
  const char16_t* lowerName;
  int16_t CommandRequestState::*requested;
  rt::Text CommandRequestState::*statement;
};
constexpr DeferredCommand kDeferredCommands[] = {
    {u"PlotSlopeField[", u"plotslopefield[", &CommandRequestState::SlopeFieldRequested,
     &CommandRequestState::SlopeFieldStmt},
    {u"PlotDirField[", u"plotdirfield[", &CommandRequestState::DirFieldRequested,
     &CommandRequestState::DirFieldStmt},
    {u"IVP[", u"ivp[", &CommandRequestState::IVPRequested, &CommandRequestState::IVPStmt},
    {u"BVP[", u"bvp[", &CommandRequestState::BVPRequested, &CommandRequestState::BVPStmt},
    {u"PlotField3D[", u"plotfield3d[", &CommandRequestState::Field3DRequested,
     &CommandRequestState::Field3DStmt},
};

bool TextAt(const rt::Text& s, long p, const char16_t* a, const char16_t* b) {
  const rt::Text part = rt::Mid(s, p, static_cast<long>(std::char_traits<char16_t>::length(a)));
  return part == a || part == b;
}

void SetGraphAvailable(bool available) {
  WorksheetSignals.GraphAvailable = available;
}

// Integ[ and dblInt[: files the statement in the next slot; the command, run next, appends the
// result constant.
Classification ProcessIntegral(const rt::Text& statement, bool single) {
  if (Requests.IntegStmtCount >= kMaxIntegStatements) {
    return {kMsgIntegralListFull};
  }
  ++Requests.IntegStmtCount;
  const int slot = Requests.IntegStmtCount - 1;
  if (single) {
    Requests.IntegStmts[slot] = statement;
    Requests.IntegRequested = -1;
  } else {
    Requests.DblIntStmts[slot] = statement;
  }
  return {0, single ? ImmediateCommand::Integ : ImmediateCommand::DblInt};
}

// Steps run after every definition, parameter set and empty text: every function body gains one
// pair of parentheses and the most recent vector is processed again.
int16_t ClosingSteps() {
  int16_t msgNo = 0;
  for (int k = 1; k <= Tables.FuncCount; ++k) {
    // In place: the compile takes the parentheses off again, so the text keeps its buffer.
    FuncRec& f = Tables.FuncTable[k];
    f.Expr.insert(f.Expr.begin(), u'(');
    f.Expr.push_back(u')');
    f.ExprWraps = f.ExprWraps == 0 ? 1 : -1;
  }
  if (Tables.VecCount >= 1) {
    VecRec& v = Tables.VecTable[Tables.VecCount];
    if (v.IsOperation) {
      msgNo = ExpandVectorExpr(v.Name);
    } else {
      msgNo = ProcessVectorDefinition(v);
    }
  }
  return msgNo;
}

// Number of parameters of a function header F_{x,...}= (1 to 5), 0 when no form matches.
int FunctionHeaderParameters(const rt::Text& s) {
  for (int k = 1; k <= 5; ++k) {
    bool ok = true;
    for (int j = 1; j <= k && ok; ++j) {
      ok = rt::CharIs(rt::CharAt(s, 2 + 2 * j), u"[a-z]");
      if (ok && j < k) ok = rt::CharAt(s, 3 + 2 * j) == u',';
    }
    if (ok && rt::CharAt(s, 3 + 2 * k) == u'}' && rt::CharAt(s, 4 + 2 * k) == u'=') return k;
  }
  return 0;
}

}  // namespace

int16_t ImmediateCommandDone(ImmediateCommand command, int16_t msgNo) {
  if (command == ImmediateCommand::Plot) {
    if (msgNo != 0) {
      SetGraphAvailable(false);
      return msgNo;
    }
    Requests.PlotRequested = -1;
    Tables.PlotPending = -1;
    SetGraphAvailable(true);
  } else if (command == ImmediateCommand::Zero && msgNo != 0) {
    SetGraphAvailable(false);
  }
  return msgNo;
}

DefinitionCounts CountDefinitions() {
  return {static_cast<int16_t>(std::clamp<int>(Tables.ConstCount, 0, kMaxConstants)),
          static_cast<int16_t>(std::clamp<int>(Tables.FuncCount, 0, kMaxFunctions)),
          static_cast<int16_t>(std::clamp<int>(Tables.VecCount, 0, kMaxVectors))};
}

namespace {

// Whether one of records from+1..to has the name of one of records 1..from (names taken by name).
template <typename Table, typename NameOf>
bool NameRepeated(const Table& table, int16_t from, int16_t to, NameOf name) {
  for (int16_t k = static_cast<int16_t>(from + 1); k <= to; ++k) {
    const rt::Text* n = name(table[static_cast<size_t>(k)]);
    if (n == nullptr) continue;
    for (int16_t j = 1; j <= from; ++j) {
      const rt::Text* earlier = name(table[static_cast<size_t>(j)]);
      if (earlier != nullptr && *earlier == *n) return true;
    }
  }
  return false;
}

}  // namespace

int16_t CheckDefinedOnce(const DefinitionCounts& before) {
  const DefinitionCounts now = CountDefinitions();
  const auto constant = [](const ConstRec& c) { return c.Name.empty() ? nullptr : &c.Name; };
  const auto function = [](const FuncRec& f) {
    const rt::Text& n = f.Name;
    const bool user = n.size() == 2 && rt::IsUpper(n[0]) && (rt::IsLower(n[1]) || n[1] == u'_');
    return user ? &n : nullptr;
  };
  const auto vector = [](const VecRec& v) { return v.Name.empty() ? nullptr : &v.Name; };
  if (NameRepeated(Tables.ConstTable, before.constants, now.constants, constant)) {
    return kMsgConstantDefinedTwice;
  }
  if (NameRepeated(Tables.FuncTable, before.functions, now.functions, function)) {
    return kMsgFunctionDefinedTwice;
  }
  if (NameRepeated(Tables.VecTable, before.vectors, now.vectors, vector)) {
    return kMsgVectorDefinedTwice;
  }
  return 0;
}

Classification ClassifyAndStore(rt::Text& statement) {
  int16_t msgNo = 0;
  if (!Tables.PlotPending) Requests.PlotRequested = 0;
  WorksheetSignals.ResultsListCleared = -1;
  const rt::Text& s = statement;

  if (TextAt(s, 1, u"Plot[", u"plot[")) return {0, ImmediateCommand::Plot};
  if (TextAt(s, 1, u"Zero[", u"zero[")) return {0, ImmediateCommand::Zero};
  for (const DeferredCommand& d : kDeferredCommands) {
    if (TextAt(s, 1, d.name, d.lowerName)) {
      Requests.*d.requested = -1;
      Requests.*d.statement = s;
      return {msgNo};
    }
  }
  if (TextAt(s, 4, u"Integ[", u"integ[") || TextAt(s, 3, u"Integ[", u"integ[")) {
    return ProcessIntegral(s, true);
  }
  if (TextAt(s, 4, u"dblInt[", u"dblint[") || TextAt(s, 3, u"dblInt[", u"dblint[")) {
    return ProcessIntegral(s, false);
  }
  if (TextAt(s, 1, u"PlotContour1[", u"plotcontour1[")) {
    Requests.ContourRequested = 0;
    Requests.Contour1Requested = -1;
    Requests.ContourAllQuadrants = 0;
    Requests.ContourStmt = s;
    return {msgNo};
  }
  if (TextAt(s, 1, u"PlotContour[", u"plotcontour[")) {
    Requests.ContourRequested = -1;
    Requests.Contour1Requested = 0;
    Requests.ContourAllQuadrants = -1;
    Requests.ContourStmt = s;
    return {msgNo};
  }

  // Definitions.
  rt::Text text;
  TokenizeNames(s, text);
  const char16_t c = rt::CharAt(text, 1);
  if (c == u'\0' || c == u'<') {
    // Empty text or the parameter set (Execute sets the parameters up from the statement list).
  } else if (rt::IsLower(c)) {
    rt::Text again;
    TokenizeNames(text, again);
    msgNo = ProcessConstantStatement(again);
    if (msgNo != 0) return {msgNo};
  } else if (rt::IsUpper(c)) {
    if (rt::CharAt(text, 3) == u'{') {
      const int k = FunctionHeaderParameters(text);
      if (k == 0) {
        return {305};
      }
      msgNo = StoreFunctionDefinition(text, k);
      if (msgNo != 0) return {msgNo};
    } else if (rt::CharAt(text, 3) == u'<') {
      if (!rt::CharIs(rt::CharAt(text, 4), u"[a-z]") || rt::Mid(text, 5, 2) != u">=") {
        return {306};
      }
      msgNo = StoreVectorDefinition(text);
      if (msgNo != 0) return {msgNo};
    } else {
      return {307};
    }
  } else {
    return {308};
  }
  return {ClosingSteps()};
}

}  // namespace ms
