#include "platform/ui/QtUiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace ui {
namespace {

QPrinter* g_printer = nullptr;

void DestroyPrinter() {
  delete g_printer;
  g_printer = nullptr;
}

// Splits "a|b|c|d" at "|" into its parts.
QStringList SplitBars(const QString& s) {
  return s.split(QLatin1Char('|'), Qt::KeepEmptyParts);
}

}  // namespace

QString QtFileFilter(const rt::Text& filter) {
  const QString text = ToQString(filter);
  if (text.isEmpty()) return {};
  const QStringList parts = SplitBars(text);
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (patterns.isEmpty()) patterns = QStringLiteral("*");
    const QString tail = QLatin1Char('(') + patterns + QLatin1Char(')');
    if (description.isEmpty()) {
      description = tail;
    } else if (!description.endsWith(tail)) {
      description += QLatin1Char(' ') + tail;
    }
    out << description;
  }
  return out.join(QStringLiteral(";;"));
}

MsgBoxShape DecodeMsgStyle(int style) {
  MsgBoxShape shape;
  shape.buttons = style & 0xF;
  shape.icon = style & 0x70;
  return shape;
}

QPrinter& Printer() {
  if (!g_printer) {
    g_printer = new QPrinter(QPrinter::HighResolution);
    qAddPostRoutine(DestroyPrinter);
  }
  return *g_printer;
}

