// ConfigScreens: the screens reached from the end of the configuration menu.
#include "settings/ConfigScreens.h"

#include "settings/Calibration.h"

const std::vector<ConfigScreen>& ConfigScreens() {
    static const std::vector<ConfigScreen> screens = {
        {L"Calibration", []() -> Scene* { return new Calibration; }},
    };
    return screens;
}
