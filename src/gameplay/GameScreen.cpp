// GameScreen: texts and colours of the play and result screens.
#include "gameplay/GameScreen.h"

#include <algorithm>

int32_t LevelIndex(const std::wstring& level) {
    int32_t n = 0;
    for (wchar_t c : level) {
        if (c < L'0' || c > L'9') break;
        n = std::min(n * 10 + (c - L'0'), 3);
    }
    return std::clamp(n, 1, 3) - 1;
}

const LevelColors& ColorsOfLevel(const std::wstring& level) {
    static const LevelColors kColors[] = {
        {{0, 250, 154}, {0, 128, 0}},
        {{255, 140, 0}, {205, 133, 63}},
        {{255, 0, 0}, {178, 34, 34}},
    };
    return kColors[LevelIndex(level)];
}

std::wstring TimeText(int32_t seconds) {
    if (seconds < 0) return L" 0:00";
    int32_t m = seconds / 60;
    int32_t s = seconds - 60 * m;
    return (m == 0 ? L" " : L"") + std::to_wstring(m) + L":" + (s < 10 ? L"0" : L"") +
           std::to_wstring(s);
}

std::wstring TitleWindow(const std::wstring& title, int32_t scroll) {
    if (title.size() < 10) return title;
    size_t from = std::min(static_cast<size_t>(std::max(scroll, 0)), title.size());
    std::wstring shown = title.substr(from, 10);
    shown.resize(10, L'\u3000');
    return shown;
}

std::wstring TickerWindow(const std::wstring& message) {
    std::wstring shown = message.substr(0, 10);
    shown.resize(10, L' ');
    return shown;
}

PulsePeriod PulseOf(int32_t bpm) {
    int32_t q = 600 / bpm;
    return {q * 30, q * 20};
}
