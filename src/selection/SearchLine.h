// SearchLine: the selection's search line as the player edits it. Opened (F or "/"), it takes
// the typed characters; Backspace deletes the last one, or closes the line when it is empty;
// Return stops the editing and keeps the line as a filter (an empty one closes it). Opened
// again, it edits the kept line.
// Depends on: nothing.
#pragma once

#include <string>

class SearchLine {
  public:
    // What an update did to the line.
    struct Change {
        bool text = false;    // the text changed
        bool closed = false;  // the line was closed: every song is shown again
    };

    // Opens the line for editing (keeping a kept line's text).
    void Open() { shown_ = editing_ = true; }
    // Applies this update's typed characters, then Backspace, then Return.
    Change Edit(const std::wstring& typed, bool backspace, bool enter);

    // True while the line is shown (edited or kept as a filter).
    bool shown() const { return shown_; }
    // True while characters go to the line.
    bool editing() const { return editing_; }
    const std::wstring& text() const { return text_; }

    // The longest line kept; more characters are not taken.
    static constexpr size_t kMaxLength = 100;

  private:
    std::wstring text_;
    bool shown_ = false;
    bool editing_ = false;
};
