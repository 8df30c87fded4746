#pragma once

#include <QByteArray>
#include <QString>
#include <QTranslator>

#include <optional>

namespace quillor {

// What the program decides before its application object exists.
namespace ProgramEntry {

// The interface language the settings name, read before anything else so
// that every text is built in it. Only "language" is looked at, and only a
// text counts: a file that is missing, unreadable, no regular file, larger
// than Preferences::maximumFileSize, not JSON, not an object, or whose
// "language" is missing or of another type gives none (the system's
// languages), without a message.
std::optional<QString> language(const QByteArray& preferences);
std::optional<QString> readLanguage(const QString& preferencesPath);

// Qt's own texts (dialog buttons, the folder dialog, text menus) for an
// interface language ("de", "zh-Hans"), from the system's Qt translations;
// false when the system has none for it.
bool loadQtTexts(QTranslator& translator, const QString& language);

// A table of Qt's own texts that also answers for the words the file dialog's
// Type column asks for ("Folder", "Drive"): Qt 6 looks them up under a context
// that some of the system's catalogs (French, Spanish, Chinese) do not have
// yet, while they hold the same words under the file dialog's own.
class QtTexts : public QTranslator {
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
};

// A Wayland session runs the program through XWayland: placing windows,
// the pointer position and the hot key all need X11.
bool isWaylandSession();
// The platform plugin to ask for before the application starts, when the
// environment's choice must be overridden: "xcb" on a Wayland session unless
// another platform than Wayland was asked for explicitly.
std::optional<QByteArray> platformOverride();

} // namespace ProgramEntry
} // namespace quillor
