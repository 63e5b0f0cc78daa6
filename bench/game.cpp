// The real game, started as it is (no flags, no changes) and watched from outside:
// - start-up: time from starting the program until its window exists, and until the window's
//   middle shows something other than black, that is the first drawn title frame (until the title
//   screen is created the window shows only the clear colour);
// - mission memory: the game is taken into a single-player mission with xdotool key presses
//   (title, menu's Play), fire is held and missiles launched, and the process's resident memory
//   is read from /proc while it flies.
//
//   bench_game [--runs N] [--mission-seconds N]   (needs an X display and xdotool)
#include "support.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <climits>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <fstream>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const window_title = "Kirrow - SFML";

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// Without a window manager the game's window is a child of the root window.
Window FindGameWindow(Display* display) {
    Window root_return, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root_return, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (std::strcmp(name, window_title) == 0) found = children[i];
            XFree(name);
        }
    }
    if (children) XFree(children);
    return found;
}

// Whether a patch in the middle of the window holds any pixel that is not black. Read from the
// root window, which works wherever the game's window sits on the screen.
bool ShowsPicture(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), attributes.width / 2 - 100,
                          attributes.height / 2 - 100, &x, &y, &child);
    const int screen_width = DisplayWidth(display, DefaultScreen(display));
    const int screen_height = DisplayHeight(display, DefaultScreen(display));
    x = std::max(0, std::min(x, screen_width - 200));
    y = std::max(0, std::min(y, screen_height - 200));
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 200, 200, AllPlanes, ZPixmap);
    if (!image) return false;
    bool picture = false;
    for (int row = 0; row < 200 && !picture; row += 2)
        for (int column = 0; column < 200 && !picture; column += 2)
            picture = (XGetPixel(image, column, row) & 0xffffff) != 0;
    XDestroyImage(image);
    return picture;
}

std::string BinDirectory() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string directory(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    return directory.substr(0, directory.rfind('/'));
}

struct Start_t {
    double window_ms = -1.0;
    double frame_ms = -1.0;
};

// Starts the game from its directory with its output discarded.
pid_t StartGame(const std::string& bin) {
    const pid_t game = fork();
    if (game == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        if (chdir(bin.c_str()) == 0) execl("./kirrow", "kirrow", static_cast<char*>(nullptr));
        _exit(127);
    }
    return game;
}

void StopGame(Display* display, pid_t game) {
    kill(game, SIGTERM);
    waitpid(game, nullptr, 0);
    // Let the window disappear before the next start.
    while (FindGameWindow(display)) usleep(2000);
}

Start_t WaitForTitle(Display* display, double zero, Window& window) {
    Start_t start;
    window = 0;
    while (bench::NowMs() - zero < 10000.0) {
        if (!window && (window = FindGameWindow(display))) start.window_ms = bench::NowMs() - zero;
        if (window && ShowsPicture(display, window)) {
            start.frame_ms = bench::NowMs() - zero;
            break;
        }
        usleep(500);
    }
    return start;
}

// Resident memory of another process, in MB ("VmRSS" or "VmHWM").
double ProcessMb(pid_t process, const char* field) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::atof(line.c_str() + length + 1) / 1024.0;
    return -1.0;
}

bool Xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = static_cast<int>(bench::Option(argc, argv, "--runs", 5));
    const double mission_seconds = bench::Option(argc, argv, "--mission-seconds", 30);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::puts("no X display");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    const std::string bin = BinDirectory();

    std::vector<double> windows, frames;
    for (int run = 0; run < runs; ++run) {
        const double zero = bench::NowMs();
        const pid_t game = StartGame(bin);
        Window window = 0;
        const Start_t start = WaitForTitle(display, zero, window);
        StopGame(display, game);
        std::printf("start %d: window after %.0f ms, first title frame after %.0f ms\n", run + 1, start.window_ms,
                    start.frame_ms);
        if (start.frame_ms < 0) {
            std::puts("the title screen did not appear within 10 s");
            return 1;
        }
        windows.push_back(start.window_ms);
        frames.push_back(start.frame_ms);
        usleep(200000);
    }
    std::printf("median: window %.0f ms, first title frame %.0f ms\n", bench::Median(windows), bench::Median(frames));
    bench::Info("start to the window's appearance", bench::Median(windows) / 1000.0, "s");
    bench::Figure("start to the first drawn title frame", bench::Median(frames) / 1000.0, "s", true, 0.5);

    // Into a mission: any key on the title, Return on the menu's first entry (Play).
    const pid_t game = StartGame(bin);
    Window window = 0;
    if (WaitForTitle(display, bench::NowMs(), window).frame_ms < 0) return 1;
    const std::string id = std::to_string(window);
    Xdotool("windowmove --sync " + id + " 0 0");
    Xdotool("windowfocus --sync " + id);
    usleep(300000);
    Xdotool("key space");
    usleep(500000);
    const double before_mission = ProcessMb(game, "VmRSS");
    Xdotool("key Return");
    sleep(3);  // the loading screen's task, then the mission
    Xdotool("keydown v");
    double highest = 0.0;
    const double flight_start = bench::NowMs();
    for (int tick = 0; bench::NowMs() - flight_start < mission_seconds * 1000.0; ++tick) {
        if (tick % 20 == 0) Xdotool("key b");
        highest = std::max(highest, ProcessMb(game, "VmRSS"));
        usleep(100000);
    }
    Xdotool("keyup v");
    const double peak = ProcessMb(game, "VmHWM");
    StopGame(display, game);
    XCloseDisplay(display);
    std::printf("game memory: %.1f MB on the menu, up to %.1f MB resident during %.0f s of mission, peak %.1f MB\n",
                before_mission, highest, mission_seconds, peak);
    bench::Figure("mission memory of the game (peak resident)", peak, "MB", true, 150.0);
    return 0;
}
