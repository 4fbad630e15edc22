// The commands take function values from code bound once per command instead of an evaluation text
// per value. The differential test here runs each worksheet twice through Execute and the graph
// build, once with the bindings and once on the text path, and requires everything the user can
// see or reuse to be identical to the bit: message boxes, the results listing, constants, function
// values, the stored solutions and the scene store.
#include <QDir>
#include <QFile>
#include <cstring>
#include <random>
#include <string>

#include "SheetGraphTest.h"
#include "help/HelpText.h"
#include "mathematics/CompileCode.h"
#include "numerics/FunctionValue.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneStore.h"

namespace gr::testing {
namespace {

// What a run left, with every double kept as its bits.
struct RunRecord {
  std::vector<std::string> lines;  // boxes, listing, constants, functions
  std::vector<uint64_t> numbers;   // function values, solutions, scene

  void Add(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    numbers.push_back(bits);
  }
};

class CommandValuesTest : public SheetGraphTest {
 protected:
  void TearDown() override {
    ms::SetFunctionBindingsEnabled(true);
    ms::SetCompileMemoEnabled(true);
    SheetGraphTest::TearDown();
  }

  RunRecord RunSheet(const QString& text, bool bindings, bool memo = true) {
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
    for (int k = 1; k <= ms::Tables.ConstCount; ++k) {
      const ms::ConstRec& c = ms::Tables.ConstTable[static_cast<size_t>(k)];
      r.lines.push_back(rt::ToUtf8(c.Name + u"=" + c.ValueText));
    }
    for (int k = 1; k <= ms::Tables.FuncCount; ++k) {
      const ms::FuncRec& f = ms::Tables.FuncTable[static_cast<size_t>(k)];
      r.lines.push_back(rt::ToUtf8(f.Name + u" " + f.Code));
      r.Add(f.Value);
    }
    const ms::SolutionStoreData& s = ms::Solutions;
    r.numbers.push_back(static_cast<uint64_t>(s.StoredPointCount));
    r.numbers.push_back(static_cast<uint64_t>(s.CurveSteps));
    for (const auto& row : s.SolutionTable) {
      for (const auto& component : row) {
        for (double v : component) r.Add(v);
      }
    }
    const ms::SceneStoreData& scene = ms::Scene;
    r.numbers.push_back(static_cast<uint64_t>(scene.VertexCount));
    r.numbers.push_back(static_cast<uint64_t>(scene.SegmentCount));
    for (int i = 0; i <= scene.VertexCount && i < ms::kSceneRows; ++i) {
      for (double v : scene.VertexXYZ[static_cast<size_t>(i)]) r.Add(v);
    }
    for (int i = 0; i <= scene.SegmentCount && i < ms::kSceneRows; ++i) {
      for (double v : scene.SegmentTable[static_cast<size_t>(i)]) r.Add(v);
    }
    for (double v : {scene.ViewXMin, scene.ViewXMax, scene.ViewYMin, scene.ViewYMax, scene.ViewZMin,
                     scene.ViewZMax, scene.VertexCountD, scene.SegmentCountD}) {
      r.Add(v);
    }
    return r;
  }

  // The bindings against the text path, or the compile with its kept results against the full
  // compile of every record.
  void ExpectSameRuns(const QString& text, bool compareMemo = false) {
    SCOPED_TRACE(text.toStdString());
    const RunRecord byText = compareMemo ? RunSheet(text, true, false) : RunSheet(text, false);
    const RunRecord bound = RunSheet(text, true);
    EXPECT_EQ(bound.lines.size(), byText.lines.size());
    for (size_t i = 0; i < bound.lines.size() && i < byText.lines.size(); ++i) {
      if (bound.lines[i] != byText.lines[i]) {
        ADD_FAILURE() << "line " << i << ": " << bound.lines[i]
                      << " | text path: " << byText.lines[i];
        break;
      }
    }
    EXPECT_EQ(bound.numbers.size(), byText.numbers.size());
    for (size_t i = 0; i < bound.numbers.size() && i < byText.numbers.size(); ++i) {
      if (bound.numbers[i] != byText.numbers[i]) {
        ADD_FAILURE() << "number " << i << " differs";
        break;
      }
    }
  }
};

// Random worksheets: functions built from every kind of operand and operation the evaluator knows
// (guarded failures included), used by each command that takes function values.
class SheetGenerator {
 public:
  explicit SheetGenerator(unsigned seed) : rng_(seed) {}

