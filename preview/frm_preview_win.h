// frmPreview: the still picture shown inside the host's preview pane.
#pragma once

#include <string_view>

namespace gloam {

// The "/P" start: loads frmPreview, makes it a child of the host window named in the command
// text and shows it.
void ShowPreview(std::wstring_view command_text);

}  // namespace gloam
