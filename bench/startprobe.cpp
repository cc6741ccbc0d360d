// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts a program under X and times what a person sees of it: when its first
// window is on screen and painted, and (for the game) when the game window
// shows its first question after the greeting's OK. Then it reads the
// program's memory and the processor time it uses while left alone. It prints
// one line of key=value figures; startup.sh runs it many times.
//
//   startprobe [--game] [--idle-seconds N] [--settle-ms N] -- program [args...]
//
// Windows are found by their map events and the program's _NET_WM_PID; a
// window counts as painted when a pixel of it shows what the program paints
// there (see the predicates below), read back from the X server every
// millisecond. Keys are pressed through the XTest extension, as a keyboard
// would press them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The program under test, ended with the probe whatever happens.
pid_t g_child = 0;

[[noreturn]] void die(const std::string &why)
{
    std::fprintf(stderr, "startprobe: %s\n", why.c_str());
    if (g_child > 0) {
        kill(g_child, SIGKILL);
        waitpid(g_child, nullptr, 0);
    }
    std::exit(2);
}

// Windows come and go while we look at them; a request on one that is gone
// is no error of ours.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

struct Rgb {
    int r, g, b;
};

// What the dialogs paint first: the window colour of Qt's default palette
// (Fusion style), #efefef, in their top-left corner.
bool dialogPainted(Rgb p)
{
    return p.r == 0xef && p.g == 0xef && p.b == 0xef;
}

// The game's backdrop at the bottom of the window: the last band is blue 255,
// with red and green both shade × 10 (0 to 140). Before the first question
// the same place shows the window's plain grey.
bool backdropPainted(Rgb p)
{
    return p.r == p.g && p.r % 10 == 0 && p.r <= 140 && p.b >= 250;
}

class Probe
{
public:
    Probe()
        : m_display(XOpenDisplay(nullptr))
    {
        if (!m_display)
            die("cannot open the X display");
        XSetErrorHandler(ignoreErrors);
        m_root = DefaultRootWindow(m_display);
        m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        m_nameAtom = XInternAtom(m_display, "_NET_WM_NAME", False);
        m_utf8Atom = XInternAtom(m_display, "UTF8_STRING", False);
        int event, error, major, minor;
        if (!XTestQueryExtension(m_display, &event, &error, &major, &minor))
            die("the X server has no XTest extension");
        // Every new top-level window is created as a child of the root,
        // before any window manager takes it in.
        XSelectInput(m_display, m_root, SubstructureNotifyMask);
        XSync(m_display, False);
    }
    ~Probe() { XCloseDisplay(m_display); }

    void launch(char **argv)
    {
        m_launched = Clock::now();
        m_pid = fork();
        if (m_pid < 0)
            die("fork failed");
        if (m_pid == 0) {
            execvp(argv[0], argv);
            std::perror("exec");
            _exit(127);
        }
        g_child = m_pid;
    }
    pid_t pid() const { return m_pid; }
    double msSinceLaunch() const { return msSince(m_launched); }

