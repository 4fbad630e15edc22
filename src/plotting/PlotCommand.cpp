#include "plotting/PlotCommand.h"

#include "language/CommandArguments.h"
#include "plotting/PlotRequest.h"

namespace ms {
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
  StatementReader r(s, 6);
  for (;;) {
    rt::Text name;
    msgNo = r.ReadFunctionId(name, 358);
    if (msgNo != 0) return;
    // The list holds 20 names; a longer list cannot become curves (only six can) and is refused.
    if (req.PlotVectorCount >= kMaxPlotVectors) {
      msgNo = 358;
      return;
    }
    ++req.PlotVectorCount;
    req.PlotVectorList[req.PlotVectorCount] = name;
    if (r.Pos() >= last) {
      msgNo = 358;
      return;
    }
    msgNo = r.Expect(u',', 331);
    if (msgNo != 0) return;
    if (r.At(u'{')) break;
  }
  r.Skip();
  req.PlotVariable = rt::Text(1, r.Peek());
  if (rt::CharIs(r.Peek(), u"[!a-z]")) {
    msgNo = 330;
    return;
  }
  r.Skip();
  msgNo = r.Expect(u',', 315);
  if (msgNo != 0) return;
  if (r.ReadRangeValue(req.PlotTMin, u',') != 0) {
    msgNo = 314;
    return;
  }
  if (req.PlotTMin < 0) req.PlotTMin -= 0.0001;
  if (r.ReadRangeValue(req.PlotTMax, u',') != 0) {
    msgNo = 314;
    return;
  }
  double n = 0;
  msgNo = r.ReadRangeValue(n, u'}');
  if (msgNo != 0) return;

  req.ArrowFlags.clear();
  if (!(r.Pos() == last && r.At(u']'))) {
    while (!r.At(u']') && r.Pos() < last) {
      req.ArrowFlags += r.Peek();
      r.Skip();
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
