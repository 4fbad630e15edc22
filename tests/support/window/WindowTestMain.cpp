// The main of every test program that opens windows: one QApplication for the whole run, named
// as the program names itself, offscreen unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform reports every raise and size hint it cannot carry out; those lines say
// nothing about the windows under test and are dropped.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
  if (g_defaultHandler) g_defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  g_defaultHandler = qInstallMessageHandler(QuietOffscreen);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("MathSheet"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
