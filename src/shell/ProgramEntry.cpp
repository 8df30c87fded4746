#include "shell/ProgramEntry.h"

#include "core/FileSystem.h"
#include "model/Preferences.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillor::ProgramEntry {

std::optional<QString> language(const QByteArray& preferences)
{
    const QJsonDocument document = QJsonDocument::fromJson(preferences);
    if (!document.isObject())
        return std::nullopt;
    const QJsonValue value = document.object().value(QStringLiteral("language"));
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<QString> readLanguage(const QString& preferencesPath)
{
    // Read as the model reads it: this runs before the signal handlers exist,
    // where a FIFO would hang start-up and an endless file exhaust memory.
    // Whatever cannot be read is left for the model to set aside.
    try {
        if (const auto bytes = FileSystem::readIfExists(preferencesPath, Preferences::maximumFileSize))
            return language(*bytes);
    } catch (const FileSystemError&) {
    }
    return std::nullopt;
}

bool loadQtTexts(QTranslator& translator, const QString& language)
{
    // The locale adds the script and country Qt's files are named by:
    // "zh-Hans" finds qtbase_zh_CN.
    return translator.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QString QtTexts::translate(const char* context, const char* sourceText, const char* disambiguation, int n) const
{
    const QString found = QTranslator::translate(context, sourceText, disambiguation, n);
    if (!found.isEmpty() || qstrcmp(context, "QAbstractFileIconProvider") != 0)
        return found;
    return QTranslator::translate("QFileDialog", sourceText, disambiguation, n);
}

bool isWaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

std::optional<QByteArray> platformOverride()
{
    if (!isWaylandSession())
        return std::nullopt;
    const QByteArray asked = qgetenv("QT_QPA_PLATFORM");
    if (!asked.isEmpty() && !asked.startsWith("wayland"))
        return std::nullopt;
    return QByteArrayLiteral("xcb");
}

} // namespace quillor::ProgramEntry
