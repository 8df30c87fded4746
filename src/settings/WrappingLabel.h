#pragma once

#include <QLabel>

#include <array>

namespace quillor {

// A word-wrapped label that remembers the heights it gave for the last few
// widths. While a form settles, its layouts ask each wrapped label its height
// for the same width many times over (the minimum and the preferred height,
// for every box around it), and QLabel lays its text out anew each time.
class WrappingLabel : public QLabel {
    Q_OBJECT

public:
    explicit WrappingLabel(const QString& text = {}, QWidget* parent = nullptr);

    int heightForWidth(int width) const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    // What a height depends on besides the font and the contents margins,
    // which announce their changes.
    struct Shape {
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        Qt::Alignment alignment;
        int indent = 0;
        int margin = 0;
        bool wordWrap = false;

        bool operator==(const Shape&) const = default;
    };
    struct Height {
        int width = -1;
        int height = 0;
    };

    Shape shape() const;
    void forget() const;

    mutable Shape m_shape;
    mutable std::array<Height, 4> m_heights;
    mutable std::size_t m_next = 0;
};

} // namespace quillor
