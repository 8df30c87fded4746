#include "shell/CapturePlacement.h"

#include "core/Error.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "shell/CaptureGeometry.h"

#include <QDir>
#include <QtDebug>

#include <cmath>
#include <exception>

namespace quillor {

namespace {

const QString xKey = QStringLiteral("x");
const QString topKey = QStringLiteral("top");

// A top edge moves between the two spaces by a change of sign; adding 0 keeps
// a zero from being written as -0.
double flippedY(double y)
{
    return -y + 0.0;
}

QString describe(const std::exception& error)
{
    if (const auto* known = dynamic_cast<const Error*>(&error))
        return known->localizedDescription();
    return QString::fromUtf8(error.what());
}

} // namespace

CapturePlacement CapturePlacement::of(const QRectF& topLeftFrame)
{
    const QRectF frame = ScreenSpace::toBottomLeft(topLeftFrame);
    return CapturePlacement{frame.x(), frame.y() + frame.height()};
}

std::optional<QRectF> CapturePlacement::frame(const QList<QRectF>& screens, double lineHeight) const
{
    if (!std::isfinite(x) || !std::isfinite(top) || screens.isEmpty())
        return std::nullopt;
    const double height = CaptureGeometry::minimumHeight(lineHeight);
    const QRectF panel(x, top - height, CaptureGeometry::preferredWidth, height);
    return CaptureGeometry::fitted(panel, screens, lineHeight);
}

void CapturePlacement::save(const QString& directory) const
{
    const QJsonObject object = Json::Writer().set(xKey, x).set(topKey, flippedY(top)).object();
    FileSystem::writeAtomically(QDir(directory).filePath(fileName), Json::serialize(object));
}

std::optional<CapturePlacement> CapturePlacement::load(const QString& directory)
{
    try {
        const std::optional<QByteArray> bytes = FileSystem::readIfExists(QDir(directory).filePath(fileName));
        if (!bytes)
            return std::nullopt;
        const Json::Reader reader(Json::parseObject(*bytes));
        return CapturePlacement{reader.number(xKey), flippedY(reader.number(topKey))};
    } catch (const std::exception&) {
        // Any fault in the file only means there is no remembered place.
        return std::nullopt;
    }
}

bool CapturePlacement::remember(const QRectF& topLeftFrame, const QString& directory)
{
    try {
        of(topLeftFrame).save(directory);
        return true;
    } catch (const std::exception& error) {
        qWarning().noquote() << QStringLiteral("Quillor: could not save capture position: %1").arg(describe(error));
        return false;
    }
}

std::optional<ShowingPlacement> showingPlacement(const std::optional<CapturePlacement>& remembered,
                                                 const QList<ScreenArea>& screens, const QPointF& mouse,
                                                 double lineHeight)
{
    const std::optional<ScreenArea> chosen = ScreenSpace::screenAt(screens, mouse);
    if (!chosen)
        return std::nullopt;
    const QList<QRectF> visible = ScreenSpace::visibleFrames(screens);
    const QRectF chosenVisible = ScreenSpace::toBottomLeft(chosen->available);
    std::optional<QRectF> frame = remembered ? remembered->frame(visible, lineHeight) : std::nullopt;
    if (!frame)
        frame = CaptureGeometry::defaultFrame(chosenVisible, lineHeight);
    const QRectF captureScreen = CaptureGeometry::screen(*frame, visible).value_or(chosenVisible);
    return ShowingPlacement{ScreenSpace::toTopLeft(*frame), ScreenSpace::toTopLeft(captureScreen)};
}

} // namespace quillor
