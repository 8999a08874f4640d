// FrameLoop: message pump, slot pacing, the frame's steps in order, and the scene hand-over.
#include "shell/FrameLoop.h"

#include "media/Keyboard.h"
#include "services/KeyInput.h"
#include "services/KeyTimes.h"

using platform::Message;

FrameLoop::FrameLoop(platform::Host& host, FrameSteps& steps, std::unique_ptr<Scene> first)
    : host_(host), steps_(steps), scene_(std::move(first)) {}

bool FrameLoop::Dispatch(const Message& m) {
    KeyInput::Get();  // first use creates the input record, as the window procedure does
    switch (m.code) {
        case platform::kMsgQuit:
            return false;
        case platform::kMsgKeyDown:
        case platform::kMsgSysKeyDown:
            KeyTimes::Get().KeyDown(m.wParam, m.stamp);
            DirectX::Keyboard::HandleMessage(m.code, m.wParam, m.lParam);
            // Escape closes the game; a system key message never does.
            if (m.code == platform::kMsgKeyDown && m.wParam == platform::kVkEscape)
                host_.PostMessage({platform::kMsgClose, 0, 0});
            break;
        case platform::kMsgKeyUp:
        case platform::kMsgSysKeyUp:
        case platform::kMsgActivateApp:
            DirectX::Keyboard::HandleMessage(m.code, m.wParam, m.lParam);
            break;
        case platform::kMsgChar:
            KeyInput::Get().AddTypedChar(m.wParam);
            break;
        case platform::kMsgDropFiles:
            for (std::string& path : host_.TakeDroppedPaths())
                KeyInput::Get().droppedPaths.push_back(std::move(path));
            break;
        case platform::kMsgClose:
            // Closing destroys the window at once, and its destruction posts the quit.
            host_.PostMessage({platform::kMsgQuit, 0, 0});
            break;
        default:
            break;
    }
    return true;
}

FrameLoop::Outcome FrameLoop::Run() {
    pacing_.Start(host_.Ticks());
    KeyTimes::Get().FrameAt(pacing_.lastFrameTime());  // the first update's slot begins here
    occluded_ = false;
    while (true) {
        Message m;
        if (host_.PeekMessage(m)) {
            if (!Dispatch(m)) return Outcome::Quit;
            continue;
        }
        const uint32_t now = host_.Ticks();
        if (!pacing_.Due(now)) {
            host_.WaitUntil(pacing_.NextDue());
            continue;
        }
        pacing_.Advance(now);
        KeyTimes::Get().FrameAt(now);
        if (!RunFrame()) return Outcome::SceneFailed;
    }
}

bool FrameLoop::RunFrame() {
    if (occluded_) {
        if (steps_.PresentTest()) return true;
        occluded_ = false;
    }
    steps_.UpdateAudio();
    steps_.UpdateKeys();
    if (Scene* next = scene_->Update()) {
        scene_.reset(next);  // the replaced scene is never called again
        if (!scene_->Initialize()) return false;
    }
    steps_.Clear();
    steps_.BeginSprites();
    scene_->DrawSprites();
    steps_.EndSprites();
    steps_.BeginTexts();
    scene_->DrawTexts();
    steps_.EndTexts();
    if (steps_.Present()) occluded_ = true;
    host_.AfterFrame(++framesRun_);
    return true;
}
