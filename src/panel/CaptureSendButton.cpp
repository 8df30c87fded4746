#include "panel/CaptureSendButton.h"

#include "core/L10n.h"
#include "panel/BusySpinner.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace quillor {

namespace {

constexpr qreal gestureOpacity = 0.65;

} // namespace

CaptureSendButton::CaptureSendButton(QWidget* parent) : CaptureButton(QString(), parent, true)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_spinner = new BusySpinner(12, this);
    // The labels inherit the button's font, already at the chrome's button
    // size: scaling it again would shrink them below the other buttons'.
    m_title = new QLabel(this);
    QFont titleFont = font();
    titleFont.setWeight(QFont::Medium);
    m_title->setFont(titleFont);
    m_gesture = new QLabel(L10n::text(QStringLiteral("⌘↵")), this);
    for (QWidget* part : {static_cast<QWidget*>(m_spinner), static_cast<QWidget*>(m_title),
                          static_cast<QWidget*>(m_gesture)}) {
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
        // Children of a button take its roles, and would draw in the
        // button's text colour rather than the one given to them.
        part->setForegroundRole(QPalette::WindowText);
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(horizontalPadding, 0, horizontalPadding, 0);
    layout->setSpacing(spacing);
    layout->addWidget(m_spinner, 0, Qt::AlignVCenter);
    layout->addWidget(m_title, 0, Qt::AlignVCenter);
    layout->addWidget(m_gesture, 0, Qt::AlignVCenter);
    setSaving(false);
    colourLabel();
}

void CaptureSendButton::changeEvent(QEvent* event)
{
    CaptureButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        colourLabel();
}

// The label's parts stand on the accent and fade with the button.
void CaptureSendButton::colourLabel()
{
    QColor colour = CaptureButtonStyle::foreground(palette(), isProminent());
    if (!isEnabled())
        colour.setAlphaF(colour.alphaF() * CaptureButtonStyle::disabledOpacity);
    // The gesture is softer than the title: its colour is partly transparent,
    // which costs nothing to draw where an opacity effect would paint it
    // offscreen first.
    QColor softer = colour;
    softer.setAlphaF(colour.alphaF() * gestureOpacity);
    for (QWidget* part : {static_cast<QWidget*>(m_spinner), static_cast<QWidget*>(m_title),
                          static_cast<QWidget*>(m_gesture)}) {
        QPalette partPalette = part->palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            partPalette.setColor(group, QPalette::WindowText, part == m_gesture ? softer : colour);
        part->setPalette(partPalette);
    }
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
    return QSize(layout()->sizeHint().width(), CaptureButtonStyle::minimumHeight);
}

QSize CaptureSendButton::minimumSizeHint() const { return sizeHint(); }

} // namespace quillor
