// The main of the test programs that create widgets: no display is needed, and CTest's
// test discovery may run the program before anything else has set the platform.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/application.h"

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  tallymoor::Application app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
