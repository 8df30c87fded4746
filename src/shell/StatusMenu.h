#pragma once

#include <QIcon>
#include <QMenu>

#include <functional>

namespace quillor {

class AppModel;
class GlobalShortcut;

// The tray icon's menu: the version, new capture (with the hot key in force),
// settings, history, the latest capture, the data folder and quit. It is
// brought up to date before it opens and whenever the hot key or the latest
// capture changes, since some tray hosts copy the menu ahead of time.
class StatusMenu : public QMenu {
    Q_OBJECT

public:
    // What the items do; each may be left empty.
    struct Actions {
        std::function<void()> showCapture;
        std::function<void()> showSettings;
        std::function<void()> showHistory;
        std::function<void()> showData;
        std::function<void()> quit;
        // Tells the user why an item did nothing; the menu itself is gone.
        std::function<void(const QString& message)> reportFailure;
    };

    // Identifies the items that change.
    enum Tag { captureTag = 100, latestTag = 101, revealTag = 102, openTag = 103 };

    StatusMenu(AppModel& model, GlobalShortcut& shortcut, Actions actions, QWidget* parent = nullptr);

    void refresh();
    QAction* item(Tag tag) const;

    // The program's mark for the tray, in the text colour.
    static QIcon trayIcon();

private:
    void revealLatest() const;
    void openLatest() const;

    AppModel& m_model;
    GlobalShortcut& m_shortcut;
    std::function<void(const QString& message)> m_reportFailure;
};

} // namespace quillor
