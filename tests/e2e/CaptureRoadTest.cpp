// The capture road on the real program: the hot key, typing, delivery, and
// the way back to the window the user was in.

#include "ProgramTest.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QHash>
#include <QRect>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>
#include <thread>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

// Tab stops in a note's preview from its list to "Exporter la note…": the
// text, "Ouvrir", then the button.
constexpr int tabsToExport = 3;

class CaptureRoadTest : public ProgramTest {
protected:
    // The panel on screen with the keyboard, shown by the hot key.
    bool showPanel()
    {
        return startHoldingHotKey() && xdotool({"key", "ctrl+space"}).exitCode == 0 && waitForActivePanel();
    }

    // Where a window stands on the screen, as xdotool reads it.
    std::optional<QRect> geometry(xcb_window_t window)
    {
        const ToolResult result = xdotool({"getwindowgeometry", "--shell", std::to_string(window)});
        QHash<QString, int> values;
        for (const QString& line : QString::fromStdString(result.output).split(u'\n', Qt::SkipEmptyParts)) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals > 0)
                values.insert(line.left(equals), line.mid(equals + 1).toInt());
        }
        if (result.exitCode != 0 || !values.contains(QStringLiteral("X")))
            return std::nullopt;
        return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                     values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT")));
    }

    // A left-button drag from `from` through relative steps, as a hand makes
    // it; Alt goes down after the press when asked. `during` runs before the
    // release.
    void drag(QPoint from, const std::vector<QPoint>& steps, bool altAfterPress = false,
              const std::function<void()>& during = {})
    {
        ASSERT_EQ(xdotool({"mousemove", std::to_string(from.x()), std::to_string(from.y())}).exitCode, 0);
        std::this_thread::sleep_for(100ms);
        ASSERT_EQ(xdotool({"mousedown", "1"}).exitCode, 0);
        std::this_thread::sleep_for(100ms);
        if (altAfterPress) {
            ASSERT_EQ(xdotool({"keydown", "alt"}).exitCode, 0);
        }
        for (const QPoint step : steps) {
            ASSERT_EQ(xdotool({"mousemove_relative", "--", std::to_string(step.x()), std::to_string(step.y())}).exitCode,
                      0);
            std::this_thread::sleep_for(40ms);
        }
        std::this_thread::sleep_for(200ms);
        if (during)
            during();
        ASSERT_EQ(xdotool({"mouseup", "1"}).exitCode, 0);
        if (altAfterPress) {
            ASSERT_EQ(xdotool({"keyup", "alt"}).exitCode, 0);
        }
    }

    // Whether the drag source's `drags`th drag is over a window that takes
    // it: a release is a drop only once the program has answered so, which a
    // loaded program may do after the pointer has come to rest.
    bool dragAccepted(int drags) const
    {
        const std::string output = readWholeFile(log("source") + ".out");
        int started = 0;
        for (auto at = output.find("drag\n"); at != std::string::npos; at = output.find("drag\n", at + 1))
            ++started;
        return started == drags && output.ends_with("accepted\n");
    }
    void waitForDragAccepted(int drags)
    {
        EXPECT_TRUE(waitUntil([&] { return dragAccepted(drags); }, 10s)) << "the panel did not take the drag";
    }

    QString draftBody() const { return readJson(dataPath(QStringLiteral("draft.json"))).value("body").toString(); }

    // The panel has the keyboard again: it is the active window and a letter
    // typed reaches the draft.
    void expectKeyboardBack(xcb_window_t panelWindow, const std::string& letter, const char* after)
    {
        SCOPED_TRACE(after);
        EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == panelWindow; }, 5s))
            << "another window has the keyboard";
        ASSERT_EQ(xdotool({"type", "--delay", "25", letter}).exitCode, 0);
        EXPECT_TRUE(waitUntil([&] { return draftBody().contains(QString::fromStdString(letter)); }, 5s))
            << text(draftBody());
    }

    // The panel shown with the hot key while another program's window had
    // the keyboard; none when it did not come up with the keyboard.
    std::optional<xcb_window_t> showPanelOverAnotherProgram()
    {
        if (!startHoldingHotKey() || activatePreviousWindow().empty() || xdotool({"key", "ctrl+space"}).exitCode != 0
            || !waitForActivePanel())
            return std::nullopt;
        return panel();
    }

    // A file of the user's, in the home folder.
    QString homeFile(const QString& name, const QByteArray& bytes) const
    {
        const QString file = QString::fromStdString(path("home")) + u'/' + name;
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size()) << text(file);
        return file;
    }

    bool guidesShown() const { return m_probe->viewableWindowNamed("Quillor guides").has_value(); }

    // The text of the first note delivered, once its receipt is written;
    // empty when none came.
    QString deliveredNote()
    {
        const QString receipts = dataPath(QStringLiteral("Receipts"));
        if (!waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s))
            return {};
        QFile note(readJson(receipts + u'/' + jsonFiles(receipts).first()).value("path").toString());
        return note.open(QIODevice::ReadOnly) ? QString::fromUtf8(note.readAll()) : QString();
    }

    QString positionFile() const { return dataPath(QStringLiteral("capture-position.json")); }
    // The saved place once it differs from `before`.
    std::optional<QPoint> savedPositionChangedFrom(const QJsonObject& before)
    {
        QJsonObject saved;
        waitUntil([&] { return (saved = readJson(positionFile())) != before; }, 5s);
        if (saved == before)
            return std::nullopt;
        return QPoint(saved.value("x").toInt(), saved.value("top").toInt());
    }
};

