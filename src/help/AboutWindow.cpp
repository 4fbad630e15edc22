#include "help/AboutWindow.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QVBoxLayout>

#include "help/HelpText.h"

namespace ms {
namespace {

QPointer<AboutWindow> g_about;

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(ToQString(help::kAboutCaption));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  int number = 0;
  for (std::u16string_view paragraph : help::AboutParagraphs()) {
    auto* label = new QLabel(ToQString(paragraph), this);
    label->setObjectName(QStringLiteral("lblAbout%1").arg(++number));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    layout->addWidget(label);
  }
  auto* exit = new QPushButton(ToQString(help::kAboutExitCaption), this);
  exit->setObjectName(ToQString(help::kAboutExitButton));
  exit->setDefault(true);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(exit, 0, Qt::AlignHCenter);
  setFixedWidth(480);
}

void ShowAboutWindow(QWidget* parent) {
  if (g_about) return;  // already shown: its own modal loop is running
  QPointer<AboutWindow> about = new AboutWindow(parent);
  g_about = about;
  about->exec();
  // The parent may have been destroyed while the dialog ran, and the dialog with it.
  delete about.data();
  g_about = nullptr;
}

AboutWindow* LoadedAboutWindow() {
  return g_about;
}

}  // namespace ms
