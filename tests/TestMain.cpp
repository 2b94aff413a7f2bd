// Shared entry of every test program: a Qt application (offscreen in CTest) around GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

#include "presentation/ClassList.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    RegisterAllClasses();
    return RUN_ALL_TESTS();
}
