// The desktop's input: keys of any layout through the key table, the display keys that never
// reach the game, and game controllers driven through SDL's virtual joysticks.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "HeadlessDevice.h"
#include "media/Keyboard.h"
#include "platform/sdl/Controllers.h"
#include "platform/sdl/KeyTable.h"
#include "platform/sdl/SdlHost.h"
#include "services/KeyInput.h"

using namespace platform;

namespace {

SDL_Keysym Sym(SDL_Keycode sym, SDL_Scancode code, Uint16 mod = 0) {
    SDL_Keysym key{};
    key.sym = sym;
    key.scancode = code;
    key.mod = mod;
    return key;
}

}  // namespace

TEST(KeyTable, LettersAndDigitsFollowThePositionWhereTheSymbolIsNotLatin) {
    EXPECT_EQ(TranslateKey(Sym(SDLK_a, SDL_SCANCODE_Q)).vk, uint32_t('A'));  // the symbol wins
    EXPECT_EQ(TranslateKey(Sym(0x446, SDL_SCANCODE_W)).vk, uint32_t('W'));   // Cyrillic
    EXPECT_EQ(TranslateKey(Sym(0x3C2, SDL_SCANCODE_W)).vk, uint32_t('W'));   // Greek
    EXPECT_EQ(TranslateKey(Sym(';', SDL_SCANCODE_Q)).vk, uint32_t('Q'));     // Greek Q key
    EXPECT_EQ(TranslateKey(Sym('&', SDL_SCANCODE_1)).vk, uint32_t('1'));
    EXPECT_EQ(TranslateKey(Sym(0xE0, SDL_SCANCODE_0)).vk, uint32_t('0'));
    EXPECT_EQ(TranslateKey(Sym(SDLK_SPACE, SDL_SCANCODE_SPACE)).vk, kVkSpace);
    EXPECT_EQ(TranslateKey(Sym(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)).vk, kVkEscape);
    EXPECT_EQ(TranslateKey(Sym(0x445, SDL_SCANCODE_LEFTBRACKET)).vk, 0xDBu);  // its US place
    const TranslatedKey alt = TranslateKey(Sym(SDLK_RALT, SDL_SCANCODE_RALT));
    EXPECT_EQ(alt.vk, kVkMenu);
    EXPECT_TRUE(alt.system);
}

TEST(KeyTable, PunctuationAndKeypadFollowTheTypedCharacterThenThePlace) {
    EXPECT_EQ(TranslateKey(Sym(SDLK_MINUS, SDL_SCANCODE_MINUS)).vk, 0xBDu);
    EXPECT_EQ(TranslateKey(Sym(SDLK_EQUALS, SDL_SCANCODE_EQUALS)).vk, 0xBBu);
    EXPECT_EQ(TranslateKey(Sym(SDLK_MINUS, SDL_SCANCODE_SLASH)).vk, 0xBDu);  // German "-"
    EXPECT_EQ(TranslateKey(Sym(SDLK_SLASH, SDL_SCANCODE_SLASH)).vk, 0xBFu);
    EXPECT_EQ(TranslateKey(Sym(SDLK_COMMA, SDL_SCANCODE_M)).vk, uint32_t('M'));  // AZERTY M
    EXPECT_EQ(TranslateKey(Sym(SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS)).vk, 0x6Du);
    EXPECT_EQ(TranslateKey(Sym(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS)).vk, 0x6Bu);
    EXPECT_EQ(TranslateKey(Sym(SDLK_KP_5, SDL_SCANCODE_KP_5)).vk, 0x65u);
    EXPECT_EQ(TranslateKey(Sym(SDLK_RETURN, SDL_SCANCODE_RETURN)).vk, 0x0Du);
    EXPECT_EQ(TranslateKey(Sym(SDLK_F5, SDL_SCANCODE_F5)).vk, 0x74u);
}

namespace {

// A virtual joystick, attached on creation and detached when it goes.
class VirtualPad {
  public:
    // A pad SDL maps by itself, or an unknown device with four buttons.
    explicit VirtualPad(bool known, const char* name = "Virtual pad") {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = known ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = known ? SDL_CONTROLLER_AXIS_MAX : 0;
        desc.nbuttons = known ? SDL_CONTROLLER_BUTTON_MAX : 4;
        desc.vendor_id = 0x1234;
        desc.product_id = 0x5678;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        joystick_ = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    }
    ~VirtualPad() { Detach(); }
    bool ok() const { return joystick_ != nullptr; }
    void Button(int button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    void Axis(SDL_GameControllerAxis axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, Sint16(value));
    }
    std::string Guid() const {
        char text[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick_), text, sizeof text);
        return text;
    }
    void Detach() {
        if (!joystick_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }

  private:
    SDL_Joystick* joystick_ = nullptr;
};

// The desktop host over the offscreen window, with controllers, and a keyboard of its own.
struct SdlHostTest : ::testing::Test {
    SdlWindow window;
    std::unique_ptr<Controllers> controllers;
    std::unique_ptr<SdlHost> host;
    KeyInput input;

