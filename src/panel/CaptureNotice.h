#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QGridLayout;
class QLabel;
class QPushButton;

namespace quillor {

// The banner above the action row when something prevents or threatens the
// capture: the message, orange for a destination warning and red for an
// error, and possibly a button to choose the notes folder again. It decides
// nothing: the chrome sets every flag.
class CaptureNotice : public QWidget {
    Q_OBJECT

public:
    struct State {
        QString message;
        bool isRoutingWarning = false;
        bool offersFolderRepair = false;
        bool repairDisabled = false;

        bool operator==(const State&) const = default;
    };

    explicit CaptureNotice(QWidget* parent = nullptr);

    void setState(const State& state);
    const State& state() const { return m_state; }

    // Run by the repair button.
    std::function<void()> repair;

    // The repair button stands under the message: beside it, the message
    // would get less than its minimum width.
    bool isStacked() const { return m_stacked; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QColor tint() const;
    void arrange();

    State m_state;
    QWidget* m_icon = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_repair = nullptr;
    QGridLayout* m_body = nullptr;
    bool m_stacked = false;
};

} // namespace quillor
