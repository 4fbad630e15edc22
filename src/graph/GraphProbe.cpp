#include "graph/GraphProbe.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <algorithm>
#include <optional>
#include <vector>

#include "graph/ContourProgressWindow.h"
#include "graph/DisplaySettingsDialog.h"
#include "graph/GraphImage.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/QtUiServices.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

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

// The named keys; the typing keys (Tab, Return, Backspace) only where typing is allowed.
bool ParseKey(const QString& token, KeyStroke& out, bool typing = false) {
  struct Named {
    const char* name;
    int key;
    QChar text;
    bool typingOnly;
  };
  static const std::array<Named, 8> named = {{{"Left", Qt::Key_Left, QChar(), false},
                                              {"Right", Qt::Key_Right, QChar(), false},
                                              {"Up", Qt::Key_Up, QChar(), false},
                                              {"Down", Qt::Key_Down, QChar(), false},
                                              {"Esc", Qt::Key_Escape, QChar(27), false},
                                              {"Tab", Qt::Key_Tab, QChar(9), true},
                                              {"Return", Qt::Key_Return, QChar(13), true},
                                              {"Backspace", Qt::Key_Backspace, QChar(8), true}}};
  for (const Named& n : named) {
    if (token == QLatin1String(n.name) && (typing || !n.typingOnly)) {
      out = {n.key, n.text.isNull() ? QString() : QString(n.text)};
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
  GraphWindow* w = GraphWindow::Instance();
  if (w == nullptr) {
    const auto degrees = [](const std::optional<double>& angle) {
      return angle ? ui::ToQString(ms::WholeDegrees(*angle)) : QString();
    };
    return QStringLiteral("VIEW %1 %2")
        .arg(degrees(ms::View.DrawnRotation), degrees(ms::View.DrawnElevation));
  }
  return QStringLiteral("VIEW %1 %2")
      .arg(w->Navigation().Label12->text(), w->Navigation().Label10->text());
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

namespace {

bool ParseKeys(const QString& keys, bool typing, std::vector<KeyStroke>& strokes) {
  for (const QString& token : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    KeyStroke k{};
    if (!ParseKey(token, k, typing)) return false;
    strokes.push_back(k);
  }
  return true;
}

void SendKey(QWidget* target, const KeyStroke& k) {
  QKeyEvent press(QEvent::KeyPress, k.key, Qt::NoModifier, k.text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, k.key, Qt::NoModifier, k.text);
  QApplication::sendEvent(target, &release);
}

// Where a person's key goes: the focus control of the active window (a modal one first), else
// the graph window's focus control, else the graph window.
QWidget* TypingTarget() {
  if (QWidget* focus = QApplication::focusWidget()) return focus;
  for (QWidget* window : {QApplication::activeModalWidget(), QApplication::activeWindow(),
                          static_cast<QWidget*>(GraphWindow::Instance())}) {
    if (window == nullptr) continue;
    return window->focusWidget() != nullptr ? window->focusWidget() : window;
  }
  return nullptr;
}

}  // namespace

bool KeysKnown(const QString& keys) {
  std::vector<KeyStroke> strokes;
  return ParseKeys(keys, true, strokes);
}

bool TypeKeys(const QString& keys) {
  std::vector<KeyStroke> strokes;
  if (!ParseKeys(keys, true, strokes)) return false;
  for (const KeyStroke& k : strokes) {
    QWidget* target = TypingTarget();
    if (target == nullptr) return false;
    SendKey(target, k);
    // Focus changes (Tab) and the validation of a left box take effect as on the screen.
    QCoreApplication::sendPostedEvents();
  }
  return true;
}

namespace {

// Presses the control or menu item of this name inside the window; nothing when it holds none.
std::optional<PressResult> PressIn(QWidget& window, const QString& objectName) {
  if (auto* button = window.findChild<QAbstractButton*>(objectName)) {
    if (!button->isEnabled() || !button->isVisibleTo(button->window())) {
      return PressResult::kDisabled;
    }
    button->click();
    return PressResult::kPressed;
  }
  if (auto* item = window.findChild<QAction*>(objectName)) {
    if (!item->isEnabled() || !item->isVisible()) return PressResult::kDisabled;
    // An item of a disabled or hidden menu cannot be reached either.
    for (QObject* up = item->parent(); up != nullptr; up = up->parent()) {
      const auto* menu = qobject_cast<QMenu*>(up);
      if (menu != nullptr &&
          (!menu->menuAction()->isEnabled() || !menu->menuAction()->isVisible())) {
        return PressResult::kDisabled;
      }
    }
    item->trigger();
    return PressResult::kPressed;
  }
  return std::nullopt;
}

PressResult PressAnywhere(GraphWindow& w, const QString& objectName) {
  // The graph window first (the set-up windows it owns included), then the windows it opens that
  // another window owns; a control of such a window that is not shown cannot be reached.
  if (const auto pressed = PressIn(w, objectName)) return *pressed;
  for (QWidget* opened : {static_cast<QWidget*>(DisplaySettingsDialog::Instance()),
                          static_cast<QWidget*>(ContourProgressWindow::Instance())}) {
    if (opened == nullptr) continue;
    if (!opened->isVisible()) {
      if (opened->findChild<QObject*>(objectName) != nullptr) return PressResult::kDisabled;
      continue;
    }
    if (const auto pressed = PressIn(*opened, objectName)) return *pressed;
  }
  return PressResult::kMissing;
}

}  // namespace

PressResult PressGraphControl(const QString& objectName) {
  GraphWindow* w = GraphWindow::Instance();
  if (w == nullptr || objectName.isEmpty()) return PressResult::kMissing;
  const QWidgetList before = QApplication::topLevelWidgets();
  QList<QWidget*> shown;
  for (QWidget* window : before) {
    if (window->isVisible()) shown << window;
  }
  const PressResult pressed = PressAnywhere(*w, objectName);
  // A window the press showed becomes the active one, with its first box focused, as the
  // platform's window manager makes it: keys typed next go there. A modal one comes first.
  QWidget* opened = QApplication::activeModalWidget();
  if (opened == nullptr || shown.contains(opened)) {
    opened = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible() && !shown.contains(window)) opened = window;
    }
  }
  if (opened != nullptr) {
    opened->activateWindow();
    QCoreApplication::processEvents();
  }
  return pressed;
}

QString GraphFocusName() {
  GraphWindow* w = GraphWindow::Instance();
  QWidget* focus = w != nullptr ? w->focusWidget() : nullptr;
  return focus != nullptr ? focus->objectName() : QString();
}

bool SendGraphKeys(const QString& keys) {
  GraphWindow* w = GraphWindow::Instance();
  if (w == nullptr) return false;
  std::vector<KeyStroke> strokes;
  if (!ParseKeys(keys, false, strokes)) return false;
  for (const KeyStroke& k : strokes) {
    // The window may have gone (a key cannot unload it, but stay safe).
    w = GraphWindow::Instance();
    if (w == nullptr) return false;
    // Where the platform delivers a key: the window's focus control, else the window.
    SendKey(w->focusWidget() != nullptr ? w->focusWidget() : w, k);
  }
  return true;
}

}  // namespace gr
