// GameDraw: what the Game scene puts on the screen: jacket, notes, hit markers and track as
// sprites; the scrolling title, key letters, start text, judgement words, score, combo and
// time on the play screen, and score, longest combo and the ticker window on the result screen.
// Depends on: services (SpriteRenderer, TextRenderer), settings/Config, gameplay records.
#include <cmath>
#include <string>

#include "gameplay/Game.h"
#include "gameplay/GameReplay.h"
#include "gameplay/GameScreen.h"
#include "gameplay/PlaySession.h"
#include "gameplay/RunScore.h"
#include "selection/MusicChoice.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/Config.h"
#include "settings/KeyBindings.h"

namespace {

constexpr float kRedX = 420.0f;
constexpr float kBlueX = 800.0f;
// Notes further above the line than this are not drawn.
constexpr float kVisibleDistance = 0.5f;

// Draws a sprite untinted (or tinted) at full alpha with rotation 0.
void Sprite(const std::wstring& name, Float2 position, IntRect source, Float2 origin, float scale,
            float depth, ColorRgb tint = kWhite) {
    SpriteRenderer::Get().DrawSprite(position, &source, 255, depth, origin, tint.red, tint.green,
                                     tint.blue, 0.0f, scale, name);
}

// Sets the brush to an integer colour.
void SetColor(ColorRgb c) {
    TextRenderer::Get().brush.SetColor({c.red / 255.0f, c.green / 255.0f, c.blue / 255.0f, 1.0f});
}

// Draws text in the rectangle with the colour set last.
void Text(const std::wstring& text, float left, float top, float right, float bottom) {
    TextRenderer::Get().layoutRect = {left, top, right, bottom};
    TextRenderer::Get().DrawString(text);
}

// Screen y of a note at distance d.
float NoteY(float d) {
    const Config& config = GetConfig();
    return config.HitLine - ((d * 1350.0f) * config.HiSpeed) * 0.5f;
}

const wchar_t* const kDirectionWords[4] = {L"Up", L"Right", L"Down", L"Left"};

}  // namespace

void Game::DrawSprites() {
    float hitLine = GetConfig().HitLine;
    const std::wstring& title = GetMusicChoice().title;
    if (TextureStore::Get().Find(title))  // a jacket that cannot be decoded is not drawn
        Sprite(title, {110, 10}, {0, 0, 256, 256}, {128, 0}, 0.5f, 0);
    DrawNotes(GetPlaySession().redNotes, kRedX, L"_Red");
    DrawNotes(GetPlaySession().blueNotes, kBlueX, L"_Blue");
    Sprite(L"HitArea", {kRedX, hitLine}, {0, 0, 32, 32}, {16, 16}, 1, 0, redFlash);
    Sprite(L"HitArea", {kBlueX, hitLine}, {0, 0, 32, 32}, {16, 16}, 1, 0, blueFlash);
    Sprite(L"skk", {610, 0}, {0, 0, 550, 720}, {275, 0}, 1, 0, trackColor);
    DrawTimingSprites();
}

// Draws the visible notes of a lane, deeper the further they are from the line.
void Game::DrawNotes(const std::vector<NoteRecord>& notes, float x, const wchar_t* suffix) {
    for (const NoteRecord& note : notes) {
        if (note.distance > kVisibleDistance) continue;
        if (note.direction < 0 || note.direction > 3) continue;
        Sprite(kDirectionWords[note.direction] + std::wstring(suffix), {x, NoteY(note.distance)},
               {0, 0, 32, 32}, {16, 16}, 1, std::fabs(note.distance));
    }
}

void Game::DrawTexts() {
    DrawScrollingTitle();
    DrawKeyLetters();
    if (musicPending && startCountdown > 0) {
        SetColor(kWhite);
        Text(startCountdown < 60 ? L"GO!!" : L"Ready...", 200, 260, 1000, 860);
    }
    if (!resultShown)
        DrawPlayTexts();
    else
        DrawResultTexts();
    DrawTimingTexts();
    if (replay_) replay_->DrawTexts();
}

// Draws the title, moving a long one left by one character every 16 frames.
void Game::DrawScrollingTitle() {
    const std::wstring& title = GetMusicChoice().title;
    PlaySession& session = GetPlaySession();
    std::wstring shown = TitleWindow(title, session.titleScroll);
    if (title.size() >= 10) {
        session.titleScrollTick += 1;
        if (session.titleScrollTick > 15) {
            session.titleScroll += 1;
            if (session.titleScroll > static_cast<int32_t>(title.size())) session.titleScroll = 0;
            session.titleScrollTick = 0;
        }
    }
    SetColor(ColorsOfLevel(GetMusicChoice().level).bright);
    Text(shown, 10, 150, 210, 750);
}

// Draws the names of the bound lane keys around the two hit markers: Up above, Left and Right
// beside, Down below.
void Game::DrawKeyLetters() {
    float hl = GetConfig().HitLine;
    float above = (hl - 16.0f) - 27.0f, side = hl - 10.0f, below = (hl + 16.0f) + 7.0f;
    // Left, top, right and bottom of each direction's name, Up, Right, Down, Left, from the
    // lane's marker at x 420 (the blue lane's names lie 380 further right).
    const float places[4][4] = {{404, above, 436, above + 32.0f},
                                {436, side, 468, side + 40.0f},
                                {404, below, 436, below + 32.0f},
                                {372, side, 404, side + 40.0f}};
    const KeyBindings& keys = GetKeyBindings();
    SetColor(kWhite);
    for (int lane = 0; lane < 2; ++lane) {
        const float shift = lane * (kBlueX - kRedX);
        const uint32_t* codes = lane == 0 ? keys.red() : keys.blue();
        for (int d : {0, 3, 1, 2}) {  // the order the screen has always drawn them in
            const float* p = places[d];
            Text(KeyName(codes[d]), p[0] + shift, p[1], p[2] + shift, p[3]);
        }
    }
}

// Judgement words, score and combo, and the time left.
void Game::DrawPlayTexts() {
    float hl = GetConfig().HitLine;
    const RunScore& run = GetRunScore();
    SetColor(redTextColor);
    Text(redJudgement, 370, hl - 73.0f, 470, hl - 41.0f);
    SetColor(blueTextColor);
    Text(blueJudgement, 750, hl - 73.0f, 850, hl - 41.0f);
    SetColor(kWhite);
    Text(std::to_wstring(run.score) + L"\n" + std::to_wstring(run.combo) + L" Combo", 10, 180, 210,
         780);
    int32_t second = GetPlaySession().Second;
    SetColor(kWhite);
    Text(TimeText(secondsLeft - 4 < second ? secondsLeft - 4 : second), 10, 230, 210, 830);
}

// Score, longest combo, the way back, and the ticker window.
void Game::DrawResultTexts() {
    const RunScore& run = GetRunScore();
    SetColor(kWhite);
    Text(L"Score\n" + std::to_wstring(run.score) + L"\n\nMax " + std::to_wstring(run.maxCombo) +
             L" Combo\n\n\n\nPush SpaceKey to SelectMusic",
         200, 100, 1020, 700);
    Text(TickerWindow(resultMessage), 200, 200, 1020, 800);
}
