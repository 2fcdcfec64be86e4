// End-to-end harness: drives the real GloamDrift.scr the way a host and a user would.
//
// Everything here is plain Win32 and runs in the test process, which shares the desktop, the
// registry and the input queue with the program under test (under Wine: the same prefix, the same
// wineserver and the same X display). Each header is one concern; this one gathers them.
#pragma once

#include "capture.h"
#include "cursor_probe.h"
#include "environment.h"
#include "fixture.h"
#include "input.h"
#include "process.h"
#include "program_names.h"
#include "registry.h"
#include "resource_file.h"
#include "test_windows.h"
#include "text.h"
#include "wait.h"
#include "window_query.h"
