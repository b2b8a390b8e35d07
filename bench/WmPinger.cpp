#include "WmPinger.h"

#include <X11/Xlib.h>

#include <chrono>

namespace brimwell::bench {
namespace {

using Clock = std::chrono::steady_clock;

void Note(std::atomic<long>& longestMs, Clock::time_point sentAt) {
    const long ms = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sentAt).count());
    if (ms > longestMs) {
        longestMs = ms;
    }
}

} // namespace

WmPinger::WmPinger(unsigned long window, int periodMs)
    : m_window(window), m_periodMs(periodMs), m_thread([this] { Run(); }) {}

WmPinger::~WmPinger() {
    Stop();
}

void WmPinger::Stop() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void WmPinger::Run() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return;
    }
    m_connected = true;
    const Window root = DefaultRootWindow(display);
    // The window answers on the root window, to whoever listens to its structure there (Qt
    // sends with the structure mask, others with the substructure mask).
    XSelectInput(display, root, StructureNotifyMask | SubstructureNotifyMask);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    long serial = 0;
    long outstanding = -1; // the serial of the ping waited for, or -1
    Clock::time_point sentAt{};
    while (!m_stop) {
        if (outstanding < 0) {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = m_window;
            event.xclient.message_type = protocols;
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(ping);
            event.xclient.data.l[1] = ++serial; // the "time stamp" comes back unchanged
            event.xclient.data.l[2] = static_cast<long>(m_window);
            XSendEvent(display, m_window, False, NoEventMask, &event);
            XFlush(display);
            outstanding = serial;
            sentAt = Clock::now();
        }
        while (XPending(display) > 0) {
            XEvent reply{};
            XNextEvent(display, &reply);
            if (reply.type == ClientMessage && reply.xclient.message_type == protocols &&
                static_cast<Atom>(reply.xclient.data.l[0]) == ping &&
                reply.xclient.data.l[1] == outstanding) {
                Note(m_longestMs, sentAt);
                ++m_answered;
                outstanding = -1;
            }
        }
        if (outstanding >= 0) {
            Note(m_longestMs, sentAt); // still waiting: the wait so far counts too
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(outstanding < 0 ? m_periodMs : 1));
    }
    XCloseDisplay(display);
}

} // namespace brimwell::bench
