// Opaque window handle shared by the toolkit-free core and the Qt layer.
// In the Qt layer a handle is a QWidget* (see ondrelo/QtWindow.h); the core
// only passes handles along.
#pragma once

#include <cstdint>

struct OndWindow;
using HWND = OndWindow*;

// Integer geometry in window coordinates (right and bottom exclusive).
struct tagPOINT {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
using POINT = tagPOINT;

struct tagSIZE {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};
using SIZE = tagSIZE;

struct tagRECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};
using RECT = tagRECT;

// A queued window message (hwnd, message, wParam, lParam, time, pt). Only
// the Qt layer defines it (ondrelo/QtWindow.h), because it also carries the
// Qt event; toolkit-free code passes it by pointer.
struct tagMSG;
using MSG = tagMSG;
