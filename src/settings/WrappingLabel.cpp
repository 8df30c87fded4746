#include "settings/WrappingLabel.h"

#include <QEvent>

namespace quillor {

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setWordWrap(true);
}

int WrappingLabel::heightForWidth(int width) const
{
    if (Shape now = shape(); now != m_shape) {
        forget();
        m_shape = std::move(now);
    }
    for (const Height& known : m_heights) {
        if (known.width == width)
            return known.height;
    }
    const int height = QLabel::heightForWidth(width);
    m_heights[m_next] = {width, height};
    m_next = (m_next + 1) % m_heights.size();
    return height;
}

void WrappingLabel::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::StyleChange:
    case QEvent::ContentsRectChange:
        forget();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}

WrappingLabel::Shape WrappingLabel::shape() const
{
    return {text(), textFormat(), alignment(), indent(), margin(), wordWrap()};
}

void WrappingLabel::forget() const
{
    m_heights.fill({});
    m_next = 0;
}

} // namespace quillor
