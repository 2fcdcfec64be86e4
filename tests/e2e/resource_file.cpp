#include "resource_file.h"

#include <span>

#include "platform/dib.h"
#include "platform/error.h"

namespace e2e {
namespace {

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

}  // namespace

ResourceFile::ResourceFile(const std::wstring& path)
    : module_(LoadLibraryExW(path.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
    if (!module_) module_.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::optional<std::vector<std::uint8_t>> ResourceFile::Find(const wchar_t* type,
                                                            const wchar_t* name,
                                                            WORD language) const {
    if (!module_) return std::nullopt;
    HRSRC res = language == 0 ? FindResourceW(module_.get(), name, type)
                              : FindResourceExW(module_.get(), type, name, language);
    if (!res) return std::nullopt;
    HGLOBAL loaded = LoadResource(module_.get(), res);
    const DWORD size = SizeofResource(module_.get(), res);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (!data) return std::nullopt;
    return std::vector<std::uint8_t>(data, data + size);
}

std::vector<WORD> ResourceFile::Languages(const wchar_t* type, const wchar_t* name) const {
    std::vector<WORD> out;
    if (!module_) return out;
    EnumResourceLanguagesW(module_.get(), type, name, &AddLanguage,
                           reinterpret_cast<LONG_PTR>(&out));
    return out;
}

std::optional<Surface> DecodeBitmap(const std::vector<std::uint8_t>& bytes) {
    try {
        return gloam::DecodeDib(std::as_bytes(std::span(bytes)), "bitmap resource");
    } catch (const gloam::RuntimeError&) {
        return std::nullopt;
    }
}

std::optional<Surface> LoadBitmapResource(int id) {
    const ResourceFile scr;
    const auto bytes = scr.Find(RT_BITMAP, MAKEINTRESOURCEW(id));
    if (!bytes) return std::nullopt;
    return DecodeBitmap(*bytes);
}

}  // namespace e2e
