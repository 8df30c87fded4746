#include "settings/ShortcutRecorder.h"

#include "core/L10n.h"
#include "platform/HotKeyMapping.h"
#include "platform/X11Client.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace quillor {

namespace ShortcutRecording {

namespace {

constexpr quint32 spaceCode = 49;

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

// The character of a key symbol: Latin-1 symbols are their own code point,
// Unicode ones carry it above 0x01000000.
std::optional<char32_t> characterOf(quint32 keysym)
{
    if ((keysym >= 0x21 && keysym <= 0x7e) || (keysym >= 0xa1 && keysym <= 0xff))
        return char32_t(keysym);
    if (keysym >= 0x01000100 && keysym <= 0x0110ffff)
        return char32_t(keysym - 0x01000000);
    return std::nullopt;
}

QString keyName(quint32 code, int key, quint32 keysym)
{
    if (code == spaceCode)
        return L10n::text(QStringLiteral("Espace"));
    if (const std::optional<char32_t> character = characterOf(keysym))
        return QString::fromUcs4(&*character, 1).toUpper();
    const QString name = QKeySequence(key).toString(QKeySequence::NativeText);
    return name.isEmpty() ? QString::number(code) : name;
}

} // namespace

Outcome interpret(int key, Qt::KeyboardModifiers modifiers, quint32 keysym)
{
    if (key == Qt::Key_Escape)
        return {Outcome::cancelled, {}};
    if (isModifierKey(key) || !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return {};
    const std::optional<quint32> code = HotKeyMapping::keyCode(keysym);
    if (!keysym || !code)
        return {};
    RecordedShortcut shortcut;
    shortcut.code = *code;
    const struct {
        Qt::KeyboardModifier modifier;
        quint32 mask;
        const char16_t* symbol;
    } order[] = {{Qt::ControlModifier, HotKeyMapping::controlMask, u"⌃"},
                 {Qt::AltModifier, HotKeyMapping::optionMask, u"⌥"},
                 {Qt::ShiftModifier, HotKeyMapping::shiftMask, u"⇧"},
                 {Qt::MetaModifier, HotKeyMapping::commandMask, u"⌘"}};
    for (const auto& step : order) {
        if (modifiers & step.modifier) {
            shortcut.modifiers |= step.mask;
            shortcut.label += QString::fromUtf16(step.symbol);
        }
    }
    shortcut.label += keyName(*code, key, keysym);
    return {Outcome::recorded, shortcut};
}

} // namespace ShortcutRecording

namespace {

ShortcutRecorder::KeysymLookup& keysymLookup()
{
    static ShortcutRecorder::KeysymLookup lookup;
    return lookup;
}

quint32 lookUpKeysym(const QKeyEvent& event)
{
    if (keysymLookup())
        return keysymLookup()(event);
    xcb_connection_t* connection = X11Client::qtConnection();
    const quint32 keycode = event.nativeScanCode();
    if (!connection || keycode > 255)
        return 0;
    return X11Client::unshiftedKeysym(connection, quint8(keycode));
}

} // namespace

ShortcutRecorder::ShortcutRecorder(std::function<void(bool)> recordingChanged,
                                   std::function<void(const std::optional<RecordedShortcut>&)> recorded,
                                   QWidget* parent)
    : QWidget(parent), m_recordingChanged(std::move(recordingChanged)), m_recorded(std::move(recorded))
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(L10n::text(QStringLiteral("Tape le raccourci…")));
    setFixedSize(sizeHint());
    if (m_recordingChanged)
        m_recordingChanged(true);
    // Once the field is in its window.
    QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

ShortcutRecorder::~ShortcutRecorder()
{
    // At the program's end the hot key is released anyway.
    if (m_recordingChanged && !QCoreApplication::closingDown())
        m_recordingChanged(false);
}

void ShortcutRecorder::setKeysymLookup(KeysymLookup lookup)
{
    keysymLookup() = std::move(lookup);
}

bool ShortcutRecorder::event(QEvent* event)
{
    // The window's shortcuts and focus keys are keys to record here.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

void ShortcutRecorder::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (m_done)
        return;
    const ShortcutRecording::Outcome outcome =
        ShortcutRecording::interpret(event->key(), event->modifiers(), lookUpKeysym(*event));
    if (outcome.kind == ShortcutRecording::Outcome::ignored)
        return;
    // One answer per field: the field goes away after it.
    m_done = true;
    if (!m_recorded)
        return;
    if (outcome.kind == ShortcutRecording::Outcome::cancelled)
        m_recorded(std::nullopt);
    else
        m_recorded(outcome.shortcut);
}

void ShortcutRecorder::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.fillPath(shape, palette().color(QPalette::Base));
    painter.setPen(palette().color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
    painter.drawPath(shape);
    QFont font = painter.font();
    font.setPointSize(12);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(12, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     L10n::text(QStringLiteral("Tape le raccourci…")));
}

} // namespace quillor
