#include <gtest/gtest.h>

#include "app/QuelmarApp.h"

// The suite runs inside the program's own application object, as the program does.
int main(int argc, char** argv) {
    // Listing and running the tests never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    CQuelmarApp app(argc, argv);
    return RUN_ALL_TESTS();
}
