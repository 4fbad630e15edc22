// Execute after Execute: the compile keeps what it learnt of each record from one statement and
// one run to the next (only constants whose names a body holds are substituted into it, and a
// record that comes back as it left takes the short road). A worksheet edited between runs must
// give the values mathematics gives and everything a full compile of every record at every
// statement gives, to the bit: listing, the lines shown while reading, constants, codes, values.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "commands/ProgramState.h"
#include "commands/WorksheetRun.h"
#include "language/WorksheetTables.h"
#include "mathematics/Classify.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Evaluator.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

struct Step {
  const char* sheet;                     // lines ended by "\n"
  int16_t msgNo;                         // the message Execute ends with
  std::map<std::string, double> values;  // function name (as stored) -> value at the parameters
};

// What one run leaves that a user sees or a later statement reads.
struct RunRecord {
  int16_t msgNo = 0;
  std::vector<std::string> lines;
  std::vector<uint64_t> bits;
};

class ExecuteAgainTest : public WorksheetTest {
 protected:
  void TearDown() override {
    SetCompileMemoEnabled(true);
    WorksheetTest::TearDown();
  }

  static RunRecord Execute(const char* sheet) {
    const std::string s = sheet;
    rt::Text text;
    for (char c : s) {
      if (c == '\n') text += u'\r';
      text += static_cast<char16_t>(c);
    }
    const ExecuteOutcome out = RunExecute(text, {});
    RunRecord r;
    r.msgNo = out.msgNo;
    for (const rt::Text& line : ResultsList.Lines) r.lines.push_back(rt::ToUtf8(line));
    for (const rt::Text& line :
         ResultsListing(8, out.evaluated ? &out.undefinedFunctions : nullptr))
      r.lines.push_back(rt::ToUtf8(line));
    for (int k = 1; k <= Tables.ConstCount; ++k)
      r.lines.push_back(
          rt::ToUtf8(Tables.ConstTable[k].Name + u"=" + Tables.ConstTable[k].ValueText));
    for (int k = 1; k <= Tables.FuncCount; ++k) {
      const FuncRec& f = Tables.FuncTable[k];
      r.lines.push_back(rt::ToUtf8(f.Name + u" " + f.Expr + u" " + f.Code));
      r.bits.push_back(std::bit_cast<uint64_t>(f.Value));
    }
    for (int32_t k = 1; k <= Tables.ValueTop; ++k) {
      r.lines.push_back(rt::ToUtf8(Tables.ValueList[static_cast<size_t>(k)].Name));
      r.bits.push_back(std::bit_cast<uint64_t>(Tables.ValueList[static_cast<size_t>(k)].Value));
    }
    return r;
  }

  static double FunctionValue(const std::string& name) {
    for (int k = 1; k <= Tables.FuncCount; ++k)
      if (rt::ToUtf8(Tables.FuncTable[k].Name) == name) return Tables.FuncTable[k].Value;
    return std::nan("");
  }

  // Runs the steps in order in one program, first compiling every record in full at every
  // statement, then again keeping what the compile learns; each run must give the same and the
  // values mathematics gives.
  void ExpectSteps(const std::vector<Step>& steps) {
    SetCompileMemoEnabled(false);
    std::vector<RunRecord> full;
    for (const Step& step : steps) full.push_back(Execute(step.sheet));
    ResetProgramState();
    SetCompileMemoEnabled(true);
    for (size_t i = 0; i < steps.size(); ++i) {
      SCOPED_TRACE(steps[i].sheet);
      const RunRecord kept = Execute(steps[i].sheet);
      EXPECT_EQ(kept.msgNo, steps[i].msgNo);
      EXPECT_EQ(kept.lines, full[i].lines);
      EXPECT_EQ(kept.bits, full[i].bits);
      for (const auto& [name, expected] : steps[i].values) {
        SCOPED_TRACE(name);
        EXPECT_NEAR(FunctionValue(name), expected, 1e-13 * std::fabs(expected));
      }
    }
  }
};

