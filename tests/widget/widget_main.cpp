// Widget tests run the real window on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "Ucompiler.h"
#include "error_display.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    prepare_application_environment();
    ZorvantApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