TEST_F(CaptureRoadTest, HotKeyCaptureIsWrittenAndTheKeyboardGoesBack)
{
    const QDateTime started = QDateTime::currentDateTimeUtc().addSecs(-1);
    ASSERT_TRUE(startHoldingHotKey());

    const std::string previous = activatePreviousWindow();
    ASSERT_FALSE(previous.empty());
    const xcb_window_t previousWindow = xcb_window_t(std::stoul(previous));

    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up with the keyboard";

    // The window manager applied the floating hints, whose atoms the program
    // asked for at launch and read at the first showing.
    const std::optional<xcb_window_t> shown = panel();
    ASSERT_TRUE(shown);
    const std::optional<std::string> states =
        m_probe->property(*shown, m_probe->atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    ASSERT_TRUE(states);
    std::vector<xcb_atom_t> stateAtoms(states->size() / sizeof(xcb_atom_t));
    std::memcpy(stateAtoms.data(), states->data(), stateAtoms.size() * sizeof(xcb_atom_t));
    for (const char* floating : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"})
        EXPECT_NE(std::find(stateAtoms.begin(), stateAtoms.end(), m_probe->atom(floating)), stateAtoms.end())
            << floating;
    EXPECT_EQ(m_probe->property(*shown, m_probe->atom("_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL),
              std::string(4, '\xff'));

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
    // First shown on a fresh data folder, it stands centred, a tenth of the
    // screen above the middle, and keeps its top edge while it grows (not
    // the corner a window manager gives a window it placed itself).
    const std::optional<QRect> grown = geometry(*shown);
    ASSERT_TRUE(grown);
    EXPECT_EQ(grown->x(), 480);
    EXPECT_GT(grown->y(), 250);
    EXPECT_LT(grown->y(), 400);
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
    // Only a drag gives the panel a place to remember.
    EXPECT_FALSE(QFileInfo::exists(positionFile())) << "a place was saved without a drag";
    EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == previousWindow; }, 5s));
    const ToolResult active = xdotool({"getactivewindow"});
    EXPECT_EQ(active.exitCode, 0);
    EXPECT_EQ(active.output, previous + "\n");
}

TEST_F(CaptureRoadTest, TheHotKeyStillHidesThePanelAfterAQuickDoublePress)
{
    ASSERT_TRUE(startHoldingHotKey());
    const std::string previous = activatePreviousWindow();
    ASSERT_FALSE(previous.empty());
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

TEST_F(CaptureRoadTest, ParagraphsSeparatedByBlankLinesReachTheNoteAsTyped)
{
    ASSERT_TRUE(showPanel());

    // At the end of the text each time: one blank line, two, then one made
    // of line breaks typed with Shift held.
    const std::vector<std::pair<std::string, std::vector<std::string>>> typed = {
        {"alpha", {"Return", "Return"}},
        {"beta", {"Return", "Return", "Return"}},
        {"gamma", {"shift+Return", "shift+Return"}},
        {"delta", {}},
    };
    for (const auto& [words, breaks] : typed) {
        const ToolResult typing = xdotool({"type", "--delay", "25", "--", words});
        ASSERT_EQ(typing.exitCode, 0) << typing.errors;
        for (const std::string& key : breaks)
            ASSERT_EQ(xdotool({"key", key}).exitCode, 0);
    }
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_TRUE(waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s)) << "no receipt";
    const QJsonObject receipt = readJson(receipts + u'/' + jsonFiles(receipts).first());
    QFile note(receipt.value("path").toString());
    ASSERT_TRUE(note.open(QIODevice::ReadOnly)) << text(note.fileName());
    const QByteArray bytes = note.readAll();
    const QByteArray body = "\n\nalpha\n\nbeta\n\n\ngamma\n\ndelta\n\n<!-- quillor:";
    EXPECT_NE(bytes.indexOf("---" + body), -1) << bytes.toStdString();
}

// Minimised, the settings window is not on screen: hiding the panel gives the
// keyboard back to the window the user came from.
TEST_F(CaptureRoadTest, TheKeyboardGoesBackWhileTheSettingsWindowIsMinimised)
{
    ASSERT_TRUE(startHoldingHotKey());
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    ASSERT_EQ(xdotool({"key", "ctrl+comma"}).exitCode, 0);
    std::optional<xcb_window_t> settings;
    ASSERT_TRUE(waitUntil([&] { return (settings = m_probe->viewableWindowNamed("Réglages")).has_value(); }, 10s))
        << "no settings window";
    ASSERT_EQ(xdotool({"windowminimize", "--sync", std::to_string(*settings)}).exitCode, 0);

    const std::string previous = activatePreviousWindow();
    ASSERT_FALSE(previous.empty());
    const xcb_window_t previousWindow = xcb_window_t(std::stoul(previous));
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    // Openbox may fall back on the window focused last by itself: what
    // matters is that the program asks for the window the user came from.
    m_probe->watchWindowManagerRequests();
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the panel is still on screen";
    EXPECT_TRUE(waitUntil([&] { return m_probe->activationRequested(previousWindow); }, 5s))
        << "the program did not give the keyboard back";
    EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == previousWindow; }, 5s));
}

