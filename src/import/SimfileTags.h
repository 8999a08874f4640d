// SimfileTags: the "#NAME:value:value;" structure shared by .sm and .ssc files: "//" comments
// to the end of the line, "\" escaping the next character, and a missing ";" ended by the
// next line that starts with "#".
// Depends on: nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace importer {

struct SimfileTag {
    std::wstring name;                 // capital letters
    std::vector<std::wstring> values;  // the parts between ":" (at least one, maybe empty)
};

// Every tag of the text in file order; text outside tags is ignored.
std::vector<SimfileTag> SplitSimfileTags(std::wstring_view text);

}  // namespace importer
