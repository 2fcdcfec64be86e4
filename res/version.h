// The program's version, read by both the resource script and the code.
#pragma once

#define GLOAM_VERSION_MAJOR 1
#define GLOAM_VERSION_MINOR 1
#define GLOAM_VERSION_REVISION 0
#define GLOAM_VERSION_BUILD 0

// Shown in the version resource's FileVersion and ProductVersion strings.
#define GLOAM_VERSION_STRING "1.01"