    void SetUp() override {
        std::string error;
        gltest::IgnoreDriverAllocations(true);  // the GL stack's own, as in the pixel tests
        const bool created = window.Create(true, error);
        gltest::IgnoreDriverAllocations(false);
        ASSERT_TRUE(created) << error;
        // The hidden test window never has the focus, without which SDL holds pads back.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        controllers = std::make_unique<Controllers>();
        ASSERT_TRUE(controllers->started()) << controllers->error();
        host = std::make_unique<SdlHost>(window, controllers.get());
        input.keyboard = std::make_unique<DirectX::Keyboard>();
        Drain();
    }
    void TearDown() override {
        host.reset();
        controllers.reset();
    }
    // Puts a key event into SDL's queue.
    static void Key(Uint32 type, SDL_Keycode sym, SDL_Scancode code, Uint16 mod = 0,
                    bool repeat = false) {
        SDL_Event e{};
        e.type = type;
        e.key.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym = Sym(sym, code, mod);
        SDL_PushEvent(&e);
    }
    // Every message waiting now, each also handed to the keyboard as the loop would.
    std::vector<Message> Drain() {
        std::vector<Message> out;
        Message m;
        while (host->PeekMessage(m)) {
            DirectX::Keyboard::HandleMessage(m.code, m.wParam, m.lParam);
            out.push_back(m);
        }
        return out;
    }
    // The key codes of the messages of one kind.
    static std::vector<uint64_t> Keys(const std::vector<Message>& messages, uint32_t code) {
        std::vector<uint64_t> keys;
        for (const Message& m : messages)
            if (m.code == code) keys.push_back(m.wParam);
        return keys;
    }
    using Codes = std::vector<uint64_t>;
};

}  // namespace

TEST_F(SdlHostTest, AltEnterAndF11SwitchFullscreenAndNeverReachTheGame) {
    std::vector<bool> changes;
    host->onFullscreenChanged = [&](bool fullscreen) { changes.push_back(fullscreen); };
    Key(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
    Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT, true);
    Key(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT);
    Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN);
    auto messages = Drain();
    EXPECT_EQ(Keys(messages, kMsgSysKeyDown), Codes{kVkMenu});
    EXPECT_EQ(Keys(messages, kMsgSysKeyUp), Codes{kVkMenu});
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_TRUE(window.Fullscreen());

    Key(SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11);
    Key(SDL_KEYUP, SDLK_F11, SDL_SCANCODE_F11);
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
    EXPECT_FALSE(window.Fullscreen());

    // The focus goes while Alt+Enter is down: Enter's release never comes, and the next plain
    // Enter must go down and up again, so nothing stays held.
    Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_RALT);
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&focus);
    Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN);
    Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN);
    messages = Drain();
    EXPECT_EQ(Keys(messages, kMsgKeyDown), Codes{0x0D});
    EXPECT_EQ(Keys(messages, kMsgKeyUp), Codes{0x0D});
    EXPECT_FALSE(input.keyboard->GetState().IsKeyDown(0x0D));
    EXPECT_EQ(changes.size(), 3u);
}

// A pad's press and a key of a Cyrillic layout, between the same two frames, are pressed in
// the same frame, through the same keyboard.
TEST_F(SdlHostTest, PadPressesAndLayoutKeysShareTheFrame) {
    VirtualPad pad(true);
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    Drain();
    ASSERT_EQ(controllers->count(), 1u);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    Key(SDL_KEYDOWN, 0x43B, SDL_SCANCODE_K);  // Cyrillic л on the K key
    Drain();
    input.Update();
    EXPECT_TRUE(input.IsKeyPressed('W'));
    EXPECT_TRUE(input.IsKeyPressed('K'));
    EXPECT_EQ(input.GetTypedChar(), L"W");
    input.Update();
    EXPECT_FALSE(input.IsKeyPressed('W'));
}

// Key and pad messages carry their events' own times on the clock of Ticks, and a wait ends
// early for a pad's press while a controller is open.
TEST_F(SdlHostTest, MessagesCarryTheirEventsTimes) {
    VirtualPad pad(true);
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    Drain();
    const int64_t before = int64_t{host->Ticks()} * 1000;
    Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D);
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    const int64_t after = int64_t{host->Ticks()} * 1000;
    host->WaitUntil(host->Ticks() + 500);  // the pad's event is taken within a few ms
    EXPECT_LT(int64_t{host->Ticks()} * 1000 - after, 100000);
    const std::vector<Message> messages = Drain();
    ASSERT_EQ(messages.size(), 2u);
    for (const Message& m : messages) {
        EXPECT_GE(m.stamp, before);
        EXPECT_LE(m.stamp, int64_t{host->Ticks()} * 1000);
    }
    EXPECT_LE(messages[0].stamp, after);
}

