#pragma once
// Undo and redo over the commands that change a picture or the curve. Each
// step keeps the state before one command; pictures that did not change are
// shared between steps. The history stays within a memory budget: at most
// `max_steps` steps and at most a quarter of the physical memory for their
// pictures, the oldest dropped first. Nothing is written to disk.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "history/snapshot.h"

namespace korven {

enum class StepKind {
    curve_edit,       // a slider moved or a level typed: a run of them is one step
    curve_command,    // a preset: one step of its own
    picture_command,  // everything else that changes a picture (and perhaps the curve)
};

class History {
public:
    static constexpr int max_steps = 10;

    // Runs `command`, and keeps the state before it as a step when it changed
    // anything. A curve edit right after another one joins its step. A step
    // whose pictures do not fit the budget is not kept; then the history
    // before it is dropped too, and the next undo says so.
    void record(StepKind kind, const std::function<void()>& command);

    // Something other than a curve edit happened: the next curve edit starts a step.
    void end_curve_run() { curve_run_open_ = false; }

    // Called once every event has been handled. A control the user changes
    // holds its new value by the time its event arrives, so a step starts
    // from the state the previous event left.
    void settle() { settled_ = current_facts(); }

    void undo();
    void redo();

    // Bytes of the distinct pictures the history keeps now.
    std::uint64_t kept_bytes() const;

private:
    // The state now, sharing the pictures the history keeps already; none when
    // its pictures do not fit the budget or the memory left.
    std::optional<Snapshot> keep_current() const;
    // A kept picture equal to `picture`, in the history or in `also`.
    KeptPicture kept_copy_of(const Picture& picture, const Snapshot* also = nullptr) const;
    void record_without_keeping(StepKind kind, const std::function<void()>& command);
    void step(std::deque<Snapshot>& from, std::deque<Snapshot>& to);
    void trim();

    std::deque<Snapshot> undo_, redo_;  // back() is the next step each way
    SnapshotFacts settled_;
    bool curve_run_open_ = false;
    bool change_not_kept_ = false;  // below the oldest undo step lies a change that was not kept
};

// Bytes the history may keep: a quarter of the physical memory (no limit
// but the number of steps where that cannot be told).
std::uint64_t history_budget_bytes();

}  // namespace korven
