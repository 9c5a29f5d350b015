// The clipboard on a real X display, held by another client that answers as told, late or
// never: the window's thread never waits on it, each change is asked about once, data comes
// whole (in parts too), and BMP forms come as the owner's bytes.
#include "framework/window/Clipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Bytes = std::vector<BYTE>;
using namespace std::chrono_literals;

// Holds the clipboard on a connection and a thread of its own. It answers TARGETS and each
// offered target (in parts of 64 KiB behind INCR when larger), leaves the targets in `silent`
// unanswered, and holds back its answer to TARGETS until Release when `gated`.
class Owner {
public:
    Owner(std::map<std::string, Bytes> offers, std::vector<std::string> silent, bool gated = false)
        : m_offers(std::move(offers)), m_silent(std::move(silent)), m_bGated(gated)
    {
        m_c = xcb_connect(nullptr, nullptr);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        m_window = xcb_generate_id(m_c);
        xcb_create_window(m_c, 0, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, 0, 0, nullptr);
        xcb_set_selection_owner(m_c, m_window, Atom("CLIPBOARD"), XCB_CURRENT_TIME);
        xcb_flush(m_c);
        m_thread = std::thread([this] { Serve(); });
    }
    ~Owner()
    {
        m_bStop = true;
        m_thread.join();
        xcb_disconnect(m_c);
    }
    void Release() { m_bGated = false; }
    int Requests(const std::string& target)
    {
        std::lock_guard lock(m_mutex);
        return m_requests[target];
    }

private:
    xcb_atom_t Atom(const std::string& name)
    {
        auto* r = xcb_intern_atom_reply(
            m_c, xcb_intern_atom(m_c, 0, std::uint16_t(name.size()), name.c_str()), nullptr);
        const xcb_atom_t atom = r->atom;
        std::free(r);
        return atom;
    }
    std::string Name(xcb_atom_t atom)
    {
        auto* r = xcb_get_atom_name_reply(m_c, xcb_get_atom_name(m_c, atom), nullptr);
        std::string name(xcb_get_atom_name_name(r), std::size_t(xcb_get_atom_name_name_length(r)));
        std::free(r);
        return name;
    }

    void Serve()
    {
        std::vector<xcb_selection_request_event_t> held;
        while (!m_bStop) {
            xcb_generic_event_t* e = xcb_poll_for_event(m_c);
            if (!e) {
                for (; !m_bGated && !held.empty(); held.pop_back())
                    Answer(held.back());
                std::this_thread::sleep_for(5ms);
                continue;
            }
            const int type = e->response_type & 0x7F;
            if (type == XCB_SELECTION_REQUEST) {
                const auto r = *reinterpret_cast<xcb_selection_request_event_t*>(e);
                const std::string target = Name(r.target);
                std::lock_guard lock(m_mutex);
                ++m_requests[target];
                if (m_bGated && target == "TARGETS")
                    held.push_back(r);
                else if (std::ranges::find(m_silent, target) == m_silent.end())
                    Answer(r);
            } else if (type == XCB_PROPERTY_NOTIFY) {
                NextPart(*reinterpret_cast<xcb_property_notify_event_t*>(e));
            }
            std::free(e);
            xcb_flush(m_c);
        }
    }

    void Answer(const xcb_selection_request_event_t& r)
    {
        const std::string target = Name(r.target);
        xcb_atom_t property = r.property;
        if (target == "TARGETS") {
            std::vector<xcb_atom_t> atoms = {r.target};
            for (const auto& [name, bytes] : m_offers)
                atoms.push_back(Atom(name));
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, r.requestor, property, XCB_ATOM_ATOM,
                                32, std::uint32_t(atoms.size()), atoms.data());
        } else if (!m_offers.count(target)) {
            property = XCB_ATOM_NONE;
        } else if (const Bytes& b = m_offers[target]; b.size() <= kPart) {
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, r.requestor, property, r.target, 8,
                                std::uint32_t(b.size()), b.data());
        } else {
            const std::uint32_t size = std::uint32_t(b.size()),
                                events = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(m_c, r.requestor, XCB_CW_EVENT_MASK, &events);
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, r.requestor, property, Atom("INCR"), 32,
                                1, &size);
            m_transfer = {r.requestor, property, r.target, &b, 0};
        }
        xcb_selection_notify_event_t n{};
        n.response_type = XCB_SELECTION_NOTIFY;
        n.requestor = r.requestor;
        n.selection = r.selection;
        n.target = r.target;
        n.property = property;
        xcb_send_event(m_c, 0, r.requestor, 0, reinterpret_cast<const char*>(&n));
        xcb_flush(m_c);
    }

    // The requestor deleted the last part: the next one, or an empty one at the end.
    void NextPart(const xcb_property_notify_event_t& e)
    {
        Transfer& t = m_transfer;
        if (!t.bytes || e.window != t.requestor || e.atom != t.property ||
            e.state != XCB_PROPERTY_DELETE)
            return;
        const std::size_t n = std::min(kPart, t.bytes->size() - t.at);
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, t.requestor, t.property, t.type, 8,
                            std::uint32_t(n), t.bytes->data() + t.at);
        t.at += n;
        if (n == 0)
            t.bytes = nullptr;
    }

    static constexpr std::size_t kPart = 64 * 1024;
    struct Transfer {
        xcb_window_t requestor;
        xcb_atom_t property, type;
        const Bytes* bytes;
        std::size_t at;
    };

    xcb_connection_t* m_c;
    xcb_window_t m_window;
    std::map<std::string, Bytes> m_offers;
    std::vector<std::string> m_silent;
    std::atomic<bool> m_bGated, m_bStop{false};
    Transfer m_transfer{};
    std::mutex m_mutex;
    std::map<std::string, int> m_requests;
    std::thread m_thread;
};

