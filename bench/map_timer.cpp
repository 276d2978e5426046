// Times a program's start: from its launch to the moment the X server maps its window
// named NAME. Prints the milliseconds, then leaves the program running (its process id
// on the second line) or, with --kill, ends it.
//   map_timer [--kill] NAME -- PROGRAM [ARGS...]
// Listens to the root window for new top-level windows and to each of them for its
// mapping, so the figure carries no polling delay.
#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double Now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::string NameOf(xcb_connection_t *c, xcb_window_t w)
{
    static const char Utf8Name[] = "_NET_WM_NAME";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof Utf8Name - 1, Utf8Name), nullptr);
    std::string name;
    for (xcb_atom_t property : {atom ? atom->atom : xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_WM_NAME)}) {
        xcb_get_property_reply_t *p = xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
        if (p && xcb_get_property_value_length(p) > 0)
            name.assign(static_cast<const char *>(xcb_get_property_value(p)), std::size_t(xcb_get_property_value_length(p)));
        std::free(p);
        if (!name.empty())
            break;
    }
    std::free(atom);
    return name;
}

} // namespace

int main(int argc, char **argv)
{
    int arg = 1;
    bool kill = false;
    if (arg < argc && std::strcmp(argv[arg], "--kill") == 0) {
        kill = true;
        ++arg;
    }
    if (argc - arg < 3 || std::strcmp(argv[arg + 1], "--") != 0) {
        std::fprintf(stderr, "usage: %s [--kill] NAME -- PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string wanted = argv[arg];
    char **program = argv + arg + 2;

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "map_timer: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_flush(c);

    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(program[0], program);
        _exit(127);
    }

    // A window that was mapped (or renamed) while unnamed is checked again on its name.
    const std::uint32_t windowMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    double mapped = -1;
    while (mapped < 0) {
        xcb_generic_event_t *e = xcb_wait_for_event(c);
        if (!e)
            break;
        const double at = Now();
        const auto type = e->response_type & 0x7F;
        xcb_window_t check = XCB_WINDOW_NONE;
        if (type == XCB_CREATE_NOTIFY) {
            const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(e);
            xcb_change_window_attributes(c, created->window, XCB_CW_EVENT_MASK, &windowMask);
            // Mapped before it could be watched: its state says so.
            xcb_get_window_attributes_reply_t *a =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, created->window), nullptr);
            if (a && a->map_state == XCB_MAP_STATE_VIEWABLE)
                check = created->window;
            std::free(a);
        } else if (type == XCB_MAP_NOTIFY) {
            check = reinterpret_cast<xcb_map_notify_event_t *>(e)->window;
        } else if (type == XCB_PROPERTY_NOTIFY) {
            const auto *changed = reinterpret_cast<xcb_property_notify_event_t *>(e);
            xcb_get_window_attributes_reply_t *a =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, changed->window), nullptr);
            if (a && a->map_state == XCB_MAP_STATE_VIEWABLE)
                check = changed->window;
            std::free(a);
        }
        std::free(e);
        if (check != XCB_WINDOW_NONE && NameOf(c, check) == wanted)
            mapped = at;
    }
    std::printf("%.1f\n%d\n", mapped - start, int(pid));
    std::fflush(stdout);
    if (kill) {
        ::kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    xcb_disconnect(c);
    return mapped < 0 ? 1 : 0;
}
