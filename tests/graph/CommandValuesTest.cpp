// The commands take function values from code bound once per command instead of an evaluation text
// per value, and Execute keeps the compile results of records that did not change. The differential
// test here runs each worksheet through Execute and the graph build twice, bound against the text
// path or kept compile results against full compiles. Kept compiles must leave everything the user
// can see or reuse identical to the bit. Bound code takes its arguments and gives its results at
// full precision where the text carries 15 digits: what the user reads must still be identical
// (message boxes, the results listing at every digits setting, constants), and every number kept
// (function values, stored solutions, the scene store) must agree to single precision, the
// precision the solutions are stored in.
#include <QFile>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <random>
#include <span>
#include <string>

#include "GraphTestSupport.h"
#include "help/HelpText.h"
#include "mathematics/CompileCode.h"
#include "mathematics/FunctionValue.h"

namespace gr::testing {
namespace {

// What a run left: texts as lines, every double as its bits.
struct RunRecord {
  std::vector<std::string> lines;  // boxes, listing, constants, functions
  std::vector<uint64_t> bits;      // function values, solutions, scene
  void Add(double v) { bits.push_back(std::bit_cast<uint64_t>(v)); }
};

// A line of a bound run against the text run's: the same, or a constant ("name = value", also
// "(value)") whose value differs by at most one unit of the 15th significant digit of its text.
// The text path rounds every value of an integrand to 15 digits; bound code keeps them, so a sum
// whose 16th digit lies near 5 can round the other way (the 3/8 rule for 2/x over [0, 1] in 8
// panels, f(0) taken as 0: exact sum 7.7851916142311047, bound 7.78519161423110, text
// 7.78519161423111).
bool SameListedLine(const std::string& bound, const std::string& text) {
  if (bound == text) return true;
  const size_t eq = bound.rfind('=');
  if (eq == std::string::npos || bound.compare(0, eq + 1, text, 0, eq + 1) != 0) return false;
  auto number = [eq](const std::string& line, double& v) {
    std::string rest = line.substr(eq + 1);
    std::erase_if(rest, [](char c) { return c == ' ' || c == '(' || c == ')'; });
    char* end = nullptr;
    v = std::strtod(rest.c_str(), &end);
    return !rest.empty() && end == rest.c_str() + rest.size();
  };
  double a = 0, b = 0;
  if (!number(bound, a) || !number(text, b) || a == 0 || b == 0) return false;
  const double unit =
      std::pow(10.0, std::floor(std::log10(std::max(std::fabs(a), std::fabs(b)))) - 14);
  return std::fabs(a - b) <= 1.0001 * unit;
}

// Numbers of a bound run against those of a text run: equal, or within a few single-precision
// units of the larger magnitude, taken as at least 1e-6 (a slope x - y at x = y is 1.1e-16 from
// bound nodes and 2.8e-16 from the text's). A count differs by at least one, far more.
bool AgreeToSinglePrecision(uint64_t boundBits, uint64_t textBits) {
  const double a = std::bit_cast<double>(boundBits), b = std::bit_cast<double>(textBits);
  if (boundBits == textBits || a == b) return true;
  return std::fabs(a - b) <= 4 * 0x1p-24 * std::max({std::fabs(a), std::fabs(b), 1e-6});
}

class CommandValuesTest : public GraphTest {
 protected:
  void TearDown() override {
    ms::SetFunctionBindingsEnabled(true);
    ms::SetCompileMemoEnabled(true);
    GraphTest::TearDown();
  }

