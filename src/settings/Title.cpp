// Title: placeholder scene that draws nothing and stays.
#include "settings/Title.h"

bool Title::Initialize() { return true; }
Scene* Title::Update() { return nullptr; }
void Title::DrawSprites() {}
void Title::DrawTexts() {}
