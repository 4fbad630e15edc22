// mathsheet-probe: runs the real windows offscreen and prints what a user would see, one record
// per line, in UTF-8. A test tool: every end-to-end test is a worksheet and the probe output it
// must give.
//
// Usage: mathsheet-probe [options] WORKSHEET
//   --digits N      display precision (4 to 8) before Execute
//   --tables        also print the constant and function tables
//   --graph         press Graph after Execute
//   --scene         with --graph, also print every segment
//   --keys "K K"    keys to the graph window after --graph; given after a --press, the keys
//                   are sent at that point of the presses instead (repeatable, in order)
//   --type "K K"    after --graph (and --keys), keys as a person types them, each to whichever
//                   control has the focus; --keys names and Tab, Return, Backspace; given after a
//                   --press, the keys are typed at that point of the presses instead (repeatable,
//                   in order), so that the boxes of a window a press opened can be filled
//   --press A,B     after --graph (and --type), click the controls or menu items with these
//                   object names in order: the graph window's, then those of the windows it
//                   opens (display options, set-up windows); boxes are answered as --answer says;
//                   repeatable, each in its place among the --keys and --type that follow a --press
//   --bmp FILE      save the graph picture
//   --answer N      answer boxes with Yes/No buttons with N (2 Cancel, 6 Yes, 7 No)
//   --open          load the worksheet through File > Open instead of typing it
//   --save-as FILE  File > Save As after Execute
//   --print FILE    File > Print of the worksheet into a PDF file
//   --then FILE     after the first Execute, type FILE over the worksheet and Execute again
//                   (repeatable, in order), to see what one run leaves to the next
// Exit status 0 when it ran (whatever the worksheet did), 2 on a usage error.
//
// Records, in this order:
//   BOX <title> and one "| <line>" per CR LF line of its text, for every message box shown while
//     the worksheet is loaded and executed;
//   LIST <line> for each line of the results listing;
//   GRAPH enabled|disabled (the Graph button);
//   CONST <Name> <ValueText> and FUNC <Name> <Code> for every record in use (--tables);
//   for each --then: a line THEN, then the BOX, LIST, GRAPH (and CONST, FUNC) records of that
//     Execute;
//   BOX records of Save As (--save-as), then of printing (--print);
//   BMP <file> not written, when the --bmp picture could not be saved;
//   BOX records of Graph, then SCENE, VIEWBOX, VIEW and SEG records (--graph, --scene);
//     with --type or --press, after the BOX records of Graph: FOCUS <objectName> (the graph
//     window's focus control once the graph is built), then for each pressed name
//     PRESS <name> (pressed), PRESS <name> disabled or PRESS <name> missing, for keys given
//     among the presses KEYS <keys>, and for keys typed among them TYPE <keys>, each followed
//     by the BOX records of its boxes; the
//     SCENE records then show the picture as the presses left it (none when the graph window is
//     gone);
//   CAPTION <text>: the worksheet window's caption at the end.
#include <QApplication>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <string>

#include "graph/GraphProbe.h"
#include "graph/GraphWindow.h"
#include "language/WorksheetTables.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "worksheet/WorksheetText.h"
#include "worksheet/WorksheetWindow.h"

