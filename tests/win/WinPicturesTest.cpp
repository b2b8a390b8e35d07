// The pages' pictures as the program keeps them, PNG files in RCDATA resources: each decodes
// (WIC, under Wine here) to a DIB section of its size, once; a missing or damaged one gives no
// picture at all rather than a part of one.
#include "hosts/win32/WinPictures.h"
#include "draw/WinImaging.h"
#include "platform/windows/WinModule.h"
#include "resources/DialogTemplates.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace brimwell::test {
namespace {

// The bytes of RCDATA resource `id` of this program; empty when it has none.
std::vector<std::uint8_t> ResourceBytes(int id) {
    HRSRC found = FindResourceW(ThisModule(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
    HGLOBAL held = found ? LoadResource(ThisModule(), found) : nullptr;
    const auto* data = static_cast<const std::uint8_t*>(held ? LockResource(held) : nullptr);
    return data ? std::vector<std::uint8_t>(data, data + SizeofResource(ThisModule(), found))
                : std::vector<std::uint8_t>{};
}

TEST(WinPictures, EachPictureResourceDecodesOnceToADibOfItsSize) {
    struct Case {
        int id;
        int width;
        int height;
    };
    const Case cases[] = {
        {IDB_WELCOME, 611, 543}, {IDB_WELCOME + kDoubleSizePicture, 1222, 1086},
        {IDB_BANNER, 580, 200},  {IDB_BANNER + kDoubleSizePicture, 1160, 400},
        {IDB_WELCOME + 1, 0, 0}, // no such picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        // The size read from the header, before anything is decoded, is the decoded one.
        const SIZE stored = PictureSize(c.id);
        EXPECT_EQ(stored.cx, c.width);
        EXPECT_EQ(stored.cy, c.height);
        HBITMAP picture = LoadPictureDib(c.id);
        if (c.width == 0) {
            EXPECT_EQ(picture, nullptr);
            continue;
        }
        ASSERT_NE(picture, nullptr);
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(picture, sizeof dib, &dib), static_cast<int>(sizeof dib));
        EXPECT_EQ(dib.dsBm.bmWidth, c.width);
        EXPECT_EQ(dib.dsBm.bmHeight, c.height);
        EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
        // Drawn on a white ground: the top-left pixel is white, not the black of an empty DIB.
        const auto* first = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first[0] & first[1] & first[2], 0xFF);
        EXPECT_EQ(LoadPictureDib(c.id), picture); // kept, not decoded again
    }
}

// COM for this thread while it lives, as the window's thread has it.
class ScopedCom {
public:
    ScopedCom() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ScopedCom() {
        if (SUCCEEDED(m_hr)) {
            CoUninitialize();
        }
    }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;

private:
    HRESULT m_hr;
};

TEST(WinPictures, ADamagedPngGivesNoPicture) {
    const ScopedCom com;
    const std::vector<std::uint8_t> png = ResourceBytes(IDB_BANNER);
    ASSERT_GT(png.size(), 200u);
    HBITMAP whole = DecodePngDib(png.data(), png.size());
    ASSERT_NE(whole, nullptr); // the bytes as they are decode
    DeleteObject(whole);

    // The signature (8 bytes) and the header chunk (25) come first, then the first IDAT chunk,
    // whose data start 8 bytes into it.
    constexpr std::size_t kHeaderWidth = 8 + 8;
    constexpr std::size_t kPixelData = 8 + 25 + 8;
    struct Case {
        const char* what;
        std::size_t keep;       // bytes kept from the start
        std::size_t flip = ~0u; // the byte whose lowest bit is flipped, if any
    };
    const Case cases[] = {
        {"nothing", 0},
        {"the signature alone", 8},
        {"cut in the pixel data", png.size() / 2},
        {"a bit flipped in the pixel data", png.size(), kPixelData + 40},
        {"a bit flipped in the width", png.size(), kHeaderWidth + 3},
        {"a bit flipped in the signature", png.size(), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> damaged(png.begin(), png.begin() + c.keep);
        if (c.flip < damaged.size()) {
            damaged[c.flip] ^= 1;
        }
        HBITMAP picture = DecodePngDib(damaged.data(), damaged.size());
        EXPECT_EQ(picture, nullptr);
        if (picture) {
            DeleteObject(picture);
        }
    }
}

} // namespace
} // namespace brimwell::test
