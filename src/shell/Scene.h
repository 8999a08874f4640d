// Scene: the abstract base of every screen. The frame loop calls the current scene once per
// frame for logic, sprites and text; a scene hands over by returning a new scene from Update.
// Depends on: nothing.
#pragma once

class Scene {
  public:
    virtual ~Scene() = default;
    // Unused slot kept for layout parity; every scene returns 0.
    virtual int Reserved() { return 0; }
    // Prepares the scene; false means it cannot run.
    virtual bool Initialize() = 0;
    // One frame of logic; returns a newly created scene to hand over, or nullptr to stay.
    virtual Scene* Update() = 0;
    // Draws the scene's sprites between SpriteRenderer Begin and End.
    virtual void DrawSprites() = 0;
    // Draws the scene's text between the text pass's begin and end.
    virtual void DrawTexts() = 0;
};