namespace {

struct ProbeOptions {
  int digits = 0;  // 0: leave the default
  bool tables = false;
  bool graph = false;
  bool scene = false;
  QString keys;  // sent as the graph is built
  QString type;  // typed before the first press
  // Presses and keys in the order given, after the graph is built and typed into: an object name
  // to press, keys to send to the graph window, or keys to type.
  struct Step {
    enum Kind { kPress, kKeys, kType } kind;
    QString value;
  };
  QList<Step> steps;
  QString bmp;
  int answer = 0;  // 0: default buttons
  bool open = false;
  QString saveAs;
  QString print;
  QStringList then;  // worksheets typed and executed after the first, in order
  QString worksheet;
};

const char kUsage[] =
    "usage: mathsheet-probe [--digits N] [--tables] [--graph] [--scene] [--keys \"K ...\"]\n"
    "                       [--type \"K ...\"] [--press NAME,...] [--bmp FILE]\n"
    "                       [--answer 2|6|7] [--open] [--save-as FILE]\n"
    "                       [--print FILE.pdf] [--then FILE ...] WORKSHEET\n";

bool ParseInt(const QString& s, int& out) {
  bool ok = false;
  out = s.toInt(&ok);
  return ok;
}

// Whether every key of a --keys list is one the graph window takes; else the reason in error.
bool GraphKeysKnown(const QString& keys, QString& error) {
  static const QStringList kNamed = {"Left", "Right", "Up", "Down", "Esc"};
  for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (key.size() != 1 && !kNamed.contains(key)) {
      error = QStringLiteral("unknown key ") + key;
      return false;
    }
  }
  return true;
}

// False on a usage error, with the reason in error.
bool ParseOptions(const QStringList& args, ProbeOptions& o, QString& error) {
  QStringList positional;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&](QString& out) {
      if (i + 1 >= args.size()) {
        error = a + QStringLiteral(" needs a value");
        return false;
      }
      out = args[++i];
      return true;
    };
    QString v;
    if (a == QLatin1String("--digits")) {
      if (!value(v)) return false;
      if (!ParseInt(v, o.digits) || o.digits < 4 || o.digits > 8) {
        error = QStringLiteral("--digits takes 4 to 8");
        return false;
      }
    } else if (a == QLatin1String("--tables")) {
      o.tables = true;
    } else if (a == QLatin1String("--graph")) {
      o.graph = true;
    } else if (a == QLatin1String("--scene")) {
      o.scene = true;
    } else if (a == QLatin1String("--keys")) {
      if (!value(v)) return false;
      if (!GraphKeysKnown(v, error)) return false;
      if (o.steps.isEmpty()) {
        o.keys += (o.keys.isEmpty() ? QString() : QStringLiteral(" ")) + v;
      } else {
        o.steps.push_back({ProbeOptions::Step::kKeys, v});
      }
    } else if (a == QLatin1String("--type")) {
      if (!value(v)) return false;
      if (!gr::KeysKnown(v)) {
        error = QStringLiteral("unknown key in --type ") + v;
        return false;
      }
      if (o.steps.isEmpty()) {
        o.type += (o.type.isEmpty() ? QString() : QStringLiteral(" ")) + v;
      } else {
        o.steps.push_back({ProbeOptions::Step::kType, v});
      }
    } else if (a == QLatin1String("--press")) {
      if (!value(v)) return false;
      const QStringList names = v.split(QLatin1Char(','), Qt::SkipEmptyParts);
      if (names.isEmpty()) {
        error = QStringLiteral("--press needs object names");
        return false;
      }
      for (const QString& name : names) o.steps.push_back({ProbeOptions::Step::kPress, name});
    } else if (a == QLatin1String("--bmp")) {
      if (!value(o.bmp)) return false;
    } else if (a == QLatin1String("--answer")) {
      if (!value(v)) return false;
      if (!ParseInt(v, o.answer) || (o.answer != ui::kAnswerCancel && o.answer != ui::kAnswerYes &&
                                     o.answer != ui::kAnswerNo)) {
        error = QStringLiteral("--answer takes 2, 6 or 7");
        return false;
      }
    } else if (a == QLatin1String("--open")) {
      o.open = true;
    } else if (a == QLatin1String("--save-as")) {
      if (!value(o.saveAs)) return false;
    } else if (a == QLatin1String("--print")) {
      if (!value(o.print)) return false;
    } else if (a == QLatin1String("--then")) {
      if (!value(v)) return false;
      o.then << v;
    } else if (a.startsWith(QLatin1String("--"))) {
      error = QStringLiteral("unknown option ") + a;
      return false;
    } else {
      positional << a;
    }
  }
  if (positional.size() != 1) {
    error = QStringLiteral("exactly one worksheet file expected");
    return false;
  }
  if ((o.scene || !o.keys.isEmpty() || !o.bmp.isEmpty() || !o.type.isEmpty() ||
       !o.steps.isEmpty()) &&
      !o.graph) {
    error = QStringLiteral("--scene, --keys, --type, --press and --bmp need --graph");
    return false;
  }
  o.worksheet = positional.front();
  return true;
}

