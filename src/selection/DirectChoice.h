// DirectChoice: a run started from the command line: the music list is read as the selection
// reads it (jackets checked), the title is looked up in it and the choice is recorded in
// MusicChoice as confirming it on the selection screen would.
// Depends on: selection/MusicList.h, selection/MusicChoice.h.
#pragma once

#include <string>

// Records title at level (1 to 3) as the choice. False with a message naming the problem when
// the list cannot be read, holds no such title, or rates that level below 1.
bool ChooseDirectly(const std::wstring& title, int level, std::string& error);
