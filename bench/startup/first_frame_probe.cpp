// Starts a program on the X display named by DISPLAY and reports when its
// first frame reached the screen and how much memory it holds a while later.
//
//   first_frame_probe [--rss-after-ms N] [--timeout-ms N] -- program [args...]
//
// Prints one line "first_frame_ms=<ms> cpu_ms=<ms> rss_kb=<kB>": the time
// from just before exec to the first painted frame, the CPU time the program
// had used by then (all its threads; a busy machine stretches the first
// figure, not this one), and its resident memory a while later. Then it
// ends the program with SIGTERM.
//
// The frame is seen through the DAMAGE extension on the root window: every
// drawing that reaches the screen is reported. Mapping a window paints at
// most its plain background, so a damaged area counts as the first frame
// only once it holds more than one colour.
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// CPU time of all live threads of the process, from their schedstat.
double cpuMs(pid_t pid)
{
    const std::string base = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(base.c_str())) {
        while (dirent* e = readdir(dir)) {
            if (e->d_name[0] == '.')
                continue;
            std::ifstream stat(base + "/" + e->d_name + "/schedstat");
            double run = 0;
            if (stat >> run)
                ns += run;
        }
        closedir(dir);
    }
    return ns / 1e6;
}

// True when the area of the root window holds at least two colours.
bool painted(xcb_connection_t* c, xcb_window_t root, const xcb_rectangle_t& r)
{
    if (r.width == 0 || r.height == 0)
        return false;
    auto cookie
        = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, r.x, r.y, r.width, r.height, ~0u);
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(c, cookie, nullptr), &std::free);
    if (!reply)
        return false;
    const uint8_t* data = xcb_get_image_data(reply.get());
    const int length = xcb_get_image_data_length(reply.get());
    if (length < 8)
        return false;
    uint32_t first;
    std::memcpy(&first, data, 4);
    for (int i = 4; i + 4 <= length; i += 4) {
        uint32_t pixel;
        std::memcpy(&pixel, data + i, 4);
        if ((pixel ^ first) & 0x00FFFFFF)
            return true;
    }
    return false;
}

int usage()
{
    std::fprintf(
        stderr, "usage: first_frame_probe [--rss-after-ms N] [--timeout-ms N] -- program [args]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int rssAfterMs = 2000;
    int timeoutMs = 30000;
    int i = 1;
    for (; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--")) {
            ++i;
            break;
        }
        if (i + 1 >= argc)
            return usage();
        if (!std::strcmp(argv[i], "--rss-after-ms"))
            rssAfterMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--timeout-ms"))
            timeoutMs = std::atoi(argv[++i]);
        else
            return usage();
    }
    if (i >= argc)
        return usage();

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "first_frame_probe: cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int s = 0; s < screenNumber; ++s)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;

    const xcb_query_extension_reply_t* damageExt = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damageExt || !damageExt->present) {
        std::fprintf(stderr, "first_frame_probe: the display has no DAMAGE extension\n");
        return 1;
    }
    // DAMAGE needs the XFIXES version announced first.
    free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const xcb_damage_damage_t damage = xcb_generate_id(c);
    xcb_damage_create(c, damage, root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // round trip

    const Clock::time_point t0 = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 1;
    }
    if (pid == 0) {
        close(xcb_get_file_descriptor(c));
        execvp(argv[i], argv + i);
        std::perror("exec");
        _exit(127);
    }

    double frameMs = -1;
    double frameCpuMs = -1;
    const int fd = xcb_get_file_descriptor(c);
    while (frameMs < 0) {
        const double left = timeoutMs - msSince(t0);
        if (left <= 0)
            break;
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            pollfd p { fd, POLLIN, 0 };
            poll(&p, 1, static_cast<int>(left) + 1);
            if (xcb_connection_has_error(c))
                break;
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                std::fprintf(stderr, "first_frame_probe: the program ended before painting\n");
                return 1;
            }
            continue;
        }
        if ((event->response_type & 0x7F) == damageExt->first_event + XCB_DAMAGE_NOTIFY) {
            const auto* notify = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            const double at = msSince(t0);
            const double cpu = cpuMs(pid);
            if (painted(c, root, notify->area)) {
                frameMs = at;
                frameCpuMs = cpu;
            }
        }
        free(event);
    }
    xcb_damage_destroy(c, damage);
    xcb_disconnect(c);

    long rss = -1;
    if (frameMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(rssAfterMs));
        rss = residentKb(pid);
    }
    kill(pid, SIGTERM);
    int status;
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; waited += 10) {
        if (waited >= 5000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (frameMs < 0) {
        std::fprintf(stderr, "first_frame_probe: no frame within %d ms\n", timeoutMs);
        return 1;
    }
    std::printf("first_frame_ms=%.1f cpu_ms=%.1f rss_kb=%ld\n", frameMs, frameCpuMs, rss);
    return 0;
}
