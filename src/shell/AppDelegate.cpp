#include "shell/AppDelegate.h"

#include "core/L10n.h"
#include "model/AppModel.h"
#include "model/DataDirectory.h"
#include "model/VaultAccess.h"
#include "platform/ActiveWindow.h"
#include "platform/FileManager.h"
#include "platform/X11Client.h"
#include "platform/X11WindowProperties.h"
#include "panel/CaptureView.h"
#include "settings/ReleaseNotesDialog.h"
#include "settings/SettingsNavigation.h"
#include "settings/SettingsView.h"
#include "shell/CapturePanel.h"
#include "shell/SingleInstance.h"
#include "shell/StatusMenu.h"
#include "updates/AppUpdates.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <utility>

namespace quillor {

namespace {

constexpr QSize settingsMinimumSize(880, 640);
constexpr QSize settingsInitialSize(1000, 700);
// A tray host started by the session after us (autostart) is waited for this
// many times, two seconds apart.
constexpr int trayAttempts = 30;
constexpr int trayRetryInterval = 2000; // ms
// After launch, when the panel's first showing is prepared: past the start-up
// itself, so that a press held during launch is not kept waiting for it.
constexpr int firstShowingPreparationDelay = 200; // ms

// The program's model reads draft.json on a worker: a large draft would hold
// the hot key, registered at launch, for seconds.
AppModel::Environment programEnvironment(AppDelegate::DataFolderHold hold)
{
    AppModel::Environment environment;
    environment.readsDraftInBackground = true;
    environment.holdsDataDirectory = hold == AppDelegate::DataFolderHold::alone;
    return environment;
}

QScreen* screenUnderPointer()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

AppDelegate::AppDelegate(const QString& dataDirectory, DataFolderHold hold, QObject* parent)
    : AppDelegate(dataDirectory, std::make_unique<GlobalShortcut>(), hold, parent)
{
}

AppDelegate::AppDelegate(const QString& dataDirectory, std::unique_ptr<GlobalShortcut> shortcut, QObject* parent)
    : AppDelegate(dataDirectory, std::move(shortcut), DataFolderHold::shared, parent)
{
}

AppDelegate::AppDelegate(const QString& dataDirectory, std::unique_ptr<GlobalShortcut> shortcut, DataFolderHold hold,
                         QObject* parent)
    : QObject(parent),
      m_vaultAccess(std::make_unique<VaultAccess>()),
      m_model(std::make_unique<AppModel>(dataDirectory, *m_vaultAccess, programEnvironment(hold))),
      m_shortcut(std::move(shortcut)),
      m_settingsNavigation(new SettingsNavigation(this))
{
}

AppDelegate::~AppDelegate()
{
    // The windows observe the model and call back into this object: they go
    // first, and the model's callbacks with them.
    delete m_statusItem;
    delete m_statusMenu;
    // A recording still on screen ends with the settings window, and tells
    // the hot key, which would refresh the menu.
    m_statusItem = nullptr;
    m_statusMenu = nullptr;
    if (m_settings) {
        m_settings->removeEventFilter(this);
        delete m_settings.data();
    }
    delete m_panel;
    m_model->onSaved = nullptr;
    m_model->onApplyPreferences = nullptr;
    m_model->onChooseVault = nullptr;
    m_model->onOpenSettings = nullptr;
    m_model->onShortcutRecordingChanged = nullptr;
    m_shortcut->action = nullptr;
    m_shortcut->terminate();
}

// MARK: Launch

void AppDelegate::launch()
{
    if (m_panel)
        return;

    // The first showing needs these; their replies arrive while the panel is
    // built.
    xcb_connection_t* connection = X11Client::qtConnection();
    X11WindowProperties::requestAtoms(connection);
    ActiveWindow::requestAtoms(connection);

    // Before the panel, whose text waits for the fonts prepared meanwhile. A
    // press is handled only once this returns, with the panel built.
    m_shortcut->action = [this] { toggleCapture(); };
    registerShortcut();
    createTrayIcon();

    m_panel = new CapturePanel(*m_model);
    m_panel->onUserMoved = [this](const QRectF& frame) { saveCapturePosition(frame); };
    if (CaptureView* view = m_panel->captureView()) {
        view->hide = [this] {
            if (!m_model->saving())
                hideCapture(true);
        };
        view->openSettings = [this] { showDestinationSettings(); };
    }
    installWindowShortcuts(m_panel);

    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* screen : screens)
        watchScreen(screen);
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    connect(application, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watchScreen(screen);
        onScreensChanged();
    });
    connect(application, &QGuiApplication::screenRemoved, this, &AppDelegate::onScreensChanged);
    connect(application, &QGuiApplication::primaryScreenChanged, this, &AppDelegate::onScreensChanged);

