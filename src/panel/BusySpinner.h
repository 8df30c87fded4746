#pragma once

#include <QWidget>

class QVariantAnimation;

namespace quillor {

// A small indeterminate progress indicator: an arc turning for as long as the
// spinner is shown.
class BusySpinner : public QWidget {
    Q_OBJECT

public:
    explicit BusySpinner(int diameter = 14, QWidget* parent = nullptr);

    bool isSpinning() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QVariantAnimation* m_turn = nullptr;
    qreal m_angle = 0;
};

} // namespace quillor