// The drag strip along the panel's top edge moves it; a press and release
// on the spot moves nothing and saves nothing.
TEST_F(CaptureRoadTest, DraggingTheHandleMovesThePanelOverGuidesAndSavesItsPlace)
{
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> start = geometry(*panel());
    ASSERT_TRUE(start);
    const QPoint handle = start->topLeft() + QPoint(120, 3);

    drag(handle, {});
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(QFileInfo::exists(positionFile())) << "a click saved a place";
    EXPECT_EQ(geometry(*panel()), start);

    // (+100, +50 or a little further down), so that no edge nor the middle
    // comes within 10 pixels of a guide of the 1440 × 900 screen.
    const auto clearOfGuides = [&](int top) {
        for (const int y : {top, top + start->height() / 2, top + start->height()}) {
            for (const int guide : {225, 450, 675}) {
                if (std::abs(y - guide) <= 10)
                    return false;
            }
        }
        return true;
    };
    int down = 50;
    while (!clearOfGuides(start->y() + down))
        down += 10;
    const QJsonObject before = readJson(positionFile());
    bool guidesDuringDrag = false;
    drag(handle, std::vector<QPoint>(10, QPoint(10, down / 10)), false, [&] { guidesDuringDrag = guidesShown(); });
    EXPECT_TRUE(guidesDuringDrag) << "no guides during the drag";
    const std::optional<QPoint> saved = savedPositionChangedFrom(before);
    ASSERT_TRUE(saved) << "no place saved";
    EXPECT_EQ(*saved, start->topLeft() + QPoint(100, down));
    EXPECT_EQ(geometry(*panel())->topLeft(), start->topLeft() + QPoint(100, down));
    EXPECT_TRUE(waitUntil([&] { return !guidesShown(); }, 2s)) << "the guides outlived the drag";
}

// Openbox takes the panel on at every showing, and reports the corner of the
// screen as its place until it has moved it: a refusal's notice, a text
// deleted and Escape, then the hot key, bring it back where it was each time,
// and nothing but a drag writes a place.
TEST_F(CaptureRoadTest, ThePanelComesBackWhereItWasAfterARefusedSendAndEscape)
{
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> start = geometry(*panel());
    ASSERT_TRUE(start);
    for (int round = 1; round <= 8; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(xdotool({"type", "--delay", "10", "@zz texte perdu ?"}).exitCode, 0);
        ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);
        std::this_thread::sleep_for(300ms);
        ASSERT_EQ(xdotool({"key", "ctrl+a", "Delete", "Escape"}).exitCode, 0);
        ASSERT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "Escape did not hide the panel";
        ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
        ASSERT_TRUE(waitForActivePanel());
        std::this_thread::sleep_for(200ms);
        EXPECT_EQ(geometry(*panel())->topLeft(), start->topLeft());
    }
    EXPECT_FALSE(QFileInfo::exists(positionFile())) << "a place was saved without a drag";
}

// The panel first stands centred on the screen's middle line: dragged so its
// middle ends 8 pixels off that line it snaps back, 11 pixels off it stays,
// and with Alt pressed during the drag it follows the pointer exactly.
TEST_F(CaptureRoadTest, ThePanelsMiddleSnapsOntoTheScreensMiddleWithinTenPixelsUnlessAltIsHeld)
{
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> start = geometry(*panel());
    ASSERT_TRUE(start);
    ASSERT_EQ(start->x() + start->width() / 2, 720) << "not centred on the 1440-pixel screen";
    const struct {
        int offset;
        bool alt;
        int expected;
    } cases[] = {{8, false, 0}, {11, false, 11}, {8, true, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset) + (c.alt ? " with Alt" : ""));
        const std::optional<QRect> from = geometry(*panel());
        ASSERT_TRUE(from);
        const QJsonObject before = readJson(positionFile());
        const int there = start->x() + c.offset - from->x();
        drag(from->topLeft() + QPoint(120, 3), {QPoint(30, 0), QPoint(30, 0), QPoint(there - 60, 0)}, c.alt);
        const std::optional<QPoint> saved = savedPositionChangedFrom(before);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->x(), start->x() + c.expected);
        EXPECT_EQ(geometry(*panel())->x(), start->x() + c.expected);
    }
}

TEST_F(CaptureRoadTest, APanelDraggedHalfOffTheBottomIsFittedBackOnTheScreen)
{
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> start = geometry(*panel());
    ASSERT_TRUE(start);
    const int down = 900 - start->y() - start->height() / 2;
    drag(start->topLeft() + QPoint(120, 3), std::vector<QPoint>(10, QPoint(0, down / 10)));
    const std::optional<QPoint> saved = savedPositionChangedFrom({});
    ASSERT_TRUE(saved);
    EXPECT_TRUE(waitUntil([&] { return geometry(*panel())->bottom() < 900; }, 2s));
    EXPECT_EQ(saved->y(), geometry(*panel())->y());
    EXPECT_GT(saved->y(), start->y());
}

// A picture the size of one pixel, as an image viewer puts it on the clipboard.
const QByteArray onePixelPng = QByteArray::fromBase64(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");

// The draft once it holds an image, as draft.json has it.
bool draftHoldsAnImage(const QString& draftFile)
{
    return !readJson(draftFile).value("attachments").toArray().isEmpty();
}

// The note of the one delivered capture, and the vault file of its one embed.
struct DeliveredImage {
    QString note;
    QByteArray image;
};

std::optional<DeliveredImage> deliveredImage(const QString& receipts, const QString& vault)
{
    if (!waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s))
        return std::nullopt;
    QFile note(readJson(receipts + u'/' + jsonFiles(receipts).first()).value("path").toString());
    if (!note.open(QIODevice::ReadOnly))
        return std::nullopt;
    DeliveredImage delivered{QString::fromUtf8(note.readAll()), {}};
    static const QRegularExpression embed(QStringLiteral("!\\[\\[([^\\]]+\\.png)\\]\\]"));
    QFile image(vault + u'/' + embed.match(delivered.note).captured(1));
    if (image.open(QIODevice::ReadOnly))
        delivered.image = image.readAll();
    return delivered;
}

