#include "PanelTestSupport.h"

#include "panel/DestinationMenuButton.h"

#include <QMenu>

namespace quillor {
namespace {

using namespace test;

struct MenuSession : PanelSession {
    Destination beta = inFolder("Beta", "b");
    Destination alpha = inFolder("Alpha", "a");
    Destination gamma = inFolder("Gamma", "g");

    MenuSession()
    {
        data.put("preferences.json", preferencesWith({beta, alpha, gamma}, beta.id).encode());
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
    QStringList titles() const
    {
        QStringList result;
        for (QAction* item : items())
            result << (item->isSeparator() ? QStringLiteral("—") : item->text());
        return result;
    }
    QStringList checked() const
    {
        QStringList result;
        for (QAction* item : items()) {
            if (item->isChecked())
                result << item->text();
        }
        return result;
    }
};

TEST(DestinationMenuButtonTest, ListsDestinationsAlphabeticallyWithTheDefaultMarkedAndTheRouteChecked)
{
    MenuSession s;
    const QString defaultSuffix = QStringLiteral(" · par défaut");
    EXPECT_EQ(s.titles(), QStringList({s.alpha.displayName(), s.beta.displayName() + defaultSuffix,
                                       s.gamma.displayName(), "—", "Gérer les destinations…"}));
    EXPECT_EQ(s.checked(), QStringList{s.beta.displayName() + defaultSuffix});

    s.typeInEditor("@g note");
    EXPECT_EQ(s.checked(), QStringList{s.gamma.displayName()});
    EXPECT_EQ(s.button()->fullLabel(), s.gamma.displayName());
    EXPECT_TRUE(s.button()->toolTip().startsWith(s.vault + " · Nouvelle note · Gamma/"))
        << s.button()->toolTip().toStdString();

    s.view->editor()->selectAll();
    s.typeInEditor("@zz");
    const std::optional<QString> reason = s.model->routeResolution().error();
    ASSERT_TRUE(reason);
    EXPECT_EQ(s.checked(), QStringList());
    EXPECT_EQ(s.button()->toolTip(), *reason);
}

TEST(DestinationMenuButtonTest, ChoosingAnEntryGoesToTheModelAndTheLastOneToTheSettings)
{
    MenuSession s;
    s.items()[0]->trigger();
    s.settle();
    EXPECT_EQ(s.model->effectiveDestination().id, s.alpha.id);
    EXPECT_EQ(s.button()->fullLabel(), s.alpha.displayName());
    EXPECT_EQ(s.button()->accessibleName(), "Destination : " + s.alpha.displayName());

    s.items().last()->trigger();
    EXPECT_EQ(s.settingsOpened, 1);
}

TEST(DestinationMenuButtonTest, WithoutDestinationsOnlyTheSettingsEntryRemains)
{
    PanelSession s;
    Preferences none;
    none.destinations.clear();
    none.ensureDefaultDestination();
    s.data.put("preferences.json", none.encode());
    s.open();
    auto* button = s.part<DestinationMenuButton>("destinationButton");
    button->fillMenu();
    const QList<QAction*> items = button->destinationMenu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->isSeparator());
    EXPECT_EQ(items[1]->text(), "Gérer les destinations…");
}

} // namespace
} // namespace quillor
