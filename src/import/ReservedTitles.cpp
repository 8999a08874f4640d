// ReservedTitles: one table of the screens' texture keys and file stems.
#include "import/ReservedTitles.h"

#include "import/SongTitle.h"

namespace importer {

namespace {

// Keys and file stems of the textures the title, selection, configuration and game screens
// load by fixed name.
constexpr const wchar_t* kGameTextureNames[] = {
    L"star_sky",  L"lumo-btleffect112f",
    L"waku",      L"SelectMusic",
    L"HitArea",   L"Hit",
    L"skk",       L"kk",
    L"Up_Red",    L"Right_Red",
    L"Down_Red",  L"Left_Red",
    L"Up_Blue",   L"Right_Blue",
    L"Down_Blue", L"Left_Blue",
};

}  // namespace

bool IsReservedTitle(const std::wstring& title) {
    for (const wchar_t* name : kGameTextureNames)
        if (SameTitle(title, name)) return true;
    return false;
}

}  // namespace importer
