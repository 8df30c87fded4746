// Launching on a large draft: the hot key does not wait for the draft to be
// read, and a draft Qt takes minutes to lay out does not keep a termination
// signal waiting.

#include "ProgramTest.h"

#include <QRandomGenerator>
#include <QUuid>

#include <csignal>
#include <thread>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

QString newID()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

class LargeDraftTest : public ProgramTest {
protected:
    void writeDraft(const QJsonObject& draft)
    {
        QFile file(dataPath(QStringLiteral("draft.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(draft).toJson(QJsonDocument::Compact));
    }

    // `count` images of 16 MB that do not compress, removed from the text.
    static QJsonArray largeImages(int count)
    {
        QByteArray photo(16 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator generator(35);
        generator.fillRange(reinterpret_cast<quint32*>(photo.data()), photo.size() / 4);
        const QString data = QString::fromLatin1(photo.toBase64());
        QJsonArray images;
        for (int i = 0; i < count; ++i)
            images.append(QJsonObject{{"id", newID()}, {"data", data}, {"fileExtension", "png"}});
        return images;
    }
};

// A draft that takes a second or more to decode: the images removed from its
// text, which a draft keeps for undo, as a day of pasted screenshots leaves.
// It was written before drafts named their destination, so the program keeps
// a copy of it in Recovered once it has read it: until then, nothing is there.
TEST_F(LargeDraftTest, TheHotKeyShowsThePanelWhileTheDraftIsReadAndTheDraftThenFillsIt)
{
    // Large enough that decoding it takes seconds, far longer than the hot
    // key takes to show the panel, even on a loaded machine.
    writeDraft({{"id", newID()}, {"createdAt", 700000000}, {"body", "@inbox premier jet"}, {"attachments", largeImages(4)}});
    const QString recovered = dataPath(QStringLiteral("Recovered"));

    ASSERT_TRUE(startHoldingHotKey());
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel()) << "the hot key pressed during start-up was not answered";
    EXPECT_TRUE(jsonFiles(recovered).isEmpty()) << "the hot key waited for the draft";
    // Typed while the draft is still read: the keys wait for it.
    ASSERT_EQ(xdotool({"key", "ctrl+End"}).exitCode, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "25", " suite"}).exitCode, 0);

    ASSERT_TRUE(waitUntil([&] { return !jsonFiles(recovered).isEmpty(); }, 60s)) << "the draft was never read";
    // The edit is saved into the draft that was read, images and all.
    QJsonObject saved;
    EXPECT_TRUE(waitUntil(
        [&] {
            saved = readJson(dataPath(QStringLiteral("draft.json")));
            return saved.value("body").toString().endsWith(QStringLiteral("suite"));
        },
        30s, 200ms))
        << text(saved.value("body").toString());
    EXPECT_EQ(saved.value("body").toString(), QStringLiteral("premier jet suite"));
    EXPECT_EQ(saved.value("attachments").toArray().size(), 4);
    EXPECT_EQ(saved.value("destinationID").toString(), destinationID);
}

// A dead key gives its letter through the input method, not as a key: the
// accented letter waits for the draft with the keys typed around it.
TEST_F(LargeDraftTest, ADeadKeyTypedWhileTheDraftIsReadAccentsItsLetter)
{
    writeDraft({{"id", newID()}, {"createdAt", 700000000}, {"body", "@inbox premier jet"}, {"attachments", largeImages(8)}});
    const QString recovered = dataPath(QStringLiteral("Recovered"));
    // The circumflex of a French keyboard, on a key of its own.
    ASSERT_TRUE(m_probe->addKeysyms({0xfe52}));

    ASSERT_TRUE(startHoldingHotKey());
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel()) << "the hot key pressed during start-up was not answered";
    ASSERT_EQ(xdotool({"key", "ctrl+End"}).exitCode, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "25", " partir"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "--delay", "25", "dead_circumflex", "e"}).exitCode, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "tre"}).exitCode, 0);
    EXPECT_TRUE(jsonFiles(recovered).isEmpty()) << "the draft was read before the keys were typed";

    ASSERT_TRUE(waitUntil([&] { return !jsonFiles(recovered).isEmpty(); }, 60s)) << "the draft was never read";
    QString body;
    EXPECT_TRUE(waitUntil(
        [&] {
            body = readJson(dataPath(QStringLiteral("draft.json"))).value("body").toString();
            return body.endsWith(QStringLiteral("tre"));
        },
        30s, 200ms))
        << text(body);
    EXPECT_EQ(body, QStringLiteral("premier jet partirêtre"));
}

// One paragraph of a million characters: Qt lays it out for minutes, in one
// call, on the thread that serves the signal.
TEST_F(LargeDraftTest, SigtermEndsTheProgramWhileALongLineIsLaidOut)
{
    const QString line(1'000'000, QChar(0xe9));
    writeDraft({{"id", newID()},
                {"createdAt", 700000000},
                {"body", line},
                {"attachments", QJsonArray()},
                {"destinationID", destinationID},
                {"usesExplicitDestination", true}});
    const std::string before = readWholeFile(text(dataPath(QStringLiteral("draft.json"))));

    ChildProcess* program = startHoldingHotKey();
    ASSERT_TRUE(program);
    // Showing the panel lays the text out, if the start-up has not begun to.
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(program->running());
    ASSERT_EQ(::kill(program->pid(), SIGTERM), 0);
    EXPECT_TRUE(program->waitForExit(30s)) << "SIGTERM was not served";
    // The draft on disk was the latest: it is still there, whole.
    EXPECT_EQ(readWholeFile(text(dataPath(QStringLiteral("draft.json")))), before);
}

} // namespace
