// A clipboard manager of the kind desktops run, reduced to what a program
// leaving meets: it holds the CLIPBOARD_MANAGER selection, and when a program
// asks it to SAVE_TARGETS it reads the text on the CLIPBOARD, prints
// "kept <text>", answers, and from then on owns the CLIPBOARD with that text.
//   ClipboardKeeper [<pause in ms>]
// The pause comes before it reads, as a busy manager's does; clipboard owners
// give a manager seconds. Prints "ready" once it holds the selection, then
// runs until killed. Uses $DISPLAY.

#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

namespace {

xcb_connection_t* connection = nullptr;
xcb_window_t window = XCB_WINDOW_NONE;

xcb_atom_t atom(const char* name)
{
    auto* reply = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name),
                                        nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

void notify(const xcb_selection_request_event_t& request, xcb_atom_t property)
{
    xcb_selection_notify_event_t answer;
    memset(&answer, 0, sizeof answer);
    answer.response_type = XCB_SELECTION_NOTIFY;
    answer.time = request.time;
    answer.requestor = request.requestor;
    answer.selection = request.selection;
    answer.target = request.target;
    answer.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&answer));
    xcb_flush(connection);
}

std::string readProperty(xcb_atom_t property)
{
    auto* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr);
    std::string text;
    if (reply)
        text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    size_t(xcb_get_property_value_length(reply)));
    free(reply);
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto pause = std::chrono::milliseconds(argc > 1 ? atoi(argv[1]) : 0);
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t manager = atom("CLIPBOARD_MANAGER");
    const xcb_atom_t saveTargets = atom("SAVE_TARGETS");
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    const xcb_atom_t targets = atom("TARGETS");
    const xcb_atom_t utf8 = atom("UTF8_STRING");
    const xcb_atom_t kept = atom("QUILLOR_E2E_KEPT");
    xcb_set_selection_owner(connection, window, manager, XCB_CURRENT_TIME);
    auto* owner = xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, manager), nullptr);
    const bool holding = owner && owner->owner == window;
    free(owner);
    if (!holding)
        return 1;
    printf("ready\n");
    fflush(stdout);

    std::optional<xcb_selection_request_event_t> saving;
    std::optional<std::string> text;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        switch (event->response_type & 0x7f) {
        case XCB_SELECTION_REQUEST: {
            const auto request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
            const xcb_atom_t property = request.property ? request.property : request.target;
            if (request.selection == manager && request.target == saveTargets && !saving) {
                saving = request;
                std::this_thread::sleep_for(pause);
                xcb_convert_selection(connection, window, clipboard, utf8, kept, request.time);
                xcb_flush(connection);
            } else if (request.selection == clipboard && text && request.target == targets) {
                const xcb_atom_t offered[] = {targets, utf8};
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM,
                                    32, 2, offered);
                notify(request, property);
            } else if (request.selection == clipboard && text && request.target == utf8) {
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property, utf8, 8,
                                    uint32_t(text->size()), text->data());
                notify(request, property);
            } else {
                notify(request, XCB_ATOM_NONE);
            }
            break;
        }
        case XCB_SELECTION_NOTIFY: {
            const auto* answer = reinterpret_cast<xcb_selection_notify_event_t*>(event);
            if (!saving || answer->requestor != window || answer->selection != clipboard)
                break;
            if (answer->property != XCB_ATOM_NONE) {
                text = readProperty(kept);
                printf("kept %s\n", text->c_str());
                fflush(stdout);
                xcb_set_selection_owner(connection, window, clipboard, XCB_CURRENT_TIME);
            }
            notify(*saving, text ? saving->property : xcb_atom_t(XCB_ATOM_NONE));
            saving.reset();
            break;
        }
        default:
            break;
        }
        free(event);
    }
    // The server went away.
    return 0;
}