TEST_F(CaptureRoadTest, AnImagePastedFromTheClipboardReachesTheVaultWithItsBytes)
{
    if (!onPath("xclip"))
        GTEST_SKIP() << "xclip is not installed";
    const QString picture = homeFile(QStringLiteral("pixel.png"), onePixelPng);
    ASSERT_TRUE(showPanel());
    ASSERT_TRUE(copyToClipboard("image/png", picture));
    ASSERT_EQ(xdotool({"key", "ctrl+v"}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return draftHoldsAnImage(dataPath(QStringLiteral("draft.json"))); }, 10s))
        << "the pasted image is not in the draft";
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);
    const std::optional<DeliveredImage> delivered = deliveredImage(dataPath(QStringLiteral("Receipts")), vaultPath());
    ASSERT_TRUE(delivered) << "nothing delivered";
    // The note embeds the image, and the vault's copy has the pasted bytes.
    EXPECT_EQ(delivered->image, onePixelPng) << text(delivered->note);
}

TEST_F(CaptureRoadTest, AFileDraggedFromAnotherProgramIsDroppedIntoThePanel)
{
    const QString picture = homeFile(QStringLiteral("glissée.png"), onePixelPng);
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> target = geometry(*panel());
    ASSERT_TRUE(target);

    m_clients.push_back(start({QUILLOR_DRAG_SOURCE, text(picture)}, "source"));
    std::optional<xcb_window_t> source;
    ASSERT_TRUE(waitUntil([&] { return (source = m_probe->viewableWindowNamed("Source")).has_value(); }, 10s));
    ASSERT_EQ(xdotool({"windowactivate", "--sync", std::to_string(*source)}).exitCode, 0);
    const std::optional<QRect> from = geometry(*source);
    ASSERT_TRUE(from);
    const QPoint into = target->topLeft() + QPoint(target->width() / 2, 24);
    const QPoint start = from->center();
    const QPoint step = (into - start) / 10;
    drag(start, std::vector<QPoint>(10, step), false, [&] { waitForDragAccepted(1); });

    EXPECT_TRUE(waitUntil([&] { return draftHoldsAnImage(dataPath(QStringLiteral("draft.json"))); }, 10s))
        << "the dropped file is not in the draft";
    EXPECT_TRUE(waitForActivePanel()) << "the drop did not bring the panel forward";
}

// A 24-bit BMP of noise: converting it to PNG takes the program a while.
QByteArray noisyBmp(int width, int height)
{
    const int row = width * 3;   // a multiple of 4 for the widths used here
    const quint32 pixels = quint32(row) * quint32(height);
    QByteArray bmp(54 + qsizetype(pixels), '\0');
    const auto put = [&](int at, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + i] = char((value >> (8 * i)) & 0xff);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, 54 + pixels, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, quint32(width), 4);
    put(22, quint32(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, pixels, 4);
    quint32 seed = 12345;
    for (qsizetype i = 54; i < bmp.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        bmp[i] = char(seed >> 24);
    }
    return bmp;
}

TEST_F(CaptureRoadTest, ALargeImagePastedAndSentAtOnceIsInTheNote)
{
    if (!onPath("xclip"))
        GTEST_SKIP() << "xclip is not installed";
    const QString picture = homeFile(QStringLiteral("photo.bmp"), noisyBmp(3000, 2000));
    const QString list = homeFile(QStringLiteral("uri-list"), QUrl::fromLocalFile(picture).toEncoded() + "\r\n");
    ASSERT_TRUE(showPanel());
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "voici la photo "}).exitCode, 0);
    ASSERT_TRUE(copyToClipboard("text/uri-list", list));
    // The send comes while the image is still being converted.
    ASSERT_EQ(xdotool({"key", "ctrl+v", "ctrl+Return"}).exitCode, 0);

    const std::optional<DeliveredImage> delivered = deliveredImage(dataPath(QStringLiteral("Receipts")), vaultPath());
    ASSERT_TRUE(delivered) << "nothing delivered";
    static const QRegularExpression sent(QStringLiteral("\nvoici la photo !\\[\\[[^\\]]+\\.png\\]\\]\n"));
    EXPECT_TRUE(sent.match(delivered->note).hasMatch()) << text(delivered->note);
    EXPECT_TRUE(delivered->image.startsWith("\x89PNG")) << "the image file is missing";
    // Nothing of it is left for the next capture.
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the panel is still on screen";
    EXPECT_FALSE(draftHoldsAnImage(dataPath(QStringLiteral("draft.json"))));
}

// A photo-like PNG, written uncompressed: noise would not compress anyway.
QByteArray noisyPng(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 54321;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            line[x] = seed | 0xFF000000u;
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 100);
    return png;
}

