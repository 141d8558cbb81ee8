#include "app/single_instance.h"

#include "base/file_io.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>
#include <unistd.h>

namespace qx::app {

namespace {
// A path is sent as UTF-8 followed by a NUL; longer messages are refused.
constexpr qint64 kMaxMessage = 8192;
} // namespace

QString SingleInstance::serverName()
{
    const QByteArray dir = QByteArray::fromStdString(settingsDirectory());
    const QByteArray hash = QCryptographicHash::hash(dir, QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("quorvex-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool SingleInstance::sendToRunning(const QString& name, const QString& path, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray msg = path.toUtf8();
    msg.append('\0');
    socket.write(msg);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Wait for the running copy to acknowledge, so the path is not lost if we exit at once.
    if (!socket.waitForReadyRead(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

SingleInstance::SingleInstance(QObject* parent) : QObject(parent), server_(new QLocalServer(this))
{
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

bool SingleInstance::listen(const QString& name)
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(name))
        return true;
    // A socket file may be left behind by a copy that crashed: if nobody answers, take it over.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QByteArray buffer = socket->property("qxBuffer").toByteArray() + socket->readAll();
            if (buffer.size() > kMaxMessage) {
                socket->abort();
                return;
            }
            const int end = buffer.indexOf('\0');
            if (end < 0) {
                socket->setProperty("qxBuffer", buffer);
                return;
            }
            socket->write("ok", 2);
            socket->flush();
            emit messageReceived(QString::fromUtf8(buffer.left(end)));
        });
    }
}

} // namespace qx::app
