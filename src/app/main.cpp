// Entry point: hand a document to a running copy, or start the program.
#include "app/single_instance.h"
#include "app/vorl_frame.h"
#include "registry/launch_table.h"

#include <QApplication>

int main(int argc, char** argv)
{
    const QString path = QString::fromLocal8Bit(qx::joinArguments(argc, argv).c_str());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex"));
    QApplication::setQuitOnLastWindowClosed(false);

    const QString name = qx::app::SingleInstance::serverName();
    if (qx::app::SingleInstance::sendToRunning(name, path))
        return 0;
    qx::app::SingleInstance instance;
    if (!instance.listen(name) && qx::app::SingleInstance::sendToRunning(name, path))
        return 0; // another copy started at the same moment and won

    qx::app::TVorlFrame frame;
    QObject::connect(&instance, &qx::app::SingleInstance::messageReceived, &frame,
                     &qx::app::TVorlFrame::receiveFromSecondStart);
    frame.setUp();
    frame.setPendingDocument(path);
    frame.show();
    return app.exec();
}
