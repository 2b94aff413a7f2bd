#include "platform/MessageHook.h"

#include "platform/Errors.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr auto kProbe = static_cast<QEvent::Type>(QEvent::User + 19);

class Receiver : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != kProbe)
            return QObject::event(e);
        ++received;
        return true;
    }
    int received = 0;
};

} // namespace

// Hooks chain as their installers keep them: the newest sees the message first and may keep it from the object;
// taking a hook off restores the one before.
TEST(MessageHookTest, HooksSeeMessagesFirstAndMayKeepThemFromTheObject)
{
    Receiver receiver;
    std::vector<std::string> seen;
    MessageHook first = [&](AppMessage& message, bool& handled) {
        if (message.event->type() == kProbe && message.receiver == &receiver)
            seen.push_back(handled ? "first after handled" : "first");
    };
    const MessageHook none = SetApplicationMessageHook(first);
    EXPECT_FALSE(none);
    MessageHook previous;
    previous = SetApplicationMessageHook([&](AppMessage& message, bool& handled) {
        if (message.event->type() == kProbe && message.receiver == &receiver) {
            seen.push_back("second");
            handled = true;
        }
        previous(message, handled);
    });
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(&receiver, &probe);
    EXPECT_EQ(seen, (std::vector<std::string>{"second", "first after handled"}));
    EXPECT_EQ(receiver.received, 0);

    SetApplicationMessageHook(previous);
    SetApplicationMessageHook(nullptr);
    QCoreApplication::sendEvent(&receiver, &probe);
    EXPECT_EQ(receiver.received, 1);
    EXPECT_EQ(seen.size(), 2u);
}

TEST(MessageHookTest, AnExceptionOfAHookGoesToTheExceptionDisplay)
{
    Receiver receiver;
    std::vector<std::string> shown;
    const ExceptionDisplay before =
        SetApplicationExceptionDisplay([&](const std::exception& error) { shown.push_back(error.what()); });
    SetApplicationMessageHook([&](AppMessage& message, bool&) {
        if (message.event->type() == kProbe)
            throw EVelloraError("hook failed");
    });
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(&receiver, &probe);
    SetApplicationMessageHook(nullptr);
    SetApplicationExceptionDisplay(before);
    EXPECT_EQ(shown, std::vector<std::string>{"hook failed"});
    EXPECT_EQ(receiver.received, 1);
}
