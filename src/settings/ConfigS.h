// ConfigS: the configuration screen: a carousel of items ("Title", six setting editors,
// "Account", then "Keys" and the items that open screens of their own, settings/ConfigScreens.h),
// value editors stepping in single precision within their bounds, the hit-line preview, the
// sign-in and sign-up flow with name and password entries, and the key screen. The items are a
// table, so an item is added by one entry.
// Depends on: shell/Scene.h, settings/Config.h, settings/PlayerProfile.h, settings/KeyScreen.h,
// settings/ConfigScreens.h, services, audio/SoundManager.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/KeyScreen.h"
#include "shell/Scene.h"

class ConfigS : public Scene {
  public:
    ConfigS() = default;
    // The item routines capture this scene; a copy would run them on the original.
    ConfigS(const ConfigS&) = delete;
    ConfigS& operator=(const ConfigS&) = delete;

    bool Initialize() override;
    Scene* Update() override;

    // Set before Initialize: the label the menu opens on (a screen coming back highlights
    // its own item); empty for "Title", as the menu always opens.
    std::wstring highlight;
    void DrawSprites() override;
    void DrawTexts() override;

  private:
    // The menu: A and D move the cursor, Space opens the item or leaves through "Title".
    Scene* UpdateMenu();
    // The editor of item (1 to 6): A and D step within the bounds, Space stores the value.
    void EditValue(int item);
    // The account flow (item 7): choose, name entry, password entry.
    void RunAccount();
    // Step 1: the name entry and its confirmation.
    void EnterName();
    // Step 2: the password entry and its confirmation.
    void EnterPassword();

    // Back to the menu, the cursor on the item that was open.
    void CloseItem();

    // 0 while the menu shows, else the open item.
    int32_t openItem = 0;
    // The highlighted menu item.
    int32_t cursor = 0;
    // The values being edited, in Config order.
    float workingValues[6] = {};
    // 0 choose sign-in or sign-up, 1 name entry, 2 password entry.
    int32_t accountStep = 0;
    bool signIn = true;
    std::wstring nameInput;
    std::wstring passwordInput;
    KeyScreen keyScreen;
    // One menu item: its label, what opening it and each update while it is open do, and what
    // it draws over the shared texts then. "Title", the first, has no routines.
    struct Item {
        std::wstring label;
        std::function<void()> update;
        std::function<void()> open = [] {};
        std::function<void()> drawSprites = [] {};
        std::function<void()> drawTexts = [] {};
        // For an item that is a screen of its own: the new screen confirming it hands over to.
        Scene* (*handOver)() = nullptr;
    };
    // The items in menu order.
    std::vector<Item> items;
};
