#include "plotting/PlotCommand.h"

#include "language/CommandArguments.h"
#include "plotting/PlotRequest.h"

namespace ms {
namespace {

// One range value ended by terminator; p is left after the terminator.
void ReadRangeValue(const rt::Text& s, long& p, double& value, const char16_t* terminator,
                    int16_t& msgNo) {
  int16_t pos = static_cast<int16_t>(p);
  ParseRangeValue(s, pos, value, terminator, msgNo);
  p = pos;
}

}  // namespace

void ProcessPlot(rt::Text& statement, int16_t& msgNo) {
  msgNo = 0;
  PlotRequestData& req = PlotRequest;
  const rt::Text& s = statement;
  const long last = static_cast<long>(s.size());
  req.PlotVectorCount = 0;
  for (int k = 1; k <= kMaxPlotCurves; ++k) req.PlotVectorList[k].clear();

  const rt::Text head = rt::Left(s, 5);
  if (head != u"Plot[" && head != u"plot[") {
    msgNo = 358;
    return;
  }
  if (last < 17) {
    msgNo = 333;
    return;
  }
  long i = 6;
  for (;;) {
    if ((rt::CharAt(s, i) == u']' && i < last) || rt::CharIs(rt::CharAt(s, i), u"[!A-Z]")) {
      msgNo = 358;
      return;
    }
    // The list holds 20 names; a longer list cannot become curves (only six can) and is refused.
    if (req.PlotVectorCount >= kMaxPlotVectors) {
      msgNo = 358;
      return;
    }
    ++req.PlotVectorCount;
    rt::Text name(1, rt::CharAt(s, i));
    if (rt::CharIs(rt::CharAt(s, i + 1), u"[a-z]")) {
      name += rt::CharAt(s, i + 1);
      i += 2;
    } else {
      name += u'_';
      i += 1;
    }
    req.PlotVectorList[req.PlotVectorCount] = name;
    if (i >= last) {
      msgNo = 358;
      return;
    }
    if (rt::CharAt(s, i) != u',') {
      msgNo = 331;
      return;
    }
    ++i;
    if (rt::CharAt(s, i) == u'{') break;
  }
  ++i;
  req.PlotVariable = rt::Text(1, rt::CharAt(s, i));
  if (rt::CharIs(rt::CharAt(s, i), u"[!a-z]")) {
    msgNo = 330;
    return;
  }
  ++i;
  if (rt::CharAt(s, i) != u',') {
    msgNo = 315;
    return;
  }
  ++i;
  ReadRangeValue(s, i, req.PlotTMin, u",", msgNo);
  if (msgNo != 0) {
    msgNo = 314;
    return;
  }
  if (req.PlotTMin < 0) req.PlotTMin -= 0.0001;
  ReadRangeValue(s, i, req.PlotTMax, u",", msgNo);
  if (msgNo != 0) {
    msgNo = 314;
    return;
  }
  double n = 0;
  ReadRangeValue(s, i, n, u"}", msgNo);
  if (msgNo != 0) return;

  req.ArrowFlags.clear();
  if (!(i == last && rt::CharAt(s, i) == u']')) {
    while (rt::CharAt(s, i) != u']' && i < last) {
      req.ArrowFlags += rt::CharAt(s, i);
      ++i;
    }
    if (rt::CharAt(s, last) != u']') {
      msgNo = 335;
      return;
    }
  }
  const double steps = rt::RoundHalfEven(n);
  if (steps <= 0) {
    msgNo = 337;
    return;
  }
  // The step count is a 16-bit number; a larger one cannot be stored and is refused like a bad
  // range.
  if (steps > 32767) {
    msgNo = 337;
    return;
  }
  req.PlotSteps = static_cast<int16_t>(steps);
  if (req.PlotTMax <= req.PlotTMin) {
    msgNo = 338;
    return;
  }
  req.PlotDt = (req.PlotTMax - req.PlotTMin) / req.PlotSteps;
}

}  // namespace ms
