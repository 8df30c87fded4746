#include "core/L10n.h"
#include "model/DataDirectory.h"
#include "platform/ClipboardHandOver.h"
#include "platform/FontWarmUp.h"
#include "shell/AppDelegate.h"
#include "shell/NeutralFieldCaret.h"
#include "shell/ProgramEnd.h"
#include "shell/ProgramEntry.h"
#include "shell/SingleInstance.h"
#include "shell/TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QTranslator>

#include <cstdlib>

using namespace quillor;
using namespace std::chrono_literals;

namespace {

// What a quit leaves to a scan or a read still running before it ends the
// process without them.
constexpr auto unfinishedWorkGrace = 100ms;
// What it leaves to Qt's own teardown after that.
constexpr auto teardownGrace = 150ms;
// What a quit gives the session's clipboard manager to read a text we copied,
// as long as Qt's own teardown would.
constexpr auto clipboardHandOverLimit = 5s;

} // namespace

int main(int argc, char* argv[])
{
    // Window placement and the hot key need X11; a Wayland session runs the
    // program through XWayland. Decided before the platform is loaded.
    if (const std::optional<QByteArray> platform = ProgramEntry::platformOverride())
        qputenv("QT_QPA_PLATFORM", *platform);

    QApplication application(argc, argv);
    // Goes before the application object, whose font database it uses.
    const FontWarmUp fonts;
    QApplication::setApplicationName(QStringLiteral("Quillor"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quillor"));
    // The program lives in the tray and behind its hot key.
    QApplication::setQuitOnLastWindowClosed(false);
    NeutralFieldCaret::observeEditing();

    const QString dataDirectory = DataDirectory::support();
    // Before any text is built; the rest of the settings are the model's.
    L10n::configure(ProgramEntry::readLanguage(QDir(dataDirectory).filePath(DataDirectory::preferencesFileName())));
    // Qt's own texts (dialog buttons, the folder dialog, text menus) in the
    // same language as ours, from the system's Qt translations when present.
    ProgramEntry::QtTexts qtTexts;
    if (ProgramEntry::loadQtTexts(qtTexts, L10n::currentLanguage()))
        QApplication::installTranslator(&qtTexts);

    QDir().mkpath(dataDirectory);
    SingleInstance instance(dataDirectory);
    const SingleInstance::Outcome outcome = instance.acquire();
    switch (outcome) {
    case SingleInstance::Outcome::forwarded:
        return 0;
    case SingleInstance::Outcome::unanswered:
        qWarning("Quillor: another Quillor uses %s but does not answer", qUtf8Printable(dataDirectory));
        return 1;
    case SingleInstance::Outcome::unguarded:
        // The model reports an unwritable data folder itself; a program that
        // runs is more use than none.
        qWarning("Quillor: could not lock %s", qUtf8Printable(dataDirectory));
        break;
    case SingleInstance::Outcome::primary:
        break;
    }

    int code = 0;
    {
        // Without the lock another program may be writing in the folder too.
        AppDelegate delegate(dataDirectory, outcome == SingleInstance::Outcome::primary
                                                ? AppDelegate::DataFolderHold::alone
                                                : AppDelegate::DataFolderHold::shared);
        delegate.setSingleInstance(&instance);
        TerminationSignals signals([&delegate] { delegate.quitOnSignal(); });

        const bool exitWhenIdle = qEnvironmentVariableIsSet("QUILLOR_EXIT_WHEN_IDLE");
        QTimer::singleShot(0, &delegate, [&delegate, &instance, exitWhenIdle] {
            delegate.launch();
            if (exitWhenIdle) {
                // Measures start-up: leaves at the first idle turn of the loop,
                // without the teardown, which is no part of starting. The lock
                // goes as after a quit, so that the next start is an ordinary one.
                QTimer::singleShot(0, [&instance] {
                    instance.release();
                    std::_Exit(0);
                });
            }
        });
        code = application.exec();
        // The delegate goes here: the draft is saved and a capture being
        // delivered is written.
    }
    // A launch while the clipboard manager reads must find the folder free,
    // not this program, which no longer answers it.
    instance.release();
    // Before anything that may end the process early.
    ClipboardHandOver::beforeQuit(clipboardHandOverLimit);
    ProgramEnd::leaveUnfinishedWork(code, unfinishedWorkGrace, [&instance] { instance.release(); });
    ProgramEnd::boundTeardown(code, teardownGrace);
    return code;
}
