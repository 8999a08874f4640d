// Headless audio capture: the game's mix rendered through the loopback device in step with
// the simulated clock (705.6 sample frames per 16 ms frame, the fraction carried so nothing
// drifts) and written as a 44100 Hz stereo float WAV file at the end.
// Depends on: platform/AudioBackend.h.
#pragma once

#include <string>

// Opens the output file and makes the audio engine created next use the loopback device.
// Call before the engine is created. False with a message in error on failure.
bool StartAudioCapture(const std::string& wavPath, std::string* error);
// After every frame: renders this frame's share of the mix into the file (silence when the
// engine has no device).
void CaptureAudioFrame();
// At shutdown: completes the WAV header and closes the file; false with a message on failure.
bool FinishAudioCapture(std::string* error);
