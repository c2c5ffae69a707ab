#include "atspi.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace morvane::platform {

void atspiVisibleChanged(QAccessibleInterface* object, bool on) {
    if (!object || !object->isValid()) return;
    // The connection that Qt's bridge opened to the accessibility bus: the
    // signal must come from the name that owns the object.
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected()) return;
    // As Qt's bridge names its objects and sends its own state changes:
    // the object's path; the state, its value, 0, a variant; the
    // application's root.
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(object));
    QDBusMessage signal =
        QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"));
    QDBusArgument root;
    root.beginStructure();
    root << bus.baseService() << QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"));
    root.endStructure();
    signal << QStringLiteral("visible") << (on ? 1 : 0) << 0 << QVariant::fromValue(QDBusVariant(0))
           << QVariant::fromValue(root);
    bus.send(signal);
}

}  // namespace morvane::platform
