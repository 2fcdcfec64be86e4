#include "preview/frm_preview_win.h"

namespace gloam {

void ShowPreview(std::wstring_view) {}

}  // namespace gloam