// Runs the window's events until `done` holds or the time is up.
template <typename Done> bool Within(std::chrono::milliseconds time, Done done)
{
    const auto end = std::chrono::steady_clock::now() + time;
    while (!done() && std::chrono::steady_clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

Bytes Random(std::size_t n)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = BYTE(i * 2654435761u >> 13);
    return b;
}

TEST(Clipboard, RunsOnX) { ASSERT_EQ(QGuiApplication::platformName(), QString("xcb")); }

// Whether the window's thread waited shows in the order of things: the owner answers only
// once the test, on that thread, has seen its question.
// First in the program: the clipboard is asked about for the first time, as at start-up, while
// another client holds it.
TEST(Clipboard, AskingWhatAnOwnerOffersHoldsUpNothingAndHappensOnce)
{
    int changes = 0;
    QObject scope;
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &scope,
                     [&] { ++changes; });
    Owner owner({{"image/png", Random(10)}}, {}, true);
    ASSERT_TRUE(Within(3s, [&] { return changes > 0; }));
    CClipboard::HasPicture();
    ASSERT_TRUE(Within(3s, [&] { return owner.Requests("TARGETS") == 1; }));
    EXPECT_FALSE(CClipboard::HasPicture());
    owner.Release();
    EXPECT_TRUE(Within(3s, [] { return CClipboard::HasPicture(); }));
    EXPECT_EQ(owner.Requests("TARGETS"), 1);
}

TEST(Clipboard, AnOwnerThatNeverAnswersIsAskedOnce)
{
    Owner owner({{"image/png", Random(10)}}, {"TARGETS"});
    ASSERT_TRUE(Within(3s, [&] { return owner.Requests("TARGETS") == 1; }));
    Within(3s, [] { return false; });
    EXPECT_FALSE(CClipboard::HasPicture());
    EXPECT_EQ(owner.Requests("TARGETS"), 1);
}

struct FetchCase {
    const char* name;
    std::map<std::string, Bytes> offers;
    std::vector<std::string> silent;
    Bytes expected;
    bool answered;
};

class ClipboardFetch : public ::testing::TestWithParam<FetchCase> {};

TEST_P(ClipboardFetch, AsksOnceAndTakesTheOwnersBytes)
{
    const FetchCase& c = GetParam();
    Owner owner(c.offers, c.silent);
    ASSERT_TRUE(Within(3s, [&] { return CClipboard::HasData(c.offers.begin()->first.c_str()); }));
    CClipboardRequest request = CClipboardRequest::ForPicture();
    CProgress progress;
    EXPECT_EQ(request.Fetch(progress), c.expected);
    EXPECT_EQ(request.Answered(), c.answered);
    EXPECT_EQ(owner.Requests(c.offers.begin()->first), 1);
}

Bytes Dib() { return {40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0}; }

Bytes BmpOfDib()
{
    Bytes b = {'B', 'M', 14 + 17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const Bytes dib = Dib();
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Owners, ClipboardFetch,
    ::testing::Values(
        FetchCase{"Png", {{"image/png", Random(100)}}, {}, Random(100), true},
        FetchCase{"InParts", {{"image/png", Random(300000)}}, {}, Random(300000), true},
        // A cut BMP reaches the program's own reader as it is, which refuses it.
        FetchCase{
            "CutBmp", {{"image/bmp", {'B', 'M', 99, 0, 0, 0}}}, {}, {'B', 'M', 99, 0, 0, 0}, true},
        FetchCase{"BareDib", {{"CF_DIB", Dib()}}, {}, BmpOfDib(), true},
        FetchCase{"NoAnswer", {{"image/png", Random(10)}}, {"image/png"}, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
