// The main of test programs whose code needs an event loop (timers, futures
// continued on this thread): tests spin it with QTest-free helpers such as
// QCoreApplication::processEvents until what they wait for has happened.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