    installModelCallbacks();
    // Once started, while the user has yet to press the hot key; a press
    // before then finds the panel shown, and nothing left to prepare.
    QTimer::singleShot(firstShowingPreparationDelay, m_panel, [panel = QPointer<CapturePanel>(m_panel)] {
        if (panel)
            panel->prepareFirstShowing();
    });

    if (m_singleInstance)
        connect(m_singleInstance, &SingleInstance::reopenRequested, this, &AppDelegate::reopen);
    connect(application, &QGuiApplication::commitDataRequest, this, &AppDelegate::commitSessionData);
    // The hot key is released before the process ends, whichever way it ends.
    connect(application, &QCoreApplication::aboutToQuit, this, [this] { m_shortcut->terminate(); });

    AppUpdates& updates = m_model->updates();
    updates.setPresenter(std::make_unique<ReleaseNotesDialogPresenter>());
    updates.start([model = QPointer<AppModel>(m_model.get())] {
        return model && model->checksUpdatesAutomatically();
    });
}

void AppDelegate::installModelCallbacks()
{
    m_model->onSaved = [this] {
        if (!m_model->saving())
            hideCapture(true);
    };
    m_model->onApplyPreferences = [this](const Preferences& preferences) { applyShortcut(preferences); };
    // A dialog under the panel would be hidden by it: the dialog belongs to
    // the window the user is in, else to the panel.
    m_model->onChooseVault = [panel = QPointer<CapturePanel>(m_panel)](const Destination&) -> std::optional<QString> {
        QWidget* parent = QApplication::activeWindow();
        if (!parent)
            parent = panel.data();
        const QString folder = QFileDialog::getExistingDirectory(
            parent, L10n::text(QStringLiteral("Choisis un dossier Obsidian ou Markdown.")), QString(),
            QFileDialog::ShowDirsOnly);
        if (folder.isEmpty())
            return std::nullopt;
        return folder;
    };
    m_model->onOpenSettings = [this] { showSettings(); };
    m_model->onShortcutRecordingChanged = [this](bool recording) { setShortcutRecording(recording); };
}

void AppDelegate::watchScreen(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &AppDelegate::onScreensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &AppDelegate::onScreensChanged);
}

void AppDelegate::onScreensChanged()
{
    // A monitor plugged in reports several changes at once; the panel is
    // placed once, after the last.
    if (m_screenChangeQueued)
        return;
    m_screenChangeQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_screenChangeQueued = false;
            if (m_panel)
                m_panel->screensChanged();
        },
        Qt::QueuedConnection);
}

void AppDelegate::createTrayIcon()
{
    StatusMenu::Actions actions;
    actions.showCapture = [this] { showCapture(); };
    actions.showSettings = [this] { showSettings(); };
    actions.showHistory = [this] { showHistory(); };
    actions.showData = [this] { showData(); };
    actions.quit = [this] { quit(); };
    actions.reportFailure = [this](const QString& message) { reportMenuFailure(message); };
    m_statusMenu = new StatusMenu(*m_model, *m_shortcut, actions);
    showTrayIcon();
    if (m_statusItem)
        return;
    // Without a tray the program is still reached through the hot key and by
    // launching it again; a tray that comes up later gets the icon.
    m_trayRetry = new QTimer(this);
    m_trayRetry->setInterval(trayRetryInterval);
    connect(m_trayRetry, &QTimer::timeout, this, [this, attempts = 0]() mutable {
        showTrayIcon();
        if (m_statusItem || ++attempts >= trayAttempts) {
            m_trayRetry->deleteLater();
            m_trayRetry = nullptr;
        }
    });
    m_trayRetry->start();
}

