#pragma once
// One window per application folder. The window that holds a catalogue's lock listens on a
// local socket named after its folder; `vorbix FILE` started while that window is open
// hands FILE to it through the socket and ends, instead of opening a second window that
// would write its own copy of the catalogue over the first one's saved work.

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace vorbix::gui {

// The socket's path for the application folder (ending in '/'): in the user's runtime
// folder, under a name made from the folder after resolving links. Empty when the runtime
// folder cannot be used.
std::string HandOverSocket(const std::string& appDir);

// The window's side: receives the files that later starts hand over.
class HandOverServer : public QObject {
    Q_OBJECT
public:
    explicit HandOverServer(QObject* parent = nullptr);
    ~HandOverServer() override;

    // Listens for the application folder. Only the holder of the catalogue's lock listens,
    // so a socket that is there already is a leftover of a window that ended without
    // removing it (a crash, a kill), and is replaced. False when nothing can listen.
    bool Listen(const std::string& appDir);

signals:
    // The files named to a later start, in its order (possibly none: it only asked for the
    // window to come to the front).
    void FilesHandedOver(const std::vector<std::string>& files);

private:
    void Accept();
    void Read(QLocalSocket* socket);

    std::unique_ptr<QLocalServer> server_;
};

// The later start's side: hands the files to the window listening for the application
// folder. Not connected: false, and the caller may try again. Connected: waits up to
// answerMs for the window to take them; message is set when it did not.
bool HandFilesToWindow(const std::string& appDir, const std::vector<std::string>& files, int answerMs,
    std::string& message);

} // namespace vorbix::gui
