#pragma once
// Undo and redo over the photo document. A step is the document as it was
// before one command; its pictures are shared with the other steps and with
// the document, never copied. The history stays within a memory budget: at
// most `max_steps` steps, and a quarter of the physical memory for the
// pictures only steps keep (with the pixel buffers kept spare for reuse),
// the oldest steps dropped first. It reads no control: the caller passes the
// document in and puts back what it returns.

#include <cstdint>
#include <deque>
#include <optional>

#include "state/photo_document.h"

namespace korven {

enum class StepKind {
    curve_edit,       // a slider moved or a level typed: a run of them is one step
    curve_command,    // a preset: one step of its own
    picture_command,  // everything else that changes a picture (and perhaps the curve)
};

class History {
public:
    static constexpr int max_steps = 10;

    // A command of `kind` turned `before` into `after`. When anything
    // changed, `before` becomes a step; a curve edit right after another one
    // joins its step. A step whose pictures do not fit the budget is not
    // kept; then the history before it is dropped too, and the next undo says so.
    void record(StepKind kind, const PhotoDocument& before, const PhotoDocument& after);

    // Something other than a curve edit happened: the next curve edit starts a step.
    void end_curve_run() { curve_run_open_ = false; }

    // The document to put back in place of `now`, which becomes the next
    // step the other way; none when there is no step.
    std::optional<PhotoDocument> undo(const PhotoDocument& now);
    std::optional<PhotoDocument> redo(const PhotoDocument& now);

    // True, once, when an undo found no step because the last change could not be kept.
    bool take_change_not_kept();

    // Bytes of the distinct pictures the steps keep beyond those of `now`.
    std::uint64_t kept_bytes(const PhotoDocument& now) const;

    std::size_t undo_steps() const { return undo_.size(); }
    std::size_t redo_steps() const { return redo_.size(); }

private:
    std::optional<PhotoDocument> step(std::deque<PhotoDocument>& from, std::deque<PhotoDocument>& to,
                                      const PhotoDocument& now);
    void trim(const PhotoDocument& now);

    std::deque<PhotoDocument> undo_, redo_;  // back() is the next step each way
    bool curve_run_open_ = false;
    bool change_not_kept_ = false;  // below the oldest undo step lies a change that was not kept
};

// Bytes the history may keep: a quarter of the physical memory (no limit
// but the number of steps where that cannot be told).
std::uint64_t history_budget_bytes();

}  // namespace korven
