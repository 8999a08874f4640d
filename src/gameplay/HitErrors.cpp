// HitErrors: errors from exact arrival times, and the run's summary, kept until the next press.
#include "gameplay/HitErrors.h"

#include <algorithm>
#include <cmath>

#include "gameplay/PlaySession.h"
#include "services/KeyTimes.h"

namespace {

// The summary of errors.
HitSummary Summarize(const std::vector<HitError>& errors) {
    HitSummary s;
    s.count = errors.size();
    if (s.count == 0) return s;
    double sum = 0;
    for (const HitError& e : errors) sum += e.ms;
    s.meanMs = sum / double(s.count);
    double squares = 0;
    for (const HitError& e : errors) {
        squares += (e.ms - s.meanMs) * (e.ms - s.meanMs);
        s.early += e.ms < 0;
        s.late += e.ms > 0;
        const int bin = int(std::floor(e.ms / HitSummary::kBinMs + 0.5)) + HitSummary::kBins / 2;
        ++s.bins[size_t(std::clamp(bin, 0, HitSummary::kBins - 1))];
    }
    s.spreadMs = std::sqrt(squares / double(s.count));
    return s;
}

}  // namespace

void HitErrors::Start(const PlaySession& session) {
    firstDistances_[0].clear();
    firstDistances_[1].clear();
    for (const NoteRecord& note : session.redNotes) firstDistances_[0].push_back(note.distance);
    for (const NoteRecord& note : session.blueNotes) firstDistances_[1].push_back(note.distance);
    // The motion per update without single precision's rounding: BPM * 0.006 / 1350.
    unit_ = session.BPM > 0 ? session.BPM / 225000.0 : 1.0;
    motions_ = 0;
    errors_.clear();
    summary_.reset();
}

void HitErrors::Judged(int lane, size_t notesLeft, uint32_t key, Grade grade) {
    const std::vector<float>& first = firstDistances_[lane == 0 ? 0 : 1];
    if (notesLeft == 0 || notesLeft > first.size()) return;
    const double arrival = first[first.size() - notesLeft] / unit_;  // in motions
    const double ms = (motions_ - arrival) * kUpdateMs + KeyTimes::Get().MsIntoUpdate(key);
    errors_.push_back({lane, grade, ms});
    summary_.reset();
}

const HitSummary& HitErrors::Summary() const {
    if (!summary_) summary_ = Summarize(errors_);
    return *summary_;
}
