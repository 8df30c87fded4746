// The capture road on the real program: the hot key, typing, delivery, and
// the way back to the window the user was in.

#include "ProgramTest.h"

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

class CaptureRoadTest : public ProgramTest {};

TEST_F(CaptureRoadTest, HotKeyCaptureIsWrittenAndTheKeyboardGoesBack)
{
    const QDateTime started = QDateTime::currentDateTimeUtc().addSecs(-1);
    ASSERT_TRUE(startHoldingHotKey());

    const std::string previous = startClient({"window", "Carnet précédent"}, "previous");
    ASSERT_FALSE(previous.empty());
    const xcb_window_t previousWindow = xcb_window_t(std::stoul(previous));
    ASSERT_EQ(xdotool({"windowactivate", "--sync", previous}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return m_probe->activeWindow() == previousWindow; }, 5s));

    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up with the keyboard";

    // Typed line by line: Return is a key of its own, and the editor's list
    // and pairing rules must leave these lines exactly as typed.
    const QStringList lines = {QStringLiteral("# Idée du matin"), QStringLiteral("Les œufs brûlés coûtent cher à Noël."),
                               QStringLiteral("- [ ] appeler Zoé")};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ToolResult typed = xdotool({"type", "--delay", "25", "--", text(lines[i])});
        ASSERT_EQ(typed.exitCode, 0) << typed.errors;
        if (i + 1 < lines.size()) {
            ASSERT_EQ(xdotool({"key", "Return"}).exitCode, 0);
        }
    }
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_TRUE(waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s)) << "no receipt";
    const QDateTime finished = QDateTime::currentDateTimeUtc().addSecs(1);
    const QStringList receiptFiles = jsonFiles(receipts);
    ASSERT_EQ(receiptFiles.size(), 1);
    const QString captureID = receiptFiles.first().chopped(5);
    const QString body = lines.join(u'\n');

    // The receipt names the note, its destination and a delivery time.
    const QJsonObject receipt = readJson(receipts + u'/' + receiptFiles.first());
    EXPECT_EQ(receipt.value("captureID").toString(), captureID);
    EXPECT_EQ(receipt.value("destinationName").toString(), QStringLiteral("Inbox"));
    EXPECT_EQ(receipt.value("destinationID").toString(), destinationID);
    const QString relativePath = receipt.value("relativePath").toString();
    static const QRegularExpression noteName(QStringLiteral("^Inbox/(\\d{4}-\\d\\d-\\d\\d \\d{6})-([0-9A-F]{8})\\.md$"));
    const QRegularExpressionMatch named = noteName.match(relativePath);
    ASSERT_TRUE(named.hasMatch()) << text(relativePath);
    EXPECT_EQ(named.captured(2), captureID.left(8));
    const QString notePath = vaultPath() + u'/' + relativePath;
    EXPECT_EQ(receipt.value("path").toString(), notePath);
    const QDateTime delivered = QDateTime::fromString(receipt.value("date").toString(), Qt::ISODate);
    EXPECT_TRUE(delivered.isValid() && delivered >= started && delivered <= finished)
        << text(receipt.value("date").toString());

    // The note: front matter, the capture, its marker; nothing else in the folder.
    QFile note(notePath);
    ASSERT_TRUE(note.open(QIODevice::ReadOnly)) << text(notePath);
    const QByteArray bytes = note.readAll();
    static const QRegularExpression createdLine(QStringLiteral("\ncreated: (\\S+)\n"));
    const QString created = createdLine.match(QString::fromUtf8(bytes)).captured(1);
    const QDateTime createdAt = QDateTime::fromString(created, Qt::ISODate);
    EXPECT_TRUE(createdAt.isValid() && createdAt >= started && createdAt <= delivered) << text(created);
    // The program runs in UTC here, so the file name shows the same moment.
    EXPECT_EQ(named.captured(1), createdAt.toString(QStringLiteral("yyyy-MM-dd HHmmss")));
    const QString expected = QStringLiteral("---\nquillor_id: %1\ncreated: %2\n---\n\n%3\n\n<!-- quillor:%1 -->\n")
                                 .arg(captureID, created, body);
    EXPECT_EQ(QString::fromUtf8(bytes), expected);
    EXPECT_EQ(QDir(vaultPath() + QStringLiteral("/Inbox")).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // The history keeps the capture as typed.
    const QJsonObject history = readJson(dataPath(QStringLiteral("History/")) + captureID + QStringLiteral(".json"));
    EXPECT_EQ(history.value("id").toString(), captureID);
    EXPECT_EQ(history.value("body").toString().trimmed(), body);

    // The panel is gone and the previous window has the keyboard again.
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the panel is still on screen";
    // First shown on a fresh data folder, it stood centred, a tenth of the
    // screen above the middle, and kept its top edge while it grew: the
    // position saved on hiding says so (not the corner a window manager
    // gives a window it placed itself).
    const QJsonObject position = readJson(dataPath(QStringLiteral("capture-position.json")));
    EXPECT_EQ(position.value("x").toDouble(), 480.0);
    EXPECT_GT(position.value("top").toDouble(), 250.0);
    EXPECT_LT(position.value("top").toDouble(), 400.0);
    EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == previousWindow; }, 5s));
    const ToolResult active = xdotool({"getactivewindow"});
    EXPECT_EQ(active.exitCode, 0);
    EXPECT_EQ(active.output, previous + "\n");
}

TEST_F(CaptureRoadTest, TheHotKeyStillHidesThePanelAfterAQuickDoublePress)
{
    ASSERT_TRUE(startHoldingHotKey());
    const std::string previous = startClient({"window", "Carnet précédent"}, "previous");
    ASSERT_FALSE(previous.empty());
    ASSERT_EQ(xdotool({"windowactivate", "--sync", previous}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());

    // Hidden and at once shown again, as a quick double press does.
    ASSERT_EQ(xdotool({"key", "ctrl+space", "key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    // At a person's pace, the next press hides the panel.
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the hot key no longer hides the panel";
    EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == xcb_window_t(std::stoul(previous)); }, 5s));
}

TEST_F(CaptureRoadTest, AHotKeyTakenByAnotherApplicationIsReportedAtLaunch)
{
    ASSERT_EQ(startClient({"grab-control-space"}, "rival"), "grabbed");
    ChildProcess* program = startQuillor();
    const auto reports = [&](const std::string& errors) {
        return errors.find("Ce raccourci est déjà réservé") != std::string::npos
            && errors.find("Indisponible") != std::string::npos;
    };
    waitUntil([&] { return reports(programErrors()) || !program->running(); }, 30s, 100ms);
    EXPECT_TRUE(reports(programErrors())) << programErrors();
    // A refused hot key is not a reason to stop: the program stays reachable.
    EXPECT_TRUE(program->running());
}

TEST_F(CaptureRoadTest, ASecondLaunchShowsTheFirstInstancesPanel)
{
    ChildProcess* first = startHoldingHotKey("first");
    ASSERT_TRUE(first);
    ASSERT_FALSE(panel()) << "the panel showed at launch";

    ChildProcess* second = startQuillor("second");
    const auto launched = Clock::now();
    ASSERT_TRUE(second->waitForExit(5s)) << "the second launch kept running";
    std::cout << "second launch exited after "
              << std::chrono::duration_cast<Milliseconds>(Clock::now() - launched).count() << " ms\n";
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(waitForActivePanel()) << "the first instance did not show its panel";
    EXPECT_TRUE(first->running());
}

} // namespace
