#include "shell/ProgramEntry.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

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
    QFile file(preferencesPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return language(file.readAll());
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
