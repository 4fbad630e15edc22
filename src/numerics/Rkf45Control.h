// Step-size control of the Runge-Kutta-Fehlberg 4(5) method (Burden and Faires, Numerical
// Analysis, algorithm 5.3): from a step's error estimate, whether the step is kept and the size of
// the next one. Kept apart from the stepper so that either can change without the other.
#pragma once

namespace ms {

// The step size after a step of size h with error estimate errEst: h times
// q = (tol h / (2 errEst))^(1/4), q = 0 when errEst is 0, q kept within [0.1, 4], and never below
// tol.
double NextStepSize(double h, double errEst, double tol);

// Whether a step of size h with error estimate errEst is kept: its error per unit of t is within
// tol, or h is already at its floor tol. A step that is not kept is taken again with the smaller
// size NextStepSize gives, so that the error of the solution stays within about tol (tf - t0).
bool StepAccepted(double h, double errEst, double tol);

}  // namespace ms
