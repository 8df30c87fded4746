// A data folder on a disk that stops answering (a stalled network or FUSE
// mount): a termination signal during a draft write ends the program once
// the write has had its bound, the draft before stays whole, and a later
// start removes the write's temporary file.

#include "ProgramTest.h"

#include <QFileInfo>

#include <csignal>
#include <cstdlib>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

class StalledDiskTest : public ProgramTest {
protected:
    QStringList temporaries() const
    {
        return QDir(QString::fromStdString(path("data")))
            .entryList({QStringLiteral(".quillor-*.tmp")}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(StalledDiskTest, SigtermEndsTheProgramWhenADraftWriteOutlastsItsBound)
{
    const QString draftPath = dataPath(QStringLiteral("draft.json"));
    {
        QFile file(draftPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{"id", "0B5E3C8A-2F41-4D6B-9C7E-5A1D3F2B4C6E"},
                                             {"createdAt", 700000000},
                                             {"body", "premier jet"},
                                             {"attachments", QJsonArray()},
                                             {"destinationID", destinationID},
                                             {"usesExplicitDestination", true}})
                       .toJson(QJsonDocument::Compact));
    }
    const std::string before = readWholeFile(text(draftPath));
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    m_programVariables = {
        {"LD_PRELOAD", QUILLOR_E2E_STALLED_FSYNC},
        {"QUILLOR_E2E_STALLED_FOLDER", text(QFileInfo(QString::fromStdString(path("data"))).canonicalFilePath())},
        // A sanitized program would refuse a library loaded before its runtime.
        {"ASAN_OPTIONS", std::string(sanitizerOptions ? sanitizerOptions : "") + ":verify_asan_link_order=0"},
    };

    ChildProcess* program = startHoldingHotKey();
    ASSERT_TRUE(program);
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    ASSERT_EQ(xdotool({"key", "ctrl+End"}).exitCode, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "25", " suite"}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return !temporaries().isEmpty(); }, 10s)) << "no draft write began";

    ASSERT_EQ(::kill(program->pid(), SIGTERM), 0);
    // A small draft's bound is ten seconds; the disk never answers.
    EXPECT_TRUE(program->waitForExit(60s)) << "the end of the program waited for the disk";
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_EQ(readWholeFile(text(draftPath)), before);
    const QStringList left = temporaries();
    ASSERT_EQ(left.size(), 1);

    // The next start, on an answering disk, removes it.
    m_programVariables.clear();
    ASSERT_TRUE(startHoldingHotKey("quillor-next"));
    EXPECT_TRUE(waitUntil([&] { return temporaries().isEmpty(); }, 10s)) << "the temporary file stayed";
    EXPECT_EQ(readJson(draftPath).value("body").toString(), QStringLiteral("premier jet"));
}

} // namespace