QtUiServices::~QtUiServices() {
  while (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
}

int QtUiServices::MsgBox(const rt::Text& text, int style, const rt::Text& title) {
  const MsgBoxShape shape = DecodeMsgStyle(style);
  QMessageBox box(dialogParent_);
  box.setWindowTitle(ToQString(title));
  QString body = ToQString(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setText(body);
  switch (shape.icon) {
    case 16:
      box.setIcon(QMessageBox::Critical);
      break;
    case 32:
      box.setIcon(QMessageBox::Question);
      break;
    case 48:
      box.setIcon(QMessageBox::Warning);
      break;
    case 64:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      box.setIcon(QMessageBox::NoIcon);
      break;
  }
  switch (shape.buttons) {
    case 1:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case 3:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case 4:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::No);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      box.setDefaultButton(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Ok);
      break;
  }
  // A busy pointer must not hide the pointer over the box.
  if (busyDepth_ > 0) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int pressed = box.exec();
  if (busyDepth_ > 0) QApplication::restoreOverrideCursor();
  switch (pressed) {
    case QMessageBox::Cancel:
      return kAnswerCancel;
    case QMessageBox::Yes:
      return kAnswerYes;
    case QMessageBox::No:
      return kAnswerNo;
    default:
      return kAnswerOk;
  }
}

namespace {
// Events run at least this often from a loop that asks at every step; a call after a pause of
// kIsolatedCall runs them at once.
constexpr auto kEventInterval = std::chrono::milliseconds(3);
constexpr auto kIsolatedCall = std::chrono::milliseconds(1);
}  // namespace

void QtUiServices::DoEvents() {
  const auto now = std::chrono::steady_clock::now();
  const bool isolated = now - lastEventsCall_ >= kIsolatedCall;
  lastEventsCall_ = now;
  if (!isolated && now - lastEvents_ < kEventInterval) return;
  lastEvents_ = now;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtUiServices::SetBusy(bool busy) {
  // The pointer is a state, not a count: the platform's pointer property was set to the hourglass
  // or back to the default, so repeated calls do not nest.
  if (busy && busyDepth_ == 0) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busyDepth_ = 1;
  } else if (!busy && busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    busyDepth_ = 0;
  }
}

void QtUiServices::RegisterProgressBar(const rt::Text& name, QProgressBar* bar) {
  bars_.insert(ToQString(name), bar);
}

void QtUiServices::ShowProgress(const rt::Text& bar, double fraction) {
  const auto it = bars_.constFind(ToQString(bar));
  if (it == bars_.constEnd() || it.value().isNull()) return;
  QProgressBar* target = it.value().data();
  if (!(fraction >= 0.0)) fraction = 0.0;  // also catches NaN
  if (fraction > 1.0) fraction = 1.0;
  target->setRange(0, 1000);
  const int value = static_cast<int>(fraction * 1000.0 + 0.5);
  if (value == target->value()) return;
  target->setValue(value);  // schedules its own update
  // Drawn at once at most every few milliseconds, and always at the ends of a run.
  const auto now = std::chrono::steady_clock::now();
  if (value == 0 || value == 1000 || now - lastRepaint_ >= kEventInterval) {
    lastRepaint_ = now;
    target->repaint();
  }
}

bool QtUiServices::OpenFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) {
  QFileDialog dialog(dialogParent_, ToQString(req.title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QtFileFilter(req.filter));
  if (!req.defaultExt.empty()) dialog.setDefaultSuffix(ToQString(req.defaultExt));
  if (!req.initialName.empty()) dialog.selectFile(ToQString(req.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  chosenPath = FromQString(dialog.selectedFiles().constFirst());
  return true;
}

bool QtUiServices::SaveFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) {
  QFileDialog dialog(dialogParent_, ToQString(req.title));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QtFileFilter(req.filter));
  if (!req.defaultExt.empty()) dialog.setDefaultSuffix(ToQString(req.defaultExt));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !req.overwritePrompt);
  if (!req.initialName.empty()) dialog.selectFile(ToQString(req.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  chosenPath = FromQString(dialog.selectedFiles().constFirst());
  return true;
}

bool QtUiServices::ColorDialog(int32_t initial, int32_t& chosen) {
  const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
  const QColor picked = QColorDialog::getColor(start, dialogParent_);
  if (!picked.isValid()) return false;
  chosen = rt::RGB(picked.red(), picked.green(), picked.blue());
  return true;
}

bool QtUiServices::FontDialog(const FontChoice& initial, FontChoice& chosen) {
  QFont start(ToQString(initial.family));
  if (initial.pointSize > 0) start.setPointSizeF(initial.pointSize);
  start.setBold(initial.bold);
  start.setItalic(initial.italic);
  bool ok = false;
  const QFont picked = QFontDialog::getFont(&ok, start, dialogParent_);
  if (!ok) return false;
  chosen.family = FromQString(picked.family());
  chosen.pointSize = picked.pointSizeF();
  chosen.bold = picked.bold();
  chosen.italic = picked.italic();
  return true;
}

bool QtUiServices::PrintDialog() {
  QPrintDialog dialog(&Printer(), dialogParent_);
  return dialog.exec() == QDialog::Accepted;
}

rt::Text QtUiServices::ClipboardText() {
  QClipboard* clip = QGuiApplication::clipboard();
  return clip ? FromQString(clip->text()) : rt::Text();
}

void QtUiServices::SetClipboardText(const rt::Text& text) {
  if (QClipboard* clip = QGuiApplication::clipboard()) clip->setText(ToQString(text));
}

void QtUiServices::SetClipboardPicture(const uint32_t* pixels, int width, int height) {
  QClipboard* clip = QGuiApplication::clipboard();
  if (!clip || !pixels || width <= 0 || height <= 0) return;
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = pixels[static_cast<size_t>(y) * width + x];
  }
  clip->setImage(image);
}

void QtUiServices::MakeTopmostAtOrigin(WindowHandle window) {
  auto* widget = static_cast<QWidget*>(window);
  if (!widget) return;
  const bool wasVisible = widget->isVisible();
  const QSize size = widget->size();
  // Changing the window flags hides a shown window; show it again afterwards.
  widget->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  if (screen) widget->move(screen->availableGeometry().topLeft());
  widget->resize(size);
  if (wasVisible) widget->show();
}

void QtUiServices::EndProgram() {
  // Every top-level window is closed (each runs its own close handling), whatever is left is
  // hidden, and the event loop ends.
  QApplication::closeAllWindows();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible()) w->hide();
  }
  QCoreApplication::quit();
}

}  // namespace ui
