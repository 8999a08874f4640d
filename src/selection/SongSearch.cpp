// SongSearch: the line folded once, then plain substring tests on the prepared folded texts.
#include "selection/SongSearch.h"

#include "platform/TextFold.h"

std::vector<std::string> SearchWords(std::wstring_view line) {
    // Folding turns a full-width blank into a plain one, so one split serves both.
    const std::string folded = platform::FoldForSearch(line);
    std::vector<std::string> words;
    size_t start = 0;
    while (start < folded.size()) {
        const size_t blank = folded.find_first_of(" \t", start);
        const size_t end = blank == std::string::npos ? folded.size() : blank;
        if (end > start) words.push_back(folded.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

bool SongMatches(const SongCatalog& catalog, size_t entry, const std::vector<std::string>& words) {
    const SongFacts& facts = catalog[entry];
    const std::string& pack = catalog.pack(facts.pack).folded;
    for (const std::string& word : words)
        if (facts.title.find(word) == std::string::npos &&
            facts.credit.find(word) == std::string::npos && pack.find(word) == std::string::npos)
            return false;
    return true;
}
