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
    Owner(const std::map<std::string, Bytes>& offers, std::vector<std::string> silent,
          bool gated = false)
        : m_c(xcb_connect(nullptr, nullptr)), m_silent(std::move(silent)), m_bGated(gated)
    {
        m_names[Atom("TARGETS")] = "TARGETS";
        for (const auto& [name, bytes] : offers) {
            m_names[Atom(name)] = name;
            m_offers[Atom(name)] = bytes;
        }
        const xcb_window_t window = xcb_generate_id(m_c);
        xcb_create_window(m_c, 0, window, xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root,
                          0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, 0, 0, nullptr);
        xcb_set_selection_owner(m_c, window, Atom("CLIPBOARD"), XCB_CURRENT_TIME);
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
    static constexpr std::size_t kPart = 64 * 1024;

    xcb_atom_t Atom(const std::string& name)
    {
        auto* r = xcb_intern_atom_reply(
            m_c, xcb_intern_atom(m_c, 0, std::uint16_t(name.size()), name.c_str()), nullptr);
        const xcb_atom_t atom = r->atom;
        std::free(r);
        return atom;
    }

    void Serve()
    {
        std::vector<xcb_selection_request_event_t> held;
        while (!m_bStop) {
            for (; !m_bGated && !held.empty(); held.pop_back())
                Answer(held.back());
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> e(xcb_poll_for_event(m_c),
                                                                         &std::free);
            if (!e) {
                std::this_thread::sleep_for(5ms);
            } else if ((e->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
                const auto r = *reinterpret_cast<xcb_selection_request_event_t*>(e.get());
                const std::string& name = m_names[r.target];
                std::lock_guard lock(m_mutex);
                ++m_requests[name];
                if (m_bGated && name == "TARGETS")
                    held.push_back(r);
                else if (std::ranges::find(m_silent, name) == m_silent.end())
                    Answer(r);
            } else if ((e->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
                const auto n = *reinterpret_cast<xcb_property_notify_event_t*>(e.get());
                if (m_pPart && n.state == XCB_PROPERTY_DELETE)
                    NextPart(n.window, n.atom);
            }
        }
    }

    void Put(xcb_window_t w, xcb_atom_t property, xcb_atom_t type, int format, std::size_t n,
             const void* data)
    {
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, w, property, type, std::uint8_t(format),
                            std::uint32_t(n), data);
        xcb_flush(m_c);
    }

    void Answer(const xcb_selection_request_event_t& r)
    {
        xcb_selection_notify_event_t n{XCB_SELECTION_NOTIFY, 0,           0,        r.time,
                                       r.requestor,          r.selection, r.target, r.property};
        const Bytes& b = m_offers[r.target];
        if (m_names[r.target] == "TARGETS") {
            std::vector<xcb_atom_t> atoms = {r.target};
            for (const auto& offer : m_offers)
                atoms.push_back(offer.first);
            Put(r.requestor, r.property, XCB_ATOM_ATOM, 32, atoms.size(), atoms.data());
        } else if (b.size() > kPart) {
            const std::uint32_t size = std::uint32_t(b.size()),
                                mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(m_c, r.requestor, XCB_CW_EVENT_MASK, &mask);
            Put(r.requestor, r.property, Atom("INCR"), 32, 1, &size);
            m_pPart = b.data();
            m_nLeft = b.size();
            m_type = r.target;
        } else {
            Put(r.requestor, r.property, r.target, 8, b.size(), b.data());
        }
        xcb_send_event(m_c, 0, r.requestor, 0, reinterpret_cast<const char*>(&n));
        xcb_flush(m_c);
    }

    // The requestor deleted the last part: the next one, or an empty one at the end.
    void NextPart(xcb_window_t requestor, xcb_atom_t property)
    {
        const std::size_t n = std::min(kPart, m_nLeft);
        Put(requestor, property, m_type, 8, n, m_pPart);
        m_pPart = n ? m_pPart + n : nullptr;
        m_nLeft -= n;
    }

    xcb_connection_t* m_c;
    std::map<xcb_atom_t, std::string> m_names;
    std::map<xcb_atom_t, Bytes> m_offers;
    std::vector<std::string> m_silent;
    std::atomic<bool> m_bGated, m_bStop{false};
    const BYTE* m_pPart = nullptr; // of a transfer in parts
    std::size_t m_nLeft = 0;
    xcb_atom_t m_type = 0;
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

// First in the program: the clipboard is asked about for the first time, as at start-up, while
// another client holds it. Whether the window's thread waited shows in the order of things: the
// owner answers only once the test, on that thread, has seen its question.
TEST(Clipboard, AskingWhatAnOwnerOffersHoldsUpNothingAndHappensOnce)
{
    ASSERT_EQ(QGuiApplication::platformName(), QString("xcb"));
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

// A watch hears of another program's offer once the offer is known, until it is dropped.
TEST(Clipboard, AWatchHearsOfAnOfferOnceItIsKnown)
{
    bool known = false;
    int told = 0;
    CClipboard::Watch watch = CClipboard::WatchFormats([&] {
        ++told;
        known = CClipboard::HasData("image/png");
    });
    {
        Owner owner({{"image/png", Random(10)}}, {});
        EXPECT_TRUE(Within(3s, [&] { return known; }));
    }
    watch.reset();
    const int before = told;
    Owner other({{"image/gif", Random(10)}}, {});
    ASSERT_TRUE(Within(3s, [] { return CClipboard::HasData("image/gif"); }));
    EXPECT_EQ(told, before);
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

// A bare DIB's first bytes, and the file header put before them: "BM", the length, zeros.
const Bytes kDib = {40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0};
const Bytes kDibFile = {'B', 'M', 31, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 40, 0,
                        0,   0,   1,  0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Owners, ClipboardFetch,
    ::testing::Values(
        FetchCase{"Png", {{"image/png", Random(100)}}, {}, Random(100), true},
        FetchCase{"InParts", {{"image/png", Random(300000)}}, {}, Random(300000), true},
        // A cut BMP reaches the program's own reader as it is, which refuses it.
        FetchCase{
            "CutBmp", {{"image/bmp", {'B', 'M', 99, 0, 0, 0}}}, {}, {'B', 'M', 99, 0, 0, 0}, true},
        FetchCase{"BareDib", {{"CF_DIB", kDib}}, {}, kDibFile, true},
        FetchCase{"NoAnswer", {{"image/png", Random(10)}}, {"image/png"}, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
