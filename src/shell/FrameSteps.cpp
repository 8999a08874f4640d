// GameFrameSteps: one frame's service calls on the process-wide services.
#include "shell/FrameSteps.h"

#include "audio/SoundManager.h"
#include "gameplay/Autoplay.h"
#include "services/KeyInput.h"
#include "services/KeyTimes.h"

void GameFrameSteps::UpdateAudio() { SoundManager::Get().Update(); }
void GameFrameSteps::UpdateKeys() {
    KeyInput::Get().Update();
    KeyTimes::Get().Update();
}
void GameFrameSteps::Clear() { drawing.Clear(); }
void GameFrameSteps::BeginSprites() { drawing.BeginSprites(); }
void GameFrameSteps::EndSprites() { drawing.EndSprites(); }
void GameFrameSteps::BeginTexts() { drawing.BeginTexts(); }
void GameFrameSteps::EndTexts() { drawing.EndTexts(); }
bool GameFrameSteps::Present() { return drawing.Present(); }
bool GameFrameSteps::PresentTest() { return drawing.PresentTest(); }

void AutoplayFrameSteps::UpdateKeys() {
    autoplay_.BeforeUpdate();
    GameFrameSteps::UpdateKeys();
}
