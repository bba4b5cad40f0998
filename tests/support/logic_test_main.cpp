#include <gtest/gtest.h>

#include <QCoreApplication>

// The logic needs no widgets: its tests run without a window system.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
