#pragma once
// One running copy per user and settings directory: a later start hands its
// document path to the running copy over a local socket and exits.
#include <QObject>
#include <QString>

class QLocalServer;

namespace qx::app {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket name for the current user and settings directory.
    static QString serverName();
    // Hands `path` to a running copy; true when one took it.
    static bool sendToRunning(const QString& name, const QString& path, int timeoutMs = 2000);

    explicit SingleInstance(QObject* parent = nullptr);
    // Starts listening as the running copy; false when another copy answers already.
    bool listen(const QString& name);

signals:
    // A later start delivered its (possibly empty) path.
    void messageReceived(const QString& path);

private:
    void acceptConnection();
    QLocalServer* server_;
};

} // namespace qx::app
