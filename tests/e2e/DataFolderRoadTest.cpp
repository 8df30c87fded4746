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

// A kill during a write leaves its temporary file: the next start, holding
// the data folder alone, removes those of earlier runs however recent, and
// only those.
TEST_F(DataFolderRoadTest, TemporaryFilesOfKilledWritesAreRemovedAtStart)
{
    QStringList left;
    for (const QString& folder : {QStringLiteral("."), QStringLiteral("History"), QStringLiteral("Receipts"),
                                  QStringLiteral("Backups")})
        left.append(temporary(folder, true));
    left.append(temporary(QStringLiteral("History"), false));
    // Other programs' files that only look like ours.
    QStringList others{dataPath(QStringLiteral("History/.quillor-notes.tmp"))};
    for (const auto& [from, to] : {std::pair{".quillor-", ".Quillor-"}, std::pair{".tmp", ".TMP"}}) {
        const QFileInfo ours(temporary(QStringLiteral("Receipts"), true));
        others.append(ours.path() + u'/' + ours.fileName().replace(QLatin1String(from), QLatin1String(to)));
        ASSERT_TRUE(QFile::rename(ours.filePath(), others.last()));
    }
    QFile file(others.first());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    utimbuf times{time(nullptr) - 3600, time(nullptr) - 3600};
    ASSERT_EQ(utime(QFile::encodeName(others.first()).constData(), &times), 0);

    ChildProcess* program = startQuillor();
    for (const QString& path : left)
        EXPECT_TRUE(waitUntil([&] { return !QFile::exists(path); }, 15s)) << path.toStdString() << " stayed";
    EXPECT_TRUE(program->running());
    for (const QString& path : others)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString() << " was removed";
}

} // namespace
