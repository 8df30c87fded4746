#include "settings/SettingsForm.h"

#include "settings/SettingsNavigation.h"
#include "settings/SettingsStyle.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QVBoxLayout>

namespace quillor {

SettingsGroup::SettingsGroup(SettingsNavigation& navigation, const QString& identifier, const QString& header,
                             QWidget* parent)
    : QFrame(parent), m_navigation(navigation), m_identifier(identifier), m_body(new QVBoxLayout)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);
    if (!header.isEmpty()) {
        auto* title = new QLabel(header, this);
        title->setFont(SettingsStyle::headlineFont(font()));
        layout->addWidget(title);
    }
    m_body->setSpacing(8);
    layout->addLayout(m_body);
    if (!identifier.isEmpty())
        connect(&m_navigation, &SettingsNavigation::targetChanged, this, qOverload<>(&QWidget::update));
}

bool SettingsGroup::highlighted() const
{
    return !m_identifier.isEmpty() && m_navigation.target() == m_identifier;
}

void SettingsGroup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.fillPath(shape, palette().color(QPalette::Base));
    if (highlighted())
        painter.fillPath(shape, SettingsStyle::tint(palette(), 0.1));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawPath(shape);
}

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent), m_groups(new QVBoxLayout(this))
{
    m_groups->setContentsMargins(0, 0, 0, 0);
    m_groups->setSpacing(16);
}

SettingsForm::SettingsForm(SettingsNavigation& navigation, QWidget* parent)
    : QScrollArea(parent),
      m_navigation(navigation),
      m_content(new QWidget),
      m_layout(new QVBoxLayout(m_content)),
      m_errorGroup(new SettingsGroup(navigation, {}, {}, m_content)),
      m_errorLabel(new QLabel(m_errorGroup)),
      m_scroll(new QPropertyAnimation(verticalScrollBar(), "value", this))
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from field to field, not to the scrolling frame.
    setFocusPolicy(Qt::NoFocus);
    m_layout->setContentsMargins(24, 0, 24, 24);
    m_layout->setSpacing(16);
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SettingsStyle::makeError(m_errorLabel);
    m_errorGroup->body()->addWidget(m_errorLabel);
    m_errorGroup->hide();
    m_layout->addWidget(m_errorGroup);
    m_layout->addStretch(1);
    m_scroll->setDuration(200);
    m_scroll->setEasingCurve(QEasingCurve::InOutQuad);
    setWidget(m_content);
}

void SettingsForm::setPage(SettingsPage* page)
{
    m_page = page;
    // A page that grows (the history list) takes the height left, all of it:
    // the closing stretch then takes none.
    const bool grows = page->sizePolicy().verticalPolicy() & QSizePolicy::ExpandFlag;
    m_layout->insertWidget(0, page, grows ? 1 : 0);
    m_layout->setStretch(m_layout->count() - 1, grows ? 0 : 1);
}

void SettingsForm::registerRow(const QString& identifier, QWidget* row)
{
    m_rows.insert(identifier, row);
}

void SettingsForm::registerField(const QString& focusValue, QWidget* field)
{
    m_fields.insert(focusValue, field);
}

QWidget* SettingsForm::row(const QString& identifier) const
{
    return m_rows.value(identifier).data();
}

QWidget* SettingsForm::field(const QString& focusValue) const
{
    return m_fields.value(focusValue).data();
}

void SettingsForm::scrollToTarget(bool animated)
{
    const std::optional<QString>& target = m_navigation.target();
    QWidget* row = target ? this->row(*target) : nullptr;
    if (!row || !row->isVisibleTo(m_content))
        return;
    m_content->layout()->activate();
    const int middle = row->mapTo(m_content, QPoint()).y() + row->height() / 2;
    QScrollBar* bar = verticalScrollBar();
    const int value = std::clamp(middle - viewport()->height() / 2, bar->minimum(), bar->maximum());
    m_scroll->stop();
    if (!animated) {
        bar->setValue(value);
        return;
    }
    m_scroll->setStartValue(bar->value());
    m_scroll->setEndValue(value);
    m_scroll->start();
}

void SettingsForm::scrollToTop()
{
    m_scroll->stop();
    verticalScrollBar()->setValue(0);
}

bool SettingsForm::focusField(const QString& focusValue)
{
    QWidget* field = this->field(focusValue);
    if (!field)
        return false;
    field->setFocus(Qt::OtherFocusReason);
    return true;
}

void SettingsForm::setError(const std::optional<QString>& message)
{
    m_errorLabel->setText(message.value_or(QString()));
    m_errorGroup->setVisible(message.has_value());
}

} // namespace quillor
