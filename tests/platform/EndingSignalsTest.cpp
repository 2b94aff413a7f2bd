#include "platform/EndingSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace {

std::vector<int> RaiseAndWait(EndingSignals& endingSignals, int signal)
{
    std::vector<int> received;
    const auto connection = QObject::connect(&endingSignals, &EndingSignals::requested,
                                             [&received](int number) { received.push_back(number); });
    ::raise(signal);
    QElapsedTimer waited;
    waited.start();
    while (received.empty() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QObject::disconnect(connection);
    return received;
}

} // namespace

TEST(EndingSignalsTest, EachEndingSignalArrivesInTheEventLoopAndTheOldHandlersComeBack)
{
    for (const int signal : EndingSignals::kSignals) {
        SCOPED_TRACE(signal);
        const auto before = std::signal(signal, SIG_DFL);
        {
            EndingSignals endingSignals;
            EXPECT_EQ(RaiseAndWait(endingSignals, signal), std::vector<int>{signal});
        }
        EXPECT_EQ(std::signal(signal, before), SIG_DFL);
    }
}

TEST(EndingSignalsTest, ASignalStartedIgnoredStaysIgnored)
{
    const auto before = std::signal(SIGHUP, SIG_IGN);
    {
        EndingSignals endingSignals;
        ::raise(SIGHUP); // would end the test program if it were caught and handled twice, or not ignored
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        struct sigaction now {};
        ::sigaction(SIGHUP, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN);
    }
    std::signal(SIGHUP, before);
}
