// SearchLine: characters, Backspace and Return in that order, within one update.
#include "selection/SearchLine.h"

SearchLine::Change SearchLine::Edit(const std::wstring& typed, bool backspace, bool enter) {
    Change change;
    if (!editing_) return change;
    for (wchar_t c : typed)
        if (text_.size() < kMaxLength) text_ += c, change.text = true;
    if (backspace) {
        if (text_.empty()) {
            shown_ = editing_ = false;
            change.closed = true;
            return change;
        }
        text_.pop_back();
        change.text = true;
    }
    if (enter) {
        editing_ = false;
        if (text_.empty()) shown_ = false, change.closed = true;
    }
    return change;
}
