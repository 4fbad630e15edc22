// c=dblInt[F,C,D,{a,b,n,m,x|y}]: a double integral over a region bounded by two constant outer
// limits and two inner limit functions, by composite Simpson rules nested in either order, stored
// as the worksheet constant c.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// The identifier of the result constant of the integral statement being processed (shared with
// the single integral).
extern rt::Text IntegConstId;

// Writes a computed integral into the constant IntegConstId (padded to two characters): its
// expression "0", its value text, and marks it computed. No such constant: nothing happens.
void StoreIntegralConstant(double value);

// The arguments of c=dblInt[F,C,D,{a,b,n,m,v}].
struct DblIntArgs {
  rt::Text constId;                               // the constant the result is stored in
  int16_t fRecord = 0, cRecord = 0, dRecord = 0;  // F(x, y) and the inner limits C, D
  double a = 0, b = 0;                            // the outer limits
  double n = 0, m = 0;                            // panel counts, made even
  rt::Text variable;                              // "x" or "y": the inner variable
};

// Parses and checks the statement: 0, or the first message met (6000..6092 or a range reader's
// message). constId is set whatever the message.
[[nodiscard]] int16_t ParseDblIntArgs(const rt::Text& statement, DblIntArgs& args);

// An integrand with a pole in the range: the integral commands stop with this number after the
// explaining box (StopAtPole), and their constant stays "not computed".
constexpr int16_t kMsgIntegralPole = 5085;
// Shows the box of a pole in the integral's range and returns kMsgIntegralPole.
[[nodiscard]] int16_t StopAtPole();

// Parses the statement and computes the integral into its constant: 0, the parser's message, or
// kMsgIntegralPole.
[[nodiscard]] int16_t ProcessDblInt(const rt::Text& statement);
// The integral into the constant: 0 (also when Esc stopped it, nothing stored), or
// kMsgIntegralPole when an integrand or limit value met the guarded division's infinity (or is
// not a number), nothing stored.
[[nodiscard]] int16_t ComputeDblInt(int16_t fIndex, int16_t cIndex, int16_t dIndex, double a,
                                    double b, double m, double n, const rt::Text& variable,
                                    double& result);
// y first: integral over x in [a,b] (n panels) of the integral over y in [C{x},D{x}] (m panels).
// pole: a node value met the guard (the result is then 0).
double DblIntYFirst(const rt::Text& f, const rt::Text& c, const rt::Text& d, double a, double b,
                    double m, double n, bool& pole);
// x first: integral over y in [a,b] (m panels) of the integral over x in [C{y},D{y}] (n panels).
double DblIntXFirst(const rt::Text& f, const rt::Text& c, const rt::Text& d, double a, double b,
                    double m, double n, bool& pole);
// Splits "c=..." or "cd=..." into the constant identifier and the rest of the statement.
void SplitIntegralConstant(const rt::Text& statement, rt::Text& constId, rt::Text& rest);
// Panel counts are used as even whole numbers: Int(count + 0.1), raised by 1 when odd.
double EvenPanelCount(double count);

}  // namespace ms