    // Waits for a window of the program, not one seen before, that is mapped
    // and whose pixel at `where` (from the bottom-right corner when negative)
    // satisfies `painted`. Returns the window, or 0 after the timeout.
    Window waitForPaintedWindow(int x, int y, const std::function<bool(Rgb)> &painted, const std::string &titlePart,
                                double timeoutMs)
    {
        const Clock::time_point start = Clock::now();
        while (msSince(start) < timeoutMs) {
            drainEvents();
            for (Window window : m_mapped) {
                if (m_used.count(window) || !candidate(window, titlePart))
                    continue;
                Rgb pixel;
                const bool seen = pixelAt(window, x, y, pixel);
                if (m_trace && seen)
                    std::fprintf(stderr, "%8.2f ms window 0x%lx pixel %02x%02x%02x\n", msSince(m_launched), window,
                                 pixel.r, pixel.g, pixel.b);
                if (seen && painted(pixel)) {
                    m_used.insert(window);
                    return window;
                }
            }
            waitForEvents(1);
            int status;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid)
                die("the program ended before its window was painted");
        }
        return 0;
    }

    // Keys go where the X server's input focus is: wait until the window
    // manager has given it to the window, as a person would see the caret.
    bool waitForFocus(Window window, double timeoutMs)
    {
        const Clock::time_point start = Clock::now();
        while (msSince(start) < timeoutMs) {
            Window focus;
            int revert;
            XGetInputFocus(m_display, &focus, &revert);
            if (focus == window)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    void type(const std::string &text)
    {
        for (char c : text)
            key(XStringToKeysym(std::string(1, c).c_str()));
    }

    void key(KeySym symbol)
    {
        const KeyCode code = XKeysymToKeycode(m_display, symbol);
        if (!code)
            die("no key for a character to type");
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XFlush(m_display);
    }

private:
    // A window of the program with the title asked for. Both are set before a
    // window is mapped and do not change, so each window is asked once.
    bool candidate(Window window, const std::string &titlePart)
    {
        const auto key = std::make_pair(window, titlePart);
        auto known = m_candidates.find(key);
        if (known == m_candidates.end())
            known = m_candidates.emplace(key, ownWindow(window) && titleContains(window, titlePart)).first;
        return known->second;
    }

    void drainEvents()
    {
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == m_root) {
                const Window window = event.xcreatewindow.window;
                // Its own map events, wherever a window manager puts it.
                XSelectInput(m_display, window, StructureNotifyMask);
                XWindowAttributes attributes;
                if (XGetWindowAttributes(m_display, window, &attributes) && attributes.map_state == IsViewable)
                    m_mapped.insert(window);
            } else if (event.type == MapNotify) {
                m_mapped.insert(event.xmap.window);
            } else if (event.type == UnmapNotify) {
                m_mapped.erase(event.xunmap.window);
            } else if (event.type == DestroyNotify) {
                m_mapped.erase(event.xdestroywindow.window);
                m_sizes.erase(event.xdestroywindow.window);
            } else if (event.type == ConfigureNotify) {
                m_sizes[event.xconfigure.window] = {event.xconfigure.width, event.xconfigure.height};
            }
        }
    }

    void waitForEvents(int ms)
    {
        if (XPending(m_display))
            return;
        const int fd = ConnectionNumber(m_display);
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval timeout{0, ms * 1000};
        select(fd + 1, &fds, nullptr, nullptr, &timeout);
    }

    bool ownWindow(Window window)
    {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char *data = nullptr;
        bool own = false;
        if (XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                               &data)
                == Success
            && data && count == 1)
            own = pid_t(*reinterpret_cast<unsigned long *>(data)) == m_pid;
        if (data)
            XFree(data);
        return own;
    }

    bool titleContains(Window window, const std::string &part)
    {
        if (part.empty())
            return true;
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char *data = nullptr;
        std::string title;
        if (XGetWindowProperty(m_display, window, m_nameAtom, 0, 1024, False, m_utf8Atom, &type, &format, &count,
                               &after, &data)
                == Success
            && data)
            title.assign(reinterpret_cast<char *>(data), count);
        if (data)
            XFree(data);
        return title.find(part) != std::string::npos;
    }

    // The pixel read back from the screen; the window's size is kept up to
    // date from its configure events, so one request per look suffices.
    bool pixelAt(Window window, int x, int y, Rgb &pixel)
    {
        auto size = m_sizes.find(window);
        if (size == m_sizes.end()) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(m_display, window, &attributes))
                return false;
            size = m_sizes.emplace(window, std::make_pair(attributes.width, attributes.height)).first;
        }
        const auto [width, height] = size->second;
        if (x < 0)
            x += width;
        if (y < 0)
            y += height;
        if (x < 0 || y < 0 || x >= width || y >= height)
            return false;
        XImage *image = XGetImage(m_display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return false;
        const unsigned long value = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        pixel = {int((value >> 16) & 0xff), int((value >> 8) & 0xff), int(value & 0xff)};
        return true;
    }

    Display *m_display;
    Window m_root;
    Atom m_pidAtom, m_nameAtom, m_utf8Atom;
    pid_t m_pid = 0;
    Clock::time_point m_launched;
    // STARTPROBE_TRACE=1 prints every pixel looked at, to check what the
    // predicates see before and after the program paints.
    bool m_trace = std::getenv("STARTPROBE_TRACE") != nullptr;
    std::set<Window> m_mapped;
    std::set<Window> m_used;
    std::map<std::pair<Window, std::string>, bool> m_candidates;
    std::map<Window, std::pair<int, int>> m_sizes;
};

