#pragma once

#include "platform/GlobalShortcut.h"

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <memory>
#include <optional>

class QScreen;
class QSessionManager;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace quillor {

class AppModel;
class CapturePanel;
class CaptureTextView;
struct Preferences;
class SettingsNavigation;
class SettingsView;
class SingleInstance;
class StatusMenu;
class VaultAccess;

// The spine of the running program: owns the model, the global hot key, the
// capture panel, the tray icon and the settings window for the whole run, and
// holds the launch, reopen, quit and restart rules. Lives on the UI thread.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // Whether this program alone writes in its data directory, holding its
    // lock: what earlier runs left there is then cleared at start, whatever
    // its age.
    enum class DataFolderHold { shared, alone };

    // Builds the model on `dataDirectory` (AppModel::support() in the
    // program), which reads the draft in the background, and the hot key;
    // nothing is shown until launch().
    explicit AppDelegate(const QString& dataDirectory, DataFolderHold hold = DataFolderHold::shared,
                         QObject* parent = nullptr);
    // The same with a hot key of the caller's (one on another X connection).
    AppDelegate(const QString& dataDirectory, std::unique_ptr<GlobalShortcut> shortcut, QObject* parent = nullptr);
    ~AppDelegate() override;

    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The launch sequence: panel, screen observer, model callbacks, hot key,
    // tray icon and menu, update checker. Nothing is shown.
    void launch();

    // Another launch of the program asked this one to come forward.
    void reopen();
    // The user's way out of the program (Quit, Ctrl+Q, the session's end):
    // false while a capture is being saved or when the user keeps unapplied
    // settings. Saves the draft before quitting.
    bool requestQuit();
    // A termination signal (SIGTERM, SIGINT) is no choice of the user's:
    // nothing is asked and nothing left unapplied is applied. The draft is
    // saved and the program ends, once a capture being saved is written.
    void quitOnSignal();
    // The session is ending (logout): the draft is saved; when the session
    // lets us ask, a capture being saved or kept settings cancel the logout.
    void commitSessionData(QSessionManager& manager);

    // Showing and hiding the capture panel.
    void toggleCapture();
    void showCapture();
    void hideCapture(bool restoringPreviousApp);
    void saveCapturePosition(const QRectF& frame);
    // The editor inside a view: the view itself when it is one, else the
    // first one found depth-first; null for a null view.
    static CaptureTextView* captureEditor(QWidget* view);
    static void focusEditor(QWidget* view);

    // Menu actions.
    void showSettings();
    void showHistory();
    void showDestinationSettings();
    void showData();
    // Why a menu action did nothing, in a window of its own.
    void reportMenuFailure(const QString& message);
    void quit();
    void restartApplication();

    AppModel& model() const { return *m_model; }
    GlobalShortcut& shortcut() const { return *m_shortcut; }
    CapturePanel* panel() const { return m_panel; }
    // Created by the first showSettings(); null before.
    QWidget* settingsWindow() const;
    // The window's content, made with it.
    SettingsView* settingsView() const { return m_settingsView; }
    // Where the settings window stands; lives for the whole run.
    SettingsNavigation& settingsNavigation() const { return *m_settingsNavigation; }
    // The tray icon's menu, built at launch even when no tray is there.
    StatusMenu* statusMenu() const { return m_statusMenu; }
    // The X window that was active before the panel showed, when not ours.
    std::optional<quint32> previousApp() const { return m_previousApp; }

    // Where the single-instance guard lives; set by main() before launch().
    void setSingleInstance(SingleInstance* instance) { m_singleInstance = instance; }

private:
    AppDelegate(const QString& dataDirectory, std::unique_ptr<GlobalShortcut> shortcut, DataFolderHold hold,
                QObject* parent);

    // The panel holds the keyboard.
    bool panelIsKey() const;
    // A dialog the user must answer before the panel can be used is open.
    static bool blockingDialogRuns();
    // That dialog comes to the front with the keyboard, in place of the panel.
    void bringBlockingDialogForward();
    // The settings window is shown and not minimised.
    bool settingsOnScreen() const;

    // Hot key.
    void registerShortcut();
    void applyShortcut(const Preferences& preferences);
    void setShortcutRecording(bool recording);
    // The settings window closed or lost the keyboard: a recording ends.
    void endShortcutRecording();
    QString liveHotkeyLabel();
    void hotKeyChanged();

    // Launch steps.
    void installModelCallbacks();
    void createTrayIcon();
    void onScreensChanged();
    void watchScreen(QScreen* screen);
    void showTrayIcon();
    void installWindowShortcuts(QWidget* window);
    void createSettingsWindow();
    // Saves the draft and leaves the event loop; every way out ends here.
    void terminate();

    bool eventFilter(QObject* watched, QEvent* event) override;

    std::unique_ptr<VaultAccess> m_vaultAccess;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<GlobalShortcut> m_shortcut;
    CapturePanel* m_panel = nullptr;          // owned, deleted with the delegate
    QPointer<QWidget> m_settings;
    SettingsView* m_settingsView = nullptr;      // owned by m_settings
    SettingsNavigation* m_settingsNavigation;    // child of this object
    QSystemTrayIcon* m_statusItem = nullptr;
    StatusMenu* m_statusMenu = nullptr;     // owned, deleted with the delegate
    QTimer* m_trayRetry = nullptr;           // waits for a tray that starts after us
    std::optional<quint32> m_previousApp;
    SingleInstance* m_singleInstance = nullptr;
    bool m_screenChangeQueued = false;
    bool m_quitWhenSaved = false;
    // X time of the hot-key press being handled, 0 outside one: focus
    // requests carry it so window managers see them as the user's.
    quint32 m_activationTime = 0;
};

} // namespace quillor
