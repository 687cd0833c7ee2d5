// All operating-system entries of the host, in namespace win32.
#pragma once

#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/handles.h"
#include "host/win32/icons.h"
#include "host/win32/memory.h"
#include "host/win32/messages.h"
#include "host/win32/modules.h"
#include "host/win32/runtime.h"
#include "host/win32/shapes.h"
#include "host/win32/stock_pictures.h"
#include "host/win32/system.h"
#include "host/win32/text.h"
#include "host/win32/types.h"
#include "host/win32/windows.h"
