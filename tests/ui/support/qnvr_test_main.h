#pragma once
// The main() of a window test: runs the test object under the program's own application
// class, so that errors reach the program's error display exactly as in the program.
#include <QTest>

#include "ui/base/error_display.h"

#define QNVR_TEST_MAIN(TestObject)                        \
    int main(int argc, char** argv) {                     \
        qnvr::QnvrApplication app(argc, argv);            \
        app.setAttribute(Qt::AA_Use96Dpi, true);          \
        TestObject test;                                  \
        QTEST_SET_MAIN_SOURCE_PATH                        \
        return QTest::qExec(&test, argc, argv);           \
    }
