// Step-size control of the Runge-Kutta-Fehlberg 4(5) method (Burden and Faires, Numerical
// Analysis, algorithm 5.3): from a step's error estimate, whether the step is kept and the size of
// the next one. Kept apart from the stepper so that either can change without the other.
#pragma once

namespace ms {

// How far a step at the smallest step size may miss its tolerance before the solve stops: its
// error estimate may reach this many times tol h. Below it such a step is kept as any other
// (a solution growing towards the value limit, or one about to blow up, misses by a few tens);
// a solution that changes faster than the smallest step allows misses by many powers of ten (a
// decay rate of 3/tol gives about 6.6E5 times).
constexpr double kSmallestStepMissFactor = 100.0;

// The step size after a step of size h with error estimate errEst: h times
// q = (tol h / (2 errEst))^(1/4), q kept within [0.1, 4] (an estimate of 0, a step the method
// takes exactly, grows by 4), and never below tol.
double NextStepSize(double h, double errEst, double tol);

// Whether a step of size h with error estimate errEst is kept: its error per unit of t is within
// tol, or h is already at its floor tol. A step that is not kept is taken again with the smaller
// size NextStepSize gives, so that the error of the solution stays within about tol (tf - t0).
bool StepAccepted(double h, double errEst, double tol);

// Whether a step at the smallest step size (h at most tol) misses its tolerance by more than
// kSmallestStepMissFactor: no smaller step can mend it, so the solve stops there.
bool MissesAtSmallestStep(double h, double errEst, double tol);

}  // namespace ms
