// GoogleTest main for suites that create widgets: one QApplication for the
// whole test program. Without a platform named in the environment the tests
// run offscreen, so they need no display.

#include <QApplication>
#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
