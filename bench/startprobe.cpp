// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts a program under X and prints one line of figures: the time until its
// first window is on screen and painted, then, with its main window up (for
// the game: past the name and the greeting to the first question), its
// resident memory and the processor time it takes over 10 s left alone.
//
//   startprobe [--game] -- program [args...]
//
// Windows are found by their map events and the program's _NET_WM_PID, and
// count as painted when a pixel of theirs, read back from the X server every
// millisecond, shows what the program paints there. Keys go through XTest,
// as a keyboard would press them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

pid_t g_child = 0;

[[noreturn]] void die(const char *why)
{
    std::fprintf(stderr, "startprobe: %s\n", why);
    if (g_child > 0)
        kill(g_child, SIGKILL);
    std::exit(2);
}

// Windows come and go while we look at them; a request on one that is gone
// is no error of ours.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

// A dialog's top-left corner once painted: the window colour of Qt's Fusion
// palette.
bool dialogPainted(unsigned long rgb)
{
    return rgb == 0xefefef;
}

// The game's bottom-right corner once its first question is painted: the
// backdrop's last band, blue 255 with red = green = shade × 10 (grey before).
bool backdropPainted(unsigned long rgb)
{
    const unsigned long red = rgb >> 16, green = (rgb >> 8) & 0xff, blue = rgb & 0xff;
    return red == green && red % 10 == 0 && red <= 140 && blue >= 250;
}

class Probe
{
public:
    Probe()
    {
        XSetErrorHandler(ignoreErrors);
        // Every new top-level window is first a child of the root, before a
        // window manager takes it in.
        XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
        XSync(m_display, False);
    }
    ~Probe() { XCloseDisplay(m_display); }

    void launch(char **argv)
    {
        m_launched = Clock::now();
        g_child = fork();
        if (g_child < 0)
            die("fork failed");
        if (g_child == 0) {
            execvp(argv[0], argv);
            _exit(127);
        }
    }
    double msSinceLaunch() const { return msSince(m_launched); }

    // A window of the program, not returned before, mapped, and whose pixel at
    // (x, y) (from the bottom-right corner when negative) is `painted`.
    Window waitForPainted(int x, int y, const std::function<bool(unsigned long)> &painted)
    {
        const Clock::time_point start = Clock::now();
        while (msSince(start) < 20000) {
            takeEvents();
            for (Window window : m_mapped) {
                if (!m_used.count(window) && painted(pixel(window, x, y))) {
                    m_used.insert(window);
                    return window;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (waitpid(g_child, nullptr, WNOHANG) == g_child)
                die("the program ended before its window was painted");
        }
        die("no window painted within 20 s");
    }

    // Keys go where the input focus is: once the window manager gave it.
    void pressWhenFocused(Window window, KeySym key)
    {
        const Clock::time_point start = Clock::now();
        for (Window focus = 0; focus != window; std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
            if (msSince(start) > 5000)
                die("the window never had the keyboard focus");
            int revert;
            XGetInputFocus(m_display, &focus, &revert);
        }
        const KeyCode code = XKeysymToKeycode(m_display, key);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XFlush(m_display);
    }

private:
    void takeEvents()
    {
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == CreateNotify) {
                // Its own map events, wherever the window manager puts it,
                // unless that happened already.
                const Window window = event.xcreatewindow.window;
                XSelectInput(m_display, window, StructureNotifyMask);
                XWindowAttributes attributes;
                if (XGetWindowAttributes(m_display, window, &attributes) && attributes.map_state == IsViewable
                    && own(window))
                    m_mapped.insert(window);
            } else if (event.type == MapNotify && own(event.xmap.window)) {
                m_mapped.insert(event.xmap.window);
            } else if (event.type == UnmapNotify || event.type == DestroyNotify)
                m_mapped.erase(event.type == UnmapNotify ? event.xunmap.window : event.xdestroywindow.window);
        }
    }

    bool own(Window window)
    {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char *data = nullptr;
        XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data);
        const bool own = data && count == 1 && pid_t(*reinterpret_cast<unsigned long *>(data)) == g_child;
        if (data)
            XFree(data);
        return own;
    }

    unsigned long pixel(Window window, int x, int y)
    {
        Window root;
        int left, top;
        unsigned width, height, border, depth;
        if (!XGetGeometry(m_display, window, &root, &left, &top, &width, &height, &border, &depth))
            return 0;
        XImage *image = XGetImage(m_display, window, x < 0 ? int(width) + x : x, y < 0 ? int(height) + y : y, 1, 1,
                                  AllPlanes, ZPixmap);
        if (!image)
            return 0;
        const unsigned long rgb = XGetPixel(image, 0, 0) & 0xffffff;
        XDestroyImage(image);
        return rgb;
    }

    static Display *openDisplay()
    {
        Display *display = XOpenDisplay(nullptr);
        if (!display)
            die("cannot open the X display");
        return display;
    }

    Display *m_display = openDisplay();
    Atom m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
    Clock::time_point m_launched;
    std::set<Window> m_mapped; // the program's, on screen
    std::set<Window> m_used;
};

long residentKib(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("Rss:", 0) == 0)
            return std::strtol(line.c_str() + 4, nullptr, 10);
    }
    return -1;
}

// Processor time of all the program's threads, to the nanosecond.
double cpuMs(pid_t pid)
{
    clockid_t clock;
    timespec now{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &now) != 0)
        die("cannot read the program's processor clock");
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    const bool game = argc > 1 && !std::strcmp(argv[1], "--game");
    const int dashes = game ? 2 : 1;
    if (argc <= dashes + 1 || std::strcmp(argv[dashes], "--"))
        die("usage: startprobe [--game] -- program [args...]");

    Probe probe;
    probe.launch(argv + dashes + 1);
    const Window prompt = probe.waitForPainted(3, 3, dialogPainted);
    std::printf("first_window_ms=%.2f", probe.msSinceLaunch());
    if (game) {
        for (const char *letter : {"A", "n", "n", "a"})
            probe.pressWhenFocused(prompt, XStringToKeysym(letter));
        probe.pressWhenFocused(prompt, XK_Return);
        probe.pressWhenFocused(probe.waitForPainted(3, 3, dialogPainted), XK_Return); // the greeting's OK
        probe.waitForPainted(-3, -3, backdropPainted);
    }

    // Memory once the start-up's loose ends are done, then the processor
    // time left alone: for the game, 10 ticks of the countdown.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::printf(" rss_kib=%ld", residentKib(g_child));
    const double before = cpuMs(g_child);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    std::printf(" idle_cpu_ms=%.3f\n", cpuMs(g_child) - before);

    kill(g_child, SIGTERM);
    waitpid(g_child, nullptr, 0);
    return 0;
}
