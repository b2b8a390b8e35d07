#include "hosts/win32/WinPictures.h"

#include "platform/windows/WinModule.h"

#include <map>

namespace brimwell {

HBITMAP LoadPictureDib(int id) {
    static std::map<int, HBITMAP> loaded;
    const auto it = loaded.find(id);
    if (it != loaded.end()) {
        return it->second;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(ThisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    loaded[id] = bitmap;
    return bitmap;
}

void ShowPicture(HWND hwnd, int imageId) {
    if (HBITMAP picture = LoadPictureDib(imageId)) {
        SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace brimwell
