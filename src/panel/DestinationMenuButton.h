#pragma once

#include "core/Destination.h"
#include "core/Route.h"
#include "panel/CaptureButton.h"

#include <functional>
#include <optional>

class QMenu;

namespace quillor {

class AppModel;

// Names where the capture will go; a click lists the configured destinations
// (the default one marked, the one the text routes to checked) and a last
// entry that opens the destination settings. The menu is filled afresh at
// every click from the model as it is then. A plain capture button: a
// folder, the label elided in the middle, a small chevron.
class DestinationMenuButton : public CaptureButton {
    Q_OBJECT

public:
    explicit DestinationMenuButton(AppModel& model, QWidget* parent = nullptr);

    // Opens the destination settings; set by the capture view.
    std::function<void()> openSettings;

    // Label, tooltip, accessible name and enabled state from the model.
    void sync();
    // Refills the menu from the model; run before each showing.
    void fillMenu();
    QMenu* destinationMenu() const { return m_menu; }
    // The destination label as the model gives it, and as shown (elided in
    // the middle to the button's width).
    const QString& fullLabel() const { return m_label; }
    QString shownLabel() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // The tool tip's example note path holds the date: it is made at hover time.
    bool event(QEvent* event) override;
    void paintLabel(QPainter& painter, const QRect& area) override;

private:
    static QString toolTipText(const RouteResolution& resolution);
    // What the label leaves to the text: the folder, the chevron and their gaps.
    int labelChrome() const;

    AppModel& m_model;
    QMenu* m_menu = nullptr;
    QString m_label;
    // Where the tool tip was last made for.
    std::optional<Destination> m_routed;
    std::optional<QString> m_routeError;
    bool m_synced = false;
};

} // namespace quillor
