/* Qt's tablet support includes <wintab.h>, which Debian's Qt source leaves out (its licence);
   Wine's own wintab.h and pktdef.h (libwine-dev, LGPL) stand in for it, with the macros of
   Wine's other headers they use. scripts/windows copies all three into the Qt source tree. */
#ifndef ZFU_WINTAB_SHIM_H
#define ZFU_WINTAB_SHIM_H
#include <windows.h>
#ifndef DECL_WINELIB_TYPE_AW
#  ifdef UNICODE
#    define DECL_WINELIB_TYPE_AW(type) typedef type##W type;
#  else
#    define DECL_WINELIB_TYPE_AW(type) typedef type##A type;
#  endif
#endif
#ifndef WINELIB_NAME_AW
#  ifdef UNICODE
#    define WINELIB_NAME_AW(func) func##W
#  else
#    define WINELIB_NAME_AW(func) func##A
#  endif
#endif
#ifndef API
#  define API WINAPI
#endif
#include "wine-wintab.h"
#endif
