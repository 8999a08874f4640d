// ConfigS: the carousel, the six value editors, the account flow with its safety rules, the
// key screen, the hit-line markers and the texts; "Config.cfg" is written when leaving through
// "Title".
// Depends on: Config, PlayerProfile, KeyScreen, TextureStore, SpriteRenderer, TextRenderer,
// KeyInput, SoundManager, and Title (the only scene it hands over to).
#include "settings/ConfigS.h"

#include <cstdio>
#include <iostream>

#include "audio/SoundManager.h"
#include "platform/files/FileSystem.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/Config.h"
#include "settings/ConfigScreens.h"
#include "settings/PlayerProfile.h"
#include "settings/Title.h"

namespace {

constexpr uint32_t kKeyBackspace = 0x08;
constexpr uint32_t kKeySpace = 0x20;
constexpr int32_t kHitLineItem = 5;
constexpr int32_t kAccountItem = 7;
// Longest name or password the entries take: keeps save-file lines and file names well
// inside the readers' 259-character limit.
constexpr size_t kMaxEntryLength = 64;

// One value editor: its Config field, step and bounds, all single precision.
struct Editor {
    float Config::*field;
    float step;
    float lower;
    float upper;
};
constexpr Editor kEditors[6] = {
    {&Config::Volume, 0.05f, 0.0f, 2.0f},     {&Config::BGMVolume, 0.05f, 0.0f, 2.0f},
    {&Config::SEVolume, 0.05f, 0.0f, 2.0f},   {&Config::HitGap, 0.01f, -2.0f, 2.0f},
    {&Config::HitLine, 1.0f, 400.0f, 600.0f}, {&Config::HiSpeed, 0.5f, 0.5f, 9.0f},
};

// True when the key went down this frame.
bool Pressed(uint32_t key) { return KeyInput::Get().IsKeyPressed(key); }

// Sets the rectangle, optionally the colour, and draws one string.
void Text(const std::wstring& text, LayoutRect rect, const Color4* color = nullptr) {
    TextRenderer& renderer = TextRenderer::Get();
    renderer.layoutRect = rect;
    if (color) renderer.brush.SetColor(*color);
    renderer.DrawString(text);
}

// A value in the "%f" form: six decimals.
std::wstring SixDecimals(float value) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%f", static_cast<double>(value));
    return buffer;
}

// Backspace removes the last character; on an empty entry it reports true (leave the step).
bool Erase(std::wstring& entry) {
    if (entry.empty()) return true;
    entry.pop_back();
    return false;
}

// Appends the letter or digit typed this frame, up to the entry's length limit.
void Type(std::wstring& entry) {
    const std::wstring typed = KeyInput::Get().GetTypedChar();
    if (entry.size() + typed.size() <= kMaxEntryLength) entry += typed;
}

}  // namespace

// Loads the hit marker and shows the menu on "Title" with Config's values.
bool ConfigS::Initialize() {
    if (!TextureStore::Get().Load(L"HitArea", L"Hit.png")) {
        std::cerr << "lyrandel: Data/Texture/Hit.png: cannot be loaded\n";
        return false;
    }
    openItem = 0;
    cursor = 0;
    signIn = true;
    accountStep = 0;
    nameInput.clear();
    passwordInput.clear();
    for (int k = 0; k < 6; ++k) workingValues[k] = GetConfig().*kEditors[k].field;
    const wchar_t* const editorLabels[6] = {L"MasterVolume", L"BGMVolume", L"SEVolume",
                                            L"HitGap",       L"HitLine",   L"HiSpeed"};
    items.clear();
    items.push_back({L"Title", nullptr});
    for (int item = 1; item <= 6; ++item)
        items.push_back({editorLabels[item - 1], [this, item] { EditValue(item); }});
    items.push_back({L"Account", [this] { RunAccount(); }});
    items.push_back({L"Keys",
                     [this] {
                         if (!keyScreen.Update()) CloseItem();
                     },
                     [this] { keyScreen.Open(); }, [this] { keyScreen.DrawSprites(); },
                     [this] { keyScreen.DrawTexts(); }});
    for (const ConfigScreen& screen : ConfigScreens()) {
        Item item{screen.label, nullptr};
        item.handOver = screen.open;
        items.push_back(std::move(item));
    }
    for (size_t item = 0; item < items.size(); ++item)
        if (!highlight.empty() && items[item].label == highlight)
            cursor = static_cast<int32_t>(item);
    return true;
}

void ConfigS::CloseItem() {
    cursor = openItem;
    openItem = 0;
}

// Runs the open item, or the menu when none is open.
Scene* ConfigS::Update() {
    if (openItem != 0) {
        items[openItem].update();
        return nullptr;
    }
    return UpdateMenu();
}

