// Configuration scene: the carousel, the editors' single-precision stepping and bounds, the
// hit-line markers, the name and password entries, and the account flow's safety rules.
#include <filesystem>
#include <typeinfo>

#include "SceneHarness.h"
#include "settings/ConfigS.h"
#include "settings/Title.h"

namespace {

using scenetest::kBackspace;
using scenetest::kSpace;
using Kind = SoundCall::Kind;

struct ConfigSTest : scenetest::SceneHarness {
    ConfigS scene;

    void SetUp() override {
        SceneHarness::SetUp();
        WriteTexture("Hit.png");
    }
    // Draws a frame and returns the text drawn in the value and account rectangle.
    std::wstring Upper() {
        Draw(scene);
        for (const TextCall& t : texts)
            if (t.rect.top == 150) return t.text;
        return L"(nothing)";
    }
    // Draws a frame and returns the text in the middle of the carousel.
    std::wstring Middle() {
        Draw(scene);
        return texts.at(0).text;
    }
    // From the menu on "Title", opens the item at that many D steps.
    void Open(int item) {
        for (int i = 0; i < item; ++i) Step(scene, {'D'});
        ASSERT_EQ(Step(scene, {kSpace}), nullptr);
    }
    // The menu index of "Account", the last of the eight specified items.
    static constexpr int kAccount = 7;
    // Types letters and digits, one a frame.
    void Type(const std::string& keys) {
        for (char c : keys) Step(scene, {static_cast<uint32_t>(c)});
    }
};

TEST_F(ConfigSTest, CarouselWrapsBothWaysWithTheCardSound) {
    ASSERT_TRUE(scene.Initialize());
    EXPECT_EQ(Middle(), L"Title");
    EXPECT_EQ(texts[1].text, L"Calibration") << "the last item, after Account";
    EXPECT_EQ(texts[2].text, L"MasterVolume");
    EXPECT_FLOAT_EQ(texts[2].color.r, 136 / 255.0f);
    Step(scene, {'A'});
    EXPECT_EQ(CountSounds(Kind::Effect, L"card-turn-over1.wav"), 1);
    EXPECT_EQ(Middle(), L"Calibration");
    Step(scene, {'D'});
    EXPECT_EQ(Middle(), L"Title");
    Step(scene, {'A', 'D'});
    EXPECT_EQ(CountSounds(Kind::Effect, L"card-turn-over1.wav"), 2);
    EXPECT_EQ(Middle(), L"Title");
    Step(scene, {'D'});
    EXPECT_EQ(Upper(), L"1.000000") << "the highlighted setting's value shows";
    for (int i = 1; i < kAccount; ++i) Step(scene, {'D'});
    EXPECT_EQ(Middle(), L"Account") << "the eight specified items keep their places";
    Step(scene, {'D'});
    EXPECT_EQ(Middle(), L"Keys");
    Step(scene, {'D'});
    EXPECT_EQ(Middle(), L"Calibration");
    Step(scene, {'D'});
    EXPECT_EQ(Middle(), L"Title");
}

TEST_F(ConfigSTest, VolumeStepsInSinglePrecisionAndClampsAtItsBounds) {
    ASSERT_TRUE(scene.Initialize());
    Open(1);
    EXPECT_EQ(Middle(), L"MasterVolume");
    for (int i = 0; i < 20; ++i) Step(scene, {'D'});
    EXPECT_EQ(Upper(), L"1.999999");
    Step(scene, {'D'});
    EXPECT_EQ(Upper(), L"2.000000");
    Step(scene, {'D'});
    EXPECT_EQ(Upper(), L"2.000000");
    for (int i = 0; i < 40; ++i) Step(scene, {'A'});
    EXPECT_EQ(Upper(), L"0.000001") << "forty single-precision steps stop short of 0";
    Step(scene, {'A'});
    EXPECT_EQ(Upper(), L"0.000000") << "the step below 0 is clamped";
    Step(scene, {'D'});
    EXPECT_EQ(GetConfig().Volume, 1.0f) << "nothing is stored before Space";
    Step(scene, {kSpace});
    EXPECT_EQ(GetConfig().Volume, 0.05f);
    EXPECT_EQ(Middle(), L"MasterVolume") << "back in the menu on the edited item";
    EXPECT_EQ(Upper(), L"0.050000");
}

TEST_F(ConfigSTest, OutOfRangeValueIsShownUntilStepped) {
    GetConfig().HiSpeed = 20.0f;  // as a hand-edited file may hold
    for (uint32_t key : {'D', 'A'}) {
        ConfigS editor;
        ASSERT_TRUE(editor.Initialize());
        for (int i = 0; i < 6; ++i) Step(editor, {'D'});
        Draw(editor);
        ASSERT_EQ(texts.at(0).text, L"HiSpeed");
        EXPECT_EQ(texts.at(3).text, L"20.000000");
        Step(editor, {kSpace});
        Draw(editor);
        EXPECT_EQ(texts.at(3).text, L"20.000000");
        Step(editor, {key});
        Draw(editor);
        EXPECT_EQ(texts.at(3).text, key == 'D' ? L"9.000000" : L"19.500000");
    }
}

TEST_F(ConfigSTest, HitLineMarkersFollowTheEditedValue) {
    ASSERT_TRUE(scene.Initialize());
    Draw(scene);
    EXPECT_TRUE(sprites.empty());
    Open(5);
    Step(scene, {'A'});
    Draw(scene);
    ASSERT_EQ(sprites.size(), 2u);
    EXPECT_EQ(sprites[0].position.x, 400);
    EXPECT_EQ(sprites[1].position.x, 820);
    EXPECT_EQ(sprites[0].position.y, 499.0f);
    EXPECT_EQ(sprites[0].origin.x, 16);
    EXPECT_EQ(sprites[0].source.right, 32);
    EXPECT_EQ(sprites[0].name, L"HitArea");
    for (int i = 0; i < 150; ++i) Step(scene, {'A'});
    Draw(scene);
    EXPECT_EQ(sprites[1].position.y, 400.0f);
}

TEST_F(ConfigSTest, NameEntryTypesErasesAndBacksOut) {
    ASSERT_TRUE(scene.Initialize());
    Open(kAccount);
    EXPECT_EQ(Upper(), L"Sign In : A         Sign Up : D");
    Step(scene, {'A'});
    EXPECT_EQ(Upper(), L"Name\n") << "the choosing A is not typed";
    Type("AB1");
    EXPECT_EQ(Upper(), L"Name\nAB1");
    Step(scene, {kBackspace});
    EXPECT_EQ(Upper(), L"Name\nAB");
    Step(scene, {kBackspace});
    Step(scene, {kBackspace});
    EXPECT_EQ(Upper(), L"Name\n");
    Step(scene, {kBackspace});
    EXPECT_EQ(Upper(), L"Sign In : A         Sign Up : D");
    Step(scene, {kSpace});
    EXPECT_EQ(Middle(), L"Account");
}

TEST_F(ConfigSTest, UnknownNameAtSignInStaysOnTheNameEntry) {
    ASSERT_TRUE(scene.Initialize());
    Open(kAccount);
    Step(scene, {'A'});
    Type("NOBODY");
    Step(scene, {kSpace});
    EXPECT_EQ(Upper(), L"Name\nNOBODY");
    EXPECT_TRUE(GetPlayerProfile().name.empty());
}

TEST_F(ConfigSTest, SignUpThenSignInInTheSameScene) {
    ASSERT_TRUE(scene.Initialize());
    Open(kAccount);
    Step(scene, {'D'});  // sign-up
    Type("AB");
    Step(scene, {kSpace});
    EXPECT_TRUE(std::filesystem::is_directory("Save"));
    EXPECT_EQ(GetPlayerProfile().name, L"AB");
    EXPECT_EQ(Upper(), L"Password\n");
    Type("12");
    EXPECT_EQ(Upper(), L"Password\n**");
    Step(scene, {kSpace});
    EXPECT_EQ(GetPlayerProfile().password, L"12");
    EXPECT_TRUE(std::filesystem::exists("Save/AB.svd")) << "a finished sign-up is written";
    EXPECT_EQ(Upper(), L"Sign In : A         Sign Up : D");

    Step(scene, {'A'});  // sign-in: the earlier text is still there
    EXPECT_EQ(Upper(), L"Name\nAB");
    Step(scene, {kSpace});
    EXPECT_EQ(Upper(), L"Password\n**");
    Step(scene, {kSpace});
    EXPECT_EQ(Middle(), L"Title") << "a signed-in player is back in the menu on Title";
    EXPECT_EQ(GetPlayerProfile().name, L"AB");
}

TEST_F(ConfigSTest, SignUpUnderATakenNameIsRefused) {
    WriteFile("Save/ZZ.svd", "secret\nSong[1][2][3]\n");
    ASSERT_TRUE(scene.Initialize());
    Open(kAccount);
    Step(scene, {'D'});
    Type("ZZ");
    Step(scene, {kSpace});
    EXPECT_EQ(Upper(), L"Name\nZZ");
    EXPECT_TRUE(GetPlayerProfile().name.empty());
}

TEST_F(ConfigSTest, WrongPasswordSignsOutWithoutLosingTheEarlierAccount) {
    WriteFile("Save/OLD.svd", "1\n");
    WriteFile("Save/NEW.svd", "2\n");
    ASSERT_TRUE(LoadProfile(L"OLD"));
    ASSERT_TRUE(ConfirmSignIn(L"1"));
    RecordHighScore(L"Song", 1, 900);
    ASSERT_TRUE(scene.Initialize());
    Open(kAccount);
    Step(scene, {'A'});
    Type("NEW");
    Step(scene, {kSpace});
    Type("9");
    Step(scene, {kSpace});
    EXPECT_TRUE(GetPlayerProfile().name.empty());
    EXPECT_EQ(Upper(), L"Sign In : A         Sign Up : D");
    ASSERT_TRUE(LoadProfile(L"OLD"));
    EXPECT_EQ(GetHighScore(L"Song", 1), 900);
}

TEST_F(ConfigSTest, BackspaceOutOfThePasswordSignsOut) {
    WriteFile("Save/ME.svd", "7\n");
    ASSERT_TRUE(scene.Initialize());
    Open(kAccount);
    Step(scene, {'A'});
    Type("ME");
    Step(scene, {kSpace});
    Type("7");
    Step(scene, {kBackspace});
    EXPECT_EQ(Upper(), L"Password\n");
    EXPECT_EQ(GetPlayerProfile().name, L"ME");
    Step(scene, {kBackspace});
    EXPECT_TRUE(GetPlayerProfile().name.empty());
    EXPECT_EQ(Upper(), L"Sign In : A         Sign Up : D");
}

// A save file as another editor or an older program may leave it: CR LF line ends, leading
// zeros, signs and text after the records.
constexpr const char* kHandWritten = "0042\r\nSong[007][+0][-05] best run\r\nOther[1][2][3]\r\n";

TEST_F(ConfigSTest, AFailedSignInLeavesTheSaveFileByteIdentical) {
    WriteFile("Save/ME.svd", kHandWritten);
    ASSERT_TRUE(scene.Initialize());
    Open(kAccount);
    Step(scene, {'A'});
    Type("ME");
    Step(scene, {kSpace});
    Type("41");
    Step(scene, {kSpace});  // wrong password
    EXPECT_TRUE(GetPlayerProfile().name.empty());
    EXPECT_EQ(ReadFile("Save/ME.svd"), kHandWritten);

    Step(scene, {'A'});
    Step(scene, {kSpace});      // the name is still typed
    Step(scene, {kBackspace});  // out of the empty password entry
    EXPECT_EQ(Upper(), L"Sign In : A         Sign Up : D");
    EXPECT_EQ(ReadFile("Save/ME.svd"), kHandWritten);

    Step(scene, {'A'});
    Step(scene, {kSpace});
    Type("0042");
    EXPECT_TRUE(SaveProfile()) << "quitting while the password is typed";
    EXPECT_EQ(ReadFile("Save/ME.svd"), kHandWritten);

    Step(scene, {kSpace});  // the right password: the account is the player's from now on
    EXPECT_EQ(Middle(), L"Title");
    EXPECT_TRUE(SaveProfile());
    EXPECT_EQ(ReadFile("Save/ME.svd"), "0042\nSong[7][0][-5]\nOther[1][2][3]\n");
}

TEST_F(ConfigSTest, ASignUpNotFinishedByItsSpaceLeavesNoFileAndTheNameFree) {
    RecordHighScore(L"Guest", 0, 5);
    ASSERT_TRUE(scene.Initialize());
    Open(kAccount);
    Step(scene, {'D'});
    Type("NEW");
    Step(scene, {kSpace});
    Type("12");
    EXPECT_EQ(Upper(), L"Password\n**");
    EXPECT_TRUE(SaveProfile()) << "quitting while the password is typed";
    EXPECT_FALSE(std::filesystem::exists("Save/NEW.svd"));
    EXPECT_FALSE(ProfileExists(L"NEW"));

    Step(scene, {kBackspace});
    Step(scene, {kBackspace});
    Step(scene, {kBackspace});  // out of the empty password entry
    EXPECT_TRUE(GetPlayerProfile().name.empty());
    EXPECT_FALSE(std::filesystem::exists("Save/NEW.svd"));
    EXPECT_EQ(GetHighScore(L"Guest", 0), 5) << "the guest keeps the scores";

    Step(scene, {'D'});  // the same name can be taken at once
    Step(scene, {kSpace});
    Type("9");
    Step(scene, {kSpace});
    EXPECT_EQ(ReadFile("Save/NEW.svd"), "9\nGuest[5][0][0]\n");
}

TEST_F(ConfigSTest, LeavingThroughTitleWritesTheConfiguration) {
    ASSERT_TRUE(scene.Initialize());
    Open(6);
    Step(scene, {'A'});
    Step(scene, {kSpace});
    while (Middle() != L"Title") Step(scene, {'D'});  // on past Account and the screens
    sounds.clear();
    auto next = Step(scene, {kSpace});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(typeid(*next), typeid(Title));
    EXPECT_EQ(CountSounds(Kind::Effect, L"kira2.wav"), 1);
    std::ifstream file("Config.cfg");
    std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find("HiSpeed[1.500000]"), std::string::npos) << all;
}

TEST_F(ConfigSTest, AFailedWriteStillLeaves) {
    std::filesystem::create_directory("Config.cfg");  // cannot be replaced by a file
    ASSERT_TRUE(scene.Initialize());
    auto next = Step(scene, {kSpace});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(typeid(*next), typeid(Title));
}

}  // namespace