void Emit(const QString& line) {
  const QByteArray bytes = line.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
  std::fputc('\n', stdout);
}

QString Q(const rt::Text& s) {
  return ui::ToQString(s);
}

// Every box recorded since the last call, in order.
void EmitBoxes(ui::ScriptedUiServices& services, size_t& printed) {
  for (; printed < services.boxes.size(); ++printed) {
    const auto& box = services.boxes[printed];
    Emit(QStringLiteral("BOX ") + Q(box.title));
    for (const QString& line : Q(box.text).split(QStringLiteral("\r\n"))) {
      Emit(QStringLiteral("| ") + line);
    }
  }
}

void EmitListing(const ws::WorksheetWindow& window) {
  for (const QString& line : window.ResultLines()) Emit(QStringLiteral("LIST ") + line);
}

void EmitGraphButton(const ws::WorksheetWindow& window) {
  Emit(window.cmdGraph->isEnabled() ? QStringLiteral("GRAPH enabled")
                                    : QStringLiteral("GRAPH disabled"));
}

void EmitTables() {
  const ms::WorksheetTables& t = ms::Tables;
  const int constCount = std::clamp<int>(t.ConstCount, 0, ms::kMaxConstants);
  for (int i = 1; i <= constCount; ++i) {
    Emit(QStringLiteral("CONST ") + Q(t.ConstTable[i].Name) + QLatin1Char(' ') +
         Q(t.ConstTable[i].ValueText));
  }
  const int funcCount = std::clamp<int>(t.FuncCount, 0, ms::kMaxFunctions);
  for (int i = 1; i <= funcCount; ++i) {
    Emit(QStringLiteral("FUNC ") + Q(t.FuncTable[i].Name) + QLatin1Char(' ') +
         Q(t.FuncTable[i].Code));
  }
}

// The records of one Execute: its boxes, the listing, the Graph button and the tables.
void EmitRun(const ws::WorksheetWindow& window, ui::ScriptedUiServices& services,
             const ProbeOptions& o, size_t& boxesPrinted) {
  EmitBoxes(services, boxesPrinted);
  EmitListing(window);
  EmitGraphButton(window);
  if (o.tables) EmitTables();
}

void EmitCaption(const ws::WorksheetWindow& window) {
  Emit(QStringLiteral("CAPTION ") + window.Caption());
}

// Puts the worksheet into the editor: typed, or through File > Open.
void LoadWorksheet(ws::WorksheetWindow& window, ui::ScriptedUiServices& services,
                   const ProbeOptions& o, const QString& text) {
  if (o.open) {
    services.openPaths.push_back(ui::FromQString(o.worksheet));
    window.mnuFileOpen_click();
  } else {
    window.TypeWorksheetText(text);
  }
}

void SaveAs(ws::WorksheetWindow& window, ui::ScriptedUiServices& services, const QString& path) {
  services.savePaths.push_back(ui::FromQString(path));
  window.mnuSaveAs_click();
}

void Print(ws::WorksheetWindow& window, ui::ScriptedUiServices& services, const QString& pdf) {
  QPrinter& printer = ui::Printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  services.prints.push_back(true);
  window.mnuPrint_click();
}

