// Opaque window handle shared by the toolkit-free core and the Qt layer.
// In the Qt layer a handle is a QWidget* (see ondrelo/QtWindow.h); the core
// only passes handles along.
#pragma once

struct OndWindow;
using HWND = OndWindow*;
