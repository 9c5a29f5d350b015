#include "XSelection.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;
using Status = XSelection::Status;

// How often a wait looks at the progress.
constexpr int kPollMs = 50;
// Property bytes asked for at a time.
constexpr std::uint32_t kChunkBytes = 1 << 20;
// Nothing larger is taken from another program.
constexpr std::size_t kMaxBytes = std::size_t(1) << 30;
constexpr std::size_t kMaxTargets = 1024;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XcbPtr = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t Intern(xcb_connection_t* c, const char* name)
{
    const XcbPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

struct XSelection::Connection {
    xcb_connection_t* c = nullptr;
    xcb_window_t window = XCB_NONE;
    xcb_atom_t selection = XCB_ATOM_NONE, property = XCB_ATOM_NONE, targets = XCB_ATOM_NONE,
               incr = XCB_ATOM_NONE;

    // The next event that `wanted` takes, or null once the deadline has passed, the progress
    // is cancelled (`cancelled` then says so) or the connection breaks.
    template <typename Wanted>
    XcbPtr<xcb_generic_event_t> WaitFor(Wanted wanted, Clock::time_point deadline,
                                        CProgress* pProgress, bool& cancelled)
    {
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
                XcbPtr<xcb_generic_event_t> event(e);
                if (wanted(event.get()))
                    return event;
            }
            cancelled = pProgress && pProgress->IsCancelled();
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (cancelled || left.count() <= 0 || xcb_connection_has_error(c))
                return nullptr;
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            ::poll(&fd, 1, int(std::min<std::int64_t>(left.count(), kPollMs)));
        }
    }

    // The property's whole value, deleted once read; its type tells a transfer in parts.
    bool TakeProperty(std::vector<BYTE>& bytes, xcb_atom_t& type)
    {
        bytes.clear();
        for (std::uint32_t offset = 0;;) {
            const XcbPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
                c,
                xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, offset / 4,
                                 kChunkBytes / 4),
                nullptr));
            if (!reply)
                return false;
            type = reply->type;
            const auto* value = static_cast<const BYTE*>(xcb_get_property_value(reply.get()));
            const int length = xcb_get_property_value_length(reply.get());
            if (bytes.size() + std::size_t(length) > kMaxBytes)
                return false;
            bytes.insert(bytes.end(), value, value + length);
            offset += std::uint32_t(length);
            if (reply->bytes_after == 0 || length == 0)
                break;
        }
        xcb_delete_property(c, window, property);
        xcb_flush(c);
        return true;
    }

    Reply Incremental(std::chrono::milliseconds bound, CProgress* pProgress, std::size_t atLeast);
    Reply Convert(xcb_atom_t target, std::chrono::milliseconds bound, CProgress* pProgress);
};

XSelection::Reply XSelection::Connection::Convert(xcb_atom_t target,
                                                  std::chrono::milliseconds bound,
                                                  CProgress* pProgress)
{
    xcb_delete_property(c, window, property);
    xcb_convert_selection(c, window, selection, target, property, XCB_CURRENT_TIME);
    xcb_flush(c);
    bool cancelled = false;
    const auto notify = WaitFor(
        [&](const xcb_generic_event_t* e) {
            const auto* n = reinterpret_cast<const xcb_selection_notify_event_t*>(e);
            return (e->response_type & 0x7F) == XCB_SELECTION_NOTIFY && n->requestor == window &&
                   n->selection == selection;
        },
        Clock::now() + bound, pProgress, cancelled);
    if (!notify)
        return {cancelled ? Status::Cancelled : Status::NoAnswer, {}};
    if (reinterpret_cast<const xcb_selection_notify_event_t*>(notify.get())->property ==
        XCB_ATOM_NONE)
        return {Status::Refused, {}};
    Reply reply{Status::Answered, {}};
    xcb_atom_t type = XCB_ATOM_NONE;
    if (!TakeProperty(reply.bytes, type))
        return {Status::NoAnswer, {}};
    if (type != incr)
        return reply;
    std::uint32_t atLeast = 0;
    if (reply.bytes.size() >= 4)
        std::memcpy(&atLeast, reply.bytes.data(), 4);
    return Incremental(bound, pProgress, atLeast);
}