// Killed once the note is written, before it confirmed the send, the program
// brings the draft back at the next launch as if unsent. What the user then
// adds to it and sends reaches a note: nothing is called sent that the note
// lacks.
TEST_F(CaptureRoadTest, TextAddedToADraftWhoseSendWasCutShortReachesTheNote)
{
    if (!onPath("xclip"))
        GTEST_SKIP() << "xclip is not installed";
    const QString picture = homeFile(QStringLiteral("photo.png"), noisyPng(3000, 2000));
    const QString draft = dataPath(QStringLiteral("draft.json"));
    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_TRUE(showPanel());
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "premier envoi "}).exitCode, 0);
    ASSERT_TRUE(copyToClipboard("image/png", picture));
    ASSERT_EQ(xdotool({"key", "ctrl+v"}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return draftHoldsAnImage(draft); }, 20s)) << "the pasted image is not in the draft";
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);
    const QDir inbox(vaultPath() + QStringLiteral("/Inbox"));
    ASSERT_TRUE(waitUntil([&] { return !inbox.entryList({QStringLiteral("*.md")}, QDir::Files).isEmpty(); }, 20s,
                          1ms))
        << "no note was written";
    ASSERT_EQ(::kill(m_programs.back()->pid(), SIGKILL), 0);
    ASSERT_TRUE(jsonFiles(receipts).isEmpty()) << "the send was confirmed before the kill";
    // Reaped, so that the next launch finds its instance lock stale.
    ASSERT_TRUE(m_programs.back()->waitForExit(5s));

    ASSERT_TRUE(startHoldingHotKey("quillor-again"));
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    ASSERT_TRUE(draftBody().startsWith(QStringLiteral("premier envoi "))) << text(draftBody());
    ASSERT_EQ(xdotool({"key", "ctrl+End"}).exitCode, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", " SUITE IMPORTANTE"}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return draftBody().endsWith(QStringLiteral(" SUITE IMPORTANTE")); }, 10s))
        << text(draftBody());
    const QString firstSend = readJson(draft).value("id").toString() + QStringLiteral(".json");
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    // The first send is confirmed too, its text being in the note.
    ASSERT_TRUE(waitUntil([&] { return jsonFiles(receipts).size() == 2; }, 30s)) << "nothing was confirmed";
    QStringList renewed = jsonFiles(receipts);
    ASSERT_TRUE(renewed.removeOne(firstSend)) << text(renewed.join(' '));
    QFile note(readJson(receipts + u'/' + renewed.first()).value("path").toString());
    ASSERT_TRUE(note.open(QIODevice::ReadOnly)) << text(note.fileName());
    const QString confirmed = QString::fromUtf8(note.readAll());
    static const QRegularExpression sent(
        QStringLiteral("\npremier envoi !\\[\\[[^\\]]+\\.png\\]\\]\\s*SUITE IMPORTANTE\n"));
    EXPECT_TRUE(sent.match(confirmed).hasMatch()) << text(confirmed);
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the panel is still on screen";
    EXPECT_EQ(draftBody(), QString());
}

TEST_F(CaptureRoadTest, AnImageDroppedOntoAnEmbedOrTheThumbnailsKeepsEveryEmbedWhole)
{
    if (!onPath("xclip"))
        GTEST_SKIP() << "xclip is not installed";
    const QString pasted = homeFile(QStringLiteral("collée.png"), onePixelPng);
    const QString dragged = homeFile(QStringLiteral("glissée.png"), onePixelPng);
    ASSERT_TRUE(showPanel());
    ASSERT_TRUE(copyToClipboard("image/png", pasted));
    ASSERT_EQ(xdotool({"key", "ctrl+v"}).exitCode, 0);
    const QString draft = dataPath(QStringLiteral("draft.json"));
    const auto body = [&] { return readJson(draft).value("body").toString(); };
    ASSERT_TRUE(waitUntil([&] { return draftHoldsAnImage(draft); }, 10s)) << "the pasted image is not in the draft";
    const QString first = body().trimmed();
    ASSERT_TRUE(first.startsWith(QStringLiteral("![[")) && first.endsWith(QStringLiteral("]]"))) << text(first);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "fin"}).exitCode, 0);

    m_clients.push_back(start({QUILLOR_DRAG_SOURCE, text(dragged)}, "source"));
    std::optional<xcb_window_t> source;
    ASSERT_TRUE(waitUntil([&] { return (source = m_probe->viewableWindowNamed("Source")).has_value(); }, 10s));
    const std::optional<QRect> from = geometry(*source);
    ASSERT_TRUE(from);
    int drops = 0;
    const auto dropAt = [&](QPoint into) {
        ASSERT_EQ(xdotool({"windowactivate", "--sync", std::to_string(*source)}).exitCode, 0);
        const QPoint start = from->center();
        const int drop = ++drops;
        drag(start, std::vector<QPoint>(10, (into - start) / 10), false, [&] { waitForDragAccepted(drop); });
    };
    // The whole embeds of the draft, in order.
    const auto embeds = [&] {
        static const QRegularExpression embed(QStringLiteral("!\\[\\[[^\\[\\]]+\\.png\\]\\]"));
        QStringList found;
        for (auto match = embed.globalMatch(body()); match.hasNext();)
            found.append(match.next().captured());
        return found;
    };

    // The middle of the embed's line: the new image goes after the embed.
    const std::optional<QRect> target = geometry(*panel());
    ASSERT_TRUE(target);
    dropAt(target->topLeft() + QPoint(target->width() / 2, 24));
    ASSERT_TRUE(waitUntil([&] { return embeds().size() == 2; }, 10s)) << text(body());
    EXPECT_EQ(embeds().first(), first);
    EXPECT_TRUE(body().startsWith(first + embeds().last())) << text(body());

    // The thumbnails, above the action row: the image goes to the text's end.
    const std::optional<QRect> grown = geometry(*panel());
    ASSERT_TRUE(grown);
    dropAt(QPoint(grown->center().x(), grown->bottom() - 80));
    ASSERT_TRUE(waitUntil([&] { return embeds().size() == 3; }, 10s))
        << "the drop onto the thumbnails was not taken: " << text(body());
    EXPECT_TRUE(body().endsWith(QStringLiteral("fin") + embeds().last() + u'\n')) << text(body());
    EXPECT_EQ(readJson(draft).value("attachments").toArray().size(), 3);
}

