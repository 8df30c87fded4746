#pragma once

// A capture editor in an active window over a real model whose settings hold
// three destinations in one vault of a temporary folder.

#include "../model/AppModelTestSupport.h"

#include "editor/CaptureEditor.h"
#include "editor/CaptureTextView.h"

#include <QTest>
#include <QUndoStack>
#include <QWidget>

namespace quillor {

inline void PrintTo(const TextRange& range, std::ostream* out) { *out << range.location << '+' << range.length; }

namespace test {

struct CaptureEditorBench {
    Session session;
    QString vault = session.data.folder(QStringLiteral("Vault"));
    QList<Destination> destinations{makeDestination("Inbox", "in", vault), makeDestination("Journal", "jo", vault),
                                    makeDestination("Projets", "pr", vault)};
    AppModel* model = nullptr;
    QWidget host;
    CaptureEditor* editor = nullptr;
    CaptureTextView* view = nullptr;

    explicit CaptureEditorBench(AppModel::Environment environment = {})
    {
        session.data.put(QStringLiteral("preferences.json"), preferencesWith(destinations).encode());
        model = &session.launch(std::move(environment));
        editor = new CaptureEditor(*model, &host);
        view = editor->textView();
        host.resize(480, 300);
        view->resize(480, 300);
        host.show();
        host.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host));
        QCoreApplication::processEvents();
    }

    void set(const QString& text, TextRange selection)
    {
        view->setContent(EditorContent::plain(text));
        view->setSelectionRange(selection);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(view, key, modifiers); }
    void type(const QString& text)
    {
        for (const QChar c : text) {
            if (c == u'\n')
                key(Qt::Key_Return);
            else
                QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    QString text() const { return view->text(); }
    QString undoText() const { return view->undoStack()->undoText(); }
    int steps() const { return view->undoStack()->count(); }
};

} // namespace test
} // namespace quillor
