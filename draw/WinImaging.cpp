#include "draw/WinImaging.h"

#include "draw/WinPreviewPainter.h"

#include <objbase.h>
#include <wincodec.h>

namespace brimwell {
namespace {

// The pictures are a few hundred pixels on a side, twice that for dense screens; the limit
// keeps a damaged header from asking for gigabytes.
constexpr UINT kMaxSide = 4096;

// The first frame of the PNG at `data`, converted to 24-bit BGR rows, into *converter; its
// size into *width and *height.
HRESULT OpenPng(IWICImagingFactory* factory, const void* data, std::size_t bytes,
                Com<IWICFormatConverter>* converter, UINT* width, UINT* height) {
    Com<IWICStream> stream;
    HRESULT hr = factory->CreateStream(stream.Out());
    if (SUCCEEDED(hr)) {
        // WIC only reads from it; the interface takes the bytes as writable all the same.
        hr = stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)),
                                          static_cast<DWORD>(bytes));
    }
    Com<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand);
    }
    Com<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(hr)) {
        hr = decoder->GetFrame(0, frame.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->GetSize(width, height);
    }
    if (SUCCEEDED(hr) && (*width == 0 || *height == 0 || *width > kMaxSide || *height > kMaxSide)) {
        hr = WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    }
    if (SUCCEEDED(hr)) {
        hr = factory->CreateFormatConverter(converter->Out());
    }
    if (SUCCEEDED(hr)) {
        hr = (*converter)
                 ->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                              nullptr, 0.0, WICBitmapPaletteTypeCustom);
    }
    return hr;
}

} // namespace

HBITMAP DecodePngDib(const void* data, std::size_t bytes) {
    if (!data || bytes == 0 || bytes > MAXDWORD) {
        return nullptr;
    }
    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())))) {
        return nullptr;
    }
    Com<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(OpenPng(factory.Get(), data, bytes, &converter, &width, &height))) {
        return nullptr;
    }
    void* bits = nullptr;
    HBITMAP dib = MakeTopDownDib(static_cast<int>(width), static_cast<int>(height), 24, &bits);
    if (!dib) {
        return nullptr;
    }
    // Rows of a DIB section are padded to 4 bytes.
    const UINT stride = (width * 3 + 3) & ~3u;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
        DeleteObject(dib);
        return nullptr;
    }
    return dib;
}

} // namespace brimwell