// The strip above the text is a few pixels high: an image dropped on the
// panel's top edge goes into the first line, not nowhere.
TEST_F(CaptureRoadTest, AnImageDroppedOnThePanelsTopEdgeGoesIntoTheFirstLine)
{
    const QString dragged = homeFile(QStringLiteral("glissée.png"), onePixelPng);
    ASSERT_TRUE(showPanel());
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "un deux"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "Return"}).exitCode, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "trois"}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return draftBody() == QStringLiteral("un deux\ntrois"); }, 5s)) << text(draftBody());

    m_clients.push_back(start({QUILLOR_DRAG_SOURCE, text(dragged)}, "source"));
    std::optional<xcb_window_t> source;
    ASSERT_TRUE(waitUntil([&] { return (source = m_probe->viewableWindowNamed("Source")).has_value(); }, 10s));
    const std::optional<QRect> from = geometry(*source);
    const std::optional<QRect> target = geometry(*panel());
    ASSERT_TRUE(from && target);
    int drops = 0;
    for (const int y : {0, 4}) {
        SCOPED_TRACE(y);
        ASSERT_EQ(xdotool({"windowactivate", "--sync", std::to_string(*source)}).exitCode, 0);
        const QPoint into = target->topLeft() + QPoint(target->width() - 40, y);
        const int drop = ++drops;
        drag(from->center(), std::vector<QPoint>(10, (into - from->center()) / 10), false, [&] {
            // The steps round: the last move puts the pointer on the very row.
            ASSERT_EQ(xdotool({"mousemove", std::to_string(into.x()), std::to_string(into.y())}).exitCode, 0);
            waitForDragAccepted(drop);
        });
        ASSERT_TRUE(waitUntil([&] { return draftBody().count(QStringLiteral("![[")) == drop; }, 10s))
            << text(draftBody());
        EXPECT_TRUE(draftBody().startsWith(QStringLiteral("un deux"))) << text(draftBody());
        EXPECT_TRUE(draftBody().endsWith(QStringLiteral("\ntrois"))) << text(draftBody());
    }
}

