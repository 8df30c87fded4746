// A send the program never confirmed, on the real program: the user adds to
// the draft and sends again while the data folder cannot take a receipt, then
// once it can. The note holds the added text once.

#include "ProgramTest.h"

#include <QDirIterator>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

class ResendRoadTest : public ProgramTest {
protected:
    void key(const std::string& keys) { ASSERT_EQ(xdotool({"key", keys}).exitCode, 0); }
    void type(const std::string& words) { ASSERT_EQ(xdotool({"type", "--delay", "25", "--", words}).exitCode, 0); }
    QByteArray notes() const
    {
        QByteArray all;
        QDirIterator it(vaultPath(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile note(it.next());
            if (note.open(QIODevice::ReadOnly))
                all += note.readAll();
        }
        return all;
    }
    QString draftID() const { return readJson(dataPath(QStringLiteral("draft.json"))).value("id").toString(); }
    // What a kill between the note and the receipt leaves: the capture is the
    // draft still, and nothing says it was delivered.
    void forgetTheDelivery()
    {
        const QString receipts = dataPath(QStringLiteral("Receipts"));
        const QString delivered = jsonFiles(receipts).first();
        const QString history = dataPath(QStringLiteral("History/")) + delivered;
        QFile::remove(dataPath(QStringLiteral("draft.json")));
        ASSERT_TRUE(QFile::copy(history, dataPath(QStringLiteral("draft.json"))));
        ASSERT_TRUE(QFile::remove(history));
        ASSERT_TRUE(QDir(receipts).removeRecursively());
    }
    // Sends the lines typed in a program started for it, and ends it once delivered.
    void sendAndStop(std::initializer_list<std::string> lines)
    {
        ChildProcess* program = startHoldingHotKey("first");
        ASSERT_TRUE(program);
        key("ctrl+space");
        ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up";
        for (const std::string& line : lines) {
            if (&line != lines.begin())
                key("Return");
            type(line);
        }
        key("ctrl+Return");
        ASSERT_TRUE(waitUntil([&] { return !jsonFiles(dataPath(QStringLiteral("Receipts"))).isEmpty(); }, 15s))
            << "no receipt";
        ASSERT_TRUE(waitUntil([&] { return !panel(); }, 5s));
        program->stop();
    }
};

TEST_F(ResendRoadTest, AnAddedTextSentAgainAfterAFailureReachesTheNoteOnce)
{
    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_NO_FATAL_FAILURE(sendAndStop({"premier envoi"}));

    const QString firstID = jsonFiles(receipts).first().chopped(5);
    ASSERT_NO_FATAL_FAILURE(forgetTheDelivery());
    QFile blocker(receipts);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ASSERT_EQ(notes().count("premier envoi"), 1);

    ASSERT_TRUE(startHoldingHotKey("again"));
    key("ctrl+space");
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up";
    ASSERT_TRUE(waitUntil([&] { return draftID() == firstID; }, 5s));
    key("ctrl+End");
    type(" SUITE IMPORTANTE");
    key("ctrl+Return");
    // The added text went in under an id of its own, which the draft now
    // carries; the receipt could not be written, and the panel stays with
    // the error.
    ASSERT_TRUE(waitUntil([&] { return notes().contains("SUITE IMPORTANTE"); }, 15s)) << notes().toStdString();
    EXPECT_TRUE(waitUntil([&] { return draftID() != firstID; }, 5s)) << "the draft kept the id of the first send";
    const QString renewedID = draftID();
    EXPECT_TRUE(notes().contains("<!-- quillor:" + renewedID.toUtf8() + " -->"));
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(waitForActivePanel()) << "the panel went away after a failed send";

    ASSERT_TRUE(QFile::remove(receipts));
    ASSERT_TRUE(QDir().mkpath(receipts));
    key("ctrl+Return");
    // The panel goes once the receipt is written.
    ASSERT_TRUE(waitUntil([&] { return !panel(); }, 15s)) << "the panel stayed after the send";
    EXPECT_EQ(notes().count("SUITE IMPORTANTE"), 1) << notes().toStdString();
    EXPECT_EQ(notes().count("premier envoi"), 2) << notes().toStdString();
    EXPECT_EQ(jsonFiles(receipts).size(), 2) << jsonFiles(receipts).join(' ').toStdString();
    // Both ids whose text the note holds are confirmed, each naming its note.
    for (const QString& id : {firstID, renewedID}) {
        const QString note = readJson(receipts + u'/' + id + ".json").value("path").toString();
        QFile file(note);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << id.toStdString() << " names " << note.toStdString();
        EXPECT_TRUE(file.readAll().contains("<!-- quillor:" + id.toUtf8() + " -->"));
    }
}

// The user's only change after a send that was never confirmed is a blank
// line, which splits the paragraph: the note must hold the new layout.
TEST_F(ResendRoadTest, ABlankLineAddedAfterAnUnconfirmedSendReachesTheNote)
{
    ASSERT_NO_FATAL_FAILURE(sendAndStop({"ligne un", "ligne deux"}));
    ASSERT_TRUE(notes().contains("ligne un\nligne deux")) << notes().toStdString();
    ASSERT_NO_FATAL_FAILURE(forgetTheDelivery());

    ASSERT_TRUE(startHoldingHotKey("again"));
    key("ctrl+space");
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up";
    key("ctrl+Home");
    key("End");
    key("Return");
    key("ctrl+Return");
    ASSERT_TRUE(waitUntil([&] { return !panel(); }, 15s)) << "the panel stayed after the send";
    EXPECT_TRUE(notes().contains("ligne un\n\nligne deux")) << notes().toStdString();
    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_EQ(jsonFiles(receipts).size(), 2) << jsonFiles(receipts).join(' ').toStdString();
}

} // namespace
