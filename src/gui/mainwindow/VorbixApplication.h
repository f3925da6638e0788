#pragma once
// The application object. Errors that no command or handler catches arrive here instead
// of unwinding through Qt's event loop, and go to the one handler the main window installs.

#include <QApplication>

#include <functional>
#include <string>

namespace vorbix::gui {

class VorbixApplication : public QApplication {
    Q_OBJECT
public:
    VorbixApplication(int& argc, char** argv);

    using ErrorHandler = std::function<void(const std::string& message)>;
    // The main window installs its handler when it is created.
    static void InstallErrorHandler(ErrorHandler handler);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    static void HandleUnexpectedError(const std::string& message);
};

// What the handler shows when memory ran out.
inline constexpr const char* kNotEnoughMemory =
    "Not enough memory for what Vorbix was doing; close other programs or use a smaller catalogue";

// The error's message as the handler shows it: a final "." is added when it has none.
std::string UnexpectedErrorText(const std::string& message);

} // namespace vorbix::gui