void AppDelegate::showTrayIcon()
{
    if (m_statusItem || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_statusItem = new QSystemTrayIcon(StatusMenu::trayIcon());
    m_statusItem->setToolTip(QStringLiteral("Quillor"));
    m_statusItem->setContextMenu(m_statusMenu);
    // A click opens the menu, as a right click does.
    connect(m_statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            m_statusMenu->popup(QCursor::pos());
    });
    m_statusItem->show();
}

void AppDelegate::installWindowShortcuts(QWidget* window)
{
    // There is no menu bar to carry these: each window of ours answers them.
    auto* settings = new QAction(window);
    settings->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Comma));
    settings->setShortcutContext(Qt::WindowShortcut);
    connect(settings, &QAction::triggered, this, &AppDelegate::showSettings);
    window->addAction(settings);

    auto* quitting = new QAction(window);
    quitting->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Q));
    quitting->setShortcutContext(Qt::WindowShortcut);
    connect(quitting, &QAction::triggered, this, &AppDelegate::quit);
    window->addAction(quitting);
}

// MARK: Reopen and termination

bool AppDelegate::settingsOnScreen() const
{
    // A minimised window is not one the user can see.
    return m_settings && m_settings->isVisible() && !m_settings->isMinimized();
}

void AppDelegate::reopen()
{
    if ((m_panel && m_panel->isVisible()) || settingsOnScreen())
        return;
    if (m_settings && m_settings->isMinimized()) {
        m_settings->showNormal();
        m_settings->raise();
        m_settings->activateWindow();
        return;
    }
    showCapture();
}

bool AppDelegate::requestQuit()
{
    if (m_model->saving())
        return false;
    if (m_model->onSettingsCloseRequest && !m_model->onSettingsCloseRequest())
        return false;
    terminate();
    return true;
}

void AppDelegate::quitOnSignal()
{
    if (m_model->saving()) {
        // The capture's delivery ends with the draft replaced; quitting
        // before would bring the sent text back at the next launch.
        if (!std::exchange(m_quitWhenSaved, true)) {
            connect(m_model.get(), &AppModel::savingChanged, this, [this] {
                if (!m_model->saving())
                    QMetaObject::invokeMethod(this, &AppDelegate::quitOnSignal, Qt::QueuedConnection);
            });
        }
        return;
    }
    // As for a quit from the menu: images still being read go into the draft
    // saved on the way out; a send they were awaiting is waited for above.
    if (m_model->readingImages()) {
        m_model->whenImagesRead([this] { quitOnSignal(); });
        return;
    }
    // No longer than the write's bound: a disk that stopped answering would
    // hold the end for good, until the session's end killed the program
    // anyway. Cut short, the write leaves draft.json, replaced atomically,
    // as it was.
    m_model->persistDraftWithinBound();
    // Not quit(): that asks every window to close, and the settings window
    // would put its question to nobody. exit() also ends the loop of a
    // question already open, which then counts as not answered.
    QCoreApplication::exit(0);
}

void AppDelegate::terminate()
{
    // Images still being read go into the draft saved on the way out, unless
    // a send taken meanwhile now delivers them.
    if (m_model->readingImages()) {
        m_model->whenImagesRead([this] {
            if (!m_model->saving())
                terminate();
        });
        return;
    }
    m_model->persistDraftWithinBound();
    QCoreApplication::quit();
}

void AppDelegate::commitSessionData(QSessionManager& manager)
{
    m_model->persistDraftWithinBound();
    if (!m_model->saving() && !m_model->onSettingsCloseRequest)
        return;
    // Asking, and cancelling, is allowed only when the session grants it.
    if (!manager.allowsInteraction())
        return;
    const bool mayEnd = !m_model->saving()
                        && (!m_model->onSettingsCloseRequest || m_model->onSettingsCloseRequest());
    if (!mayEnd)
        manager.cancel();
    manager.release();
}

// MARK: Menu actions