// Graph as the user presses it (only when the button is enabled), then the keys and the picture;
// the scene records when the graph window exists.
void Graph(ws::WorksheetWindow& window, ui::ScriptedUiServices& services, const ProbeOptions& o,
           size_t& boxesPrinted) {
  if (window.cmdGraph->isEnabled()) window.cmdGraph->click();
  if (gr::GraphWindow::Instance() && !o.keys.isEmpty()) gr::SendGraphKeys(o.keys);
  if (gr::GraphWindow::Instance() && !o.bmp.isEmpty() && !gr::SaveGraphPicture(o.bmp)) {
    Emit(QStringLiteral("BMP ") + o.bmp + QStringLiteral(" not written"));
  }
  EmitBoxes(services, boxesPrinted);
  if (gr::GraphWindow::Instance() && (!o.type.isEmpty() || !o.steps.isEmpty())) {
    Emit(QStringLiteral("FOCUS ") + gr::GraphFocusName());
    if (!o.type.isEmpty()) gr::TypeKeys(o.type);
    EmitBoxes(services, boxesPrinted);
    for (const ProbeOptions::Step& step : o.steps) {
      if (step.kind == ProbeOptions::Step::kKeys) {
        Emit(QStringLiteral("KEYS ") + step.value);
        gr::SendGraphKeys(step.value);
      } else if (step.kind == ProbeOptions::Step::kType) {
        Emit(QStringLiteral("TYPE ") + step.value);
        gr::TypeKeys(step.value);
      } else {
        const gr::PressResult pressed = gr::PressGraphControl(step.value);
        Emit(QStringLiteral("PRESS ") + step.value +
             (pressed == gr::PressResult::kPressed    ? QString()
              : pressed == gr::PressResult::kDisabled ? QStringLiteral(" disabled")
                                                      : QStringLiteral(" missing")));
      }
      EmitBoxes(services, boxesPrinted);
    }
  }
  if (!gr::GraphWindow::Instance()) return;
  Emit(gr::SceneRecord());
  Emit(gr::ViewBoxRecord());
  Emit(gr::ViewRecord());
  if (o.scene) {
    for (const QString& record : gr::SegmentRecords()) Emit(record);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("MathSheet"));

  ProbeOptions options;
  QString error;
  if (!ParseOptions(QApplication::arguments(), options, error)) {
    std::fprintf(stderr, "mathsheet-probe: %s\n%s", error.toUtf8().constData(), kUsage);
    return 2;
  }
  const auto read = [](const QString& path, QString& out) {
    if (ws::ReadWorksheetFile(path, out)) return true;
    std::fprintf(stderr, "mathsheet-probe: cannot read %s\n", path.toUtf8().constData());
    return false;
  };
  QString text;
  if (!read(options.worksheet, text)) return 2;
  QStringList thenTexts;
  for (const QString& path : options.then) {
    if (!read(path, thenTexts.emplace_back())) return 2;
  }

  ui::ScriptedUiServices services;
  services.fixedAnswer = options.answer;
  ui::SetUi(&services);
  size_t boxesPrinted = 0;
  {
    ws::WorksheetWindow window(&gr::LoadGraphWindow);
    if (options.digits != 0) window.mnuDigits[options.digits]->trigger();
    LoadWorksheet(window, services, options, text);
    window.cmdCompute->click();
    EmitRun(window, services, options, boxesPrinted);
    for (const QString& next : thenTexts) {
      Emit(QStringLiteral("THEN"));
      window.TypeWorksheetText(next);
      window.cmdCompute->click();
      EmitRun(window, services, options, boxesPrinted);
    }
    if (!options.saveAs.isEmpty()) {
      SaveAs(window, services, options.saveAs);
      EmitBoxes(services, boxesPrinted);
    }
    if (!options.print.isEmpty()) {
      Print(window, services, options.print);
      EmitBoxes(services, boxesPrinted);
    }
    if (options.graph) Graph(window, services, options, boxesPrinted);
    EmitCaption(window);
    delete gr::GraphWindow::Instance();  // a loaded graph window is released with the worksheet
                                         // window
  }
  ui::SetUi(nullptr);
  std::fflush(stdout);
  return 0;
}