Scene* ConfigS::UpdateMenu() {
    SoundManager& sound = SoundManager::Get();
    const int32_t count = static_cast<int32_t>(items.size());
    if (Pressed('A')) {
        sound.PlaySoundEffect(L"card-turn-over1.wav", 0.2f);
        cursor = (cursor - 1 + count) % count;
    }
    if (Pressed('D')) {
        sound.PlaySoundEffect(L"card-turn-over1.wav", 0.2f);
        cursor = (cursor + 1) % count;
    }
    if (!Pressed(kKeySpace)) return nullptr;
    sound.PlaySoundEffect(L"kira2.wav", 0.1f);
    openItem = cursor;
    cursor = 0;
    if (items[openItem].handOver) {
        // A screen of its own; the menu's values stay in Config, written when leaving by "Title".
        Scene* screen = items[openItem].handOver();
        openItem = 0;
        return screen;
    }
    if (openItem != 0) {
        items[openItem].open();
        return nullptr;
    }
    // The settings stay in force in memory either way; a failed write keeps the old file and
    // must not trap the player on this screen.
    std::string error;
    if (!SaveConfig(&error))
        std::cerr << "lyrandel: Config.cfg not written: "
                  << (error.empty() ? "unknown error" : error) << '\n';
    return new Title;
}

void ConfigS::EditValue(int item) {
    const Editor& editor = kEditors[item - 1];
    float& value = workingValues[item - 1];
    if (Pressed('A')) {
        value -= editor.step;
        if (value < editor.lower) value = editor.lower;
    }
    if (Pressed('D')) {
        value += editor.step;
        if (value > editor.upper) value = editor.upper;
    }
    if (Pressed(kKeySpace)) {
        GetConfig().*editor.field = value;
        CloseItem();
    }
}

void ConfigS::RunAccount() {
    if (accountStep == 0) {
        if (Pressed('A')) {
            signIn = true;
            accountStep = 1;
        }
        if (Pressed('D')) {
            signIn = false;
            accountStep = 1;
        }
        if (Pressed(kKeySpace)) CloseItem();
    } else if (accountStep == 1) {
        EnterName();
    } else {
        EnterPassword();
    }
}

// Signing in or up saves the account signed in before (the profile operations do that); an
// unknown name at sign-in and a taken name at sign-up keep the player on the name entry.
void ConfigS::EnterName() {
    if (Pressed(kKeySpace)) {
        if (signIn) {
            if (LoadProfile(nameInput)) accountStep = 2;
        } else {
            std::string ignored;  // the save itself reports a folder it cannot make
            platform::EnsurePrivateFolder("Save", &ignored);
            if (SignUpProfile(nameInput)) accountStep = 2;
        }
    }
    if (Pressed(kKeyBackspace) && Erase(nameInput)) accountStep = 0;
    Type(nameInput);
}

// A wrong password or Backspace out of the entry signs out without writing the account's file
// (nothing of it was earned in this run); a finished sign-up is written at once, so the new
// name is taken from then on. A sign-up left before its Space makes no file.
void ConfigS::EnterPassword() {
    if (Pressed(kKeySpace)) {
        if (signIn) {
            if (ConfirmSignIn(passwordInput)) {
                openItem = 0;  // the menu shows with "Title" highlighted
            } else {
                passwordInput.clear();
                ClearProfile();
            }
        } else {
            FinishSignUp(passwordInput);
        }
        accountStep = 0;
    }
    if (Pressed(kKeyBackspace) && Erase(passwordInput)) {
        ClearProfile();
        accountStep = 0;
    }
    Type(passwordInput);
}

// The two hit-line markers, only while the HitLine editor is open.
void ConfigS::DrawSprites() {
    if (openItem != 0) items[openItem].drawSprites();
    if (openItem != kHitLineItem) return;
    const float h = workingValues[kHitLineItem - 1];
    const IntRect source{0, 0, 32, 32};
    SpriteRenderer& sprites = SpriteRenderer::Get();
    sprites.DrawSprite({400, h}, &source, 255, 0, {16, 16}, 255, 255, 255, 0, 1.0f, L"HitArea");
    sprites.DrawSprite({820, h}, &source, 255, 0, {16, 16}, 255, 255, 255, 0, 1.0f, L"HitArea");
}

// Carousel or editor labels, the value, the account texts and the Space hint.
void ConfigS::DrawTexts() {
    const Color4 white{1, 1, 1, 1};
    const Color4 grey{136 / 255.0f, 136 / 255.0f, 136 / 255.0f, 1};
    const int32_t count = static_cast<int32_t>(items.size());
    if (openItem == 0) {
        Text(items[cursor].label, {540, 300, 740, 900}, &white);
        Text(items[(cursor - 1 + count) % count].label, {200, 300, 400, 900}, &grey);
        Text(items[(cursor + 1) % count].label, {880, 300, 1080, 900});
    } else if (openItem <= 6) {
        Text(items[openItem].label, {540, 300, 740, 900}, &white);
        Text(L"A(-) <<", {250, 300, 450, 900}, &white);
        Text(L">> (+)D", {830, 300, 1030, 900});
    }
    for (int k = 1; k <= 6; ++k)
        if (cursor == k || openItem == k)
            Text(SixDecimals(workingValues[k - 1]), {540, 150, 740, 750});
    if (openItem == kAccountItem) {
        if (accountStep == 0)
            Text(L"Sign In : A         Sign Up : D", {540, 150, 740, 750}, &white);
        else if (accountStep == 1)
            Text(L"Name\n" + nameInput, {540, 150, 740, 750}, &white);
        else
            Text(L"Password\n" + std::wstring(passwordInput.size(), L'*'), {540, 150, 740, 750},
                 &white);
    }
    if (openItem != 0) items[openItem].drawTexts();
    Text(L"\"Space\" Key is Enter", {540, 400, 740, 1000}, &white);
}