  QString Sheet() {
    std::string s = "a = " + Number() + "\nbc = " + Number() + "*a\n";
    s += "G{x} = " + Expr("x", "", 3, false) + "\n";
    s += "F{x,y} = " + Expr("x", "y", 3, true) + "\n";
    s += "H{x} = " + Expr("x", "", 2, true) + "\n";
    s += "C{x} = 0\nD{x} = " + Expr("x", "", 1, false) + "\n";
    if (Pick(3) == 0) s += "K{x} = Diff[G,x]\nw = Integ[K,{0,1,8,0}]\n";
    switch (Pick(7)) {
      case 0:
        s += "v = dblInt[F,C,D,{0,1,6,6,y}]\n";
        break;
      case 1:
        s += "v = Integ[H,{0.1,1.3,12,0}]\n";
        break;
      case 2:
        s += "Zero[H,{0.1,2,r}]\n";
        break;
      case 3:
        s += "PlotContour[F,{-2,2,-2,2}{0.5,0.5}{-1,2,0.5}]\n";
        break;
      case 4:
        s += "P{t,x} = " + Expr("t", "x", 2, true) + "\nIVP[P, {0, 1.5, 1} {0.5, 0.001}]\n";
        break;
      case 5:
        s += "PlotSlopeField[F, {-2,2,6}{-2,2,6} {0,1} {0,-1}]\n";
        break;
      default:
        s += "PlotDirField[F, F, {-2,2,5}{-2,2,5}]\n";
        break;
    }
    s += "k = bc+1\n";
    return QString::fromStdString(s);
  }

 private:
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

  std::string Number() {
    static const char* const kNumbers[] = {
        "0", "1", "2", "0.5", "1.5", "3.25", "0.1", "1E-3", "2.5E2", "7", "0.333333333333333"};
    return kNumbers[Pick(static_cast<int>(std::size(kNumbers)))];
  }

  std::string Expr(const std::string& v1, const std::string& v2, int depth, bool callG) {
    if (depth == 0 || Pick(4) == 0) {
      switch (Pick(5)) {
        case 0:
          return Number();
        case 1:
          return Pick(2) == 0 ? "a" : "bc";
        case 2:
        case 3:
          return v2.empty() || Pick(2) == 0 ? v1 : v2;
        default:
          return "(-" + (v2.empty() ? v1 : v2) + ")";
      }
    }
    const std::string e = Expr(v1, v2, depth - 1, callG);
    static const char* const kUnary[] = {"Sin",  "Cos",   "Exp", "Ln",  "Sqrt", "Abs",
                                         "ATan", "Floor", "Tan", "Log", "Sign", "Cosh"};
    switch (Pick(callG ? 9 : 8)) {
      case 0:
        return std::string(kUnary[Pick(static_cast<int>(std::size(kUnary)))]) + "[" + e + "]";
      case 1:
        return "(" + e + "+" + Expr(v1, v2, depth - 1, callG) + ")";
      case 2:
        return "(" + e + "-" + Expr(v1, v2, depth - 1, callG) + ")";
      case 3:
        return e + "*" + Expr(v1, v2, depth - 1, callG);
      case 4:
        return "(" + e + ")/(" + Expr(v1, v2, depth - 1, callG) + ")";
      case 5: {
        static const char* const kPowers[] = {"2", "3", "0.5", "(-1)", "(1/3)", "1.5"};
        return "(" + e + ")^" + kPowers[Pick(static_cast<int>(std::size(kPowers)))];
      }
      case 6:
        return "(" + e + ")^(" + Expr(v1, v2, depth - 1, callG) + ")";
      case 7:
        return "(-" + e + ")";
      default:
        return "G{" + e + "}";
    }
  }

  std::mt19937 rng_;
};

TEST_F(CommandValuesTest, GeneratedWorksheetsGiveTheSameResultsAsTheTextPath) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectSameRuns(SheetGenerator(seed).Sheet());
  }
}

// Execute compiles each record once and reuses the results for the later statements: the tables,
// listing and scene are those of compiling every record in full at every statement.
TEST_F(CommandValuesTest, KeptCompileResultsGiveTheSameRunsAsFullCompiles) {
  for (unsigned seed = 100; seed <= 130; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectSameRuns(SheetGenerator(seed).Sheet(), true);
  }
  // Vectors whose operations add component functions at every statement.
  QString sheet = QStringLiteral(
      "F{t} = Sin[t]*t^2+1\nA<t> = <F{t}, Cos[t]-t, Exp[t/5]>\n"
      "B<t> = <t, 2*t+1, Sin[t]>\n");
  for (const char* name : {"Ca", "Cb", "Cc", "Cd", "Ce", "Cf"}) {
    sheet += QString::fromLatin1(name) + QStringLiteral("<t> = vCross[A, B]\n");
  }
  sheet += QStringLiteral("G{x} = Diff[F,x]\nv = Integ[G,{0,1,8,0}]\n<t = 0.5>\n");
  ExpectSameRuns(sheet, true);
}

TEST_F(CommandValuesTest, EndToEndWorksheetsGiveTheSameResultsAsTheTextPath) {
  const QDir dir(QStringLiteral(MATHSHEET_WORKSHEETS_DIR));
  const QStringList cases = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
  ASSERT_FALSE(cases.empty());
  for (const QString& name : cases) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ExpectSameRuns(text);
    ExpectSameRuns(text, true);
  }
}

TEST_F(CommandValuesTest, HelpExamplesGiveTheSameResultsAsTheTextPath) {
  for (const ms::help::HelpExample& example : ms::help::HelpExamples()) {
    QString text = QString::fromStdU16String(std::u16string(example.setup) +
                                             std::u16string(example.statement) + u"\r\n");
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ExpectSameRuns(text);
  }
}

}  // namespace
}  // namespace gr::testing
