// ConfigS: placeholder scene that draws nothing and stays.
#include "settings/ConfigS.h"

bool ConfigS::Initialize() { return true; }
Scene* ConfigS::Update() { return nullptr; }
void ConfigS::DrawSprites() {}
void ConfigS::DrawTexts() {}
