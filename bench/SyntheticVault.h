#pragma once

// A synthetic vault of Markdown notes of about 2 KB each, with headings,
// tags, wiki links, code blocks and a few images, written once into a
// temporary folder and kept for the whole run. The notes share a handful of
// tags, as a vault's notes do; each may also hold a tag of its own.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <iterator>

namespace quillor::bench {

inline constexpr int notesPerFolder = 200;

inline const char* const words[] = {"le", "projet", "avance", "note", "idée", "réunion", "demain", "liste", "café",
                                    "lecture", "jardin", "budget", "écrire", "vite", "plan", "semaine", "équipe"};
inline const char* const tags[] = {"#projet", "#idée", "#lecture", "#travail/urgent", "#perso", "#2024", "#à_faire"};

inline QByteArray sentence(QRandomGenerator& random)
{
    QByteArray text;
    const int length = 6 + int(random.bounded(10));
    for (int i = 0; i < length; ++i) {
        if (i > 0)
            text += ' ';
        const quint32 pick = random.bounded(100);
        if (pick < 4)
            text += tags[random.bounded(int(std::size(tags)))];
        else if (pick < 7)
            text += "[[Note " + QByteArray::number(random.bounded(5000)) + "]]";
        else if (pick < 8)
            text += "**" + QByteArray(words[random.bounded(int(std::size(words)))]) + "**";
        else if (pick < 9)
            text += "`code`";
        else
            text += words[random.bounded(int(std::size(words)))];
    }
    return text + ".\n";
}

inline QByteArray note(QRandomGenerator& random, int number, bool ownTag)
{
    const qsizetype target = 1024 + qsizetype(random.bounded(2048));   // 2 KB on average
    QByteArray text = "# Note " + QByteArray::number(number) + "\n\n";
    if (ownTag)
        text += "Créée le #jour/" + QByteArray::number(number) + "\n\n";
    while (text.size() < target) {
        const quint32 pick = random.bounded(100);
        if (pick < 10)
            text += "\n## " + QByteArray(words[random.bounded(int(std::size(words)))]) + "\n\n";
        else if (pick < 15)
            text += "```swift\nlet x = \"#pas_un_tag\"\nprint(x) // [[pas un lien]]\n```\n";
        else if (pick < 17)
            text += "![[Attachments/image" + QByteArray::number(random.bounded(10)) + ".png]]\n";
        else if (pick < 30)
            text += "- [ ] " + sentence(random);
        else
            text += sentence(random);
    }
    return text;
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Made once per size and kept for the whole run.
class SyntheticVault {
public:
    SyntheticVault(int count, bool ownTag)
    {
        QRandomGenerator random{quint32(count)};
        QDir().mkpath(path() + QStringLiteral("/Attachments"));
        QDir().mkpath(path() + QStringLiteral("/.obsidian"));
        writeFile(path() + QStringLiteral("/.obsidian/app.json"), "{}");
        for (int i = 0; i < 10; ++i)
            writeFile(path() + QStringLiteral("/Attachments/image%1.png").arg(i), QByteArray(4096, 'p'));
        for (int i = 0; i < count; ++i) {
            const QString folder = path() + QStringLiteral("/Dossier %1").arg(i / notesPerFolder);
            if (i % notesPerFolder == 0)
                QDir().mkpath(folder);
            const QByteArray text = note(random, i, ownTag);
            m_bytes += text.size();
            writeFile(folder + QStringLiteral("/Note %1.md").arg(i), text);
        }
    }

    QString path() const { return m_dir.path() + QStringLiteral("/Vault"); }
    qint64 bytes() const { return m_bytes; }

private:
    QTemporaryDir m_dir;
    qint64 m_bytes = 0;
};

} // namespace quillor::bench
