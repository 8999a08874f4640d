// SelectionOverlay: the added blocks, their places and their words.
#include "selection/SelectionOverlay.h"

#include "platform/Codepage.h"
#include "services/TextRenderer.h"

namespace {

constexpr Color4 kWhite{1, 1, 1, 1};
constexpr Color4 kDim{136 / 255.0f, 136 / 255.0f, 136 / 255.0f, 1};
// The height of a line of text.
constexpr float kLineHeight = 21.0f;
// The symbol of each mark, by PlayMark value: none, played, full combo, all Perfect.
constexpr const wchar_t* kMarkSymbols[] = {L"-", L"\u25CB", L"\u25CE", L"\u2605"};

// "Search" and the line being typed, then where the highlight is.
std::wstring SearchText(const OverlayView& v) {
    std::wstring text;
    if (v.searchShown) text = L"Search\n" + v.searchText + (v.searchEditing ? L"_" : L"") + L"\n\n";
    if (v.shown == 0) return text + L"no song matches";
    text += std::to_wstring(v.place) + L" of " + std::to_wstring(v.shown);
    if (v.shown != v.total) text += L"\n(" + std::to_wstring(v.total) + L" songs)";
    return text;
}

// The import's heading and its last lines.
void DrawImport(const OverlayView& v) {
    if (v.importHeading.empty()) return;
    constexpr size_t kLinesShown = 8;
    std::wstring text = v.importHeading;
    if (v.importLines) {
        const std::vector<std::wstring>& lines = *v.importLines;
        const size_t first = lines.size() > kLinesShown ? lines.size() - kLinesShown : 0;
        for (size_t i = first; i < lines.size(); ++i) text += L"\n" + lines[i];
    }
    DrawTextBlock(text, {930, 330, 1270, 930}, kWhite);
}

}  // namespace

std::wstring MarkLine(int32_t level, const SongStats* stats) {
    std::wstring line = L"Lv" + std::to_wstring(level + 1) + L" ";
    const ChartStats chart = stats ? stats->levels[level] : ChartStats{};
    line += kMarkSymbols[static_cast<int>(chart.best)];
    if (chart.plays > 0) line += L" \u00D7" + std::to_wstring(chart.plays);
    return line;
}

std::wstring ShortImportLine(const std::string& line) {
    if (line.rfind("  ", 0) == 0) return {};
    if (line.rfind("imported \"", 0) == 0) {
        const size_t from = line.rfind("\" from ");
        return platform::Utf8ToWide(from == std::string::npos ? line : line.substr(0, from + 1));
    }
    const std::string skipped = "skipped ";
    if (line.rfind(skipped, 0) == 0) {
        const size_t colon = line.find(": ", skipped.size());
        const size_t slash = line.rfind('/', colon);
        if (colon != std::string::npos && slash != std::string::npos && slash > skipped.size())
            return platform::Utf8ToWide(skipped + line.substr(slash + 1));
    }
    return platform::Utf8ToWide(line);
}

void DrawOverlay(const OverlayView& v) {
    DrawTextBlock(SearchText(v), {8, 8, 168, 608}, kWhite);
    DrawTextBlock(std::wstring(L"Order: ") + v.order + (v.grouped ? L"\nby pack" : L""),
                  {1112, 8, 1272, 608}, kDim);
    if (v.shown > 0 && v.grouped) DrawTextBlock(L"Pack\n" + v.pack, {330, 420, 530, 1020}, kWhite);
    for (int32_t level = 0; v.shown > 0 && level < 3; ++level) {
        const float top = 410.0f + kLineHeight * level;
        DrawTextBlock(MarkLine(level, v.stats), {750, top, 910, top + 600},
                      level == v.level ? kWhite : kDim);
    }
    DrawImport(v);
    DrawTextBlock(
        L"\"F\" Search   \"O\" Order   \"G\" Packs   \"Z\" \"C\" Jump   \"R\" Random   "
        L"\"V\" Replay   \"-\" \"=\" Offset",
        {0, 690, 1280, 1290}, kDim);
}
