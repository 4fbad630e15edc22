// Test main of the window tests: one QApplication (offscreen unless told otherwise) for every test.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("MathSheet"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
