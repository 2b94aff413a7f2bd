#pragma once
// The application's message hook (the original platform's Application.OnMessage): one function that sees every
// event the application delivers to an object of the main thread, before that object does, and may keep it
// from the object by setting handled. Whoever installs a hook keeps the one it replaced and calls it in turn.
//
// An exception that a hook lets out goes to the application's exception display and no further: it never
// reaches Qt's event loop. The display logs the error until the program installs one that shows it.

#include <exception>
#include <functional>

class QEvent;
class QObject;

// One message of the application: the object it is delivered to and the event.
struct AppMessage {
    QObject* receiver = nullptr;
    QEvent* event = nullptr;
};

using MessageHook = std::function<void(AppMessage& message, bool& handled)>;
using ExceptionDisplay = std::function<void(const std::exception& error)>;

// Installs the hook and returns the one it replaces (empty when there was none); an empty hook removes it.
MessageHook SetApplicationMessageHook(MessageHook hook);
const MessageHook& GetApplicationMessageHook();

// Returns the display it replaces; an empty display restores the logging one.
ExceptionDisplay SetApplicationExceptionDisplay(ExceptionDisplay display);
void ShowApplicationException(const std::exception& error);
