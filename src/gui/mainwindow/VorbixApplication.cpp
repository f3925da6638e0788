#include "mainwindow/VorbixApplication.h"

#include "catalogue/Main_LoadSaveUnit.h"

#include <QIcon>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>
#include <stdexcept>

namespace vorbix::gui {
namespace {

VorbixApplication::ErrorHandler& InstalledHandler()
{
    static VorbixApplication::ErrorHandler handler;
    return handler;
}

} // namespace

VorbixApplication::VorbixApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Vorbix"));
    setApplicationVersion(QString::fromUtf8(kVorbixVersion));
    // The desktop entry's name, so that a Wayland compositor or a task bar matches the
    // window with its entry and icon; the icon itself from the theme, else the one built in.
    setDesktopFileName(QStringLiteral("vorbix"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("vorbix"), QIcon(QStringLiteral(":/vorbix.png"))));
}

ErrorHandlerScope::ErrorHandlerScope(VorbixApplication::ErrorHandler handler)
{
    if (InstalledHandler())
        throw std::logic_error("An error handler is installed already");
    InstalledHandler() = std::move(handler);
}

ErrorHandlerScope::~ErrorHandlerScope()
{
    InstalledHandler() = nullptr;
}

bool VorbixApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        // A type name ("std::bad_alloc") tells the user nothing.
        HandleUnexpectedError(kNotEnoughMemory);
    } catch (const std::exception& error) {
        HandleUnexpectedError(error.what());
    } catch (...) {
        HandleUnexpectedError("Unknown error");
    }
    return false;
}

void VorbixApplication::HandleUnexpectedError(const std::string& message)
{
    if (InstalledHandler()) {
        InstalledHandler()(message);
        return;
    }
    // Before the main window exists there is no one to show it: end at once.
    std::cerr << "Vorbix: " << UnexpectedErrorText(message) << '\n';
    std::exit(1);
}

std::string UnexpectedErrorText(const std::string& message)
{
    if (!message.empty() && message.back() == '.')
        return message;
    return message + ".";
}

} // namespace vorbix::gui
