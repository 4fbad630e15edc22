#include "numerics/Rkf45Step.h"

#include <cmath>

#include "numerics/Rkf45Control.h"

namespace ms {

int16_t Rkf45Step(const OdeRhs& f, int n, double t, const OdeValues& y, double h, OdeValues& y4,
                  double& errEst, OdeValues& slope, OdeValues* y5) {
  using namespace fehlberg;
  if (n < 1 || n > kMaxEquations) return 0;
  const auto count = static_cast<size_t>(n);
  std::array<std::array<double, kStages>, kMaxEquations> k{};
  OdeValues stageY{}, dydt{}, first{};
  for (int i = 0; i < kStages; ++i) {
    for (size_t j = 0; j < count; ++j) {
      double v = y[j];
      for (int s = 0; s < i; ++s)
        if (kStage[i][s] != 0) v += kStage[i][s] * k[j][s];
      stageY[j] = v;
    }
    if (const int16_t msgNo = f(t + kNode[i] * h, stageY.data(), dydt.data()); msgNo != 0)
      return msgNo;
    if (i == 0) first = dydt;
    for (size_t j = 0; j < count; ++j) k[j][i] = h * dydt[j];
  }
  // The step is as good as its worst unknown.
  double worst = 0;
  for (size_t j = 0; j < count; ++j) {
    double err = 0, v4 = y[j], v5 = y[j];
    for (int i = 0; i < kStages; ++i) {
      if (kError[i] != 0) err += kError[i] * k[j][i];
      if (kOrder4[i] != 0) v4 += kOrder4[i] * k[j][i];
      if (kOrder5[i] != 0) v5 += kOrder5[i] * k[j][i];
    }
    if (!(std::fabs(err) <= worst)) worst = std::fabs(err);  // NaN included
    y4[j] = v4;
    if (y5) (*y5)[j] = v5;
  }
  errEst = worst;
  for (size_t j = 0; j < count; ++j) slope[j] = first[j];
  return 0;
}

int16_t Rkf45Integrate(const OdeRhs& f, const Rkf45Run& run, const ProgressSink& progress,
                       const Rkf45Observer& observe, Rkf45End& end, OdeValues& yEnd) {
  double t = run.t0, h = run.firstStep;
  OdeValues y = run.y0;
  while (t < run.tf) {
    if (progress.Aborted()) {
      end = Rkf45End::kAborted;
      return 0;
    }
    progress.LetEventsRun();
    if (progress.Aborted()) {
      end = Rkf45End::kAborted;
      return 0;
    }
    const bool final = !(t + h < run.tf);
    const double step = final ? run.tf - t : h;
    OdeValues yNew = y, slope{};
    double errEst = 0;
    if (const int16_t msgNo = Rkf45Step(f, run.equations, t, y, step, yNew, errEst, slope);
        msgNo != 0)
      return msgNo;
    // A step at the smallest size that misses by far goes to the observer as not kept (its value
    // limits still speak first) and ends the run.
    const bool beyondSmallest = MissesAtSmallestStep(step, errEst, run.tol);
    const bool accepted = StepAccepted(step, errEst, run.tol) && !beyondSmallest;
    const Rkf45Trial trial{t, step, t + step, errEst, y, slope, yNew, accepted, final};
    if (!observe(trial)) {
      end = Rkf45End::kStoppedByObserver;
      return 0;
    }
    if (beyondSmallest) {
      end = Rkf45End::kBeyondSmallestStep;
      return 0;
    }
    h = NextStepSize(step, errEst, run.tol);
    if (!accepted) continue;
    t = final ? run.tf : trial.tNew;
    y = yNew;
  }
  end = Rkf45End::kReachedEnd;
  yEnd = y;
  return 0;
}

}  // namespace ms
