// IVP[F,{t0,tf,x0}{factor,tol}] and its two- to four-equation forms
// IVP[F,G,{t0,tf,x0,y0}{factor,tol,mode}] ... IVP[F,G,H,R,{t0,tf,x0,y0,z0,w0}{factor,tol,mode}]:
// parsed every time the graph window builds its picture, then solved (or, with Replot, drawn
// again from the stored rows) by the single-equation or the coupled-system solver.
#pragma once

#include <array>
#include <cstdint>

#include "numerics/FunctionValue.h"  // StripValueParens
#include "platform/runtime/Runtime.h"

namespace ms {

// The graph window's frames of ODE view buttons, Frame5 .. Frame9 (index = frame number), as the
// last IVP[ run left them; the graph window shows, hides and moves its frames accordingly.
constexpr int kFirstIvpFrame = 5;
constexpr int kLastIvpFrame = 9;
struct IvpViewState {
  std::array<int16_t, kLastIvpFrame + 1> FrameVisible{};  // -1 shown, 0 hidden
  std::array<int16_t, kLastIvpFrame + 1> FrameMoved{};    // -1: FrameLeft/FrameTop apply
  std::array<int32_t, kLastIvpFrame + 1> FrameLeft{};     // twips
  std::array<int32_t, kLastIvpFrame + 1> FrameTop{};      // twips
  // -1 once an IVP[ run has set the frames; the graph window clears it when it has applied them.
  int16_t FramesChanged = 0;
  // The graph window's working time grid unit; the coupled solvers reset it to 1 together with the
  // other grid units when one is too small to divide by. Null when no graph window is present.
  double* TimeGridUnit = nullptr;
};

extern IvpViewState IvpView;

// Start-up state: every frame hidden and not moved, nothing changed (TimeGridUnit is kept).
void ResetIvpView();

// Parses and solves one IVP[ statement; msgNo 0 on success, else the first error's number.
void ProcessIVP(rt::Text& statement, int16_t& msgNo);

// Reads one value at pos (1-based): a number, or a constant identifier with an optional "-",
// which must end at the delimiter; on success pos stands after the delimiter. Messages 333, 6097,
// 313, 339 and 1220.
void ParseRangeValueDiffEq(const rt::Text& statement, int16_t& pos, double& value,
                           const rt::Text& delimiter, int16_t& msgNo);

}  // namespace ms
