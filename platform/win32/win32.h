// The public face of the Win32 layer: its types, the kernel calls and the user32 calls.
#pragma once

#include "platform/win32/win32types.h"
#include "platform/win32/win32_kernel.h"
#if __has_include("platform/win32/win32_user.h")
#include "platform/win32/win32_user.h"
#endif
