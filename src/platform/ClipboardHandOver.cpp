#include "platform/ClipboardHandOver.h"

#include "platform/X11Client.h"

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include <array>
#include <cstdlib>
#include <memory>

namespace quillor::ClipboardHandOver {

namespace {

// The manager's answer to our request, which comes to a window of our own.
class Answer : public QAbstractNativeEventFilter {
public:
    Answer(xcb_window_t requestor, QEventLoop& loop) : m_requestor(requestor), m_loop(loop)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
            return false;
        const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event);
        if (notify->requestor != m_requestor)
            return false;
        m_answered = true;
        m_saved = notify->property != XCB_ATOM_NONE;
        m_loop.quit();
        return true;
    }

    bool answered() const { return m_answered; }
    bool saved() const { return m_saved; }

private:
    xcb_window_t m_requestor;
    QEventLoop& m_loop;
    bool m_answered = false;
    bool m_saved = false;
};

xcb_window_t selectionOwner(xcb_connection_t* connection, xcb_atom_t selection)
{
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr),
        &std::free);
    return reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
}

// The freedesktop.org clipboard manager protocol: SAVE_TARGETS asked of the
// CLIPBOARD_MANAGER selection's owner, with no list of targets (every one the
// clipboard offers is saved); the manager reads them from us and answers.
bool save(xcb_connection_t* connection, std::chrono::milliseconds limit)
{
    static constexpr std::array<const char*, 3> names = {"CLIPBOARD_MANAGER", "SAVE_TARGETS", "_QUILLOR_SAVED"};
    const QList<xcb_atom_t> atoms = X11Client::atoms(connection, names);
    if (atoms.contains(xcb_atom_t(XCB_ATOM_NONE)) || selectionOwner(connection, atoms[0]) == XCB_WINDOW_NONE)
        return false;

    const xcb_window_t requestor = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, requestor, X11Client::root(connection), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    QEventLoop loop;
    Answer answer(requestor, loop);
    xcb_convert_selection(connection, requestor, atoms[0], atoms[1], atoms[2], XCB_CURRENT_TIME);
    xcb_flush(connection);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    // The manager's requests for the text are no user input: they are served.
    if (!answer.answered())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    xcb_destroy_window(connection, requestor);
    xcb_flush(connection);
    return answer.saved();
}

} // namespace

bool beforeQuit(std::chrono::milliseconds limit)
{
    xcb_connection_t* connection = X11Client::qtConnection();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!connection || !clipboard)
        return false;
    const bool saved = clipboard->ownsClipboard() && save(connection, limit);
    if (clipboard->ownsClipboard())
        clipboard->clear(QClipboard::Clipboard);
    if (clipboard->ownsSelection())
        clipboard->clear(QClipboard::Selection);
    return saved;
}

} // namespace quillor::ClipboardHandOver
