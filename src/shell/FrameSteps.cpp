// GameFrameSteps: one frame's service calls on the process-wide services.
#include "shell/FrameSteps.h"

#include "audio/SoundManager.h"
#include "gameplay/Autoplay.h"
#include "services/GraphicsDevice.h"
#include "services/KeyInput.h"
#include "services/KeyTimes.h"
#include "services/SpriteRenderer.h"

void GameFrameSteps::UpdateAudio() { SoundManager::Get().Update(); }
void GameFrameSteps::UpdateKeys() {
    KeyInput::Get().Update();
    KeyTimes::Get().Update();
}
void GameFrameSteps::Clear() { GraphicsDevice::Get().Clear(); }
void GameFrameSteps::BeginSprites() { SpriteRenderer::Get().Begin(); }
void GameFrameSteps::EndSprites() { SpriteRenderer::Get().End(); }
void GameFrameSteps::BeginTexts() { GraphicsDevice::Get().BeginDraw(); }
void GameFrameSteps::EndTexts() { GraphicsDevice::Get().EndDraw(); }
bool GameFrameSteps::Present() { return GraphicsDevice::Get().Present(); }
bool GameFrameSteps::PresentTest() { return GraphicsDevice::Get().PresentTest(); }

void AutoplayFrameSteps::UpdateKeys() {
    autoplay_.BeforeUpdate();
    GameFrameSteps::UpdateKeys();
}
