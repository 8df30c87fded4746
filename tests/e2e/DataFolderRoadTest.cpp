// The data folder on the real program: what killed writes left in it.

#include "ProgramTest.h"

#include <QUuid>

#include <utime.h>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

class DataFolderRoadTest : public ProgramTest {
protected:
    // A hidden temporary file as the program names them.
    QString temporary(const QString& folder, bool old) const
    {
        QDir().mkpath(dataPath(folder));
        const QString path = dataPath(folder) + QStringLiteral("/.quillor-")
            + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".tmp");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1 << 20, 'x'));
        file.close();
        if (old) {
            const time_t hourAgo = time(nullptr) - 3600;
            const utimbuf times{hourAgo, hourAgo};
            EXPECT_EQ(utime(QFile::encodeName(path).constData(), &times), 0);
        }
        return path;
    }
};

// A kill during a write leaves its temporary file: the next start removes
// those old enough that no write can still be using them, and only those.
TEST_F(DataFolderRoadTest, OldTemporaryFilesOfKilledWritesAreRemovedAtStart)
{
    QStringList old;
    for (const QString& folder : {QStringLiteral("."), QStringLiteral("History"), QStringLiteral("Receipts"),
                                  QStringLiteral("Backups")})
        old.append(temporary(folder, true));
    const QString fresh = temporary(QStringLiteral("History"), false);
    const QString users = dataPath(QStringLiteral("History/.quillor-notes.tmp"));
    QFile file(users);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    utimbuf times{time(nullptr) - 3600, time(nullptr) - 3600};
    ASSERT_EQ(utime(QFile::encodeName(users).constData(), &times), 0);

    ChildProcess* program = startQuillor();
    for (const QString& path : old)
        EXPECT_TRUE(waitUntil([&] { return !QFile::exists(path); }, 15s)) << path.toStdString() << " stayed";
    EXPECT_TRUE(program->running());
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_TRUE(QFile::exists(users));
}

} // namespace
