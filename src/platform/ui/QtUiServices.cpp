#include "platform/ui/QtUiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryFile>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <cmath>

#include "platform/ui/QtFileWrite.h"

namespace ui {
namespace {

QPrinter* g_printer = nullptr;

void DestroyPrinter() {
  delete g_printer;
  g_printer = nullptr;
}

// A new printer carrying the settings the user gave the old one.
QPrinter* FreshPrinter(const QPrinter& old) {
  auto* fresh = new QPrinter(QPrinter::HighResolution);
  if (old.outputFormat() == QPrinter::NativeFormat && !old.printerName().isEmpty()) {
    fresh->setPrinterName(old.printerName());
  }
  fresh->setOutputFormat(old.outputFormat());
  fresh->setOutputFileName(old.outputFileName());
  fresh->setPageLayout(old.pageLayout());
  fresh->setCopyCount(old.copyCount());
  fresh->setColorMode(old.colorMode());
  fresh->setDuplex(old.duplex());
  fresh->setFullPage(old.fullPage());
  return fresh;
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
  } else if (g_printer->printerState() == QPrinter::Active && !g_printer->paintingActive()) {
    // Active with nothing painting on it: a start that failed left it so (whoever started it),
    // and such a printer refuses every change of its settings. A fresh one takes its place.
    QPrinter* fresh = FreshPrinter(*g_printer);
    delete g_printer;
    g_printer = fresh;
  }
  return *g_printer;
}

PrintStart BeginPrinting(QPainter& painter) {
  QPrinter& printer = Printer();  // never one left active by an earlier failed start
  // Without an installed printer the printer prints to a PDF file, which needs a file name
  // (Printer Set Up, "Print to File").
  if (printer.outputFileName().isEmpty() && QPrinterInfo::availablePrinters().isEmpty()) {
    return PrintStart::kNoPrinter;
  }
  if (painter.begin(&printer)) return PrintStart::kStarted;
  Printer();  // replaces a printer the failed start left active
  return PrintStart::kFailed;
}

PrintJob::PrintJob() = default;

PrintJob::~PrintJob() {
  // The printer names the PDF file chosen again, whatever happened to the pages.
  if (!target_.isEmpty() && !Printer().paintingActive()) Printer().setOutputFileName(target_);
}

PrintJob::Outcome PrintJob::Begin(QPainter& painter) {
  QPrinter& printer = Printer();
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    const QString target = printer.outputFileName();
    if (TakenByNonFile(target)) {
      target_ = target;
      return Outcome::kNotWritten;
    }
    // Beside the PDF file, under a short name of its own (the file's name may leave no room for
    // a suffix). A folder that takes no file gets no page, as a printer that does not start.
    pages_ = std::make_unique<QTemporaryFile>(QFileInfo(target).absolutePath() +
                                              QStringLiteral("/ms-XXXXXX.pdf"));
    if (!pages_->open()) return Outcome::kNotStarted;
    pages_->close();
    target_ = target;
    printer.setOutputFileName(pages_->fileName());
  }
  switch (BeginPrinting(painter)) {
    case PrintStart::kStarted:
      return Outcome::kPrinted;
    case PrintStart::kNoPrinter:
      return Outcome::kNoPrinter;
    case PrintStart::kFailed:
      break;
  }
  return Outcome::kNotStarted;
}

PrintJob::Outcome PrintJob::End(QPainter& painter) {
  const bool ended = painter.end();
  if (pages_ == nullptr) return ended ? Outcome::kPrinted : Outcome::kNotStarted;
  Printer().setOutputFileName(target_);
  QFile pages(pages_->fileName());
  if (!ended || !pages.open(QIODevice::ReadOnly)) return Outcome::kNotWritten;
  const QByteArray document = pages.readAll();
  const bool complete = pages.error() == QFileDevice::NoError && PdfComplete(document);
  pages.close();
  pages_.reset();  // its room on the disk is free for the PDF file
  if (!complete) return Outcome::kNotWritten;
  switch (WriteWholeFile(target_, document)) {
    case WholeWrite::kWritten:
      return Outcome::kPrinted;
    case WholeWrite::kNoNewFile:
      // A missing folder or one that takes no file: as a printer that would not start there.
      return Outcome::kNotStarted;
    case WholeWrite::kNotAFile:
    case WholeWrite::kFailed:
      break;
  }
  return Outcome::kNotWritten;
}

void PrintJob::Cancel(QPainter& painter) {
  painter.end();
  pages_.reset();
}

rt::Text PrintJob::NotWrittenText(const rt::Text& what) const {
  return u"The PDF file " + FromQString(target_) + u" could not be written; the " + what +
         u" was not printed.";
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

// Long loops call this per step (contour tracing per corrector iteration, thousands of times a
// second). Running the event loop on every call costs a round trip to the display and a repaint
// of whatever changed each time, which on a real display made a contour trace some hundred times
// slower than its computing. The loop runs at most every kEventInterval ms: often enough that a
// key (Esc) or a click (Abort, Stop) is taken within a blink, seldom enough to cost nothing.
void QtUiServices::DoEvents() {
  constexpr qint64 kEventInterval = 20;
  if (eventClock_.isValid() && eventClock_.elapsed() < kEventInterval) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  eventClock_.start();
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
  const int value = static_cast<int>(std::lround(fraction * 1000.0));
  // A long computation shows its progress without letting events run, so the bar is drawn at
  // once (a progress bar repaints itself on a change of value); but at most every
  // kProgressInterval ms: callers such as the function evaluation report once per function, and
  // contour tracing evaluates functions thousands of times, each drawing repainting the window
  // around the bar. A value held back is set shortly after by the event loop, the latest one.
  constexpr qint64 kProgressInterval = 20;
  static const char* const kPending = "pendingProgress";
  if (progressClock_.isValid() && progressClock_.elapsed() < kProgressInterval) {
    const bool queued = target->property(kPending).isValid();
    target->setProperty(kPending, value);
    if (!queued) {
      QTimer::singleShot(kProgressInterval, target, [target] {
        const QVariant latest = target->property(kPending);
        target->setProperty(kPending, QVariant());
        if (latest.isValid()) target->setValue(latest.toInt());
      });
    }
    return;
  }
  target->setProperty(kPending, QVariant());
  target->setValue(value);
  progressClock_.start();
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

FontChoice FontChoiceOf(const QFont& font) {
  FontChoice c;
  c.family = FromQString(font.family());
  c.pointSize = font.pointSizeF();
  c.bold = font.bold();
  c.italic = font.italic();
  c.underline = font.underline();
  c.strikeout = font.strikeOut();
  return c;
}

QFont WithFontChoice(const QFont& font, const FontChoice& choice) {
  QFont out = font;
  out.setFamily(ToQString(choice.family));
  if (choice.pointSize > 0) out.setPointSizeF(choice.pointSize);
  out.setBold(choice.bold);
  out.setItalic(choice.italic);
  out.setUnderline(choice.underline);
  out.setStrikeOut(choice.strikeout);
  return out;
}

bool QtUiServices::FontDialog(const FontChoice& initial, FontChoice& chosen) {
  bool ok = false;
  const QFont picked = QFontDialog::getFont(&ok, WithFontChoice(QFont(), initial), dialogParent_);
  if (!ok) return false;
  chosen = FontChoiceOf(picked);
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
