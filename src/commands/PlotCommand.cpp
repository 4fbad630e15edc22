#include "commands/PlotCommand.h"

#include "language/CommandArguments.h"
#include "plotting/PlotRequest.h"

namespace ms {
int16_t ProcessPlot(const rt::Text& statement) {
  int16_t msgNo = 0;
  PlotRequestData& req = PlotRequest;
  const rt::Text& s = statement;
  const long last = static_cast<long>(s.size());
  req.PlotVectorCount = 0;
  for (int k = 1; k <= kMaxPlotCurves; ++k) req.PlotVectorList[k].clear();
  req.PlotStatement = statement;

  const rt::Text head = rt::Left(s, 5);
  if (head != u"Plot[" && head != u"plot[") {
    return 358;
  }
  if (last < 17) {
    return 333;
  }
  StatementReader r(s, 6);
  for (;;) {
    rt::Text name;
    msgNo = r.ReadFunctionId(name, 358);
    if (msgNo != 0) return msgNo;
    // Six names can become curves; a seventh is refused here, before Graph is offered.
    static_assert(kMaxPlotCurves <= kMaxPlotVectors);
    if (req.PlotVectorCount >= kMaxPlotCurves) {
      return kMsgTooManyPlotVectors;
    }
    ++req.PlotVectorCount;
    req.PlotVectorList[req.PlotVectorCount] = name;
    if (r.Pos() >= last) {
      return 358;
    }
    msgNo = r.Expect(u',', 331);
    if (msgNo != 0) return msgNo;
    if (r.At(u'{')) break;
  }
  r.Skip();
  req.PlotVariable = rt::Text(1, r.Peek());
  if (rt::CharIs(r.Peek(), u"[!a-z]")) {
    return 330;
  }
  r.Skip();
  msgNo = r.Expect(u',', 315);
  if (msgNo != 0) return msgNo;
  // An end of the range that cannot be read is an incomplete definition (314), except a number
  // written with "e", which keeps its own message.
  const auto rangeEnd = [](int16_t read) -> int16_t {
    return read == 0 || read == kMsgLowerCaseExponent ? read : 314;
  };
  msgNo = rangeEnd(r.ReadRangeValue(req.PlotTMin, u','));
  if (msgNo != 0) return msgNo;
  if (req.PlotTMin < 0) req.PlotTMin -= 0.0001;
  msgNo = rangeEnd(r.ReadRangeValue(req.PlotTMax, u','));
  if (msgNo != 0) return msgNo;
  double n = 0;
  msgNo = r.ReadRangeValue(n, u'}');
  if (msgNo != 0) return msgNo;

  req.ArrowFlags.clear();
  if (!(r.Pos() == last && r.At(u']'))) {
    while (!r.At(u']') && r.Pos() < last) {
      req.ArrowFlags += r.Peek();
      r.Skip();
    }
    if (rt::CharAt(s, last) != u']') {
      return 335;
    }
  }
  const double steps = rt::RoundHalfEven(n);
  if (steps <= 0) {
    return 337;
  }
  // The step count is a 16-bit number; a larger one cannot be stored and is refused like a bad
  // range.
  if (steps > 32767) {
    return 337;
  }
  req.PlotSteps = static_cast<int16_t>(steps);
  if (req.PlotTMax <= req.PlotTMin) {
    return 338;
  }
  req.PlotDt = (req.PlotTMax - req.PlotTMin) / req.PlotSteps;
  return 0;
}

}  // namespace ms
