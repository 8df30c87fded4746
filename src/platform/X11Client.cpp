#include "platform/X11Client.h"

#include <QGuiApplication>
#include <QHash>
#include <QPointer>

#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace quillor::X11Client {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

// The atoms of Qt's connection, which lives as long as the application; an
// atom never changes while its connection lives. Other connections (tests of
// their own servers) are asked each time. Used on the UI thread only.
struct CachedAtom {
    xcb_atom_t atom = XCB_ATOM_NONE;
    // Asked for, the reply not read yet.
    std::optional<xcb_intern_atom_cookie_t> pending;
};

class AtomCache : public QObject {
public:
    using QObject::QObject;
    QHash<QByteArray, CachedAtom> atoms;
};

QHash<QByteArray, CachedAtom>* cacheFor(xcb_connection_t* connection)
{
    static QPointer<AtomCache> cache;
    if (!connection || connection != qtConnection())
        return nullptr;
    if (!cache)
        cache = new AtomCache(QCoreApplication::instance());
    return &cache->atoms;
}

xcb_intern_atom_cookie_t request(xcb_connection_t* connection, const char* name)
{
    return xcb_intern_atom(connection, 0, quint16(std::strlen(name)), name);
}

xcb_atom_t reply(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie)
{
    const ReplyPointer<xcb_intern_atom_reply_t> answer(xcb_intern_atom_reply(connection, cookie, nullptr));
    return answer ? answer->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

xcb_connection_t* qtConnection()
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t root(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    return atoms(connection, std::span(&name, 1)).first();
}

QList<xcb_atom_t> atoms(xcb_connection_t* connection, std::span<const char* const> names)
{
    QHash<QByteArray, CachedAtom>* cache = cacheFor(connection);
    if (cache)
        requestAtoms(connection, names);
    // Every request goes out before the first reply is read: one round trip.
    std::vector<std::optional<xcb_intern_atom_cookie_t>> asked;
    asked.reserve(names.size());
    for (const char* name : names)
        asked.push_back(cache ? std::nullopt : std::optional(request(connection, name)));
    QList<xcb_atom_t> result;
    result.reserve(qsizetype(names.size()));
    auto next = asked.begin();
    for (const char* name : names) {
        const std::optional<xcb_intern_atom_cookie_t> cookie = *next++;
        if (cookie) {
            result.append(reply(connection, *cookie));
            continue;
        }
        CachedAtom& cached = (*cache)[name];
        if (cached.pending)
            cached.atom = reply(connection, *std::exchange(cached.pending, std::nullopt));
        result.append(cached.atom);
    }
    return result;
}

void requestAtoms(xcb_connection_t* connection, std::span<const char* const> names)
{
    QHash<QByteArray, CachedAtom>* cache = cacheFor(connection);
    if (!cache)
        return;
    bool sent = false;
    for (const char* name : names) {
        CachedAtom& cached = (*cache)[name];
        if (cached.atom == XCB_ATOM_NONE && !cached.pending) {
            cached.pending = request(connection, name);
            sent = true;
        }
    }
    if (sent)
        xcb_flush(connection);
}

QList<quint32> property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    // 1024 values is far beyond any list EWMH keeps on a window.
    const auto cookie = xcb_get_property(connection, 0, window, name, type, 0, 1024);
    const ReplyPointer<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    QList<quint32> values;
    if (!reply || reply->type != type || reply->format != 32)
        return values;
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    const auto* data = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    values.reserve(count);
    for (int i = 0; i < count; ++i)
        values.append(data[i]);
    return values;
}

void sendToRoot(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t type,
                const std::array<quint32, 5>& data)
{
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    for (std::size_t i = 0; i < data.size(); ++i)
        event.data.data32[i] = data[i];
    xcb_send_event(connection, 0, root(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

quint32 unshiftedKeysym(xcb_connection_t* connection, quint8 keycode)
{
    // Read afresh each time: a recorder takes one key, and the keyboard map
    // may have changed since the last one.
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    if (!symbols)
        return 0;
    const xcb_keysym_t symbol = xcb_key_symbols_get_keysym(symbols, keycode, 0);
    xcb_key_symbols_free(symbols);
    return symbol;
}

} // namespace quillor::X11Client
