// The error trap of the editor's handlers: an unexpected failure is an exception;
// the trap records its description, shows the error window over the handler's
// window and leaves the handler. Nothing is rolled back.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

class QWidget;

// The description of the last trapped error, shared by every trap.
extern std::string LastErrDescription;

namespace platform {

class EditorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Shows the error window modally over owner (owner may be null).
using ErrorWindow = std::function<void(QWidget* owner)>;

// Replaces the error window; an empty function puts the plain message box back.
void setErrorWindow(ErrorWindow window);

// Runs body; returns false when it failed and the error was reported. No
// exception leaves this call.
bool runTrapped(QWidget* owner, const std::function<void()>& body);

// The same as a slot: connect(button, &QPushButton::clicked, trapped(this, [this] { ... })).
template <class Body>
auto trapped(QWidget* owner, Body body) {
    return [owner, body = std::move(body)](auto&&...) { runTrapped(owner, body); };
}

}  // namespace platform
