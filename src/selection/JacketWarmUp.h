// JacketWarmUp: reads the headers of the jackets of every song in the music lists on a thread
// of its own, started when the title screen first shows, so that the selection's first opening
// over thousands of songs finds them read (services/JacketCache.h). Later openings keep what
// the cache has checked.
// Depends on: selection/MusicList.h, services/TextureStore.h, platform (content folders, PNG
// headers).
#pragma once

// Starts the warm-up once per run; later calls do nothing.
void StartJacketWarmUp();