  RunRecord RunSheet(const QString& text, bool bindings, bool memo) {
    ms::SetFunctionBindingsEnabled(bindings);
    ms::SetCompileMemoEnabled(memo);
    ReleaseGraphWindow();
    sheet_.reset();  // a fresh window: an error exit adds to the listing left before
    ui_.Reset();
    ws::WorksheetWindow& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(text);
    sheet.cmdCompute_click();
    if (sheet.cmdGraph->isEnabled()) sheet.cmdGraph_click();
    RunRecord r;
    for (const auto& box : ui_.boxes) r.lines.push_back(rt::ToUtf8(box.title + u"|" + box.text));
    for (const QString& line : sheet.ResultLines()) r.lines.push_back(line.toStdString());
    for (int digits = 4; digits <= 8; ++digits) {
      sheet.SetDisplayDigits(digits);
      sheet.DisplayResults();
      for (const QString& line : sheet.ResultLines()) r.lines.push_back(line.toStdString());
    }
    for (const ms::ConstRec& c : std::span(ms::Tables.ConstTable).subspan(1, ms::Tables.ConstCount))
      r.lines.push_back(rt::ToUtf8(c.Name + u"=" + c.ValueText));
    for (const ms::FuncRec& f : std::span(ms::Tables.FuncTable).subspan(1, ms::Tables.FuncCount)) {
      r.lines.push_back(rt::ToUtf8(f.Name + u" " + f.Code));
      r.Add(f.Value);
    }
    const ms::SceneStoreData& scene = ms::Scene;
    for (double v : {double(ms::Solutions.StoredPointCount), double(ms::Solutions.CurveSteps),
                     double(scene.VertexCount), double(scene.SegmentCount), scene.ViewXMin,
                     scene.ViewXMax, scene.ViewYMin, scene.ViewYMax, scene.ViewZMin, scene.ViewZMax,
                     scene.VertexCountD, scene.SegmentCountD})
      r.Add(v);
    for (const auto& row : ms::Solutions.SolutionTable)
      for (const auto& component : row)
        for (double v : component) r.Add(v);
    for (int i = 0; i <= scene.VertexCount && i < ms::kSceneRows; ++i)
      for (double v : scene.VertexXYZ[static_cast<size_t>(i)]) r.Add(v);
    for (int i = 0; i <= scene.SegmentCount && i < ms::kSceneRows; ++i)
      for (double v : scene.SegmentTable[static_cast<size_t>(i)]) r.Add(v);
    return r;
  }

  // The bindings against the text path, or the compile with its kept results against the full
  // compile of every record.
  // compareNumbers false: the listing and boxes only (a solve whose step choices may part at a
  // rounding of the text path stores a different number of points).
  void ExpectSameRuns(const QString& text, bool compareMemo, bool compareNumbers = true) {
    SCOPED_TRACE(text.toStdString());
    const RunRecord other = RunSheet(text, compareMemo, !compareMemo);
    const RunRecord bound = RunSheet(text, true, true);
    if (compareMemo) {
      EXPECT_EQ(bound.lines, other.lines);
    } else {
      ASSERT_EQ(bound.lines.size(), other.lines.size());
      for (size_t i = 0; i < bound.lines.size(); ++i)
        EXPECT_PRED2(SameListedLine, bound.lines[i], other.lines[i]) << "line " << i;
    }
    if (!compareNumbers) return;
    ASSERT_EQ(bound.bits.size(), other.bits.size());
    const auto [differs, _] =
        compareMemo ? std::ranges::mismatch(bound.bits, other.bits)
                    : std::ranges::mismatch(bound.bits, other.bits, AgreeToSinglePrecision);
    EXPECT_TRUE(differs == bound.bits.end())
        << "first differing number: " << differs - bound.bits.begin() << ": "
        << std::bit_cast<double>(*differs) << " against "
        << std::bit_cast<double>(other.bits[static_cast<size_t>(differs - bound.bits.begin())]);
  }
};

// Random worksheets: functions built from every kind of operand and operation the evaluator knows
// (guarded failures included), used by each command that takes function values.
struct SheetGenerator {
  std::mt19937 rng_;

