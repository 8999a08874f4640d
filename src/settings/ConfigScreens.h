// ConfigScreens: the configuration screen's items after "Account" that open a screen of their
// own, in menu order: a label and the screen confirming it hands over to. The menu is the
// eight specified items followed by these; a new screen is one more row here.
// Depends on: shell/Scene.h.
#pragma once

#include <vector>

#include "shell/Scene.h"

struct ConfigScreen {
    const wchar_t* label;
    Scene* (*open)();  // a new, not yet initialised screen
};

// The rows, in menu order.
const std::vector<ConfigScreen>& ConfigScreens();