// A drop on the line of a route prefix goes where the pointer is, and never
// before the prefix that opens the text: the capture keeps its destination.
TEST_F(CaptureRoadTest, AnImageDroppedOnARoutePrefixLineKeepsThePrefixFirst)
{
    const QString helpVault = QString::fromStdString(path("home")) + QStringLiteral("/aide");
    ASSERT_TRUE(QDir().mkpath(helpVault));
    QJsonObject preferences = readJson(dataPath(QStringLiteral("preferences.json")));
    QJsonArray destinations = preferences.value("destinations").toArray();
    destinations.append(QJsonObject{
        {"id", "0B4D1E2F-3A5B-4C6D-8E7F-9A0B1C2D3E4F"}, {"name", "aide-fr"},  {"alias", "aide"},
        {"vaultPath", helpVault},                      {"mode", "newNote"},  {"path", "Aide"},
        {"attachmentFolder", "assets"},
    });
    preferences.insert("destinations", destinations);
    QFile file(dataPath(QStringLiteral("preferences.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(preferences).toJson(QJsonDocument::Compact));
    file.close();

    const QString dragged = homeFile(QStringLiteral("glissée.bmp"), noisyBmp(2000, 1500));
    ASSERT_TRUE(showPanel());
    const QString typed = QStringLiteral("@aide un deux trois quatre");
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", text(typed)}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return draftBody() == typed; }, 5s)) << text(draftBody());

    m_clients.push_back(start({QUILLOR_DRAG_SOURCE, text(dragged)}, "source"));
    std::optional<xcb_window_t> source;
    ASSERT_TRUE(waitUntil([&] { return (source = m_probe->viewableWindowNamed("Source")).has_value(); }, 10s));
    const std::optional<QRect> from = geometry(*source);
    const std::optional<QRect> target = geometry(*panel());
    ASSERT_TRUE(from && target);
    int drops = 0;
    // Inside the words, then past the line's end over its upper edge.
    for (const QPoint at : {QPoint(70, 22), QPoint(target->width() - 40, 8)}) {
        ASSERT_EQ(xdotool({"windowactivate", "--sync", std::to_string(*source)}).exitCode, 0);
        const QPoint into = target->topLeft() + at;
        const int drop = ++drops;
        drag(from->center(), std::vector<QPoint>(10, (into - from->center()) / 10), false,
             [&] { waitForDragAccepted(drop); });
        ASSERT_TRUE(waitUntil([&] { return draftBody().count(QStringLiteral("![[")) == drop; }, 10s))
            << text(draftBody());
        EXPECT_TRUE(draftBody().startsWith(QStringLiteral("@aide "))) << text(draftBody());
    }
    EXPECT_TRUE(draftBody().startsWith(QStringLiteral("@aide un"))) << text(draftBody());

    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);
    const QDir delivered(helpVault + QStringLiteral("/Aide"));
    EXPECT_TRUE(waitUntil([&] { return delivered.entryList({QStringLiteral("*.md")}, QDir::Files).size() == 1; }, 10s))
        << "the capture did not reach the prefix's destination";
    EXPECT_EQ(delivered.entryList({QStringLiteral("*.png")}, QDir::Files).size(), 2);
    EXPECT_TRUE(QDir(vaultPath()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
        << "something went to the other vault";
}

TEST_F(CaptureRoadTest, CtrlClickOnAWikiLinkOpensThatNotesPreview)
{
    QFile note(vaultPath() + QStringLiteral("/Projet.md"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("Bonjour\n");
    note.close();
    ASSERT_TRUE(showPanel());
    // The closing brackets come with the opening ones; Escape closes the
    // note completions.
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "[[Projet"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "Escape"}).exitCode, 0);
    std::this_thread::sleep_for(300ms);
    const std::optional<QRect> frame = geometry(*panel());
    ASSERT_TRUE(frame);
    // Over "Projet", after the brackets, on the first line of text.
    const QPoint link = frame->topLeft() + QPoint(30, 22);
    ASSERT_EQ(xdotool({"mousemove", std::to_string(link.x()), std::to_string(link.y())}).exitCode, 0);
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(xdotool({"keydown", "ctrl", "click", "1", "keyup", "ctrl"}).exitCode, 0);
    std::optional<xcb_window_t> preview;
    EXPECT_TRUE(waitUntil([&] { return (preview = m_probe->viewableWindowNamed("Projet")).has_value(); }, 10s))
        << "no preview window";
    if (preview) {
        const std::optional<QRect> size = geometry(*preview);
        ASSERT_TRUE(size);
        EXPECT_EQ(size->size(), QSize(680, 520));
    }
}

// The editor's margin beside the text moves the panel as its handle does.
TEST_F(CaptureRoadTest, ThePanelIsDraggedByTheEditorsMargin)
{
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> start = geometry(*panel());
    ASSERT_TRUE(start);
    drag(start->topLeft() + QPoint(3, 24), std::vector<QPoint>(8, QPoint(-5, 5)), true);
    const std::optional<QPoint> saved = savedPositionChangedFrom({});
    ASSERT_TRUE(saved) << "the panel did not move";
    EXPECT_EQ(*saved, start->topLeft() + QPoint(-40, 40));
}

// Typing that never pauses long enough for the quarter-second save still
// reaches draft.json about every second: killed outright right after the last
// key, the program has kept most of it.
TEST_F(CaptureRoadTest, TypingWithoutAPauseMostlySurvivesAKill)
{
    ASSERT_TRUE(showPanel());
    const std::string typed = "une idee tapee sans jamais lever les doigts du clavier";
    ASSERT_EQ(xdotool({"type", "--delay", "100", "--", typed}).exitCode, 0);
    ASSERT_EQ(::kill(m_programs.back()->pid(), SIGKILL), 0);

    const QString body = readJson(dataPath(QStringLiteral("draft.json"))).value("body").toString();
    EXPECT_TRUE(QString::fromStdString(typed).startsWith(body)) << text(body);
    // The typing lasts a few seconds: saves a second apart keep most of it.
    EXPECT_GE(body.size(), qsizetype(typed.size()) / 2) << text(body);
}


} // namespace

// "[[" opens the suggestions under the caret in a window of their own; a
// click on a row inserts its link while the panel keeps the keyboard.
TEST_F(CaptureRoadTest, SuggestionsOpenUnderTheCaretAndAClickedRowIsInserted)
{
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        QFile note(vaultPath() + u'/' + QString::fromLatin1(name) + QStringLiteral(".md"));
        ASSERT_TRUE(note.open(QIODevice::WriteOnly));
        note.write("Une note.\n");
    }
    ASSERT_TRUE(showPanel());
    const xcb_window_t capture = *panel();
    const std::optional<QRect> frame = geometry(capture);
    ASSERT_TRUE(frame);

    std::optional<xcb_window_t> suggestions;
    // The vault is read when the panel shows; the list fills once it is.
    ASSERT_TRUE(waitUntil(
        [&] {
            if (!(suggestions = m_probe->viewableWindowNamed("Quillor suggestions"))) {
                xdotool({"key", "ctrl+a", "BackSpace"});
                xdotool({"type", "--delay", "25", "--", "[["});
                std::this_thread::sleep_for(300ms);
                suggestions = m_probe->viewableWindowNamed("Quillor suggestions");
            }
            return suggestions.has_value();
        },
        10s))
        << "no suggestions window";
    const std::optional<QRect> list = geometry(*suggestions);
    ASSERT_TRUE(list);
    // Below the first line, from the caret's left.
    EXPECT_EQ(list->height(), 3 * 32 + 8);
    EXPECT_GT(list->top(), frame->top());
    EXPECT_LT(list->top(), frame->top() + 60);
    EXPECT_GT(list->left(), frame->left());
    EXPECT_LT(list->left(), frame->left() + 60);

    // The second row, "Beta": under the 4-pixel padding, one row down.
    const QPoint row(list->left() + 40, list->top() + 4 + 32 + 16);
    ASSERT_EQ(xdotool({"mousemove", std::to_string(row.x()), std::to_string(row.y())}).exitCode, 0);
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(xdotool({"click", "1"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return !m_probe->viewableWindowNamed("Quillor suggestions"); }, 5s));
    std::this_thread::sleep_for(200ms);
    const ToolResult active = xdotool({"getactivewindow"});
    EXPECT_EQ(active.output, std::to_string(capture) + "\n") << "the click took the keyboard from the panel";
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", " suite"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString written = deliveredNote();
    ASSERT_FALSE(written.isEmpty()) << "no note delivered";
    static const QRegularExpression link(QStringLiteral("\n\n\\[\\[Beta\\]\\] suite\n\n"));
    EXPECT_TRUE(link.match(written).hasMatch()) << text(written);
}

// Dragged by its handle below the second item, the first item comes after it.
TEST_F(CaptureRoadTest, DraggingTheFirstItemsHandleBelowTheSecondSwapsThem)
{
    ASSERT_TRUE(showPanel());
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "- un"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "Return"}).exitCode, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "deux"}).exitCode, 0);
    std::this_thread::sleep_for(300ms);
    const std::optional<QRect> frame = geometry(*panel());
    ASSERT_TRUE(frame);
    // The first item's handle: past the drag strip and the text's margin,
    // left of its marker.
    const QPoint handle(frame->left() + 14, frame->top() + 6 + 8 + 10);
    drag(handle, {{0, 3}, {0, 8}, {0, 8}, {0, 8}, {0, 8}, {0, 8}});
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString written = deliveredNote();
    ASSERT_FALSE(written.isEmpty()) << "no note delivered";
    EXPECT_NE(written.indexOf(QStringLiteral("\n\n- deux\n- un\n\n")), -1) << text(written);
}

