#pragma once
// PNG pictures through the Windows Imaging Component (WIC): the window decodes its pictures,
// kept in the program as PNG resources, with it; the companion encodes its preview picture.
// The calling thread must take part in COM (CoInitializeEx) while it uses these.
#include <windows.h>

#include <cstddef>

namespace brimwell {

// A COM interface pointer released when it goes out of scope.
template <class T>
class Com {
public:
    Com() = default;
    ~Com() {
        if (m_p) {
            m_p->Release();
        }
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T** Out() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

// The PNG file's bytes at `data` decoded into a new 24-bit top-down DIB section of the
// picture's size (alpha, if any, dropped, not blended). nullptr when they are not a whole,
// sound PNG file, when the picture is larger than 4096 pixels on a side, or when WIC or GDI
// refuse; nothing is shown of a picture decoded only in part.
HBITMAP DecodePngDib(const void* data, std::size_t bytes);

} // namespace brimwell
