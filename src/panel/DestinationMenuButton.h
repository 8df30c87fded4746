#pragma once

#include <QPushButton>

#include <functional>

class QMenu;

namespace quillor {

class AppModel;

// Names where the capture will go; a click lists the configured destinations
// (the default one marked, the one the text routes to checked) and a last
// entry that opens the destination settings. The menu is filled afresh at
// every click from the model as it is then.
class DestinationMenuButton : public QPushButton {
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
    // The destination label as the model gives it, before any elision.
    const QString& fullLabel() const { return m_label; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString toolTipText() const;
    void elide();

    AppModel& m_model;
    QMenu* m_menu = nullptr;
    QString m_label;
    QSize m_fullHint;   // the button's natural size with the whole label
};

} // namespace quillor
