#include "shell/AppDelegate.h"

#include "../model/AppModelTestSupport.h"
#include "ShellTestSupport.h"

#include "editor/CaptureTextView.h"
#include "panel/CaptureView.h"
#include "shell/CapturePanel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace quillor;
using namespace quillor::test;

namespace {

const QString draftFile = QStringLiteral("draft.json");
const QString positionFile = QStringLiteral("capture-position.json");

// The real delegate, on settings whose one destination exists, so that a
// capture can really be sent.
class ShowHideTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Preferences preferences = preferencesWith({makeDestination(QStringLiteral("Carnet"), QStringLiteral("ca"), vault)});
        preferences.automaticallyCheckUpdates = false;
        data.put(QStringLiteral("preferences.json"), preferences.encode());
        delegate = std::make_unique<AppDelegate>(data.path());
        delegate->launch();
    }

    CapturePanel& panel() const { return *delegate->panel(); }
    CaptureTextView& editor() const { return *panel().captureView()->editor(); }
    bool panelActive() const { return waitUntil([&] { return panel().isActiveWindow(); }); }
    // The offscreen platform only activates a window again after another one
    // had the keyboard.
    bool activate(QWidget& other) const
    {
        other.show();
        other.activateWindow();
        return waitUntil([&] { return other.isActiveWindow(); });
    }

    DataFolder data;
    QString vault = data.folder(QStringLiteral("Vault"));
    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(ShowHideTest, HidingKeepsTheDraftAndThePlaceAndTheNextShowUsesIt)
{
    delegate->showCapture();
    ASSERT_TRUE(panelActive());
    EXPECT_TRUE(editor().hasFocus());
    QTest::keyClicks(&editor(), QStringLiteral("abc"));
    panel().setFrame(QRectF(100, 150, 480, panel().frame().height()));
    delegate->hideCapture(true);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(decodedDraft(data.contents(draftFile).value_or("")).body, QStringLiteral("abc"));
    EXPECT_EQ(QJsonDocument::fromJson(data.contents(positionFile).value_or("")).object(),
              QJsonObject({{"x", 100}, {"top", 150}}));

    // Hidden, there is no position to keep; the draft is written all the same.
    QFile::remove(data.file(draftFile));
    data.put(positionFile, R"({"x":100,"top":200})");
    delegate->hideCapture(false);
    EXPECT_TRUE(data.contents(draftFile).has_value());
    delegate->showCapture();
    EXPECT_EQ(panel().frame().topLeft(), QPointF(100, 200));

    // A broken file: the default frame, and the file is left as it was.
    delegate->hideCapture(false);
    data.put(positionFile, R"({"x":100})");
    delegate->showCapture();
    EXPECT_NE(panel().frame().topLeft(), QPointF(100, 200));
    EXPECT_EQ(panel().frame().width(), 480);
    EXPECT_EQ(data.contents(positionFile), QByteArray(R"({"x":100})"));
}

TEST_F(ShowHideTest, TheHotKeyTogglesUnlessACaptureIsBeingSent)
{
    delegate->toggleCapture();
    ASSERT_TRUE(panelActive());
    delegate->toggleCapture();
    EXPECT_FALSE(panel().isVisible());

    // Shown but another of our windows has the keyboard: the panel comes
    // forward instead of going away.
    QWidget other;
    ASSERT_TRUE(activate(other));
    delegate->showCapture();
    ASSERT_TRUE(panelActive());
    ASSERT_TRUE(activate(other));
    delegate->toggleCapture();
    EXPECT_TRUE(panel().isVisible());
    ASSERT_TRUE(panelActive());

    // While the capture is on its way the panel stays, untouched.
    QTest::keyClicks(&editor(), QStringLiteral("note"));
    delegate->model().submit();
    ASSERT_TRUE(delegate->model().saving());
    QFile::remove(data.file(draftFile));
    delegate->toggleCapture();
    EXPECT_TRUE(panel().isVisible());
    EXPECT_FALSE(data.contents(draftFile).has_value());
    ASSERT_TRUE(waitUntil([&] { return !delegate->model().saving(); }));
}

} // namespace
