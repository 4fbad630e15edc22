#include "numerics/Rkf45Control.h"

#include <cmath>

namespace ms {

namespace {

// Bounds of the factor q applied to h.
constexpr double kMinStepFactor = 0.1;
constexpr double kMaxStepFactor = 4.0;

}  // namespace

double NextStepSize(double h, double errEst, double tol) {
  double q = errEst == 0 ? kMaxStepFactor : std::sqrt(std::sqrt(tol * h / (2.0 * errEst)));
  if (q < kMinStepFactor) q = kMinStepFactor;
  if (q > kMaxStepFactor) q = kMaxStepFactor;
  h *= q;
  if (h < tol) h = tol;
  return h;
}

bool StepAccepted(double h, double errEst, double tol) {
  return !(errEst > tol * h) || h <= tol;
}

bool MissesAtSmallestStep(double h, double errEst, double tol) {
  return h <= tol && errEst > kSmallestStepMissFactor * tol * h;
}

}  // namespace ms
