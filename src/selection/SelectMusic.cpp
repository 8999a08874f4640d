// SelectMusic: placeholder scene that draws nothing and stays.
#include "selection/SelectMusic.h"

bool SelectMusic::Initialize() { return true; }
Scene* SelectMusic::Update() { return nullptr; }
void SelectMusic::DrawSprites() {}
void SelectMusic::DrawTexts() {}
