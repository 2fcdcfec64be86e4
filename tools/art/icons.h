// The 16-colour icons: the application's (a white disc on a black square) and the settings
// dialog's (a yellow crescent and stars on a night-blue tile with rounded corners).
#pragma once

#include "image.h"

namespace art {

IconImage appIcon(int size);
IconImage configIcon(int size);

}  // namespace art
