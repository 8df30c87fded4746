#pragma once

// A capture view on a real model whose data directory and vault live in a
// temporary folder.

#include "AppModelTestSupport.h"

#include "editor/CaptureTextView.h"
#include "panel/CaptureView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <memory>

namespace quillor::test {

struct PanelSession : Session {
    QString vault = data.folder(QStringLiteral("Vault"));
    int hides = 0;
    int settingsOpened = 0;
    // Declared last: goes before the model it observes.
    std::unique_ptr<CaptureView> view;

    // One destination "Notes" (alias "n") writing into `vault`, unless the
    // test wrote its own settings.
    CaptureView& open(AppModel::Environment environment = {})
    {
        if (!data.contents(QStringLiteral("preferences.json")))
            data.put(QStringLiteral("preferences.json"), preferencesWith({notes(vault)}).encode());
        launch(std::move(environment));
        view = std::make_unique<CaptureView>(*model);
        view->hide = [this] { ++hides; };
        view->openSettings = [this] { ++settingsOpened; };
        view->resize(480, 320);
        view->show();
        settle();
        return *view;
    }

    static Destination notes(const QString& vaultPath)
    {
        return makeDestination(QStringLiteral("Notes"), QStringLiteral("n"), vaultPath);
    }

    template <typename T = QWidget>
    T* part(const char* name) const
    {
        T* found = view->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool shown(const char* name) const { return part(name)->isVisibleTo(view.get()); }
    bool enabled(const char* name) const { return part(name)->isEnabled(); }

    // Typing through the real editor, as a user does.
    void typeInEditor(const QString& text) const
    {
        view->editor()->setFocus();
        for (const QChar character : text) {
            // QTest only maps ASCII to key codes; accented letters come as text.
            if (character.unicode() < 0x80)
                QTest::keyClick(view->editor(), character.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, view->editor(), Qt::Key(character.toUpper().unicode()),
                                    QString(character), Qt::NoModifier);
        }
        settle();
    }
    void click(const char* name) const { QTest::mouseClick(part(name), Qt::LeftButton); }

    // Lets queued refreshes run.
    static void settle() { spin(std::chrono::milliseconds(20)); }
};

} // namespace quillor::test
