// Times a program's start on the X display as a person sees it: starts the program, notes when
// its main window (the largest top-level one) is mapped and when the program last drew into
// it before it went quiet, then, after a rest, its resident memory.
//
//   window_clock [--quiet MS] [--rest MS] PROGRAM [ARGS...]
//
// prints one line: "mapped_ms painted_ms rss_kb" (times from the start of the process). The
// drawing is seen through the X server's DAMAGE extension, asked for by hand on the protocol:
// it needs no library beyond xcb.
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <spawn.h>
#include <sys/uio.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <poll.h>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

xcb_extension_t g_damage = {"DAMAGE", 0};

// Sends one DAMAGE request of `words` 32-bit words after its 4-byte header.
unsigned Send(xcb_connection_t* c, std::uint8_t minor, const std::vector<std::uint32_t>& words,
              bool hasReply)
{
    std::vector<std::uint32_t> body(words.size() + 1);
    body[0] = minor << 8; // major opcode and length are filled in by xcb
    std::copy(words.begin(), words.end(), body.begin() + 1);
    iovec parts[4] = {};
    parts[2].iov_base = body.data();
    parts[2].iov_len = body.size() * 4;
    xcb_protocol_request_t request = {2, &g_damage, minor, std::uint8_t(!hasReply)};
    return xcb_send_request(c, hasReply ? XCB_REQUEST_CHECKED : 0, parts + 2, &request);
}

double Ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = -1;
    while (status >> key)
        if (key == "VmRSS:" && status >> value)
            return value;
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    int quietMs = 400, restMs = 3000, first = 1;
    for (; first + 1 < argc && argv[first][0] == '-'; first += 2) {
        if (std::strcmp(argv[first], "--quiet") == 0)
            quietMs = std::atoi(argv[first + 1]);
        else if (std::strcmp(argv[first], "--rest") == 0)
            restMs = std::atoi(argv[first + 1]);
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: window_clock [--quiet MS] [--rest MS] PROGRAM [ARGS...]\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "window_clock: no display\n");
        return 1;
    }
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &g_damage);
    if (!ext || !ext->present) {
        std::fprintf(stderr, "window_clock: the display has no DAMAGE extension\n");
        return 1;
    }
    std::free(xcb_wait_for_reply(c, Send(c, 0, {1, 1}, true), nullptr)); // QueryVersion 1.1
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[first], nullptr, nullptr, argv + first, environ) != 0) {
        std::fprintf(stderr, "window_clock: cannot start %s\n", argv[first]);
        return 1;
    }
    // Every new top-level window is watched from its creation, so that no drawing is missed.
    // The program's main window is the largest one mapped: a dialog shown first (the progress
    // of reading a file) does not count.
    struct Window {
        std::int64_t area = 0;
        double mapped = -1, painted = -1;
    };
    std::map<xcb_window_t, Window> windows;
    const Window* main = nullptr;
    Clock::time_point lastPaint = start;
    const int fd = xcb_get_file_descriptor(c);
    while (!main || main->painted < 0 || Ms(lastPaint, Clock::now()) < quietMs) {
        if (Ms(start, Clock::now()) > 60000 || waitpid(pid, nullptr, WNOHANG) == pid)
            break;
        pollfd p = {fd, POLLIN, 0};
        poll(&p, 1, 20);
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            const std::uint8_t type = e->response_type & 0x7F;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* create = reinterpret_cast<xcb_create_notify_event_t*>(e);
                if (!create->override_redirect && !windows.count(create->window)) {
                    windows[create->window].area = std::int64_t(create->width) * create->height;
                    const std::uint32_t damage = xcb_generate_id(c);
                    Send(c, 1, {damage, create->window, 0}, false); // raw rectangles
                    xcb_flush(c);
                }
            } else if (type == XCB_CONFIGURE_NOTIFY) {
                const auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(e);
                if (const auto it = windows.find(configure->window); it != windows.end())
                    it->second.area = std::int64_t(configure->width) * configure->height;
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
                const auto it = windows.find(map->window);
                if (it != windows.end() && it->second.mapped < 0) {
                    it->second.mapped = Ms(start, Clock::now());
                    if (!main || it->second.area > main->area)
                        main = &it->second;
                }
            } else if (type == ext->first_event) {
                // DamageNotify: the drawable follows the event's 4-byte header.
                const auto it = windows.find(reinterpret_cast<std::uint32_t*>(e)[1]);
                if (it != windows.end() && it->second.mapped >= 0) {
                    lastPaint = Clock::now();
                    it->second.painted = Ms(start, lastPaint);
                }
            }
            std::free(e);
        }
    }
    const double mapped = main ? main->mapped : -1, painted = main ? main->painted : -1;
    if (restMs > 0)
        poll(nullptr, 0, restMs);
    const long rss = ResidentKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(c);
    std::printf("%.1f %.1f %ld\n", mapped, painted, rss);
    return mapped < 0 || painted < 0 ? 1 : 0;
}
