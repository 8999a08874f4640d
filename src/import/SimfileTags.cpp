// SimfileTags: one pass over the text; a tag's parts are collected character by character.
#include "import/SimfileTags.h"

#include "import/SourceText.h"

namespace importer {

namespace {

// True when the line that starts after position newline (a line feed) begins with "#" after
// blanks: a tag whose ";" was forgotten ends there.
bool NextLineStartsTag(std::wstring_view text, size_t newline) {
    for (size_t i = newline + 1; i < text.size(); ++i) {
        if (text[i] == L'#') return true;
        if (text[i] != L' ' && text[i] != L'\t' && text[i] != L'\r') return false;
    }
    return false;
}

// Skips a "//" comment at i; returns the position of its line feed (or the end).
size_t SkipComment(std::wstring_view text, size_t i) {
    const size_t end = text.find(L'\n', i);
    return end == std::wstring_view::npos ? text.size() : end;
}

// Reads one tag whose "#" is at start; returns the position after it.
size_t ReadTag(std::wstring_view text, size_t start, SimfileTag& tag) {
    std::wstring part;
    bool inName = true;
    size_t i = start + 1;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'/' && i + 1 < text.size() && text[i + 1] == L'/') {
            i = SkipComment(text, i) - 1;
        } else if (c == L'\\' && i + 1 < text.size()) {
            part += text[++i];
        } else if (c == L';') {
            ++i;
            break;
        } else if (c == L'\n' && NextLineStartsTag(text, i)) {
            break;
        } else if (c == L':') {
            if (inName)
                tag.name = UpperAscii(Trim(part));
            else
                tag.values.push_back(std::move(part));
            part.clear();
            inName = false;
        } else {
            part += c;
        }
    }
    if (inName)
        tag.name = UpperAscii(Trim(part));
    else
        tag.values.push_back(std::move(part));
    if (tag.values.empty()) tag.values.emplace_back();
    return i;
}

}  // namespace

std::vector<SimfileTag> SplitSimfileTags(std::wstring_view text) {
    std::vector<SimfileTag> tags;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L'/' && i + 1 < text.size() && text[i + 1] == L'/') {
            i = SkipComment(text, i);
        } else if (text[i] == L'#') {
            SimfileTag tag;
            i = ReadTag(text, i, tag);
            tags.push_back(std::move(tag));
        } else {
            ++i;
        }
    }
    return tags;
}

}  // namespace importer
