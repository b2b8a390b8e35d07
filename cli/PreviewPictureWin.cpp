#include "cli/PreviewPicture.h"
#include "draw/WinImaging.h"
#include "draw/WinPreviewPainter.h"
#include "platform/windows/WinText.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <cstring>

namespace brimwell::cli {
namespace {

// The preview drawn as the window's control draws it at 96 DPI, on a white ground as the
// Linux picture has it: top-down rows of 24-bit BGR pixels, each row padded to 4 bytes.
bool DrawPreview(const CLogoFmtHandler& logo, std::vector<std::uint8_t>* rows, int* stride) {
    const int width = PREVIEW_WIDTH;
    const int height = PREVIEW_HEIGHT;
    void* bits = nullptr;
    HBITMAP canvas = MakeTopDownDib(width, height, 24, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!canvas || !dc) {
        if (canvas) {
            DeleteObject(canvas);
        }
        if (dc) {
            DeleteDC(dc);
        }
        return false;
    }
    HGDIOBJ old = SelectObject(dc, canvas);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const PreviewGdiFonts fonts(96);
    HBITMAP logoDib = MakeLogoDib(logo);
    PaintPreviewSteps(dc, LabelPreviewSteps(width, height, logo, MeasureLabelTexts(dc, fonts)),
                      logoDib, fonts, RGB(0, 0, 0));
    GdiFlush();
    *stride = (width * 3 + 3) & ~3;
    const auto* first = static_cast<const std::uint8_t*>(bits);
    rows->assign(first, first + static_cast<std::size_t>(*stride) * height);
    if (logoDib) {
        DeleteObject(logoDib);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(canvas);
    return true;
}

// The rows encoded as PNG by the Windows Imaging Component, into memory.
HRESULT EncodePng(std::vector<std::uint8_t>& rows, int stride, std::vector<std::uint8_t>* png) {
    Com<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
    Com<IStream> stream;
    if (SUCCEEDED(hr)) {
        hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Out());
    }
    Com<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    }
    Com<IWICBitmapFrameEncode> frame;
    if (SUCCEEDED(hr)) {
        hr = encoder->CreateNewFrame(frame.Out(), nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Initialize(nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetSize(PREVIEW_WIDTH, PREVIEW_HEIGHT);
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr)) {
        hr = frame->SetPixelFormat(&format);
    }
    if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    }
    if (SUCCEEDED(hr)) {
        hr = frame->WritePixels(PREVIEW_HEIGHT, static_cast<UINT>(stride),
                                static_cast<UINT>(rows.size()), rows.data());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Commit();
    }
    STATSTG stat{};
    if (SUCCEEDED(hr)) {
        hr = stream->Stat(&stat, STATFLAG_NONAME);
    }
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(hr)) {
        hr = GetHGlobalFromStream(stream.Get(), &memory);
    }
    if (SUCCEEDED(hr)) {
        const auto size = static_cast<std::size_t>(stat.cbSize.QuadPart);
        const void* data = GlobalLock(memory);
        if (!data || size > GlobalSize(memory)) {
            hr = E_UNEXPECTED;
        } else {
            png->assign(static_cast<const std::uint8_t*>(data),
                        static_cast<const std::uint8_t*>(data) + size);
        }
        if (data) {
            GlobalUnlock(memory);
        }
    }
    return hr;
}

} // namespace

std::vector<std::uint8_t> LabelPreviewPng(const CLogoFmtHandler& logo, std::string* reason) {
    std::vector<std::uint8_t> rows;
    int stride = 0;
    if (!DrawPreview(logo, &rows, &stride)) {
        *reason = Win32ErrorText(GetLastError());
        return {};
    }
    // COM for this thread, as long as the encoding takes; a thread that has it already keeps
    // its own.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<std::uint8_t> png;
    const HRESULT hr = EncodePng(rows, stride, &png);
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    if (FAILED(hr)) {
        *reason = Win32ErrorText(static_cast<unsigned long>(hr));
        return {};
    }
    return png;
}

} // namespace brimwell::cli
