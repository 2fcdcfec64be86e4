// The desktop the calling thread runs on.
#pragma once

#include <optional>
#include <string>

namespace gloam {

// Its name ("Default", "Screen-saver", ...); nullopt when the system does not give it.
std::optional<std::wstring> ThreadDesktopName();

}  // namespace gloam
