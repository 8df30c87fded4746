#pragma once

// Shared set-up of the shell tests: readable geometry, and the real delegate.

#include "../model/AppModelTestSupport.h"

#include "shell/AppDelegate.h"
#include "shell/CapturePanel.h"

#include <QRectF>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QRectF& r, std::ostream* out)
{
    *out << "(" << r.x() << ", " << r.y() << ", " << r.width() << " × " << r.height() << ")";
}

namespace quillor::test {

// A model whose one destination exists: the chrome shows only its action row.
inline AppModel& configured(Session& session)
{
    const QString vault = session.data.folder(QStringLiteral("Vault"));
    const Destination destination = makeDestination(QStringLiteral("Carnet"), QStringLiteral("ca"), vault);
    session.data.put(QStringLiteral("preferences.json"), preferencesWith({destination}).encode());
    return session.launch();
}

// The real delegate, launched on a data directory whose one destination is a
// folder of the test's own, so that a capture can really be sent.
class DelegateTest : public ::testing::Test {
protected:
    // The hot key is the program's own unless the test brings one.
    void launch(std::unique_ptr<GlobalShortcut> shortcut = nullptr)
    {
        Preferences preferences =
            preferencesWith({makeDestination(QStringLiteral("Carnet"), QStringLiteral("ca"), vault)});
        preferences.automaticallyCheckUpdates = false;
        data.put(QStringLiteral("preferences.json"), preferences.encode());
        delegate = shortcut ? std::make_unique<AppDelegate>(data.path(), std::move(shortcut))
                            : std::make_unique<AppDelegate>(data.path());
        // The tests start from the draft on disk, not from the empty text
        // shown while it is read.
        delegate->model().waitForDraft();
        delegate->launch();
    }

    AppModel& model() const { return delegate->model(); }
    CapturePanel& panel() const { return *delegate->panel(); }
    QByteArray settingsFile() const { return data.contents(QStringLiteral("preferences.json")).value_or(""); }
    QString savedDraft() const { return decodedDraft(data.contents(QStringLiteral("draft.json")).value_or("")).body; }

    DataFolder data;
    QString vault = data.folder(QStringLiteral("Vault"));
    std::unique_ptr<AppDelegate> delegate;
};

} // namespace quillor::test