  QString Sheet() {
    std::string s = "a = " + Number() + "\nbc = " + Number() + "*a\n";
    s += "G{x} = " + Expr("x", "", 3, false) + "\n";
    s += "F{x,y} = " + Expr("x", "y", 3, true) + "\n";
    s += "H{x} = " + Expr("x", "", 2, true) + "\n";
    s += "C{x} = 0\nD{x} = " + Expr("x", "", 1, false) + "\n";
    if (Pick(3) == 0) s += "K{x} = Diff[G,x]\nw = Integ[K,{0,1,8,0}]\n";
    const std::string commands[] = {
        "v = dblInt[F,C,D,{0,1,6,6,y}]",
        "v = Integ[H,{0.1,1.3,12,0}]",
        "Zero[H,{0.1,2,r}]",
        "PlotContour[F,{-2,2,-2,2}{0.5,0.5}{-1,2,0.5}]",
        "P{t,x} = " + Expr("t", "x", 2, true) + "\nIVP[P, {0, 1.5, 1} {0.5, 0.001}]",
        "PlotSlopeField[F, {-2,2,6}{-2,2,6} {0,1} {0,-1}]",
        "PlotDirField[F, F, {-2,2,5}{-2,2,5}]"};
    return QString::fromStdString(s + commands[Pick(7)] + "\nk = bc+1\n");
  }

  int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

  std::string Number() {
    static const char* const kNumbers[] = {
        "0", "1", "2", "0.5", "1.5", "3.25", "0.1", "1E-3", "2.5E2", "7", "0.333333333333333"};
    return kNumbers[Pick(static_cast<int>(std::size(kNumbers)))];
  }

  std::string Expr(const std::string& v1, const std::string& v2, int depth, bool callG) {
    const std::string v = v2.empty() || Pick(2) == 0 ? v1 : v2;
    if (depth == 0 || Pick(4) == 0) {
      const std::string leaves[] = {Number(), Pick(2) == 0 ? "a" : "bc", v, v, "(-" + v + ")"};
      return leaves[Pick(5)];
    }
    static const char* const kUnary[] = {"Sin",  "Cos",   "Exp", "Ln",  "Sqrt", "Abs",
                                         "ATan", "Floor", "Tan", "Log", "Sign", "Cosh"};
    static const char* const kPowers[] = {"2", "3", "0.5", "(-1)", "(1/3)", "1.5"};
    // The forms with e and f for the two operands, u for the function and p for the power.
    static const char* const kForms[] = {"u[e]",  "(e+f)",   "(e-f)", "e*f", "(e)/(f)",
                                         "(e)^p", "(e)^(f)", "(-e)",  "G{e}"};
    const std::string e = Expr(v1, v2, depth - 1, callG), f = Expr(v1, v2, depth - 1, callG);
    const std::string u = kUnary[Pick(12)], p = kPowers[Pick(6)];
    std::string out;
    for (const char* c = kForms[Pick(callG ? 9 : 8)]; *c != 0; ++c)
      out += *c == 'e' ? e : *c == 'f' ? f : *c == 'u' ? u : *c == 'p' ? p : std::string(1, *c);
    return out;
  }
};

// The worksheets of both differential tests are run in shards, so that no single test runs long
// under the sanitizers on a small machine; each shard takes every kShards-th worksheet. A few
// generated sheets cost as much as a dozen others, and the heaviest fall in different shards.
constexpr int kShards = 32;

class CommandValuesShardTest : public CommandValuesTest, public ::testing::WithParamInterface<int> {
 protected:
  bool InShard(size_t index) const { return static_cast<int>(index % kShards) == GetParam(); }
};

// Generated worksheets, bound against the text path and kept compiles against full ones.
TEST_P(CommandValuesShardTest, GeneratedWorksheetsGiveTheSameRuns) {
  for (unsigned seed = 1; seed <= 91; ++seed)
    if (InShard(seed)) ExpectSameRuns(SheetGenerator{std::mt19937(seed)}.Sheet(), seed > 60);
}

// A worksheet whose vector operations add component functions at every statement, every
// end-to-end worksheet and every help example.
TEST_P(CommandValuesShardTest, FixedWorksheetsGiveTheSameRuns) {
  std::vector<std::pair<QString, bool>> sheets;  // the worksheet; kept compiles (or bindings)
  QString vectors = QStringLiteral(
      "F{t} = Sin[t]*t^2+1\nA<t> = <F{t}, Cos[t]-t, Exp[t/5]>\nB<t> = <t, 2*t+1, Sin[t]>\n");
  for (const char* name : {"Ca", "Cb", "Cc", "Cd", "Ce", "Cf"})
    vectors += QString::fromLatin1(name) + QStringLiteral("<t> = vCross[A, B]\n");
  sheets.emplace_back(vectors + "G{x} = Diff[F,x]\nv = Integ[G,{0,1,8,0}]\n<t = 0.5>\n", true);
  const QDir dir(QStringLiteral(MATHSHEET_WORKSHEETS_DIR));
  const QStringList cases = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
  ASSERT_GT(cases.size(), 20);
  for (const QString& name : cases) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll()).replace("\r\n", "\n");
    for (const bool memo : {false, true}) sheets.emplace_back(text, memo);
  }
  for (const ms::help::HelpExample& example : ms::help::HelpExamples()) {
    sheets.emplace_back(QString::fromStdU16String(std::u16string(example.setup) +
                                                  std::u16string(example.statement) + u"\n")
                            .replace("\r\n", "\n"),
                        false);
  }
  for (size_t i = 0; i < sheets.size(); ++i)
    if (InShard(i)) ExpectSameRuns(sheets[i].first, sheets[i].second);
}

