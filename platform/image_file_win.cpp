#include "platform/image_file_win.h"

#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

#include "platform/handles_win.h"
#include "platform/image_header.h"
#include "platform/resample.h"

namespace gloam {
namespace {

// Rows are decoded in bands of about this many bytes.
constexpr size_t kBandBytes = 4u << 20;

// The whole file, or nullopt when it is not a plain file on a disk, is larger than
// kMaxImageFileBytes or cannot be read.
std::optional<std::vector<std::byte>> ReadWholeFile(const std::wstring& path) {
    HANDLE opened = ::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const unique_handle file(opened);
    // Not a device, a pipe or a console, which could keep a read waiting.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        static_cast<uint64_t>(size.QuadPart) > kMaxImageFileBytes) {
        return std::nullopt;
    }
    std::vector<std::byte> bytes(static_cast<size_t>(size.QuadPart));
    size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), bytes.data() + filled,
                        static_cast<DWORD>(bytes.size() - filled), &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) break;  // the file became shorter: the decoder sees a truncated picture
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

bool Decode(const std::vector<std::byte>& file, PixelView surface, const ImagePlacer& placer) {
    com_ptr<IWICImagingFactory> factory;
    com_ptr<IWICStream> stream;
    com_ptr<IWICBitmapDecoder> decoder;
    com_ptr<IWICBitmapFrameDecode> frame;
    com_ptr<IWICFormatConverter> converter;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.put_void())) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(
            reinterpret_cast<BYTE*>(const_cast<std::byte*>(file.data())),
            static_cast<DWORD>(file.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put()))) {
        return false;
    }
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || !ImageSizeAllowed(width, height)) return false;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return false;
    }
    const std::optional<Rect> place =
        placer(static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (!place) return false;

    ScaledDraw draw(surface, *place, static_cast<int32_t>(width), static_cast<int32_t>(height));
    const Rect area = draw.SourceArea();
    if (area.Empty()) return true;  // none of it lands on the surface
    const auto columns = static_cast<size_t>(area.Width());
    const auto band_rows = static_cast<int32_t>(
        std::clamp<size_t>(kBandBytes / (columns * 4), 1, static_cast<size_t>(area.Height())));
    std::vector<uint32_t> band(columns * static_cast<size_t>(band_rows));
    for (int32_t top = area.top; top < area.bottom; top += band_rows) {
        const int32_t rows = std::min(band_rows, area.bottom - top);
        const WICRect rect{area.left, top, area.Width(), rows};
        if (FAILED(converter->CopyPixels(&rect, static_cast<UINT>(columns * 4),
                                         static_cast<UINT>(columns * 4 * static_cast<size_t>(rows)),
                                         reinterpret_cast<BYTE*>(band.data())))) {
            return false;
        }
        for (int32_t row = 0; row < rows; ++row) {
            draw.PushRow(band.data() + static_cast<size_t>(row) * columns);
        }
    }
    return draw.Done();
}

}  // namespace

bool DrawImageFile(const std::wstring& path, PixelView surface, const ImagePlacer& placer) {
    try {
        const std::optional<std::vector<std::byte>> file = ReadWholeFile(path);
        if (!file || !WorthDecoding(ReadImageHeader(*file))) return false;
        return Decode(*file, surface, placer);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace gloam