// Kibibytes of a field of /proc/<pid>/smaps_rollup.
long smapsField(pid_t pid, const std::string &field)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind(field + ":", 0) == 0)
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    }
    return -1;
}

// The names of the program's threads, joined by '+': shows what the program
// has started, such as an audio thread, by the time it is measured.
std::string threadNames(pid_t pid)
{
    std::vector<std::string> names;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto &task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        std::replace(name.begin(), name.end(), ' ', '_');
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string &name : names)
        joined += (joined.empty() ? "" : "+") + name;
    return joined;
}

// Processor time of the whole process, all its threads, those that ended
// included, to the nanosecond.
double cpuMs(pid_t pid)
{
    clockid_t clock;
    if (clock_getcpuclockid(pid, &clock) != 0)
        die("cannot read the program's processor clock");
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The same from /proc/<pid>/stat (utime + stime), in the kernel's ticks:
// coarse, kept as a cross-check.
double statCpuMs(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name may hold blanks; the fields follow its closing bracket.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::vector<std::string> values;
    std::string value;
    while (fields >> value)
        values.push_back(value);
    if (values.size() < 13)
        return -1;
    const double ticks = std::stod(values[11]) + std::stod(values[12]); // fields 14 and 15
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char **argv)
{
    bool game = false;
    int idleSeconds = 10;
    int settleMs = 1000;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--game"))
            game = true;
        else if (!std::strcmp(argv[i], "--idle-seconds") && i + 1 < argc)
            idleSeconds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--settle-ms") && i + 1 < argc)
            settleMs = std::atoi(argv[++i]);
        else
            die(std::string("unknown option ") + argv[i]);
    }
    if (i + 1 >= argc)
        die("usage: startprobe [--game] [--idle-seconds N] [--settle-ms N] -- program [args...]");

    Probe probe;
    probe.launch(argv + i + 1);

    // The first window: the name prompt.
    const Window prompt = probe.waitForPaintedWindow(3, 3, dialogPainted, "", 20000);
    if (!prompt)
        die("no first window");
    std::printf("first_window_ms=%.2f", probe.msSinceLaunch());

    if (game) {
        if (!probe.waitForFocus(prompt, 5000))
            die("the name prompt never had the keyboard focus");
        probe.type("Anna");
        probe.key(XK_Return);
        // The greeting, then its OK by the Return key (its default button).
        const Window greeting = probe.waitForPaintedWindow(3, 3, dialogPainted, "", 20000);
        if (!greeting)
            die("no greeting");
        if (!probe.waitForFocus(greeting, 5000))
            die("the greeting never had the keyboard focus");
        const Clock::time_point ok = Clock::now();
        probe.key(XK_Return);
        if (!probe.waitForPaintedWindow(-3, -3, backdropPainted, "gomirlo per arrivare", 20000))
            die("no game window with its first question");
        std::printf(" ok_to_game_ms=%.2f", msSince(ok));
    }

    // Memory once the window is up and the start-up's loose ends are done.
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    std::printf(" rss_kib=%ld pss_kib=%ld threads=%s", smapsField(probe.pid(), "Rss"), smapsField(probe.pid(), "Pss"),
                threadNames(probe.pid()).c_str());

    // Processor time while the program is left alone: for the game, the
    // countdown running.
    const double cpuBefore = cpuMs(probe.pid());
    const double statBefore = statCpuMs(probe.pid());
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double cpuAfter = cpuMs(probe.pid());
    const double statAfter = statCpuMs(probe.pid());
    std::printf(" idle_cpu_ms=%.3f idle_cpu_stat_ms=%.0f idle_seconds=%d\n", cpuAfter - cpuBefore,
                statAfter - statBefore, idleSeconds);
    std::fflush(stdout);

    kill(probe.pid(), SIGTERM);
    int status;
    waitpid(probe.pid(), &status, 0);
    return 0;
}
