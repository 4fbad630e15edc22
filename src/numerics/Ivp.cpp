#include "numerics/Ivp.h"

#include <cmath>

#include "language/CommandArguments.h"
#include "language/WorksheetTables.h"

namespace ms {

IvpViewState IvpView;

namespace {

constexpr int16_t kMsgKeyword = 2000;
constexpr int16_t kMsgBracket = 2005;
constexpr int16_t kMsgFunctionLetter = 2010;
constexpr int16_t kMsgFunctionNotFound = 2015;
constexpr int16_t kMsgParameterMissing = 2020;
constexpr int16_t kMsgSecondBraces = 2040;
constexpr int16_t kMsgClosing = 2045;
constexpr int16_t kMsgTolerance = 2050;
constexpr int16_t kMsgFunctionCount = 3600;
// Per function k (1..4): the comma after its identifier, and the brace after the last one.
constexpr int16_t kMsgComma[5] = {0, 2030, 3604, 3608, 3612};
constexpr int16_t kMsgBrace[5] = {0, 3602, 3606, 3609, 3613};

constexpr int kShortestStatement = 18;
constexpr int kLastBracePosition = 16;
constexpr double kMaxTol = 0.1;
constexpr double kMinTol = 1e-6;

rt::Text FunctionParm(const FuncRec& f, int k) {
  switch (k) {
    case 1:
      return f.Parm1;
    case 2:
      return f.Parm2;
    case 3:
      return f.Parm3;
    default:
      return f.Parm4;
  }
}

}  // namespace

void SetViewGroup(int equations, double mode) {
  using enum OdeViewGroup;
  OdeViewGroup views = kPhase;
  if (mode != 1) {
    switch (equations) {
      case 1:
        break;
      case 2:
        views = kTwoEquationsMode2;
        break;
      case 3:
        views = mode == 2 ? kThreeEquationsMode2 : kNone;
        break;
      default:
        views = mode == 2 ? kFourEquationsMode2 : kFourEquationsMode3;
        break;
    }
  }
  IvpView.Views = views;
  IvpView.ViewsChanged = true;
}

void ResetIvpView() {
  IvpView = IvpViewState{};
}

int16_t ParseIvpArgs(const rt::Text& statement, IvpArgs& args) {
  args = IvpArgs{};
  const rt::Text keyword = statement.substr(0, 3);
  if ((keyword != u"IVP" && keyword != u"ivp") || statement.size() < kShortestStatement)
    return kMsgKeyword;
  StatementReader r(statement, 4);
  int16_t msgNo = r.Expect(u'[', kMsgBracket);
  if (msgNo != 0) return msgNo;

  // Count the function identifiers (capital letters) before the first brace.
  int q = 0;
  int equations = 0;
  while (r.Peek(q) != u'{' && r.Pos() + q <= kLastBracePosition) {
    if (rt::IsUpper(r.Peek(q))) ++equations;
    ++q;
  }
  if (r.Pos() + q > kLastBracePosition || r.Peek(q) != u'{' || equations < 1 || equations > 4)
    return kMsgFunctionCount;
  args.equations = equations;

  // The identifiers in their two-character form.
  for (int k = 1; k <= equations && msgNo == 0; ++k) {
    msgNo = r.ReadFunctionId(args.ids[static_cast<size_t>(k)], kMsgFunctionLetter);
    if (msgNo == 0) msgNo = r.Expect(u',', kMsgComma[k]);
  }
  if (msgNo == 0 && !r.At(u'{')) msgNo = kMsgBrace[equations];
  if (msgNo != 0) return msgNo;

  // The k-th function must have at least k parameters.
  for (int k = 1; k <= equations; ++k) {
    rt::Text firstParm;
    int16_t index = 0;
    int16_t lookup = 0;
    lookup = FindFunction(args.ids[static_cast<size_t>(k)], firstParm, index);
    if (lookup != 0 || index < 1 || index > Tables.FuncCount) return kMsgFunctionNotFound;
    if (FunctionParm(Tables.FuncTable[static_cast<size_t>(index)], k).empty())
      return kMsgParameterMissing;
  }

  // {t0,tf,x0[,y0[,z0[,w0]]]}
  r.Skip();
  msgNo = r.ReadRangeValues({&args.t0, &args.tf}, u',');
  for (int k = 0; k < equations && msgNo == 0; ++k)
    msgNo = r.ReadRangeValue(args.init[k], k == equations - 1 ? u'}' : u',');

  // {factor,tol[,mode]}
  if (msgNo == 0) msgNo = r.Expect(u'{', kMsgSecondBraces);
  if (msgNo == 0) msgNo = r.ReadRangeValue(args.factor, u',');
  if (msgNo != 0) return msgNo;
  args.factor = std::fabs(args.factor);
  if (args.factor < 1) args.factor = 1;
  if (equations == 1) {
    msgNo = r.ReadRangeValue(args.tol, u'}');
  } else {
    double mode = 0;
    msgNo = r.ReadRangeValues({&args.tol, &mode}, u'}');
    if (msgNo == 0) args.plotMode = mode == 1 || mode == 2 || mode == 3 || mode == 4 ? mode : 1;
  }
  if (msgNo != 0) return msgNo;
  args.tol = std::fabs(args.tol);
  if (args.tol > kMaxTol) args.tol = kMaxTol;
  if (!r.At(u']')) return kMsgClosing;
  if (args.tol < kMinTol) return kMsgTolerance;
  return 0;
}

}  // namespace ms
