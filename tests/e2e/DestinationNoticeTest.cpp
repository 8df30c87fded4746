// The destination notice on the real program: it follows the folders above
// the vault while the panel shows, without the panel shown again, also when
// they are renamed away and made again at once.

#include "ProgramTest.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QTemporaryDir>

#include <functional>
#include <thread>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

class DestinationNoticeTest : public ProgramTest {
protected:
    // Away from the system's temporary folder, where other programs keep
    // making files: a look made for them would see a change the watches
    // missed, and hide the fault.
    static QString quietParent()
    {
        const QFileInfo spare(QStringLiteral("/var/tmp"));
        return spare.isDir() && spare.isWritable() ? spare.filePath() : QDir::tempPath();
    }

    // The panel's height as xdotool reads it; the notice's row adds to it.
    int panelHeight()
    {
        const std::optional<xcb_window_t> window = panel();
        if (!window)
            return 0;
        const ToolResult result = xdotool({"getwindowgeometry", "--shell", std::to_string(*window)});
        for (const QString& line : QString::fromStdString(result.output).split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(QStringLiteral("HEIGHT=")))
                return line.mid(7).toInt();
        }
        return 0;
    }

    // The destination's vault moved to `vault`, in the preferences the program reads at launch.
    void moveVaultTo(const QString& vault)
    {
        QJsonObject preferences = readJson(dataPath(QStringLiteral("preferences.json")));
        QJsonArray destinations = preferences.value(QStringLiteral("destinations")).toArray();
        QJsonObject destination = destinations.at(0).toObject();
        destination.insert(QStringLiteral("vaultPath"), vault);
        destinations.replace(0, destination);
        preferences.insert(QStringLiteral("destinations"), destinations);
        QFile file(dataPath(QStringLiteral("preferences.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QJsonDocument(preferences).toJson(QJsonDocument::Compact));
    }
};

TEST_F(DestinationNoticeTest, TheNoticeFollowsTheVaultsParentRenamedRemovedAndMadeAgain)
{
    const QTemporaryDir quiet(quietParent() + QStringLiteral("/quillor-XXXXXX"));
    ASSERT_TRUE(quiet.isValid());
    const QString parent = quiet.filePath(QStringLiteral("Dossiers")), vault = parent + QStringLiteral("/Coffre");
    const QString aside = quiet.filePath(QStringLiteral("Dossiers renommés"));
    const QString older = quiet.filePath(QStringLiteral("Dossiers anciens"));
    ASSERT_TRUE(QDir().mkpath(vault));
    moveVaultTo(vault);
    ASSERT_TRUE(startHoldingHotKey());
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    ASSERT_EQ(xdotool({"type", "--delay", "30", "Idee"}).exitCode, 0);
    // The panel as it stands without a notice, once it has taken the text.
    std::this_thread::sleep_for(500ms);
    const int plain = panelHeight();
    ASSERT_GT(plain, 0);

    const struct {
        const char* name;
        std::function<bool()> change;
        bool notice;
    } steps[] = {
        {"the parent renamed", [&] { return QDir().rename(parent, aside); }, true},
        {"renamed back", [&] { return QDir().rename(aside, parent); }, false},
        {"the parent removed", [&] { return QDir(parent).removeRecursively(); }, true},
        {"made again", [&] { return QDir().mkpath(vault); }, false},
        {"the vault removed once more", [&] { return QDir(vault).removeRecursively(); }, true},
        {"made again once more", [&] { return QDir().mkpath(vault); }, false},
        // The path then names other folders than those watched. The program
        // is given the time to look at the change before the next one.
        {"the parent renamed aside and made again at once",
         [&] {
             const bool done = QDir().rename(parent, older) && QDir().mkpath(vault);
             std::this_thread::sleep_for(1500ms);
             return done;
         },
         false},
        {"the new vault removed", [&] { return QDir(vault).removeRecursively(); }, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(step.change());
        EXPECT_TRUE(waitUntil([&] { return (panelHeight() > plain) == step.notice; }, 10s))
            << "the panel is " << panelHeight() << " high, " << plain << " without a notice";
    }
}

} // namespace
