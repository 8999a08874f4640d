// Game: placeholder scene that draws nothing and stays.
#include "gameplay/Game.h"

bool Game::Initialize() { return true; }
Scene* Game::Update() { return nullptr; }
void Game::DrawSprites() {}
void Game::DrawTexts() {}
