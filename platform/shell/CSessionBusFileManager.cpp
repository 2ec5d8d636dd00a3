#include "platform/shell/CSessionBusFileManager.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>

namespace {
const QString ServiceName = QStringLiteral("org.freedesktop.FileManager1");
}

bool CSessionBusFileManager::ShowItems(const std::string& sUri) {
    QDBusConnection oBus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* pBus = oBus.isConnected() ? oBus.interface() : nullptr;
    if (pBus == nullptr) {
        return false;
    }
    const QDBusReply<bool> oRegistered = pBus->isServiceRegistered(ServiceName);
    bool bOffered = oRegistered.isValid() && oRegistered.value();
    if (!bOffered) {
        // A file manager that the bus starts on demand offers the service as well.
        const QDBusReply<QStringList> oActivatable =
            pBus->call(QStringLiteral("ListActivatableNames"));
        bOffered = oActivatable.isValid() && oActivatable.value().contains(ServiceName);
    }
    if (!bOffered) {
        return false;
    }
    QDBusMessage oCall =
        QDBusMessage::createMethodCall(ServiceName, QStringLiteral("/org/freedesktop/FileManager1"),
                                       ServiceName, QStringLiteral("ShowItems"));
    oCall << QStringList{QString::fromUtf8(sUri.data(), static_cast<qsizetype>(sUri.size()))}
          << QString();
    const QDBusMessage oReply = oBus.call(oCall, QDBus::Block, CallTimeoutMs);
    return oReply.type() == QDBusMessage::ReplyMessage;
}