// The owner writes the parts one by one into the property, each once the last is deleted,
// and ends with an empty one.
XSelection::Reply XSelection::Connection::Incremental(std::chrono::milliseconds bound,
                                                      CProgress* pProgress, std::size_t atLeast)
{
    Reply reply{Status::Answered, {}};
    for (;;) {
        bool cancelled = false;
        const auto event = WaitFor(
            [&](const xcb_generic_event_t* e) {
                const auto* n = reinterpret_cast<const xcb_property_notify_event_t*>(e);
                return (e->response_type & 0x7F) == XCB_PROPERTY_NOTIFY && n->window == window &&
                       n->atom == property && n->state == XCB_PROPERTY_NEW_VALUE;
            },
            Clock::now() + bound, pProgress, cancelled);
        if (!event)
            return {cancelled ? Status::Cancelled : Status::NoAnswer, {}};
        std::vector<BYTE> part;
        xcb_atom_t type = XCB_ATOM_NONE;
        if (!TakeProperty(part, type) || reply.bytes.size() + part.size() > kMaxBytes)
            return {Status::NoAnswer, {}};
        if (part.empty())
            return reply;
        reply.bytes.insert(reply.bytes.end(), part.begin(), part.end());
        if (pProgress)
            pProgress->Report(std::int64_t(reply.bytes.size()),
                              std::int64_t(std::max(atLeast, reply.bytes.size() + 1)));
    }
}

XSelection::XSelection(const std::string& display) : m_c(std::make_unique<Connection>())
{
    int screenNumber = 0;
    m_c->c = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(m_c->c))
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_c->c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem)
        return;
    m_c->window = xcb_generate_id(m_c->c);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_c->c, XCB_COPY_FROM_PARENT, m_c->window, it.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    m_c->selection = Intern(m_c->c, "CLIPBOARD");
    m_c->targets = Intern(m_c->c, "TARGETS");
    m_c->incr = Intern(m_c->c, "INCR");
    m_c->property = Intern(m_c->c, "_SELECTION_TRANSFER");
}

XSelection::~XSelection()
{
    if (m_c->c)
        xcb_disconnect(m_c->c);
}

bool XSelection::IsOpen() const
{
    return m_c->c && !xcb_connection_has_error(m_c->c) && m_c->property != XCB_ATOM_NONE;
}

std::uint32_t XSelection::Owner()
{
    if (!IsOpen())
        return 0;
    const XcbPtr<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        m_c->c, xcb_get_selection_owner(m_c->c, m_c->selection), nullptr));
    return reply ? reply->owner : 0;
}

XSelection::Status XSelection::Targets(std::chrono::milliseconds bound, CProgress* pProgress,
                                       std::vector<std::string>& names)
{
    names.clear();
    if (!IsOpen())
        return Status::NoAnswer;
    const Reply reply = m_c->Convert(m_c->targets, bound, pProgress);
    if (reply.status != Status::Answered)
        return reply.status;
    std::vector<xcb_get_atom_name_cookie_t> cookies;
    for (std::size_t at = 0; at + 4 <= reply.bytes.size() && cookies.size() < kMaxTargets;
         at += 4) {
        xcb_atom_t atom = XCB_ATOM_NONE;
        std::memcpy(&atom, reply.bytes.data() + at, 4);
        cookies.push_back(xcb_get_atom_name(m_c->c, atom));
    }
    for (const xcb_get_atom_name_cookie_t& cookie : cookies) {
        const XcbPtr<xcb_get_atom_name_reply_t> name(
            xcb_get_atom_name_reply(m_c->c, cookie, nullptr));
        if (name)
            names.emplace_back(xcb_get_atom_name_name(name.get()),
                               std::size_t(xcb_get_atom_name_name_length(name.get())));
    }
    return Status::Answered;
}

XSelection::Reply XSelection::Data(const std::string& target, std::chrono::milliseconds bound,
                                   CProgress* pProgress)
{
    if (!IsOpen())
        return {};
    const xcb_atom_t atom = Intern(m_c->c, target.c_str());
    if (atom == XCB_ATOM_NONE)
        return {Status::Refused, {}};
    return m_c->Convert(atom, bound, pProgress);
}
