#pragma once
// The application object. Errors that no command or handler catches arrive here instead
// of unwinding through Qt's event loop, and go to the one handler that the run of the
// window installs (an ErrorHandlerScope).

#include <QApplication>

#include <functional>
#include <string>

namespace vorbix::gui {

class VorbixApplication : public QApplication {
    Q_OBJECT
public:
    VorbixApplication(int& argc, char** argv);

    using ErrorHandler = std::function<void(const std::string& message)>;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    static void HandleUnexpectedError(const std::string& message);
};

// Sends the errors that reach the application object to the handler while it lives. There
// is one handler at a time: a second scope while one stands is refused (std::logic_error).
class ErrorHandlerScope {
public:
    explicit ErrorHandlerScope(VorbixApplication::ErrorHandler handler);
    ~ErrorHandlerScope();
    ErrorHandlerScope(const ErrorHandlerScope&) = delete;
    ErrorHandlerScope& operator=(const ErrorHandlerScope&) = delete;
};

// What the handler shows when memory ran out.
inline constexpr const char* kNotEnoughMemory =
    "Not enough memory for what Vorbix was doing; close other programs or use a smaller catalogue";

// The error's message as the handler shows it: a final "." is added when it has none.
std::string UnexpectedErrorText(const std::string& message);

} // namespace vorbix::gui
