#include "graph/GraphWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <vector>

#include "graph/GraphImage.h"
#include "graph/frmGraph.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/QtUiServices.h"
#include "plotting/SceneStore.h"

namespace gr {

namespace {

QString Num(double v) {
  return ui::ToQString(rt::NumText(v));
}

// Coordinates in the probe's records: printf's %.10g.
QString Coord(double v) {
  if (v == 0) return QStringLiteral("0");  // no "-0"
  return QString::asprintf("%.10g", v);
}

struct KeyStroke {
  int key;
  QString text;
};

bool ParseKey(const QString& token, KeyStroke& out) {
  static const std::array<std::pair<const char*, int>, 5> named = {{{"Left", Qt::Key_Left},
                                                                    {"Right", Qt::Key_Right},
                                                                    {"Up", Qt::Key_Up},
                                                                    {"Down", Qt::Key_Down},
                                                                    {"Esc", Qt::Key_Escape}}};
  for (const auto& [name, key] : named) {
    if (token == QLatin1String(name)) {
      out = {key, key == Qt::Key_Escape ? QString(QChar(27)) : QString()};
      return true;
    }
  }
  if (token.size() != 1 || token[0].unicode() < 32) return false;
  const QChar c = token[0];
  const int key = c.isLetter() ? c.toUpper().unicode() : c.unicode();
  out = {key, token};
  return true;
}

}  // namespace

frmGraph& ShowGraphWindow() {
  return frmGraph::Load();
}

frmGraph* GraphWindow() {
  return frmGraph::Instance();
}

QString SceneRecord() {
  return QStringLiteral("SCENE vertices=%1 segments=%2")
      .arg(Num(ms::Scene.VertexCountD), Num(ms::Scene.SegmentCountD));
}

QString ViewBoxRecord() {
  const ms::SceneStoreData& s = ms::Scene;
  return QStringLiteral("VIEWBOX %1 %2 %3 %4 %5 %6")
      .arg(Coord(s.ViewXMin), Coord(s.ViewXMax), Coord(s.ViewYMin), Coord(s.ViewYMax),
           Coord(s.ViewZMin), Coord(s.ViewZMax));
}

QString ViewRecord() {
  frmGraph* w = frmGraph::Instance();
  if (w == nullptr) {
    return QStringLiteral("VIEW %1 %2")
        .arg(ui::ToQString(ms::View.RotationLabel), ui::ToQString(ms::View.ElevationLabel));
  }
  return QStringLiteral("VIEW %1 %2").arg(w->Label12->text(), w->Label10->text());
}

QStringList SegmentRecords() {
  QStringList out;
  const double count = ms::Scene.SegmentCountD;
  const int rows = count > 0 ? static_cast<int>(std::min<double>(count, ms::kSceneRows)) : 0;
  for (int i = 0; i < rows; ++i) {
    const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
    const double s = r[ms::kStartPoint], e = r[ms::kEndPoint];
    if (!(s >= 0 && s <= ms::kSceneLastRow && e >= 0 && e <= ms::kSceneLastRow)) continue;
    const ms::Point3& p = ms::Scene.VertexXYZ[static_cast<int>(s)];
    const ms::Point3& q = ms::Scene.VertexXYZ[static_cast<int>(e)];
    out << QStringLiteral("SEG %1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11")
               .arg(QString::number(i), Coord(p[0]), Coord(p[1]), Coord(p[2]), Coord(q[0]),
                    Coord(q[1]), Coord(q[2]), Num(r[ms::kRed]), Num(r[ms::kGreen]))
               .arg(Num(r[ms::kBlue]), Num(r[ms::kSegKind]));
  }
  return out;
}

bool SaveGraphPicture(const QString& path) {
  return SaveGraphBitmap(path);
}

bool SendGraphKeys(const QString& keys) {
  frmGraph* w = frmGraph::Instance();
  if (w == nullptr) return false;
  std::vector<KeyStroke> strokes;
  for (const QString& token : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    KeyStroke k{};
    if (!ParseKey(token, k)) return false;
    strokes.push_back(k);
  }
  for (const KeyStroke& k : strokes) {
    // The window may have gone (a key cannot unload it, but stay safe).
    w = frmGraph::Instance();
    if (w == nullptr) return false;
    // Where the platform delivers a key: the window's focus control, else the window.
    QWidget* target = w->focusWidget() != nullptr ? w->focusWidget() : w;
    QKeyEvent press(QEvent::KeyPress, k.key, Qt::NoModifier, k.text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, k.key, Qt::NoModifier, k.text);
    QApplication::sendEvent(target, &release);
  }
  return true;
}

}  // namespace gr
