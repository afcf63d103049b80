#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // The station window is built and driven without a screen; test discovery runs this too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
