// Resource ids shared by GloamDrift.rc and the code.
#pragma once

// Icon groups; the RT_ICON images inside them carry the ids below.
#define IDI_APP 1
#define IDI_CONFIG 2
#define IDI_APP_32 30001
#define IDI_APP_16 30002
#define IDI_CONFIG_32 30003
#define IDI_CONFIG_16 30004

// The invisible pointer of the display window.
#define IDC_INVISIBLE 1

// Cat pictures are 101 + i, their masks 201 + i.
#define IDB_CAT0 101
#define IDB_CAT1 102
#define IDB_CAT0_MASK 201
#define IDB_CAT1_MASK 202
#define IDB_SPOT 300
#define IDB_PREVIEW 400
