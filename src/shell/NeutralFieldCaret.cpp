#include "shell/NeutralFieldCaret.h"

#include "editor/CaptureTextView.h"

#include <QApplication>
#include <QBasicTimer>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleHints>
#include <QTextEdit>
#include <QTimerEvent>

#include <algorithm>

namespace quillor {

namespace {

constexpr char configuredProperty[] = "quillorNeutralCaret";

// The application's style, with no caret width: a line edit has no other way
// to be told not to draw its caret.
class NoCaretStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Shared by every line edit for the whole run, so never freed before them.
QStyle* noCaretStyle()
{
    static NoCaretStyle* style = new NoCaretStyle;
    return style;
}

// The field a widget belongs to (a text edit's viewport belongs to the edit),
// when it is one of ours to care for.
QWidget* fieldOf(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (qobject_cast<QLineEdit*>(widget))
        return widget;
    QWidget* edit = widget->parentWidget();
    if (edit && (qobject_cast<QTextEdit*>(edit) || qobject_cast<QPlainTextEdit*>(edit))
        && static_cast<QAbstractScrollArea*>(edit)->viewport() == widget && !qobject_cast<CaptureTextView*>(edit))
        return edit;
    return nullptr;
}

bool isEditable(const QWidget* field)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(field))
        return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(field))
        return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(field))
        return !plain->isReadOnly();
    return false;
}

bool hasSelection(const QWidget* field)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(field))
        return line->hasSelectedText();
    if (const auto* text = qobject_cast<const QTextEdit*>(field))
        return text->textCursor().hasSelection();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(field))
        return plain->textCursor().hasSelection();
    return false;
}

// A line edit reports its cursor as a box that starts this far left of the
// insertion point (so that a repaint covers the caret's antialiasing); the
// caret itself stands at the insertion point.
constexpr int lineEditCursorPadding = 5;

// Where the caret stands, in the coordinates of the widget that paints it.
QRect caretRect(QWidget* field)
{
    if (auto* text = qobject_cast<QTextEdit*>(field))
        return text->cursorRect();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        return plain->cursorRect();
    return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().translated(lineEditCursorPadding, 0);
}

QWidget* paintedWidget(QWidget* field)
{
    if (auto* area = qobject_cast<QAbstractScrollArea*>(field))
        return area->viewport();
    return field;
}

class Observer : public QObject {
public:
    explicit Observer(QObject* parent) : QObject(parent)
    {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focus(now); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_field)
            return false;
        switch (event->type()) {
        case QEvent::Paint:
            if (watched == paintedWidget(m_field) && watched != m_painting)
                return paintOver(static_cast<QWidget*>(watched), event);
            break;
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
            if (fieldOf(watched) == m_field || watched == m_field)
                restart();
            break;
        default:
            break;
        }
        return false;
    }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        if (event->timerId() != m_blink.timerId() || !m_field) {
            QObject::timerEvent(event);
            return;
        }
        m_on = !m_on;
        updateCaret();
    }

private:
    void focus(QWidget* widget)
    {
        if (m_field)
            updateCaret();
        m_field = nullptr;
        m_blink.stop();
        QWidget* field = widget ? fieldOf(widget) : nullptr;
        if (!field && widget && (qobject_cast<QTextEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget)))
            field = fieldOf(static_cast<QAbstractScrollArea*>(widget)->viewport());
        if (!field || !isEditable(field))
            return;
        configure(field);
        m_field = field;
        restart();
    }

    void configure(QWidget* field)
    {
        if (field->property(configuredProperty).toBool())
            return;
        field->setProperty(configuredProperty, true);
        if (auto* text = qobject_cast<QTextEdit*>(field))
            text->setCursorWidth(0);
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
            plain->setCursorWidth(0);
        else
            field->setStyle(noCaretStyle());
    }

    void restart()
    {
        m_on = true;
        const int period = QGuiApplication::styleHints()->cursorFlashTime() / 2;
        if (period > 0)
            m_blink.start(period, this);
        updateCaret();
    }

    QRect drawnCaret() const
    {
        const QRect stock = caretRect(m_field);
        const int width = std::max(1, QApplication::style()->pixelMetric(QStyle::PM_TextCursorWidth));
        return QRect(stock.x(), stock.y(), width, stock.height());
    }

    void updateCaret()
    {
        if (m_field)
            paintedWidget(m_field)->update(drawnCaret().adjusted(-1, -1, 1, 1));
    }

    // The field paints itself first, then the caret goes over it.
    bool paintOver(QWidget* painted, QEvent* event)
    {
        const QPointer<QWidget> guard(painted);
        m_painting = painted;
        QCoreApplication::sendEvent(painted, event);
        m_painting = nullptr;
        if (!guard || !m_field || !m_on || !m_field->hasFocus() || !isEditable(m_field) || hasSelection(m_field))
            return true;
        QPainter painter(painted);
        painter.fillRect(drawnCaret(), m_field->palette().color(QPalette::Text));
        return true;
    }

    QPointer<QWidget> m_field;
    QObject* m_painting = nullptr;
    QBasicTimer m_blink;
    bool m_on = true;
};

} // namespace

namespace NeutralFieldCaret {

void observeEditing()
{
    static QPointer<Observer> observer;
    if (observer)
        return;
    observer = new Observer(qApp);
    qApp->installEventFilter(observer);
}

} // namespace NeutralFieldCaret
} // namespace quillor
