// MusicChoice: the process-wide record of the last confirmed choice.
#include "selection/MusicChoice.h"

MusicChoice& GetMusicChoice() {
    static MusicChoice choice;
    return choice;
}
