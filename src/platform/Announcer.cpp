#include "platform/Announcer.h"

#include <QAccessible>
#include <QObject>
#include <QVariant>
#include <QtGlobal>

namespace quillor::Announcer {

void announce(QObject* source, const QString& text, Priority priority)
{
    if (!source || text.isEmpty())
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(source, text);
    event.setPoliteness(priority == Priority::high ? QAccessible::AnnouncementPoliteness::Assertive
                                                   : QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
#else
    Q_UNUSED(priority);
    // The widget's accessible description, set as a property so that this
    // layer needs no widgets; the change goes to the accessibility bridge.
    source->setProperty("accessibleDescription", text);
    QAccessibleEvent event(source, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
#endif
}

} // namespace quillor::Announcer
