#include "numerics/Ivp.h"

#include <cmath>

#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "numerics/CoupledRkf45.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneStore.h"

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

// Where the graph window moves the frames it shows for the systems (twips).
constexpr int32_t kFrameLeftSecondOrder = 3960;
constexpr int32_t kFrameLeftFourPlain = 5040;
constexpr int32_t kFrameTop = 7088;

using rt::IsLower;
using rt::IsUpper;

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

void HideAllFrames() {
  for (int f = kFirstIvpFrame; f <= kLastIvpFrame; ++f) IvpView.FrameVisible[f] = 0;
}

void ShowFrame(int frame) {
  IvpView.FrameVisible[frame] = -1;
}

void MoveAndShowFrame(int frame, int32_t left) {
  IvpView.FrameMoved[frame] = -1;
  IvpView.FrameLeft[frame] = left;
  IvpView.FrameTop[frame] = kFrameTop;
  ShowFrame(frame);
}

// Shows the frame of view buttons that fits the problem (1..4 equations and the plot mode).
void SetViewFrames(int equations, double mode) {
  HideAllFrames();
  switch (equations) {
    case 1:
      ShowFrame(5);
      break;
    case 2:
      if (mode == 1)
        ShowFrame(5);
      else
        MoveAndShowFrame(8, kFrameLeftSecondOrder);
      break;
    case 3:
      if (mode == 1)
        ShowFrame(5);
      else if (mode == 2)
        ShowFrame(6);
      break;
    default:
      if (mode == 1)
        ShowFrame(5);
      else if (mode == 2)
        MoveAndShowFrame(7, kFrameLeftSecondOrder);
      else
        MoveAndShowFrame(9, kFrameLeftFourPlain);
      break;
  }
  IvpView.FramesChanged = -1;
}

}  // namespace

void ResetIvpView() {
  double* const timeGrid = IvpView.TimeGridUnit;
  IvpView = IvpViewState{};
  IvpView.TimeGridUnit = timeGrid;
}

void ParseRangeValueDiffEq(const rt::Text& statement, int16_t& pos, double& value,
                           const rt::Text& delimiter, int16_t& msgNo) {
  // The worksheet language's range-value reader is this very reader.
  ParseRangeValue(statement, pos, value, delimiter, msgNo);
}