void AppDelegate::showSettings()
{
    hideCapture(false);
    if (!m_settings)
        createSettingsWindow();
    if (m_settings->isMinimized())
        m_settings->showNormal();
    else
        m_settings->show();
    m_settings->raise();
    m_settings->activateWindow();
}

void AppDelegate::createSettingsWindow()
{
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setWindowTitle(L10n::text(QStringLiteral("Réglages")));
    window->setMinimumSize(settingsMinimumSize);
    window->resize(settingsInitialSize);
    if (QScreen* screen = screenUnderPointer()) {
        QRect frame(QPoint(), settingsInitialSize);
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    m_settingsView = new SettingsView(*m_model, *m_settingsNavigation, [this] { restartApplication(); });
    m_settingsView->setDidRestore([this] {
        m_settings->hide();
        showCapture();
    });
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_settingsView);
    window->installEventFilter(this);
    installWindowShortcuts(window);
    m_settings = window;
}

QWidget* AppDelegate::settingsWindow() const
{
    return m_settings.data();
}

void AppDelegate::showHistory()
{
    m_settingsNavigation->setSection(SettingsSection::history);
    m_settingsNavigation->setQuery(QString());
    showSettings();
}

void AppDelegate::showDestinationSettings()
{
    m_settingsNavigation->setSection(SettingsSection::destinations);
    m_settingsNavigation->setQuery(QString());
    m_settingsNavigation->setTarget(std::nullopt);
    showSettings();
}

void AppDelegate::showData()
{
    FileManager::open(m_model->dataDirectory(), [this](const QString& message) { reportMenuFailure(message); });
}

void AppDelegate::reportMenuFailure(const QString& message)
{
    // The menu is gone and the tray's own messages need the services that
    // are missing: a window of its own, which waits for nothing.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Quillor"), message, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_QuitOnClose, false);
    box->setObjectName(QStringLiteral("menuFailure"));
    box->show();
    box->raise();
    box->activateWindow();
}

void AppDelegate::quit()
{
    m_model->persistDraftWithinBound();
    requestQuit();
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_settings || watched != m_settings.data())
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Close) {
        // The window is only ever hidden, so that it opens again as it was;
        // unapplied settings may keep it open.
        if (m_model->onSettingsCloseRequest && !m_model->onSettingsCloseRequest()) {
            event->ignore();
            return true;
        }
        endShortcutRecording();
    } else if (event->type() == QEvent::ActivationChange && !m_settings->isActiveWindow()) {
        endShortcutRecording();
    }
    return QObject::eventFilter(watched, event);
}

// MARK: Restart

void AppDelegate::restartApplication()
{
    if (m_model->saving())
        return;
    // The new process reads the draft at once: images still being read must
    // be in it first.
    if (m_model->readingImages()) {
        m_model->whenImagesRead([this] { restartApplication(); });
        return;
    }
    m_model->persistDraft();

    // The new process must be able to grab the hot key and to become the
    // single instance, so both are let go before it starts.
    m_shortcut->setRecording(true);
    if (m_singleInstance)
        m_singleInstance->release();

    QProcess process;
    process.setProgram(qEnvironmentVariable("APPIMAGE", QCoreApplication::applicationFilePath()));
    process.setArguments(QCoreApplication::arguments().mid(1));
    // The session's own variables (display, bus, home) are kept: the new
    // process could not start without them.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(DataDirectory::environmentVariable(), m_model->dataDirectory());
    environment.remove(QStringLiteral("DESKTOP_STARTUP_ID"));
    environment.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
    process.setProcessEnvironment(environment);
    if (process.startDetached()) {
        // The settings were confirmed before the restart was offered, and
        // nothing can have started saving since: no second question.
        terminate();
        return;
    }

    if (m_singleInstance && !m_singleInstance->retake())
        qWarning("Quillor: could not take the single-instance lock back after a failed restart");
    try {
        m_shortcut->setRecording(false);
    } catch (const Error&) {
        // The restart's failure is what the user is told about.
    }
    hotKeyChanged();
    m_model->reportSettingsError(
        L10n::format(QStringLiteral("Quillor n’a pas pu redémarrer (%@)."), {process.errorString()}));
}

} // namespace quillor