TEST_F(SdlHostTest, TwoPadsPlayBothLanesAndSharedKeysGoUpWithTheLastHolder) {
    VirtualPad first(true), second(true);
    ASSERT_TRUE(first.ok() && second.ok());
    Drain();
    ASSERT_EQ(controllers->count(), 2u);
    first.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    second.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    first.Button(SDL_CONTROLLER_BUTTON_Y, true);  // I again: already held by the second pad
    first.Button(SDL_CONTROLLER_BUTTON_START, true);
    first.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    first.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    first.Button(SDL_CONTROLLER_BUTTON_GUIDE, true);
    auto downs = Keys(Drain(), kMsgKeyDown);  // in the pads' own order
    std::sort(downs.begin(), downs.end());
    EXPECT_EQ(downs, (Codes{kVkSpace, 'E', 'I', 'Q', 'W'}));
    second.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_TRUE(Drain().empty());
    first.Button(SDL_CONTROLLER_BUTTON_Y, false);
    EXPECT_EQ(Keys(Drain(), kMsgKeyUp), Codes{'I'});
    // Every button of both pads, down and up: never Escape.
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        first.Button(b, true), second.Button(b, true);
        first.Button(b, false), second.Button(b, false);
    }
    for (const Message& m : Drain()) EXPECT_NE(m.wParam, kVkEscape);
}

TEST_F(SdlHostTest, StickLeansPressWithAGapBeforeLettingGo) {
    VirtualPad pad(true);
    ASSERT_TRUE(pad.ok());
    Drain();
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 20000);
    EXPECT_EQ(Keys(Drain(), kMsgKeyDown), Codes{'D'});
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 12000);
    EXPECT_TRUE(Drain().empty());
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 5000);
    EXPECT_EQ(Keys(Drain(), kMsgKeyUp), Codes{'D'});
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -30000);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_EQ(Keys(Drain(), kMsgKeyDown), Codes{'W'});
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_TRUE(Drain().empty());
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_EQ(Keys(Drain(), kMsgKeyUp), Codes{'W'});
}

TEST_F(SdlHostTest, UnpluggedPadLetsGoAndANewPadTakesTheFreeSlot) {
    auto first = std::make_unique<VirtualPad>(true);
    VirtualPad second(true);
    Drain();
    first->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EXPECT_EQ(Keys(Drain(), kMsgKeyDown), Codes{'D'});
    first.reset();
    EXPECT_EQ(Keys(Drain(), kMsgKeyUp), Codes{'D'});
    EXPECT_EQ(controllers->count(), 1u);
    VirtualPad third(true);
    Drain();
    third.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    second.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(Keys(Drain(), kMsgKeyDown), (Codes{'W', 'J'}));
}

TEST_F(SdlHostTest, MappingFileAddsADancePadAndNamesItsBadLines) {
    std::vector<std::string> notices;
    controllers->onNotice = [&](const std::string& text) { notices.push_back(text); };
    VirtualPad mat(false, "Dance mat");
    ASSERT_TRUE(mat.ok());
    Drain();
    EXPECT_EQ(controllers->count(), 0u);
    ASSERT_EQ(notices.size(), 1u);  // it says what to add
    EXPECT_NE(notices[0].find("\"Dance mat\" (" + mat.Guid() + ")"), std::string::npos)
        << notices[0];
    const auto file = std::filesystem::temp_directory_path() /
                      ("lyrandel-pads-" + std::to_string(getpid()) + ".txt");
    std::ofstream(file) << "# dance mats\r\nnot a mapping\r\n\r\n"
                        << mat.Guid() << ",Dance mat,dpleft:b0,dpdown:b1,dpup:b2,dpright:b3,\r\n";
    const auto problems = controllers->LoadMappings(file.string());
    std::filesystem::remove(file);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find(file.string() + ":2: "), std::string::npos) << problems[0];
    controllers->OpenAttached();
    EXPECT_EQ(controllers->count(), 1u);
    mat.Button(2, true);
    EXPECT_EQ(Keys(Drain(), kMsgKeyDown), Codes{'W'});
    EXPECT_TRUE(controllers->LoadMappings(file.string()).empty());  // no file, no problem
}

// Typed text arrives as one character message per code point beside the key messages, and
// files dropped on the window as one drop message per group with their paths kept in order.
TEST_F(SdlHostTest, TypedTextAndDroppedFilesBecomeMessages) {
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "a\xC3\xA9\xE6\x98\x9F");  // "aé星"
    SDL_PushEvent(&text);
    auto drop = [](Uint32 type, const char* file) {
        SDL_Event e{};
        e.type = type;
        e.drop.file = file ? SDL_strdup(file) : nullptr;
        SDL_PushEvent(&e);
    };
    drop(SDL_DROPBEGIN, nullptr);
    drop(SDL_DROPFILE, "/songs/one.osz");
    drop(SDL_DROPFILE, "/songs/Two Pack");
    drop(SDL_DROPCOMPLETE, nullptr);
    drop(SDL_DROPFILE, "/songs/alone.sm");  // a system that sends no group
    const auto messages = Drain();
    EXPECT_EQ(Keys(messages, kMsgChar), (Codes{'a', 0xE9, 0x661F}));
    EXPECT_EQ(Keys(messages, kMsgDropFiles).size(), 2u);
    EXPECT_EQ(host->TakeDroppedPaths(),
              (std::vector<std::string>{"/songs/one.osz", "/songs/Two Pack", "/songs/alone.sm"}));
    EXPECT_TRUE(host->TakeDroppedPaths().empty());
}
