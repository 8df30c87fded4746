#pragma once

// The settings window's content over a real model on a temporary data
// directory, shown in a window of its own.

#include "../model/AppModelTestSupport.h"

#include "settings/DestinationRow.h"
#include "settings/DestinationsSettingsPage.h"
#include "settings/GeneralSettingsPage.h"
#include "settings/SettingsForm.h"
#include "settings/SettingsNavigation.h"
#include "settings/SettingsState.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace quillor::test {

class SettingsViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    void TearDown() override
    {
        window.reset();
        qputenv("XDG_CONFIG_HOME", m_previousConfig);
    }

    // Opens the window on these settings (the defaults when none).
    void open(const std::optional<Preferences>& preferences = std::nullopt)
    {
        if (preferences)
            session.launchWith(*preferences);
        else
            session.launch();
        model().onShortcutRecordingChanged = [this](bool value) { recordings.append(value); };
        window = std::make_unique<QWidget>();
        view = new SettingsView(model(), navigation, [this] { ++restarts; });
        view->setFolderPicker([this](QWidget*) { return nextFolder; });
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        turn();
    }

    AppModel& model() const { return *session.model; }
    SettingsState& state() const { return view->state(); }
    const Preferences& candidate() const { return view->state().candidate(); }
    GeneralSettingsPage* general() const { return qobject_cast<GeneralSettingsPage*>(view->form()->page()); }
    DestinationsSettingsPage* destinations() const
    {
        return qobject_cast<DestinationsSettingsPage*>(view->form()->page());
    }
    // The posted steps (next turn of the event loop) run, and deleted widgets go.
    static void turn()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    // Replaces what the user typed in a field.
    static void typeInto(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClicks(field, text);
    }

    // Runs `action` while the next message box is answered by `answer`.
    template <typename Action>
    void withMessageBox(const std::function<void(QMessageBox&)>& answer, Action&& action)
    {
        QTimer::singleShot(0, [answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            answer(*box);
        });
        action();
    }
    static QPushButton* buttonTitled(QMessageBox& box, const QString& title)
    {
        for (QAbstractButton* button : box.buttons()) {
            if (button->text() == title)
                return qobject_cast<QPushButton*>(button);
        }
        return nullptr;
    }

    QTemporaryDir config;
    Session session;
    SettingsNavigation navigation;
    std::unique_ptr<QWidget> window;
    SettingsView* view = nullptr;
    std::optional<QString> nextFolder;
    QList<bool> recordings;
    int restarts = 0;

private:
    QByteArray m_previousConfig;
};

} // namespace quillor::test
