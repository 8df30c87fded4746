#include "panel/CaptureNotice.h"

#include "core/L10n.h"
#include "panel/CaptureButtonFeedback.h"
#include "panel/ChromeStyle.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QResizeEvent>

namespace quillor {

namespace {

constexpr int padding = 10;
constexpr int iconSpacing = 8;
constexpr int iconSize = 14;
constexpr int iconTopPadding = 3;
constexpr int minimumMessageWidth = 180;
constexpr int sideBySideSpacing = 12;
constexpr int stackedSpacing = 8;

// The exclamation mark in a triangle (warning) or a circle (error); the
// message says it all, so assistive technologies skip it.
class NoticeIcon : public QWidget {
public:
    explicit NoticeIcon(QWidget* parent) : QWidget(parent)
    {
        setFixedSize(iconSize, iconSize + iconTopPadding);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setLook(bool triangle, const QColor& colour)
    {
        m_triangle = triangle;
        m_colour = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box(1, iconTopPadding + 1, iconSize - 2, iconSize - 2);
        painter.setPen(QPen(m_colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (m_triangle) {
            QPainterPath outline;
            outline.moveTo(box.center().x(), box.top());
            outline.lineTo(box.bottomRight());
            outline.lineTo(box.bottomLeft());
            outline.closeSubpath();
            painter.drawPath(outline);
        } else {
            painter.drawEllipse(box);
        }
        const qreal x = box.center().x();
        const qreal top = box.top() + box.height() * (m_triangle ? 0.38 : 0.25);
        const qreal bottom = box.top() + box.height() * (m_triangle ? 0.68 : 0.58);
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        painter.drawPoint(QPointF(x, box.top() + box.height() * (m_triangle ? 0.84 : 0.76)));
    }

private:
    bool m_triangle = false;
    QColor m_colour;
};

} // namespace

CaptureNotice::CaptureNotice(QWidget* parent) : QWidget(parent)
{
    auto* icon = new NoticeIcon(this);
    m_icon = icon;
    m_icon->setAccessibleName(QString());

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("noticeMessage"));
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_message->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ChromeStyle::setFont(m_message, 11);
    QPalette palette = m_message->palette();
    palette.setColor(QPalette::WindowText, ChromeStyle::secondaryText(palette));
    m_message->setPalette(palette);

    m_repair = new QPushButton(L10n::text(QStringLiteral("Choisir le dossier…")), this);
    m_repair->setObjectName(QStringLiteral("noticeRepairButton"));
    AppButtonStyle::apply(m_repair);
    m_repair->setFocusPolicy(Qt::TabFocus);
    m_repair->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    ChromeStyle::setFont(m_repair, 11, QFont::Medium);
    connect(m_repair, &QPushButton::clicked, this, [this] {
        if (repair)
            repair();
    });

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(padding, padding, padding, padding);
    row->setSpacing(iconSpacing);
    row->addWidget(m_icon, 0, Qt::AlignTop);
    m_body = new QGridLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->setHorizontalSpacing(sideBySideSpacing);
    m_body->setVerticalSpacing(stackedSpacing);
    m_body->addWidget(m_message, 0, 0);
    m_body->addWidget(m_repair, 0, 1, Qt::AlignVCenter);
    row->addLayout(m_body, 1);

    setState(m_state);
}

void CaptureNotice::setState(const State& state)
{
    m_state = state;
    if (m_message->text() != state.message)
        m_message->setText(state.message);
    m_repair->setVisible(state.offersFolderRepair);
    m_repair->setEnabled(!state.repairDisabled);
    static_cast<NoticeIcon*>(m_icon)->setLook(state.isRoutingWarning, tint());
    arrange();
    update();
}

QColor CaptureNotice::tint() const { return m_state.isRoutingWarning ? ChromeStyle::warning() : ChromeStyle::error(); }

void CaptureNotice::arrange()
{
    // Side by side when the message keeps its minimum width next to the
    // button, else the button goes under the message. The minimum is not
    // imposed on the label: the notice could then never become narrow enough
    // to switch back.
    const int bodyWidth = width() - 2 * padding - m_icon->width() - iconSpacing;
    const bool stacked = m_state.offersFolderRepair
        && bodyWidth < minimumMessageWidth + sideBySideSpacing + m_repair->sizeHint().width();
    if (stacked == m_stacked)
        return;
    m_stacked = stacked;
    m_body->removeWidget(m_repair);
    if (stacked)
        m_body->addWidget(m_repair, 1, 0, Qt::AlignLeft);
    else
        m_body->addWidget(m_repair, 0, 1, Qt::AlignVCenter);
}

void CaptureNotice::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        arrange();
}

void CaptureNotice::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = tint();
    fill.setAlphaF(0.055);
    QColor edge = tint();
    edge.setAlphaF(0.14);
    constexpr qreal lineWidth = 0.5;
    const QRectF box = QRectF(rect()).adjusted(lineWidth / 2, lineWidth / 2, -lineWidth / 2, -lineWidth / 2);
    painter.setPen(QPen(edge, lineWidth));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 8, 8);
}

} // namespace quillor