// The paperclip's dialog, answered or not, leaves the keyboard with the
// panel, not with the program that had it before.
TEST_F(CaptureRoadTest, ThePanelHasTheKeyboardAgainAfterThePaperclipsDialog)
{
    const QString picture = homeFile(QStringLiteral("choisie.png"), onePixelPng);
    const std::optional<xcb_window_t> shown = showPanelOverAnotherProgram();
    ASSERT_TRUE(shown);
    const xcb_window_t panelWindow = *shown;
    const std::optional<QRect> frame = geometry(panelWindow);
    ASSERT_TRUE(frame);
    // The paperclip opens the action row, along the bottom.
    const QPoint paperclip = frame->bottomLeft() + QPoint(27, -23);
    const std::string dialogTitle = "Ajouter des images à cette capture.";

    for (const bool choosing : {false, true}) {
        ASSERT_EQ(xdotool({"mousemove", std::to_string(paperclip.x()), std::to_string(paperclip.y()), "click", "1"})
                      .exitCode,
                  0);
        ASSERT_TRUE(waitUntil([&] { return m_probe->viewableWindowNamed(dialogTitle).has_value(); }, 10s))
            << "the file dialog did not open";
        std::this_thread::sleep_for(500ms);
        if (choosing) {
            ASSERT_EQ(xdotool({"type", "--delay", "10", text(picture)}).exitCode, 0);
            ASSERT_EQ(xdotool({"key", "Return"}).exitCode, 0);
        } else {
            ASSERT_EQ(xdotool({"key", "Escape"}).exitCode, 0);
        }
        ASSERT_TRUE(waitUntil([&] { return !m_probe->viewableWindowNamed(dialogTitle); }, 5s));
        expectKeyboardBack(panelWindow, choosing ? "b" : "a", choosing ? "an image chosen" : "Escape");
    }
    EXPECT_TRUE(draftHoldsAnImage(dataPath(QStringLiteral("draft.json"))));
}

// A note's preview and its export dialog stand above the panel, which stays
// on top of everything else; Escape and Alt+F4 close the preview and give the
// keyboard back to the panel.
TEST_F(CaptureRoadTest, TheNotePreviewStandsAboveThePanelAndGivesItTheKeyboardBack)
{
    QFile note(vaultPath() + QStringLiteral("/Projet.md"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("Bonjour\n");
    note.close();
    const std::optional<xcb_window_t> shown = showPanelOverAnotherProgram();
    ASSERT_TRUE(shown);
    const xcb_window_t panelWindow = *shown;
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "[[Projet"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "Escape"}).exitCode, 0);
    std::this_thread::sleep_for(300ms);
    const std::optional<QRect> frame = geometry(panelWindow);
    ASSERT_TRUE(frame);
    const QPoint link = frame->topLeft() + QPoint(30, 22);

    const std::vector<std::pair<std::string, std::string>> closings = {{"Escape", "x"}, {"alt+F4", "y"}};
    for (const auto& [closing, letter] : closings) {
        ASSERT_EQ(xdotool({"mousemove", std::to_string(link.x()), std::to_string(link.y())}).exitCode, 0);
        std::this_thread::sleep_for(100ms);
        ASSERT_EQ(xdotool({"keydown", "ctrl", "click", "1", "keyup", "ctrl"}).exitCode, 0);
        std::optional<xcb_window_t> preview;
        ASSERT_TRUE(waitUntil(
            [&] {
                preview = m_probe->viewableWindowNamed("Projet");
                return preview && m_probe->activeWindow() == preview;
            },
            10s))
            << "no preview with the keyboard";
        EXPECT_TRUE(m_probe->isAbove(*preview, panelWindow)) << "the panel covers the preview";
        std::this_thread::sleep_for(500ms);
        if (closing == "Escape") {
            for (int i = 0; i < tabsToExport; ++i)
                ASSERT_EQ(xdotool({"key", "Tab"}).exitCode, 0);
            ASSERT_EQ(xdotool({"key", "space"}).exitCode, 0);
            std::optional<xcb_window_t> dialog;
            EXPECT_TRUE(waitUntil(
                [&] { return (dialog = m_probe->viewableWindowNamed("Exporter la note…")).has_value(); }, 10s))
                << "no export dialog";
            if (dialog) {
                std::this_thread::sleep_for(300ms);
                EXPECT_TRUE(m_probe->isAbove(*dialog, panelWindow)) << "the panel covers the export dialog";
                ASSERT_EQ(xdotool({"key", "Escape"}).exitCode, 0);
                ASSERT_TRUE(waitUntil([&] { return m_probe->activeWindow() == preview; }, 5s));
            }
        }
        ASSERT_EQ(xdotool({"key", closing}).exitCode, 0);
        ASSERT_TRUE(waitUntil([&] { return !m_probe->viewableWindowNamed("Projet"); }, 5s))
            << closing << " did not close the preview";
        expectKeyboardBack(panelWindow, letter, closing.c_str());
        // The letter went into the link: it goes, so the link names the note.
        ASSERT_EQ(xdotool({"key", "BackSpace"}).exitCode, 0);
    }
}