// Inv[ keeps a memory across evaluations. A function without Inv[ in a table that holds it
// elsewhere is bound all the same and must leave that memory and the records' values as the text
// path does (N reads the memory K left in the run before); a function that calls Inv[ itself stays
// on the text path. The first sheet's table also holds a sixth derivative that the text path
// expands on every value.
TEST_F(CommandValuesTest, TablesHoldingInvGiveTheSameRuns) {
  // N reads the memory; K turns it over on every run of the records (after s has set it), so
  // that N's value and the memory tell how many times the records ran.
  const QString inv = QStringLiteral("N{x} = Inv[0]\nK{x} = Inv[Inv[0]]\ns = Inv[-1]\n");
  const QString mixed = QStringLiteral(
      "So{x} = x\nZero[So, {-2, 2, v}]\nC<u> = <(v), Int[(Inv[u^2])], (u)>\n"
      "Gn{x,y,z} = 1.5^x/So{So{(-0.5)}}\nMi{x,y,z} = (z)\nSv{x,y,z} = x^(-1)*y/z/So{Exp[v]}+4\n"
      "e = Mi{Sv{Ln[v],2,1.5}^2,Mi{(2),Clip[v*v],3.14159},1.5}\n"
      "ki = 1/Sv{v,e,e}+Mi{v,4,(-0)}^0.5\nQ{x} = 3x+ki-e+1*Sv{x,0,1E5}+10x\n");
  const QString sheets[] = {
      // Records that fail on their parameters leave the stack pointer raised: a thousand panels
      // overflow it unless every value starts where the text path's compile puts it.
      mixed + QStringLiteral("lj = Integ[Q, {10, 0.5, 1000, 1}]\n"),
      mixed + QStringLiteral("lj = Integ[Q, {10, 0.5, 6, 1}]\nU{x,y,z} = Diff[Gn,x,6]\n"),
      inv + QStringLiteral("H{x} = x^2+1\nG{x} = 1\nv = Integ[H,G,{0,1,7,0}]\n"),
      inv + QStringLiteral("H{x} = x^2+1\nv = Integ[H,{0,1,8,0}]\n<t = 1>\n"),
      inv + QStringLiteral("M{x} = x*Inv[x-0.5]\nv = Integ[M,{0,1,8,0}]\n<t = 1>\n"),
      inv + QStringLiteral("H{x} = x^2-2\nZero[H,{0,2,r}]\nw = Integ[H,{0,2,6,0}]\n<t = 1>\n"),
  };
  for (const QString& sheet : sheets) ExpectSameRuns(sheet, false);
  // The text path rounds every value of the right-hand side to 15 digits, the bound one does not:
  // the solve may take other steps, so only what is listed is compared.
  ExpectSameRuns(inv + QStringLiteral("P{t,x} = x*Inv[t-1]\nF{t,x} = x-t\n"
                                      "IVP[F, {0, 1.5, 1} {0.5, 0.001}]\n<t = 1>\n"),
                 false, false);
}

INSTANTIATE_TEST_SUITE_P(Shards, CommandValuesShardTest, ::testing::Range(0, kShards));

}  // namespace
}  // namespace gr::testing
