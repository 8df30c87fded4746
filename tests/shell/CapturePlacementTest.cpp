#include "ShellTestSupport.h"

#include "shell/CaptureGeometry.h"
#include "shell/CapturePlacement.h"
#include "shell/ScreenSpace.h"

#include <QTemporaryDir>

#include <limits>

using namespace quillor;
namespace Geometry = quillor::CaptureGeometry;

namespace {

constexpr double L = 18; // minimum panel height 87

// Bottom-left space throughout, as the rules are written.
TEST(CaptureGeometryTest, DefaultAndExpandedFrames)
{
    const QRectF mac(0, 0, 1440, 875);
    const QRectF low(100, 50, 400, 100); // lower than L + 101: minimum is height − 32
    const struct { const char* label; QRectF result; QRectF expected; } cases[] = {
        {"default on 1440 x 875", Geometry::defaultFrame(mac, L), {480, 481, 480, 87}},
        {"default on a low narrow screen", Geometry::defaultFrame(low, L), {116, 66, 368, 68}},
        {"default on a screen of nothing", Geometry::defaultFrame({10, 10, 20, 20}, L), {20, 14, 0, 0}},
        {"short content keeps the minimum and the top", Geometry::expandedFrame({100, 500, 300, 87}, 10, mac, L),
         {100, 500, 480, 87}},
        {"content height rounded up", Geometry::expandedFrame({100, 500, 480, 87}, 200.2, mac, L),
         {100, 386, 480, 201}},
        {"560 points at most", Geometry::expandedFrame({0, 1000, 480, 87}, 5000, {0, 0, 1000, 2000}, L),
         {0, 527, 480, 560}},
        {"72 % of the screen at most", Geometry::expandedFrame({0, 513, 480, 87}, 5000, {0, 0, 1000, 700}, L),
         {0, 96, 480, 504}},
        {"the screen lifts a frame whose bottom would leave it",
         Geometry::expandedFrame({0, 100, 480, 87}, 400, mac, L), {0, 0, 480, 400}},
        {"the screen lowers a top above it and pulls x in", Geometry::expandedFrame({2000, 800, 480, 87}, 0, mac, L),
         {960, 788, 480, 87}},
        {"low screen: never below its own minimum", Geometry::expandedFrame({100, 150, 368, 68}, 0, low, L),
         {100, 82, 368, 68}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, c.expected) << c.label;
}

TEST(CaptureGeometryTest, ScreenForFrameAndFitting)
{
    const QRectF left(0, 0, 1000, 800), right(1000, 0, 1000, 800), above(0, 800, 1000, 800);
    const struct { const char* label; QRectF frame; QList<QRectF> screens; std::optional<QRectF> expected; } cases[] = {
        {"no screens", {0, 0, 10, 10}, {}, std::nullopt},
        {"largest intersection wins", {900, 100, 480, 87}, {left, right}, right},
        {"off every screen: nearest centre", {2100, 1700, 480, 87}, {left, right, above}, right},
        {"off every screen: nearest centre, earlier screens lose", {-900, 1500, 100, 100}, {right, left, above}, above},
        {"same area and distance: the earlier screen", {950, -200, 100, 100}, {right, left}, right},
        {"touching edges share no area", {1000, 100, 0, 50}, {left, right}, left},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Geometry::screen(c.frame, c.screens), c.expected) << c.label;

    // Fitting clamps into the chosen screen and enforces the minimum size.
    EXPECT_EQ(Geometry::fitted({5000, 5000, 480, 87}, {left, right}, L), QRectF(1520, 713, 480, 87)) << "far away";
    EXPECT_EQ(Geometry::fitted({-50, -50, 100, 20}, {left}, L), QRectF(0, 0, 320, 87)) << "too small";
    EXPECT_EQ(Geometry::fitted({0, 0, 3000, 3000}, {left}, L), left) << "larger than the screen";
    EXPECT_EQ(Geometry::fitted({7, 8, 9, 10}, {}, L), QRectF(7, 8, 9, 10)) << "no screen";
}

TEST(CaptureGeometryTest, SnappingToGuides)
{
    const QRectF screen(0, 0, 1000, 800); // guides x 250/500/750, y 200/400/600
    EXPECT_EQ(Geometry::guides(screen), (Geometry::Guides{{250, 500, 750}, {200, 400, 600}}));
    const std::optional<double> none;
    const struct { const char* label; QRectF frame; Geometry::Alignment expected; } cases[] = {
        {"middle 10 points from the middle guide snaps", {440, 50, 100, 80}, {{450, 50, 100, 80}, 500, none}},
        {"10.01 points does not snap", {439.99, 50, 100, 80}, {{439.99, 50, 100, 80}, none, none}},
        // left edge 5 right of 250, right edge 5 left of 500: guide 250 comes first.
        {"equal deltas: earlier guide", {255, 50, 240, 80}, {{250, 50, 240, 80}, 250, none}},
        // middle 505 and left edge 495, both 5 from guide 500: the middle wins.
        {"equal deltas on one guide: middle first", {495, 50, 20, 80}, {{490, 50, 20, 80}, 500, none}},
        {"the nearest wins over the earlier", {243, 50, 254, 80}, {{246, 50, 254, 80}, 500, none}},
        {"both axes", {252, 603, 100, 100}, {{250, 600, 100, 100}, 250, 600}},
    };
    for (const auto& c : cases) {
        const Geometry::Alignment result = Geometry::aligned(c.frame, screen, true);
        EXPECT_EQ(result.frame, c.expected.frame) << c.label;
        EXPECT_EQ(result.vertical, c.expected.vertical) << c.label;
        EXPECT_EQ(result.horizontal, c.expected.horizontal) << c.label;
    }
    const QRectF near(252, 603, 100, 100);
    EXPECT_EQ(Geometry::aligned(near, screen, false), (Geometry::Alignment{near, none, none}));
}

TEST(ScreenSpaceTest, ConversionAndScreenUnderMouse)
{
    // A panel 87 high whose top is at Qt y 317 has its top at −317 and its
    // bottom at −404 in bottom-left space; the flip undoes itself.
    EXPECT_EQ(ScreenSpace::toBottomLeft({480, 317, 480, 87}), QRectF(480, -404, 480, 87));
    for (const QRectF r : {QRectF(-10.5, 20.25, 3, 4), QRectF(1440, -900, 1920, 1080), QRectF(0, 0, 0, 0)})
        EXPECT_EQ(ScreenSpace::toTopLeft(ScreenSpace::toBottomLeft(r)), r);

    const ScreenArea a{{0, 0, 1440, 900}, {0, 30, 1440, 870}, false};
    const ScreenArea b{{1440, 0, 1920, 1080}, {1440, 0, 1920, 1080}, true};
    EXPECT_EQ(ScreenSpace::screenAt({a, b}, {10, 10}), a);
    EXPECT_EQ(ScreenSpace::screenAt({a, b}, {1440, 10}), b) << "a right edge belongs to the next screen";
    EXPECT_EQ(ScreenSpace::screenAt({a, b}, {10, 950}), b) << "off every screen: the primary";
    EXPECT_EQ(ScreenSpace::screenAt({a}, {-5, -5}), a) << "no primary: the first";
    EXPECT_EQ(ScreenSpace::screenAt({}, {0, 0}), std::nullopt);
}

TEST(CapturePlacementTest, ShowingPlacement)
{
    const ScreenArea primary{{0, 0, 1440, 900}, {0, 0, 1440, 900}, true};
    const ScreenArea second{{1440, 0, 1920, 1080}, {1440, 0, 1920, 1080}, false};
    const struct {
        const char* label;
        std::optional<CapturePlacement> remembered;
        QPointF mouse;
        QRectF frame;
        QRectF captureScreen;
    } cases[] = {
        {"default frame on the primary screen", std::nullopt, {100, 100}, {480, 317, 480, 87}, primary.available},
        {"default frame on the screen under the mouse", std::nullopt, {2000, 500}, {2160, 389, 480, 87},
         second.available},
        {"a remembered place wins over the mouse", CapturePlacement::of({100, 200, 10, 10}), {2000, 500},
         {100, 200, 480, 87}, primary.available},
        {"a place off every screen is fitted onto the nearest", CapturePlacement::of({5000, 5000, 1, 1}), {100, 100},
         {2880, 993, 480, 87}, second.available},
        {"a place that is not finite gives the default frame",
         CapturePlacement{std::numeric_limits<double>::infinity(), 0}, {100, 100}, {480, 317, 480, 87},
         primary.available},
    };
    for (const auto& c : cases) {
        const std::optional<ShowingPlacement> placed = showingPlacement(c.remembered, {primary, second}, c.mouse, L);
        ASSERT_TRUE(placed) << c.label;
        EXPECT_EQ(placed->frame, c.frame) << c.label;
        EXPECT_EQ(placed->captureScreen, c.captureScreen) << c.label;
    }
    EXPECT_EQ(showingPlacement(std::nullopt, {}, {0, 0}, L), std::nullopt);
}

TEST(CapturePlacementTest, TheFileKeepsTheExactPlace)
{
    test::DataFolder data;
    ASSERT_TRUE(CapturePlacement::remember({412, 873.5, 480, 87}, data.path()));
    EXPECT_EQ(CapturePlacement::load(data.path()), CapturePlacement::of({412, 873.5, 1, 1}));
    // A zero top edge is written as 0, not −0.
    ASSERT_TRUE(CapturePlacement::remember({0, 0, 480, 87}, data.path()));
    EXPECT_FALSE(data.contents(CapturePlacement::fileName).value().contains("-0"));
}

TEST(CapturePlacementTest, BrokenOrMissingFilesMeanNoPlacement)
{
    test::DataFolder data;
    EXPECT_EQ(CapturePlacement::load(data.path()), std::nullopt) << "missing";
    const QByteArray broken[] = {
        "{", "", "[1, 2]", R"({"x": 100})", R"({"top": 100})", R"({"x": "a", "top": 1})", R"({"x": null, "top": 1})",
        R"({"x": 1, "top": true})", "\xff\xfe{\"x\":1}",
    };
    for (const QByteArray& bytes : broken) {
        data.put(CapturePlacement::fileName, bytes);
        EXPECT_EQ(CapturePlacement::load(data.path()), std::nullopt) << bytes.constData();
        EXPECT_EQ(data.contents(CapturePlacement::fileName), bytes) << "a bad file is left in place";
    }
    // A folder in the file's place cannot be read.
    QFile::remove(data.file(CapturePlacement::fileName));
    ASSERT_TRUE(QDir(data.path()).mkdir(CapturePlacement::fileName));
    EXPECT_EQ(CapturePlacement::load(data.path()), std::nullopt) << "unreadable";
}

QStringList loggedWarnings;

TEST(CapturePlacementTest, SaveFailureIsLoggedOnce)
{
    QTemporaryDir dir;
    loggedWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&,
                                                                const QString& message) {
        if (type == QtWarningMsg)
            loggedWarnings.append(message);
    });
    const bool saved = CapturePlacement::remember({1, 2, 3, 4}, dir.filePath("missing-folder"));
    qInstallMessageHandler(previous);

    EXPECT_FALSE(saved);
    const QString prefix = QStringLiteral("Quillor: could not save capture position: ");
    ASSERT_EQ(loggedWarnings.size(), 1);
    EXPECT_TRUE(loggedWarnings.first().startsWith(prefix));
    EXPECT_GT(loggedWarnings.first().size(), prefix.size());
}

} // namespace
