// Song rendering: drums, bass, pad and a lead with a bouncing echo, mixed and normalised.
// Depends on: SongRender.h, Instruments.h.
#include "SongRender.h"

#include <algorithm>

#include "Instruments.h"

namespace democontent {

namespace {

// A bright, singing lead with a little vibrato.
ToneShape LeadShape() {
    ToneShape s;
    const float h[8] = {1.f, 0.35f, 0.22f, 0.1f, 0.06f, 0.03f, 0.f, 0.f};
    std::copy(h, h + 8, s.harmonics);
    s.attackSeconds = 0.008f;
    s.decaySeconds = 0.25f;
    s.sustain = 0.55f;
    s.releaseSeconds = 0.07f;
    s.brightnessDecay = 2.5f;
    s.vibratoDepth = 0.15f;
    s.vibratoHz = 5.5f;
    return s;
}

// A round saw-like bass whose upper harmonics fade after the attack.
ToneShape BassShape() {
    ToneShape s;
    for (int h = 0; h < 8; ++h) s.harmonics[h] = 1.f / (h + 1);
    s.attackSeconds = 0.004f;
    s.decaySeconds = 0.2f;
    s.sustain = 0.6f;
    s.releaseSeconds = 0.03f;
    s.brightnessDecay = 6.f;
    return s;
}

// A soft, slowly swelling pad with a detuned twin for width.
ToneShape PadShape() {
    ToneShape s;
    const float h[8] = {1.f, 0.25f, 0.1f, 0.f, 0.f, 0.f, 0.f, 0.f};
    std::copy(h, h + 8, s.harmonics);
    s.attackSeconds = 0.25f;
    s.decaySeconds = 1.f;
    s.sustain = 0.8f;
    s.releaseSeconds = 0.25f;
    s.detuneCents = 7.f;
    return s;
}

// Frames of a note of the given length in steps, a little short of the next onset.
size_t NoteFrames(const Arrangement& a, int steps) {
    return a.stepFrames * steps - a.stepFrames / 8;
}

}  // namespace

// Renders the whole song.
StereoBuffer RenderSong(const Arrangement& a, uint32_t seed) {
    StereoBuffer mix(a.totalFrames, false);
    Rng rng(seed * 2654435761u + 1u);
    for (const DrumHit& d : a.drums) {
        size_t at = a.FrameOfStep(d.step);
        switch (d.kind) {
            case Drum::Kick:
                RenderKick(mix, at, 0.9f * d.velocity);
                break;
            case Drum::Snare:
                RenderSnare(mix, at, 0.6f * d.velocity, rng);
                break;
            case Drum::Hat:
                RenderHat(mix, at, 0.16f * d.velocity, false, 0.3f, rng);
                break;
            case Drum::OpenHat:
                RenderHat(mix, at, 0.13f * d.velocity, true, -0.3f, rng);
                break;
        }
    }
    const ToneShape bass = BassShape(), pad = PadShape(), lead = LeadShape();
    for (const Note& n : a.bass) {
        RenderTone(mix, a.FrameOfStep(n.step), NoteFrames(a, n.length), MidiToHz(n.midi),
                   0.26f * n.velocity, 0.f, bass);
    }
    for (const Note& n : a.pad) {
        float pan = (n.midi % 3 - 1) * 0.5f;
        RenderTone(mix, a.FrameOfStep(n.step), NoteFrames(a, n.length), MidiToHz(n.midi),
                   0.07f * n.velocity, pan, pad);
    }
    StereoBuffer leadBus(a.totalFrames, false);
    for (const Note& n : a.melody) {
        RenderTone(leadBus, a.FrameOfStep(n.step), NoteFrames(a, n.length), MidiToHz(n.midi),
                   0.22f * n.velocity, 0.1f, lead);
    }
    leadBus.PingPongEcho(a.stepFrames * 3, 0.35f, 0.3f);  // a dotted-eighth echo
    mix.Mix(leadBus, 1.f);
    mix.Normalize(0.89f);
    mix.FadeEnds(0, kSampleRate / 2);
    return mix;
}

}  // namespace democontent
