#include "PanelTestSupport.h"

#include "panel/DestinationMenuButton.h"

#include <QMenu>

namespace quillor {
namespace {

using namespace test;

// Three destinations, the second the default; or none at all.
struct MenuSession : PanelSession {
    Destination beta = inFolder("Beta", "b");
    Destination alpha = inFolder("Alpha", "a");
    Destination gamma = inFolder("Gamma", "g");

    explicit MenuSession(bool withDestinations = true)
    {
        Preferences none;
        none.destinations.clear();
        none.ensureDefaultDestination();
        data.put("preferences.json",
                 withDestinations ? preferencesWith({beta, alpha, gamma}, beta.id).encode() : none.encode());
        open();
    }
    Destination inFolder(const char* name, const char* alias) const
    {
        return Destination(QUuid::createUuid(), name, alias, vault, DeliveryMode::newNote, name, "Attachments");
    }
    DestinationMenuButton* button() const { return part<DestinationMenuButton>("destinationButton"); }
    QList<QAction*> items() const
    {
        button()->fillMenu();
        return button()->destinationMenu()->actions();
    }
    // The menu as read: "—" for the separator, "✓ " before the checked entry.
    QStringList entries() const
    {
        QStringList result;
        for (QAction* item : items())
            result << (item->isSeparator() ? QStringLiteral("—") : (item->isChecked() ? "✓ " : "") + item->text());
        return result;
    }
};

TEST(DestinationMenuButtonTest, ListsDestinationsAlphabeticallyWithTheDefaultMarkedAndTheRouteChecked)
{
    const QString manage = "Gérer les destinations…";
    EXPECT_EQ(MenuSession(false).entries(), QStringList({"—", manage})) << "without destinations";

    MenuSession s;
    const QString alpha = s.alpha.displayName(), beta = s.beta.displayName() + " · par défaut",
                  gamma = s.gamma.displayName();
    EXPECT_EQ(s.entries(), QStringList({alpha, "✓ " + beta, gamma, "—", manage}));

    s.typeInEditor("@g note");
    EXPECT_EQ(s.entries(), QStringList({alpha, beta, "✓ " + gamma, "—", manage}));
    EXPECT_EQ(s.button()->fullLabel(), s.gamma.displayName());
    EXPECT_TRUE(s.button()->toolTip().startsWith(s.vault + " · Nouvelle note · Gamma/"))
        << s.button()->toolTip().toStdString();

    // A route to nowhere: nothing checked, the reason as the tool tip.
    s.view->editor()->selectAll();
    s.typeInEditor("@zz");
    const std::optional<QString> reason = s.model->routeResolution().error();
    ASSERT_TRUE(reason);
    EXPECT_EQ(s.entries(), QStringList({alpha, beta, gamma, "—", manage}));
    EXPECT_EQ(s.button()->toolTip(), *reason);
}

// A checkable entry left unchecked is drawn with an empty box before it.
TEST(DestinationMenuButtonTest, OnlyTheRoutedEntryCarriesAMark)
{
    MenuSession s;
    for (const char* typed : {"", "@g note", "@zz"}) {
        SCOPED_TRACE(typed);
        s.view->editor()->selectAll();
        s.typeInEditor(typed);
        QStringList marked;
        for (QAction* item : s.items()) {
            if (item->isCheckable())
                marked << (item->isChecked() ? "✓ " : "☐ ") + item->text();
        }
        const QStringList expected = QString(typed) == "@zz" ? QStringList()
                                     : QString(typed).isEmpty()
                                         ? QStringList{"✓ " + s.beta.displayName() + " · par défaut"}
                                         : QStringList{"✓ " + s.gamma.displayName()};
        EXPECT_EQ(marked, expected);
    }
}

TEST(DestinationMenuButtonTest, ChoosingAnEntryGoesToTheModelAndTheLastOneToTheSettings)
{
    MenuSession s;
    s.items()[0]->trigger();
    s.settle();
    EXPECT_EQ(s.model->effectiveDestination().id, s.alpha.id);
    EXPECT_EQ(s.button()->fullLabel(), s.alpha.displayName());
    EXPECT_EQ(s.button()->accessibleName(), "Destination : " + s.alpha.displayName());
    EXPECT_EQ(s.button()->shownLabel(), s.alpha.displayName()) << "elided with room to spare";

    s.items().last()->trigger();
    EXPECT_EQ(s.settingsOpened, 1);
}

} // namespace
} // namespace quillor
