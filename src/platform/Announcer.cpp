#include "platform/Announcer.h"

#include <QAccessible>
#include <QObject>
#include <QTimer>
#include <QVariant>
#include <QtGlobal>

namespace quillor::Announcer {

namespace {

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// What the widget described before the first announcement still standing.
constexpr char descriptionBeforeAnnouncement[] = "quillorDescriptionBeforeAnnouncement";

void describe(QObject* source, const QString& text)
{
    source->setProperty("accessibleDescription", text);
    QAccessibleEvent event(source, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}
#endif

} // namespace

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
    // layer needs no widgets; the change goes to the accessibility bridge,
    // which reads the text as it passes the event on. Left there, the text
    // would describe the widget long after it was true: the description
    // comes back on the next turn of the loop, unless a newer announcement
    // took its place meanwhile.
    if (!source->property(descriptionBeforeAnnouncement).isValid())
        source->setProperty(descriptionBeforeAnnouncement, source->property("accessibleDescription").toString());
    describe(source, text);
    QTimer::singleShot(0, source, [source, text] {
        if (source->property("accessibleDescription").toString() != text)
            return;
        const QString before = source->property(descriptionBeforeAnnouncement).toString();
        source->setProperty(descriptionBeforeAnnouncement, QVariant());
        describe(source, before);
    });
#endif
}

} // namespace quillor::Announcer