// A body that names a constant takes its value when the constant's statement is read, also when
// the function was defined first; a name defined twice is refused at its second statement; editing
// a constant between runs reaches every body that names it, through calls and derivatives too, and
// no other.
TEST_F(ExecuteAgainTest, EditedConstantsReachTheBodiesThatNameThem) {
  ExpectSteps({
      {"a = 2\nF{x} = x*a\nG{x} = x+1\n<x = 3>\n", 0, {{"F_", 6}, {"G_", 4}}},
      {"a = 5\nF{x} = x*a\nG{x} = x+1\n<x = 3>\n", 0, {{"F_", 15}, {"G_", 4}}},
      // One more literal ahead of G: its literals move up one entry.
      {"a = 5\nF{x} = 2*x*a\nG{x} = x+1\n<x = 3>\n", 0, {{"F_", 30}, {"G_", 4}}},
      // F settles (statements of both kinds pass) before b is defined.
      {"F{x} = x*b\nK{x} = x+1\ncc = 1\nL{x} = x\ndd = 2\nb = 4\nG{x} = x*b\nbb = 9\n"
       "H{x} = x*b+F{x}\n<x = 3>\n",
       0,
       {{"F_", 12}, {"G_", 12}, {"H_", 24}, {"K_", 4}}},
      {"F{x} = x*b\nK{x} = x+1\ncc = 1\nL{x} = x\ndd = 2\nb = 1.5\nG{x} = x*b\nbb = 9\n"
       "H{x} = x*b+F{x}\n<x = 3>\n",
       0,
       {{"F_", 4.5}, {"G_", 4.5}, {"H_", 9}, {"K_", 4}}},
      // A second b is refused where it stands.
      {"F{x} = x*b\nK{x} = x+1\ncc = 1\nL{x} = x\ndd = 2\nb = 1.5\nG{x} = x*b\nb = 9\n"
       "H{x} = x*b+F{x}\n<x = 3>\n",
       249,
       {}},
      // P = a x^3, Q = P' = 3 a x^2, R = Q + P at x = 2.
      {"a = 2\nP{x} = a*x^3\nQ{x} = Diff[P,x]\nR{x} = Q{x}+P{x}\n<x = 2>\n",
       0,
       {{"P_", 16}, {"Q_", 24}, {"R_", 40}}},
      {"a = 0.5\nP{x} = a*x^3\nQ{x} = Diff[P,x]\nR{x} = Q{x}+P{x}\n<x = 2>\n",
       0,
       {{"P_", 4}, {"Q_", 6}, {"R_", 10}}},
      // Two-letter names; c = F(3) = 3^2 + 2, d = 2c.
      {"ab = 2\nFa{x} = x^2+ab\ncd = Fa{3}\nde = cd*2\nGa{x,y} = x*de+y*ab\n<x = 1;y = 0.5>\n",
       0,
       {{"Fa", 3}, {"Ga", 23}}},
      {"ab = 2\nFa{x} = x^2+ab\ncd = Fa{3}\nde = cd*2\nGa{x,y} = x*de+y*ab\n<x = 1;y = 0.5>\n",
       0,
       {{"Fa", 3}, {"Ga", 23}}},
      {"ab = 3\nFa{x} = x^2+ab\ncd = Fa{3}\nde = cd*2\nGa{x,y} = x*de+y*ab\n<x = 1;y = 0.5>\n",
       0,
       {{"Fa", 4}, {"Ga", 25.5}}},
      // Stopped while reading: the lines the reading showed are those of the full compile.
      {"ab = 3\nFa{x} = x^2+ab\ncd = Fa{3}\nee = 1/\n", 478, {}},
      {"ab = 3\nFa{x} = x^2+ab\ncd = Fa{3}\n<x = 2>\n", 0, {{"Fa", 7}}},
  });
}

// Vector operations make component functions at every statement from long texts: the same
// worksheet run twice and then edited gives what the full compile gives. A = <t, 2t+1, sin t>,
// B = <1, t, t^2>; the cross product's x component is (2t+1) t^2 - t sin t.
TEST_F(ExecuteAgainTest, VectorComponentsAfterEdits) {
  const char* sheet =
      "A<t> = <t, 2*t+1, Sin[t]>\nB<t> = <1, t, t^2>\nCa<t> = vCross[A, B]\n"
      "Cb<t> = vCross[A, B]\nF{t} = Ca.x\n<t = 0.5>\n";
  const char* edited =
      "A<t> = <t, 2*t+1, Sin[t]>\nB<t> = <1, t, t^3>\nCa<t> = vCross[A, B]\n"
      "Cb<t> = vCross[A, B]\nF{t} = Ca.x\n<t = 0.5>\n";
  const double t = 0.5;
  ExpectSteps({{sheet, 0, {{"F_", (2 * t + 1) * t * t - t * std::sin(t)}}},
               {sheet, 0, {{"F_", (2 * t + 1) * t * t - t * std::sin(t)}}},
               {edited, 0, {{"F_", (2 * t + 1) * t * t * t - t * std::sin(t)}}}});
}

// A vector made again after every statement gives up the records of its making before, and the
// functions defined after it move up in the table: run twice and then edited, each run gives what
// the full compile gives. F = a x, G = x + b, H = F G at x = 3; K = x^2 + c after an operation
// vector.
TEST_F(ExecuteAgainTest, FunctionsMovedUpByAVectorMadeAgain) {
  const char* sheet =
      "a = 2\nA<t> = <t, t^2, a>\nF{x} = x*a\nb = 3\nG{x} = x+b\nH{x} = F{x}*G{x}\n<x = 3>\n";
  const char* edited =
      "a = 5\nA<t> = <t, t^2, a>\nF{x} = x*a\nb = 3\nG{x} = x+b\nH{x} = F{x}*G{x}\n<x = 3>\n";
  const char* operation =
      "k = 2\nA<t> = <t, 1, 0>\nB<t> = vMpy[k, A]\nJ{x} = x\nc = 1\nK{x} = x^2+c\nd = 2\n<x = 3>\n";
  ExpectSteps({{sheet, 0, {{"F_", 6}, {"G_", 6}, {"H_", 36}}},
               {sheet, 0, {{"F_", 6}, {"G_", 6}, {"H_", 36}}},
               {edited, 0, {{"F_", 15}, {"G_", 6}, {"H_", 90}}},
               {operation, 0, {{"J_", 3}, {"K_", 10}}},
               {operation, 0, {{"J_", 3}, {"K_", 10}}},
               {sheet, 0, {{"F_", 6}, {"G_", 6}, {"H_", 36}}}});
}

