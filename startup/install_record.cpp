#include "startup/install_record.h"

namespace gloam {

std::wstring FolderOf(std::wstring_view file_path) {
    const size_t slash = file_path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return std::wstring(file_path);
    // "C:\GloamDrift.scr" keeps the root's separator; "\\server\share\x.scr" and others drop it.
    if (slash == 2 && file_path.size() > 1 && file_path[1] == L':') {
        return std::wstring(file_path.substr(0, 3));
    }
    if (slash == 0) return std::wstring(file_path.substr(0, 1));
    return std::wstring(file_path.substr(0, slash));
}

}  // namespace gloam
