#include "commands/ContourCommand.h"

#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "mathematics/Derivatives.h"
#include "plotting/Contour.h"

namespace ms {

namespace {

// Messages of the command.
constexpr int16_t kMsgKeyword = 1400;
constexpr int16_t kMsgTooShort = 1402;
constexpr int16_t kMsgNoBracket = 1404;
constexpr int16_t kMsgNoFunctionLetter = 1406;
constexpr int16_t kMsgNoComma = 1408;
constexpr int16_t kMsgNoRangeBrace = 1410;
constexpr int16_t kMsgContourFunctionNotFound = 1412;
constexpr int16_t kMsgNotTwoParameters = 1414;
constexpr int16_t kMsgNoStartBrace = 1416;
constexpr int16_t kMsgNoLevelBrace = 1418;
constexpr int16_t kMsgNoOptionBrace = 1419;
constexpr int16_t kMsgNoClosingBracket = 1420;

// FuncTable records the command needs: the two derivatives and the temporary record every
// evaluation by text adds after the last one.
constexpr int kDerivativeRoom = 3;

// Shortest statement text the command reads.
constexpr size_t kMinStatementLength = 20;

// The remembered pair, when its records are still in the table at their places and hold these
// derivatives of a function with F's parameters.
bool FindDerivativeRecords(const FuncRec& f, const rt::Text& dx, const rt::Text& dy,
                           int16_t (&recs)[2]) {
  const ContourDerivativePair& p = LastContourDerivatives;
  if (p.fx < 1 || p.fy != p.fx + 1 || p.fy > Tables.FuncCount || p.parm1 != f.Parm1 ||
      p.parm2 != f.Parm2 || p.dx != dx || p.dy != dy)
    return false;
  const FuncRec& rx = Tables.FuncTable[static_cast<size_t>(p.fx)];
  const FuncRec& ry = Tables.FuncTable[static_cast<size_t>(p.fy)];
  if (rx.Name != u"Fx" || ry.Name != u"Fy" || rx.Parm1 != f.Parm1 || rx.Parm2 != f.Parm2 ||
      ry.Parm1 != f.Parm1 || ry.Parm2 != f.Parm2)
    return false;
  recs[0] = p.fx;
  recs[1] = p.fy;
  return true;
}

}  // namespace

int16_t ParseContourArgs(const rt::Text& statement, ContourArgs& args) {
  args = ContourArgs{};
  rt::Text s = statement;
  const rt::Text head12 = s.substr(0, 12);
  args.oneQuadrant = head12 == u"PlotContour1" || head12 == u"plotcontour1";
  if (args.oneQuadrant) s.erase(11, 1);

  const rt::Text head11 = s.substr(0, 11);
  if (head11 != u"PlotContour" && head11 != u"plotcontour") return kMsgKeyword;
  if (s.size() < kMinStatementLength) return kMsgTooShort;
  StatementReader r(s, 12);
  rt::Text id;
  int16_t msgNo = r.Expect(u'[', kMsgNoBracket);
  if (msgNo == 0) msgNo = r.ReadFunctionId(id, kMsgNoFunctionLetter, kIdJoinsLowerOrUnderscore);
  if (msgNo == 0) msgNo = r.Expect(u',', kMsgNoComma);
  if (msgNo == 0) msgNo = r.Expect(u'{', kMsgNoRangeBrace);
  if (msgNo != 0) return msgNo;

  rt::Text firstParm;
  msgNo = FindFunction(id, firstParm, args.fRecord);
  if (msgNo != 0 || args.fRecord < 1 || args.fRecord > Tables.FuncCount)
    return kMsgContourFunctionNotFound;
  const FuncRec& f = Tables.FuncTable[static_cast<size_t>(args.fRecord)];
  if (f.Parm1.empty() || f.Parm2.empty()) return kMsgNotTwoParameters;

  // The values: {x0,xf,y0,yf}{xc,yc}{c1,c2,ds} and optionally {er,sg}.
  ContourArgs& a = args;
  msgNo = r.ReadRangeValues({&a.x0, &a.xf, &a.y0, &a.yf}, u'}');
  if (msgNo == 0) msgNo = r.Expect(u'{', kMsgNoStartBrace);
  if (msgNo == 0) msgNo = r.ReadRangeValues({&a.xc, &a.yc}, u'}');
  if (msgNo == 0) msgNo = r.Expect(u'{', kMsgNoLevelBrace);
  if (msgNo == 0) msgNo = r.ReadRangeValues({&a.c1, &a.c2, &a.ds}, u'}');
  if (msgNo == 0 && !r.At(u']')) {
    msgNo = r.Expect(u'{', kMsgNoOptionBrace);
    if (msgNo == 0) msgNo = r.ReadRangeValues({&a.er, &a.sg}, u'}');
    if (msgNo == 0 && !r.At(u']')) msgNo = kMsgNoClosingBracket;
  }
  a.valuesMsg = msgNo;
  if (!(a.er > 0)) a.er = kContourDefaultError;
  if (!(a.sg > 0)) a.sg = kContourDefaultSegment;
  return 0;
}

int16_t ProcessPlotContour(const rt::Text& statement) {
  ContourArgs a;
  int16_t msgNo = ParseContourArgs(statement, a);
  Requests.ContourAllQuadrants = a.oneQuadrant ? 0 : -1;
  Requests.Contour1Requested = a.oneQuadrant ? -1 : 0;
  Requests.ContourRequested = a.oneQuadrant ? 0 : -1;
  if (msgNo != 0) return msgNo;
  const FuncRec f = Tables.FuncTable[static_cast<size_t>(a.fRecord)];

  // The partial derivatives as the worksheet functions Fx and Fy, appended as a pair (both
  // records or neither).
  rt::Text dx, dy;
  int16_t diffMsg = Differentiate(f.Expr, f.Parm1, dx);
  const int16_t diffMsgY = Differentiate(f.Expr, f.Parm2, dy);
  if (diffMsg == 0) diffMsg = diffMsgY;
  const rt::Text names[2] = {u"Fx", u"Fy"};
  const rt::Text* exprs[2] = {&dx, &dy};
  int16_t recs[2] = {0, 0};
  // A rebuild of the same picture finds the pair it appended still in place and uses it again,
  // so that turning or redrawing the picture never fills the table (one record is kept free for
  // the evaluations).
  const bool reused = diffMsg == 0 && FindDerivativeRecords(f, dx, dy, recs);
  if (reused) {
    if (Tables.FuncCount >= kMaxFunctions) return kMsgFunctionsFull;
  } else if (Tables.FuncCount > kMaxFunctions - kDerivativeRoom) {
    return kMsgFunctionsFull;
  } else {
    for (int i = 0; i < 2; ++i) {
      recs[i] = AppendFunction(msgNo);
      if (msgNo != 0 || recs[i] < 1) return msgNo != 0 ? msgNo : kMsgFunctionsFull;
      FuncRec& r = Tables.FuncTable[static_cast<size_t>(recs[i])];
      r = FuncRec{};
      r.Kind = 0;
      r.Name = names[i];
      r.Parm1 = f.Parm1;
      r.Parm2 = f.Parm2;
      r.Expr = *exprs[i];
      r.Code.clear();
      r.Compiled = 0;
      r.Value = 0;
    }
    LastContourDerivatives = ContourDerivativePair{recs[0], recs[1], f.Parm1, f.Parm2, dx, dy};
  }
  if (diffMsg != 0) return diffMsg;
  // The values are reported after the records are made, as the statement reads.
  if (a.valuesMsg != 0) return a.valuesMsg;

  return DrawContours(a, recs[0], recs[1]);
}

}  // namespace ms
