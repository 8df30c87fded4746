#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace quillor {

class AppModel;
class AttachmentStrip;
class CaptureNotice;
class CaptureSendButton;
class DestinationMenuButton;

// What the capture panel shows below the editor, top to bottom: the attached
// images, the index status line while a note or tag completion finds nothing,
// the notice, a divider and the action row. Everything it shows is read from
// the model by sync(), which may run any number of times.
class CaptureChrome : public QWidget {
    Q_OBJECT

public:
    explicit CaptureChrome(AppModel& model, QWidget* parent = nullptr);

    // Set by the capture view: "Annuler" (hides the panel), and the
    // destination settings.
    std::function<void()> cancel;
    std::function<void()> openSettings;

    void sync();

    AttachmentStrip* attachmentStrip() const { return m_strip; }

    // The height the chrome takes at a given width.
    int idealHeight(int width) const;

Q_SIGNALS:
    // Rows appeared, disappeared or rewrapped: the panel refits.
    void heightMayHaveChanged();
    // A new notice was announced to assistive technologies.
    void noticeAnnounced(const QString& notice);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* makeIndexStatusLine();
    QWidget* makeActionRow();
    void syncIndexStatus();
    void syncNotice();
    void announce(const std::optional<QString>& notice);

    AppModel& m_model;
    AttachmentStrip* m_strip = nullptr;
    QWidget* m_indexStatus = nullptr;
    QLabel* m_indexLabel = nullptr;
    QPushButton* m_retry = nullptr;
    QPushButton* m_chooseFolder = nullptr;
    QWidget* m_noticeRow = nullptr;
    CaptureNotice* m_notice = nullptr;
    QPushButton* m_attach = nullptr;
    DestinationMenuButton* m_destination = nullptr;
    QPushButton* m_cancel = nullptr;
    CaptureSendButton* m_send = nullptr;

    // The notice text last seen, to announce changes only; the one present
    // when the chrome is built is not announced.
    std::optional<QString> m_lastNotice;
    bool m_synced = false;
};

} // namespace quillor
