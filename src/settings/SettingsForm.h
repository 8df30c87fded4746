#pragma once

#include <QFrame>
#include <QHash>
#include <QPointer>
#include <QScrollArea>
#include <QString>

class QLabel;
class QVBoxLayout;
class QPropertyAnimation;

namespace quillor {

class SettingsNavigation;
class SettingsView;

// One group of rows of a settings form, with an optional header above it. It
// is tinted while the window's navigation target names its identifier.
class SettingsGroup : public QFrame {
    Q_OBJECT

public:
    SettingsGroup(SettingsNavigation& navigation, const QString& identifier = {}, const QString& header = {},
                  QWidget* parent = nullptr);

    QVBoxLayout* body() const { return m_body; }
    const QString& identifier() const { return m_identifier; }
    bool highlighted() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SettingsNavigation& m_navigation;
    QString m_identifier;
    QVBoxLayout* m_body;
};

// A section's content, built when its section is shown and brought up to date
// by sync() after every change of the settings copy or the model. sync() never
// rewrites a field the user is typing in.
class SettingsPage : public QWidget {
    Q_OBJECT

public:
    explicit SettingsPage(QWidget* parent = nullptr);
    virtual void sync() {}
    // Whether sync() alone brings this page, kept hidden while another
    // section shows, to what a page built now would show. Such a page is
    // shown again instead of being built anew.
    virtual bool reusable() const { return false; }

protected:
    QVBoxLayout* groups() const { return m_groups; }

private:
    QVBoxLayout* m_groups;
};

// The scrolling form of one section: its page, then the settings error when
// it belongs to this section. Rows carry identifiers to scroll to, fields
// carry focus values.
class SettingsForm : public QScrollArea {
    Q_OBJECT

public:
    explicit SettingsForm(SettingsNavigation& navigation, QWidget* parent = nullptr);

    void setPage(SettingsPage* page);
    SettingsPage* page() const { return m_page; }

    // A widget the navigation target may name, and a field a focus value may.
    void registerRow(const QString& identifier, QWidget* row);
    void registerField(const QString& focusValue, QWidget* field);
    QWidget* row(const QString& identifier) const;
    QWidget* field(const QString& focusValue) const;

    // Centres the target's row; animated when asked.
    void scrollToTarget(bool animated);
    // Back to the top, where a form just built starts.
    void scrollToTop();
    // Gives the field of a focus value the keyboard focus; false when the
    // form has no such field.
    bool focusField(const QString& focusValue);

    // The error shown at the end of the form; none hides it.
    void setError(const std::optional<QString>& message);
    QLabel* errorLabel() const { return m_errorLabel; }

private:
    SettingsNavigation& m_navigation;
    QWidget* m_content;
    QVBoxLayout* m_layout;
    SettingsPage* m_page = nullptr;
    SettingsGroup* m_errorGroup;
    QLabel* m_errorLabel;
    QPropertyAnimation* m_scroll;
    QHash<QString, QPointer<QWidget>> m_rows;
    QHash<QString, QPointer<QWidget>> m_fields;
};

} // namespace quillor
