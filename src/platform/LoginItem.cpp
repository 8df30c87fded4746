#include "platform/LoginItem.h"

#include "core/Error.h"
#include "core/FileSystem.h"
#include "core/L10n.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace quillor::LoginItem {

namespace {

const QString domain = QStringLiteral("Quillor.LoginItem");

QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString defaultProgram()
{
    return qEnvironmentVariable("APPIMAGE", QCoreApplication::applicationFilePath());
}

// The value of `key` in the [Desktop Entry] group; empty when absent.
QString entryValue(const QStringList& lines, const QString& key)
{
    bool inEntry = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

} // namespace

QString path()
{
    return configHome() + QStringLiteral("/autostart/quillor.desktop");
}

bool isEnabled()
{
    std::optional<QByteArray> bytes;
    try {
        bytes = FileSystem::readIfExists(path());
    } catch (const Error&) {
        return false;
    }
    if (!bytes)
        return false;
    const QStringList lines = QString::fromUtf8(*bytes).split(u'\n');
    if (!lines.contains(QStringLiteral("[Desktop Entry]")))
        return false;
    return entryValue(lines, QStringLiteral("Hidden")) != QLatin1String("true")
           && entryValue(lines, QStringLiteral("X-GNOME-Autostart-enabled")) != QLatin1String("false");
}

QString execValue(const QString& program)
{
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    // The value is then a desktop-entry string, whose own escape doubles each
    // backslash; "%" starts a field code unless doubled.
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted;
}

void registerItem(const QString& program)
{
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Quillor\n"
                                         "Exec=%1\n"
                                         "Icon=quillor\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execValue(program.isEmpty() ? defaultProgram() : program));
    try {
        FileSystem::createDirectories(QDir::cleanPath(path() + QStringLiteral("/..")));
        FileSystem::writeAtomically(path(), entry.toUtf8());
    } catch (const Error& error) {
        throw PlatformError(domain, 1,
                            L10n::format(QStringLiteral("L’ouverture à la connexion n’a pas pu être activée : %@"),
                                         {error.localizedDescription()}));
    }
}

void unregisterItem()
{
    try {
        FileSystem::removeFile(path());
    } catch (const Error& error) {
        throw PlatformError(domain, 2,
                            L10n::format(QStringLiteral("L’ouverture à la connexion n’a pas pu être désactivée : %@"),
                                         {error.localizedDescription()}));
    }
}

} // namespace quillor::LoginItem
