#include "platform/Announcer.h"

#include <QCoreApplication>
#include <QObject>
#include <QVariant>

#include <gtest/gtest.h>

namespace quillor {
namespace {

QString description(const QObject& source)
{
    return source.property("accessibleDescription").toString();
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// Before Qt's announcement event, the text passes through the description,
// which must describe the widget again once the text has been spoken.
TEST(AnnouncerTest, TheDescriptionComesBackOnceTheAnnouncementIsMade)
{
    struct Case {
        const char* name;
        QString own;
        QStringList announcements;
    };
    const Case cases[] = {
        {"one row, no description of its own", QString(), {QStringLiteral("Projet, notes, 1 sur 3")}},
        {"a description of its own", QStringLiteral("Texte de la capture"), {QStringLiteral("Projet, notes, 1 sur 3")}},
        {"two rows in one turn",
         QStringLiteral("Texte de la capture"),
         {QStringLiteral("Projet, notes, 1 sur 3"), QStringLiteral("Plan, notes, 2 sur 3")}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        QObject source;
        source.setProperty("accessibleDescription", test.own);
        for (const QString& text : test.announcements) {
            Announcer::announce(&source, text);
            EXPECT_EQ(description(source), text);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(description(source), test.own);
    }
}
#endif

} // namespace
} // namespace quillor