void ProcessIVP(rt::Text& statement, int16_t& msgNo) {
  msgNo = 0;
  const rt::Text& s = statement;
  View.ZAxisNeeded = 0;
  Solutions.IVPOrder1 = Solutions.IVPOrder2 = Solutions.IVPOrder3 = Solutions.IVPOrder4 = 0;

  const rt::Text keyword = s.substr(0, 3);
  if ((keyword != u"IVP" && keyword != u"ivp") || s.size() < kShortestStatement) {
    msgNo = kMsgKeyword;
    return;
  }
  if (rt::CharAt(s, 4) != u'[') {
    msgNo = kMsgBracket;
    return;
  }

  // Count the function identifiers (capital letters) before the first brace.
  int p = 5;
  int equations = 0;
  while (rt::CharAt(s, p) != u'{' && p <= kLastBracePosition) {
    if (IsUpper(rt::CharAt(s, p))) ++equations;
    ++p;
  }
  if (p > kLastBracePosition || rt::CharAt(s, p) != u'{' || equations < 1 || equations > 4) {
    msgNo = kMsgFunctionCount;
    return;
  }
  int16_t* const orderFlags[5] = {nullptr, &Solutions.IVPOrder1, &Solutions.IVPOrder2,
                                  &Solutions.IVPOrder3, &Solutions.IVPOrder4};
  *orderFlags[equations] = -1;

  // The identifiers in their two-character form.
  rt::Text ids[5];
  p = 5;
  for (int k = 1; k <= equations; ++k) {
    if (!IsUpper(rt::CharAt(s, p))) {
      msgNo = kMsgFunctionLetter;
      return;
    }
    ids[k] = rt::Text(1, rt::CharAt(s, p));
    if (IsLower(rt::CharAt(s, p + 1))) {
      ids[k] += rt::CharAt(s, p + 1);
      p += 2;
    } else {
      ids[k] += u'_';
      p += 1;
    }
    if (rt::CharAt(s, p) != u',') {
      msgNo = kMsgComma[k];
      return;
    }
    ++p;
  }
  if (rt::CharAt(s, p) != u'{') {
    msgNo = kMsgBrace[equations];
    return;
  }

  // The k-th function must have at least k parameters.
  for (int k = 1; k <= equations; ++k) {
    rt::Text firstParm;
    int16_t index = 0;
    int16_t lookup = 0;
    FindFunction(ids[k], firstParm, index, lookup);
    if (lookup != 0 || index < 1 || index > Tables.FuncCount) {
      msgNo = kMsgFunctionNotFound;
      return;
    }
    if (FunctionParm(Tables.FuncTable[static_cast<size_t>(index)], k).empty()) {
      msgNo = kMsgParameterMissing;
      return;
    }
  }

  // {t0,tf,x0[,y0[,z0[,w0]]]}
  int16_t pos = static_cast<int16_t>(p + 1);
  double t0 = 0, tf = 0;
  double init[4] = {0, 0, 0, 0};
  ParseRangeValueDiffEq(s, pos, t0, u",", msgNo);
  if (msgNo != 0) return;
  ParseRangeValueDiffEq(s, pos, tf, u",", msgNo);
  if (msgNo != 0) return;
  for (int k = 0; k < equations; ++k) {
    ParseRangeValueDiffEq(s, pos, init[k], k == equations - 1 ? u"}" : u",", msgNo);
    if (msgNo != 0) return;
  }

  // {factor,tol[,mode]}
  if (rt::CharAt(s, pos) != u'{') {
    msgNo = kMsgSecondBraces;
    return;
  }
  ++pos;
  double factor = 0, tol = 0;
  ParseRangeValueDiffEq(s, pos, factor, u",", msgNo);
  if (msgNo != 0) return;
  factor = std::fabs(factor);
  if (factor < 1) factor = 1;
  if (equations == 1) {
    ParseRangeValueDiffEq(s, pos, tol, u"}", msgNo);
    if (msgNo != 0) return;
  } else {
    ParseRangeValueDiffEq(s, pos, tol, u",", msgNo);
    if (msgNo != 0) return;
    ParseRangeValueDiffEq(s, pos, Solutions.IVPPlotMode, u"}", msgNo);
    if (msgNo != 0) return;
  }
  tol = std::fabs(tol);
  if (tol > kMaxTol) tol = kMaxTol;
  double& mode = Solutions.IVPPlotMode;
  if (equations > 1 && mode != 1 && mode != 2 && mode != 3 && mode != 4) mode = 1;
  if (rt::CharAt(s, pos) != u']') {
    msgNo = kMsgClosing;
    return;
  }
  if (tol < kMinTol) {
    msgNo = kMsgTolerance;
    return;
  }

  SetViewFrames(equations, mode);
  switch (equations) {
    case 1:
      SolveIVP1(ids[1], t0, tf, init[0], factor, tol, msgNo);
      break;
    case 2:
      SolveIVP2(ids[1], ids[2], t0, tf, init[0], init[1], factor, tol, msgNo);
      break;
    case 3:
      SolveIVP3(ids[1], ids[2], ids[3], t0, tf, init[0], init[1], init[2], factor, tol, mode,
                msgNo);
      break;
    default:
      SolveIVP4(ids[1], ids[2], ids[3], ids[4], t0, tf, init[0], init[1], init[2], init[3], factor,
                tol, mode, msgNo);
      break;
  }
  if (msgNo == 0 && !RunFlags.AbortRun) OdeResults.BVPSolved = 0;
}

}  // namespace ms
