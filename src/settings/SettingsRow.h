#pragma once

#include <QWidget>

namespace quillor {

class SettingsNavigation;

// A row inside a settings group that a search result or a jump can point at:
// tinted while the navigation target names it.
class SettingsRow : public QWidget {
    Q_OBJECT

public:
    SettingsRow(SettingsNavigation& navigation, const QString& identifier, QWidget* parent = nullptr);

    const QString& identifier() const { return m_identifier; }
    bool highlighted() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SettingsNavigation& m_navigation;
    QString m_identifier;
};

} // namespace quillor