// A body that names the result constant of an Integ[ or dblInt[ statement further down takes the
// value that statement computes in this run, as it takes a plain constant's, whatever ran before:
// x^2 and x^3 over [0, 1] give 1/3 and 1/4 (the 3/8 rule is exact for cubics), a second Integ[
// continues the first one's curve (1/3 + 1/4), and x y over 0 <= y <= x <= 1 gives 1/8 (Simpson's
// rule is exact there). A name already taken is refused with 249 before the integral writes
// anything: the tables hold what they held. A constant whose integral stopped is listed without
// the expression an earlier run left in its record.
TEST_F(ExecuteAgainTest, IntegralConstantsNamedBeforeTheirStatements) {
  const char* named = "F{x} = x^2\nG{x} = x+ab\nab = Integ[F,{0,1,10,0}]\nc = G{1}\n";
  const char* quarter = "F{x} = x^3\nab = Integ[F,{0,1,10,0}]\n";
  const char* second =
      "F{x} = x^2\nH{x} = x^3\nG{x} = x+cd\nab = Integ[F,{0,1,10,0}]\n"
      "cd = Integ[H,{0,1,10,0}]\nc = G{1}\n";
  const char* dbl =
      "K{x} = x+d\nG{x,y} = x*y\nC{x} = 0\nD{x} = x\nd = dblInt[G,C,D,{0,1,3,3,y}]\n"
      "c = K{1}\n";
  const char* taken = "F{x} = x^2\nk = 0.41\nm = k*2\nk = Integ[F,{0,1,10,0}]\n";
  // 1/(1 - x y) has its pole at (1, 1): the run stops with 5085, the constant not computed.
  const char* pole = "F{x,y} = 1/(1-x*y)\nC{x} = 0\nD{x} = 1\nv = dblInt[F,C,D,{0,1,10,10,y}]\n";
  struct Case {
    std::vector<const char*> runs;  // from a fresh start, in order; the last one is checked
    int16_t msgNo;
    std::map<rt::Text, double> constants;  // every constant the tables hold; NaN: not computed
  };
  const std::map<rt::Text, double> third = {{u"ab", 1.0 / 3}, {u"c_", 4.0 / 3}};
  const std::map<rt::Text, double> continued = {
      {u"ab", 1.0 / 3}, {u"cd", 1.0 / 3 + 1.0 / 4}, {u"c_", 1 + 1.0 / 3 + 1.0 / 4}};
  const std::map<rt::Text, double> eighth = {{u"d_", 0.125}, {u"c_", 1.125}};
  const Case cases[] = {
      {{named}, 0, third},
      {{named, named}, 0, third},
      {{quarter, named}, 0, third},
      {{second}, 0, continued},
      {{named, second}, 0, continued},
      {{dbl}, 0, eighth},
      {{named, dbl}, 0, eighth},
      {{taken}, kMsgConstantDefinedTwice, {{u"k_", 0.41}, {u"m_", 0.82}}},
      {{"v = 2*3\n", pole}, 5085, {{u"v_", std::nan("")}}},
      // A range naming the constant its own statement computes: it has no value yet.
      {{named, "F{x} = x^2\nc = Integ[F,{0,c,10,0}]\n"}, 339, {{u"c_", std::nan("")}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.runs.back()) + " after " + std::to_string(c.runs.size() - 1));
    ResetProgramState();
    RunRecord last;
    for (const char* sheet : c.runs) last = Execute(sheet);
    EXPECT_EQ(last.msgNo, c.msgNo);
    EXPECT_EQ(Tables.ConstCount, static_cast<int16_t>(c.constants.size()));
    for (const auto& [name, value] : c.constants) {
      SCOPED_TRACE(rt::ToUtf8(name));
      const ConstRec* rec = FindConst(name);
      ASSERT_NE(rec, nullptr);
      if (std::isnan(value)) {
        EXPECT_TRUE(rec->NotComputed);
        EXPECT_EQ(rec->Expr, u"");  // listed with no expression, as a computed one is
        continue;
      }
      EXPECT_FALSE(rec->NotComputed);
      EXPECT_NEAR(ConstValue(name), value, 1e-12);
    }
  }
}

}  // namespace
}  // namespace ms::testing
