#include "model/SpareText.h"

#include <utility>

namespace quillor {

void SpareText::replace(QString& text, qsizetype position, qsizetype removed, QStringView added)
{
    if (text.isDetached()) {
        // Nobody reads this text: it changes in place, and nothing is kept.
        text.replace(position, removed, added.data(), added.size());
        forget();
        return;
    }
    if (m_since && m_before.isDetached()) {
        m_before.replace(m_since->position, m_since->removed, m_since->added);
        m_before.replace(position, removed, added.data(), added.size());
        std::swap(text, m_before);
    } else {
        QString before = text;
        text.replace(position, removed, added.data(), added.size());
        m_before = std::move(before);
    }
    m_since = Edit{position, removed, added.toString()};
}

void SpareText::forget()
{
    m_before = QString();
    m_since.reset();
}

} // namespace quillor
