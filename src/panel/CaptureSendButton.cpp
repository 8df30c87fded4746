#include "panel/CaptureSendButton.h"

#include "core/L10n.h"
#include "panel/BusySpinner.h"
#include "panel/ChromeStyle.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>

namespace quillor {

namespace {
constexpr int horizontalPadding = 8;
constexpr int spacing = 8;
} // namespace

CaptureSendButton::CaptureSendButton(QWidget* parent) : QPushButton(parent)
{
    ChromeStyle::makeChromeButton(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setDefault(false);
    setAutoDefault(false);

    m_spinner = new BusySpinner(12, this);
    m_title = new QLabel(this);
    ChromeStyle::setFont(m_title, 12, QFont::Medium);
    m_gesture = new QLabel(L10n::text(QStringLiteral("Ctrl+↵")), this);
    ChromeStyle::setFont(m_gesture, 12);
    auto* softer = new QGraphicsOpacityEffect(m_gesture);
    softer->setOpacity(0.65);
    m_gesture->setGraphicsEffect(softer);
    for (QWidget* part : {static_cast<QWidget*>(m_spinner), static_cast<QWidget*>(m_title),
                          static_cast<QWidget*>(m_gesture)})
        part->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(horizontalPadding + 4, 0, horizontalPadding + 4, 0);
    layout->setSpacing(spacing);
    layout->addWidget(m_spinner, 0, Qt::AlignVCenter);
    layout->addWidget(m_title, 0, Qt::AlignVCenter);
    layout->addWidget(m_gesture, 0, Qt::AlignVCenter);
    setSaving(false);
}

void CaptureSendButton::setSaving(bool saving)
{
    m_spinner->setVisible(saving);
    m_title->setText(saving ? L10n::text(QStringLiteral("Enregistrement…")) : L10n::text(QStringLiteral("Capturer")));
    setAccessibleName(m_title->text());
    updateGeometry();
}

QString CaptureSendButton::title() const { return m_title->text(); }

bool CaptureSendButton::isSpinnerShown() const { return !m_spinner->isHidden(); }

// The label lives in child widgets, so the size comes from their layout.
QSize CaptureSendButton::sizeHint() const
{
    return QSize(layout()->sizeHint().width(), ChromeStyle::buttonHeight);
}

QSize CaptureSendButton::minimumSizeHint() const { return sizeHint(); }

} // namespace quillor
