#include "X11Screen.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeReply {
    void operator()(void *p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t *Connection()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The server's pictures of depth 24 and 32 must come as 32-bit words in this machine's
// byte order, which is what Format_RGB32 reads.
bool ServerSpeaksRgb32(xcb_connection_t *c, std::uint8_t depth)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    const std::uint8_t ours = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST;
    if ((depth != 24 && depth != 32) || setup->image_byte_order != ours)
        return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth)
            return it.data->bits_per_pixel == 32 && it.data->scanline_pad == 32;
    return false;
}

// One shared-memory segment for the whole process, grown when a larger picture comes.
// It is marked for removal as soon as the server has attached it, so nothing outlives
// the process, however it ends. Pictures wrapping it count as its users; while one
// lives the segment is not handed out again.
class SharedSegment
{
public:
    static SharedSegment &instance()
    {
        static SharedSegment segment;
        return segment;
    }

    // A segment of at least `bytes`, attached to the server; nullptr where the server has
    // no shared memory (a remote display) or the segment is still in use.
    SharedSegment *acquire(xcb_connection_t *c, std::size_t bytes)
    {
        if (m_unavailable || m_users > 0)
            return nullptr;
        if (m_connection != c) {
            release();
            m_connection = c;
            Reply<xcb_shm_query_version_reply_t> version(xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr));
            if (!version) {
                m_unavailable = true;
                return nullptr;
            }
        }
        if (m_size >= bytes)
            return this;
        release();
        const int id = ::shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (id < 0)
            return nullptr;
        void *address = ::shmat(id, nullptr, 0);
        if (address == reinterpret_cast<void *>(-1)) {
            ::shmctl(id, IPC_RMID, nullptr);
            return nullptr;
        }
        const xcb_shm_seg_t seg = xcb_generate_id(c);
        Reply<xcb_generic_error_t> error(xcb_request_check(c, xcb_shm_attach_checked(c, seg, std::uint32_t(id), 0)));
        ::shmctl(id, IPC_RMID, nullptr);   // gone once both sides have detached
        if (error) {
            ::shmdt(address);
            m_unavailable = true;   // a server on another machine cannot attach it
            return nullptr;
        }
        m_address = static_cast<unsigned char *>(address);
        m_size = bytes;
        m_seg = seg;
        return this;
    }

    xcb_shm_seg_t seg() const { return m_seg; }
    unsigned char *address() const { return m_address; }
    void addUser() { ++m_users; }
    static void removeUser(void *segment) { --static_cast<SharedSegment *>(segment)->m_users; }

private:
    SharedSegment() = default;
    ~SharedSegment() { release(); }

    void release()
    {
        if (!m_address)
            return;
        if (m_connection && qApp)
            xcb_shm_detach(m_connection, m_seg);
        ::shmdt(m_address);
        m_address = nullptr;
        m_size = 0;
    }

    xcb_connection_t *m_connection = nullptr;
    unsigned char *m_address = nullptr;
    std::size_t m_size = 0;
    xcb_shm_seg_t m_seg = 0;
    int m_users = 0;
    bool m_unavailable = false;
};

// Reads `rect` (in `drawable`'s coordinates) as a Format_RGB32 picture; a null image
// when the server refuses, for instance for a rectangle that is not all on the screen.
QImage ReadRectangle(xcb_connection_t *c, xcb_drawable_t drawable, const QRect &rect)
{
    const std::size_t bytes = std::size_t(rect.width()) * std::size_t(rect.height()) * 4;
    if (SharedSegment *shm = SharedSegment::instance().acquire(c, bytes)) {
        Reply<xcb_generic_error_t> error;
        xcb_generic_error_t *e = nullptr;
        Reply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
            c, xcb_shm_get_image(c, drawable, std::int16_t(rect.x()), std::int16_t(rect.y()), std::uint16_t(rect.width()),
                                 std::uint16_t(rect.height()), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, shm->seg(), 0),
            &e));
        error.reset(e);
        if (!reply)
            return {};
        if (ServerSpeaksRgb32(c, reply->depth) && reply->size == bytes) {
            shm->addUser();
            return QImage(shm->address(), rect.width(), rect.height(), rect.width() * 4, QImage::Format_RGB32,
                          SharedSegment::removeUser, shm);
        }
        return {};
    }
    xcb_generic_error_t *e = nullptr;
    auto *reply = xcb_get_image_reply(c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, std::int16_t(rect.x()),
                                                       std::int16_t(rect.y()), std::uint16_t(rect.width()),
                                                       std::uint16_t(rect.height()), ~0u),
                                      &e);
    std::free(e);
    if (!reply)
        return {};
    if (!ServerSpeaksRgb32(c, reply->depth) || std::size_t(xcb_get_image_data_length(reply)) != bytes) {
        std::free(reply);
        return {};
    }
    // The reply's own pixels, freed with the picture: no copy.
    return QImage(xcb_get_image_data(reply), rect.width(), rect.height(), rect.width() * 4, QImage::Format_RGB32,
                  std::free, reply);
}

