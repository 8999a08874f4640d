// Title scene: the animation clock, the music request and the two hand-overs.
#include <typeinfo>

#include "SceneHarness.h"
#include "selection/SelectMusic.h"
#include "settings/ConfigS.h"
#include "settings/Title.h"

namespace {

using scenetest::kSpace;
using Kind = SoundCall::Kind;

struct TitleTest : scenetest::SceneHarness {
    Title title;
    void SetUp() override {
        SceneHarness::SetUp();
        WriteTexture("lumo-btleffect112f.png");
        ASSERT_TRUE(title.Initialize());
    }
    // The source rectangle of the one sprite drawn now.
    IntRect Cell() {
        Draw(title);
        EXPECT_EQ(sprites.size(), 1u);
        return sprites.empty() ? IntRect{} : sprites[0].source;
    }
};

TEST_F(TitleTest, CellAdvancesEveryFourthUpdateAndWrapsAfterFifteen) {
    for (int k = 0; k <= 16; ++k) {
        const int cell = k % 15;
        const IntRect r = Cell();
        EXPECT_EQ(r.left, (cell % 5) * 120) << "after " << 4 * k << " updates";
        EXPECT_EQ(r.top, (cell / 5) * 120) << "after " << 4 * k << " updates";
        EXPECT_EQ(r.right - r.left, 120);
        EXPECT_EQ(r.bottom - r.top, 120);
        Idle(title, 3);
        EXPECT_EQ(Cell().left, r.left) << "the cell changed before its fourth update";
        Idle(title, 1);
    }
    const SpriteCall& s = sprites[0];
    EXPECT_EQ(s.name, L"star_sky");
    EXPECT_EQ(s.position.x, 640);
    EXPECT_EQ(s.position.y, 250);
    EXPECT_EQ(s.origin.x, 60);
    EXPECT_EQ(s.origin.y, 0);
    EXPECT_EQ(s.alpha, 255);
    EXPECT_EQ(s.scale, 1.0f);
}

TEST_F(TitleTest, EveryUpdateRequestsTheTitleMusic) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Step(title), nullptr);
        ASSERT_EQ(sounds.size(), 1u);
        EXPECT_EQ(sounds[0].kind, Kind::BackgroundMusic);
        EXPECT_EQ(sounds[0].name, L"Zaroz.uro");
        EXPECT_FLOAT_EQ(sounds[0].scale, 0.8f);
    }
}

TEST_F(TitleTest, SpaceWinsOverEAndSilencesTheMusic) {
    Idle(title, 5);
    auto next = Step(title, {kSpace, 'E'});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(typeid(*next), typeid(SelectMusic));
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[1].kind, Kind::BackgroundMusic);
    EXPECT_EQ(sounds[1].name, L"");
    EXPECT_EQ(sounds[1].scale, 0.0f);
    // The leaving update does not advance the animation.
    EXPECT_EQ(Cell().left, 120);
}

TEST_F(TitleTest, EGoesToTheConfigurationAndAHeldKeyDoesNot) {
    DirectX::Keyboard::HandleMessage(platform::kMsgKeyDown, 'E', 0);
    KeyInput::Get().Update();
    auto first = std::unique_ptr<Scene>(title.Update());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(typeid(*first), typeid(ConfigS));
    // Still held in the next frame: no new press, no hand-over.
    KeyInput::Get().Update();
    EXPECT_EQ(title.Update(), nullptr);
}

TEST_F(TitleTest, AFreshTitleStartsAtCellZero) {
    Idle(title, 4 * 7);
    EXPECT_NE(Cell().left + Cell().top, 0);
    Title again;
    ASSERT_TRUE(again.Initialize());
    Draw(again);
    ASSERT_EQ(sprites.size(), 1u);
    EXPECT_EQ(sprites[0].source.left, 0);
    EXPECT_EQ(sprites[0].source.top, 0);
}

TEST_F(TitleTest, TextsAreTheNameAndThePrompt) {
    Draw(title);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, L"Lyrandel");
    EXPECT_EQ(texts[0].rect.left, 490);
    EXPECT_EQ(texts[0].rect.top, 210);
    EXPECT_EQ(texts[1].text, L"Push \"SpaceKey\" to Start\n\n\"E\" Key to ConfigMenu");
    EXPECT_EQ(texts[1].rect.top, 400);
    EXPECT_EQ(texts[1].rect.bottom, 1000);
    EXPECT_EQ(texts[1].color.r, 1.0f);
}

}  // namespace
