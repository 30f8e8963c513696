#include "download/windowmessages.h"

#include <cstdio>

namespace zob {

std::string windowMessageName(std::uint16_t id) {
    switch (id) {
    case WM_loadedMonthlyAll:
        return "WM_loadedMonthlyAll";
    case WM_forceQuitCompleted:
        return "WM_forceQuitCompleted";
    case WM_freeThreadMngrNg:
        return "WM_freeThreadMngrNg";
    case WM_loadedThumb:
        return "WM_loadedThumb";
    case WM_loadedLarge:
        return "WM_loadedLarge";
    case WM_loadedLogo:
        return "WM_loadedLogo";
    case WM_loadedThumbAll:
        return "WM_loadedThumbAll";
    case WM_loadedLargeAll:
        return "WM_loadedLargeAll";
    case WM_updateSpec:
        return "WM_updateSpec";
    case WM_updateThreadCount:
        return "WM_updateThreadCount";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(id));
        return text;
    }
    }
}

} // namespace zob
