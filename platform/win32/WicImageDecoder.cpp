#include "platform/win32/WicImageDecoder.h"

#include "platform/win32/Win32Api.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

namespace dotvane::platform {
namespace {

using Microsoft::WRL::ComPtr;

// What went wrong, with the system's own error code.
std::string Failure(const char* what, HRESULT result)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    return std::string(what) + " (error " + code + ")";
}

}  // namespace

DecodedImage WicImageDecoder::Decode(std::span<const uint8_t> bytes, int32_t maxSide)
{
    if (bytes.empty()) return {{}, "the file is empty"};
    if (bytes.size() > MAXDWORD) return {{}, "the file is too large"};
    // The first version of the factory: the one that every Windows with WIC
    // has. It is made for each picture, so that no COM object outlives the
    // caller's COM.
    ComPtr<IWICImagingFactory> factory;
    HRESULT result =
        ::CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    if (result == CO_E_NOTINITIALIZED) return {{}, "COM is not initialised on this thread"};
    if (FAILED(result)) return {{}, Failure("the Windows Imaging Component is missing", result)};

    ComPtr<IWICStream> stream;
    result = factory->CreateStream(&stream);
    if (SUCCEEDED(result))
        result = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    if (FAILED(result)) return {{}, Failure("the bytes cannot be read", result)};
    ComPtr<IWICBitmapDecoder> decoder;
    result = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder);
    if (result == WINCODEC_ERR_COMPONENTNOTFOUND) return {{}, "not a picture format that Windows reads"};
    if (FAILED(result)) return {{}, Failure("the picture cannot be read", result)};

    // The size the file tells is checked before anything is decoded, so a
    // header that claims a huge picture costs nothing.
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    result = decoder->GetFrame(0, &frame);
    if (SUCCEEDED(result)) result = frame->GetSize(&width, &height);
    if (FAILED(result)) return {{}, Failure("the picture cannot be read", result)};
    if (width == 0 || height == 0) return {{}, "the picture has no pixels"};
    if (int64_t{width} > maxSide || int64_t{height} > maxSide) return {{}, "the picture is too large"};

    // 32 bits a pixel, blue in the low byte: a picture's own layout, written
    // straight into it.
    ComPtr<IWICFormatConverter> converter;
    result = factory->CreateFormatConverter(&converter);
    if (SUCCEEDED(result))
        result = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                       0.0, WICBitmapPaletteTypeCustom);
    RgbImage picture(static_cast<int32_t>(width), static_cast<int32_t>(height));
    const UINT stride = static_cast<UINT>(picture.StrideBytes());
    if (SUCCEEDED(result))
        result = converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(picture.Row(0)));
    if (FAILED(result)) return {{}, Failure("the picture cannot be decoded", result)};
    // The fourth byte is left undefined by the format; the picture keeps it 0.
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (RgbPixel* pixel = picture.Row(y); pixel != picture.Row(y) + picture.Width(); ++pixel)
            *pixel &= 0x00FFFFFF;
    return {std::move(picture), {}};
}

}  // namespace dotvane::platform
