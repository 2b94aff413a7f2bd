#include "platform/MessageHook.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QObject>

#include <memory>

namespace {

MessageHook& CurrentHook()
{
    static MessageHook hook;
    return hook;
}

ExceptionDisplay& CurrentDisplay()
{
    static ExceptionDisplay display;
    return display;
}

// Passes the application's events to the hook; installed while there is one.
class HookFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const MessageHook hook = CurrentHook(); // a copy: the hook may replace itself
        if (!hook)
            return false;
        AppMessage message{watched, event};
        bool handled = false;
        try {
            hook(message, handled);
        } catch (const std::exception& error) {
            ShowApplicationException(error);
        }
        return handled;
    }
};

std::unique_ptr<HookFilter>& Filter()
{
    static std::unique_ptr<HookFilter> filter;
    return filter;
}

} // namespace

// The filter object stays for the whole run (a hook may remove itself while the filter calls it); it is only
// taken off the application while there is no hook.
MessageHook SetApplicationMessageHook(MessageHook hook)
{
    MessageHook previous = std::move(CurrentHook());
    CurrentHook() = std::move(hook);
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return previous;
    if (!Filter())
        Filter() = std::make_unique<HookFilter>();
    if (CurrentHook())
        application->installEventFilter(Filter().get());
    else
        application->removeEventFilter(Filter().get());
    return previous;
}

const MessageHook& GetApplicationMessageHook() { return CurrentHook(); }

ExceptionDisplay SetApplicationExceptionDisplay(ExceptionDisplay display)
{
    ExceptionDisplay previous = std::move(CurrentDisplay());
    CurrentDisplay() = std::move(display);
    return previous;
}

void ShowApplicationException(const std::exception& error)
{
    const ExceptionDisplay display = CurrentDisplay();
    if (!display) {
        ktLogs::LogLine(std::string("Error: ") + error.what());
        return;
    }
    try {
        display(error);
    } catch (const std::exception& failure) {
        ktLogs::LogLine(std::string("Error not shown: ") + failure.what());
    }
}