struct Geometry {
    QRect rect;   // in root coordinates
    std::uint8_t depth = 0;
};

std::optional<Geometry> GeometryOf(xcb_connection_t *c, xcb_window_t window, xcb_window_t root)
{
    Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    Reply<xcb_translate_coordinates_reply_t> t(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr));
    if (!g || !t)
        return std::nullopt;
    return Geometry{QRect(t->dst_x, t->dst_y, g->width, g->height), g->depth};
}

xcb_atom_t Atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t Root(xcb_connection_t *c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

// The frame the window manager reports as left, right, top, bottom; none without one.
std::optional<QMargins> FrameExtents(xcb_connection_t *c, xcb_window_t window)
{
    Reply<xcb_get_property_reply_t> p(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, Atom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!p || p->format != 32 || xcb_get_property_value_length(p.get()) != 16)
        return std::nullopt;
    const auto *v = static_cast<const std::uint32_t *>(xcb_get_property_value(p.get()));
    return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
}

// The smallest rectangle holding every fully opaque pixel of a 32-bit picture: a frame
// window of depth 32 may carry a translucent shadow around what the user sees as the
// window.
QRect OpaqueBounds(const QImage &argb)
{
    int left = argb.width(), right = -1, top = argb.height(), bottom = -1;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) == 0xFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// A view of part of a picture that shares its pixels.
QImage SubImage(const QImage &image, const QRect &part)
{
    if (part == image.rect())
        return image;
    auto *keep = new QImage(image);   // keeps the pixels (and any segment's use) alive
    return QImage(keep->bits() + std::size_t(part.y()) * std::size_t(keep->bytesPerLine()) + std::size_t(part.x()) * 4,
                  part.width(), part.height(), keep->bytesPerLine(), QImage::Format_RGB32,
                  [](void *p) { delete static_cast<QImage *>(p); }, keep);
}

// The window manager lists `name` in _NET_SUPPORTED.
bool WindowManagerOffers(xcb_connection_t *c, const char *name)
{
    const xcb_atom_t wanted = Atom(c, name);
    Reply<xcb_get_property_reply_t> list(
        xcb_get_property_reply(c, xcb_get_property(c, 0, Root(c), Atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!list || list->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(list.get()));
    const int count = xcb_get_property_value_length(list.get()) / 4;
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

void SendToWindowManager(xcb_connection_t *c, xcb_window_t window, const char *type, std::array<std::uint32_t, 5> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom(c, type);
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(c, 0, Root(c), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);
}

} // namespace

bool MoveFrameOnX11(QWidget *window, QPoint topLeft)
{
    xcb_connection_t *c = Connection();
    QWindow *handle = window->windowHandle();
    if (!c || !handle || !handle->isVisible())
        return false;
    const auto client = xcb_window_t(window->winId());
    const auto extents = FrameExtents(c, client);
    if (!extents || !WindowManagerOffers(c, "_NET_MOVERESIZE_WINDOW"))
        return false;
    const QPoint want = (QPointF(topLeft) * handle->devicePixelRatio()).toPoint();
    if (const auto now = GeometryOf(c, client, Root(c)); now && now->rect.topLeft() - QPoint(extents->left(), extents->top()) == want)
        return true;
    // Static gravity: the position given is the client area's own, which window managers
    // agree on (for the frame's corner, NorthWest gravity, openbox and xfwm4 do not).
    constexpr std::uint32_t Static = 10, X = 1 << 8, Y = 1 << 9, FromApplication = 1 << 12;
    const QPoint at = want + QPoint(extents->left(), extents->top());
    SendToWindowManager(c, client, "_NET_MOVERESIZE_WINDOW",
                        {Static | X | Y | FromApplication, std::uint32_t(at.x()), std::uint32_t(at.y()), 0, 0});
    return true;
}

void PaintWhiteUntilDrawn(QWidget *window)
{
    xcb_connection_t *c = Connection();
    if (!c)
        return;
    const auto native = xcb_window_t(window->winId());
    Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(c, xcb_get_geometry(c, native), nullptr));
    if (!g || g->depth != 24)
        return;
    const std::uint32_t white = 0xFFFFFF;   // a 24-bit true-colour pixel
    xcb_change_window_attributes(c, native, XCB_CW_BACK_PIXEL, &white);
}

std::optional<QMargins> AskFrameExtents(QWidget *window)
{
    xcb_connection_t *c = Connection();
    if (!c || !WindowManagerOffers(c, "_NET_REQUEST_FRAME_EXTENTS"))
        return std::nullopt;
    const auto client = xcb_window_t(window->winId());
    SendToWindowManager(c, client, "_NET_REQUEST_FRAME_EXTENTS", {0, 0, 0, 0, 0});
    for (int wait = 0; wait < 50; ++wait) {   // window managers answer within milliseconds
        if (const auto extents = FrameExtents(c, client); extents && !extents->isNull())
            return extents;
        ::usleep(1000);
    }
    return std::nullopt;
}

std::optional<ScreenPicture> ReadOuterRectangle(QWidget *window)
{
    xcb_connection_t *c = Connection();
    if (!c || !window->windowHandle())
        return std::nullopt;
    const auto client = xcb_window_t(window->winId());

    // The window that holds the client on the screen: the root window's child above it.
    xcb_window_t top = client, root = XCB_WINDOW_NONE;
    for (;;) {
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, top), nullptr));
        if (!tree)
            return std::nullopt;
        root = tree->root;
        if (tree->parent == root || tree->parent == XCB_WINDOW_NONE)
            break;
        top = tree->parent;
    }
    const auto clientGeometry = GeometryOf(c, client, root);
    const auto topGeometry = GeometryOf(c, top, root);
    const auto screen = GeometryOf(c, root, root);
    if (!clientGeometry || !topGeometry || !screen)
        return std::nullopt;

    QRect outer = topGeometry->rect;
    bool cropToOpaque = false;
    if (top != client) {
        if (const auto extents = FrameExtents(c, client))
            outer = clientGeometry->rect.marginsAdded(*extents) & topGeometry->rect;
        else
            cropToOpaque = topGeometry->depth == 32;
    }
    if (outer.isEmpty())
        return std::nullopt;

    const QPoint topOrigin = topGeometry->rect.topLeft();
    QImage whole = ReadRectangle(c, top, outer.translated(-topOrigin));
    if (!whole.isNull()) {
        if (cropToOpaque) {
            const QRect opaque = OpaqueBounds(whole);
            if (opaque.isValid()) {
                whole = SubImage(whole, opaque);
                outer = opaque.translated(outer.topLeft());
            }
        }
        return ScreenPicture{whole, QRegion(), clientGeometry->rect.topLeft() - outer.topLeft()};
    }

    // The server reads only what is on the screen: read that part, and say what is missing.
    const QRect visible = outer & screen->rect;
    ScreenPicture picture{QImage(outer.size(), QImage::Format_RGB32), QRegion(QRect(QPoint(0, 0), outer.size())),
                          clientGeometry->rect.topLeft() - outer.topLeft()};
    if (picture.image.isNull())
        return std::nullopt;
    picture.image.fill(Qt::black);
    if (!visible.isEmpty()) {
        const QImage part = ReadRectangle(c, top, visible.translated(-topOrigin));
        if (!part.isNull()) {
            QPainter painter(&picture.image);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(visible.topLeft() - outer.topLeft(), part);
            picture.unread -= visible.translated(-outer.topLeft());
        }
    }
    return picture;
}
