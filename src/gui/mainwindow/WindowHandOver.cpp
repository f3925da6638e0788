#include "mainwindow/WindowHandOver.h"

#include "platform/RuntimeFolder.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QList>
#include <QLocalServer>
#include <QLocalSocket>

#include <filesystem>

namespace vorbix::gui {

namespace {

// What a start sends: this tag, then the list of paths as bytes. The window answers with
// one byte once it has taken them.
constexpr quint32 kHandOverTag = 0x56425831; // "VBX1"
constexpr char kTaken = 'K';

QString SocketName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

std::string HandOverSocket(const std::string& appDir)
{
    const Result<std::string> runtime = RuntimeFolder();
    if (!runtime)
        return {};
    // weakly_canonical: links resolved in the part that exists, so that every spelling of
    // the folder (a link, "..", a trailing '/') finds the same window.
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::weakly_canonical(std::filesystem::path(appDir), ec);
    std::string key = ec ? appDir : folder.string();
    while (key.size() > 1 && key.back() == '/')
        key.pop_back();
    return runtime.Value() + "window-" + KeyName(key);
}

HandOverServer::HandOverServer(QObject* parent) : QObject(parent) {}

HandOverServer::~HandOverServer() = default;

bool HandOverServer::Listen(const std::string& appDir)
{
    const std::string path = HandOverSocket(appDir);
    if (path.empty())
        return false;
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(SocketName(path));
    if (!server_->listen(SocketName(path))) {
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &HandOverServer::Accept);
    return true;
}

void HandOverServer::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        if (socket->bytesAvailable() > 0)
            Read(socket);
    }
}

void HandOverServer::Read(QLocalSocket* socket)
{
    QDataStream stream(socket);
    stream.startTransaction();
    quint32 tag = 0;
    QList<QByteArray> paths;
    stream >> tag >> paths;
    if (!stream.commitTransaction())
        return; // the rest has not arrived yet
    if (tag != kHandOverTag) {
        socket->abort();
        return;
    }
    std::vector<std::string> files;
    for (const QByteArray& path : paths)
        files.push_back(path.toStdString());
    socket->write(&kTaken, 1);
    socket->flush();
    emit FilesHandedOver(files);
}

bool HandFilesToWindow(const std::string& appDir, const std::vector<std::string>& files, int answerMs,
    std::string& message)
{
    const std::string path = HandOverSocket(appDir);
    if (path.empty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(SocketName(path));
    if (!socket.waitForConnected(1000))
        return false;
    QList<QByteArray> paths;
    for (const std::string& file : files)
        paths.append(QByteArray::fromStdString(file));
    QByteArray request;
    QDataStream stream(&request, QIODevice::WriteOnly);
    stream << kHandOverTag << paths;
    socket.write(request);
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(answerMs)) {}
    char answer = 0;
    if (socket.waitForReadyRead(answerMs) && socket.read(&answer, 1) == 1 && answer == kTaken)
        return true;
    std::string folder = appDir;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    message = "The Vorbix window open on the catalogue in " + folder + " does not answer.";
    return true;
}

} // namespace vorbix::gui
