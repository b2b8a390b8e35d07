// Test main for programs that run under umockdev-wrapper. The emulated bus is made before
// the QApplication and before anything touches udev: the preload library decides on first
// use whether it emulates, and asked too early it would let no uevent through.
#include "integration/MockUsbBus.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    try {
        brimwell::test::MockUsbBus::Get();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
