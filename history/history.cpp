#include "history/history.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include "core/memory_budget.h"

namespace korven {

namespace {

std::uint64_t bytes_of(const Picture& picture) { return picture_bytes(picture.width(), picture.height()); }

Picture& live(int slot) { return state().pictures[slot]; }

// A command that changed a picture leaves it unlike the copy kept before it ran.
bool pictures_changed(const Snapshot& before)
{
    return *before.pictures[original_slot] != live(original_slot) ||
           *before.pictures[adjusted_slot] != live(adjusted_slot);
}

std::array<std::uint64_t, 2> live_fingerprints()
{
    return {fingerprint(live(original_slot)), fingerprint(live(adjusted_slot))};
}

}  // namespace

std::uint64_t history_budget_bytes()
{
    const std::uint64_t memory = physical_memory_bytes();
    return memory == 0 ? std::numeric_limits<std::uint64_t>::max() : memory / 4;  // unknown: steps alone limit
}

std::uint64_t History::kept_bytes() const
{
    std::vector<const Picture*> counted;
    std::uint64_t bytes = 0;
    for (const auto* steps : {&undo_, &redo_})
        for (const Snapshot& step : *steps)
            for (const KeptPicture& kept : step.pictures)
                if (std::ranges::find(counted, kept.get()) == counted.end()) {
                    counted.push_back(kept.get());
                    bytes += bytes_of(*kept);
                }
    return bytes;
}

KeptPicture History::kept_copy_of(const Picture& picture, const Snapshot* also) const
{
    for (const auto* steps : {&undo_, &redo_})
        for (const Snapshot& step : *steps)
            for (const KeptPicture& kept : step.pictures)
                if (*kept == picture) return kept;
    if (also)
        for (const KeptPicture& kept : also->pictures)
            if (*kept == picture) return kept;
    return nullptr;
}

std::optional<Snapshot> History::keep_current() const
{
    const Picture& original = live(original_slot);
    const Picture& adjusted = live(adjusted_slot);
    const bool alike = adjusted == original;  // as after a load: one copy serves both
    if (bytes_of(original) + (alike ? 0 : bytes_of(adjusted)) > history_budget_bytes()) return std::nullopt;
    Snapshot kept{settled_, {kept_copy_of(original), nullptr}};
    if (!alike) kept.pictures[adjusted_slot] = kept_copy_of(adjusted);
    const std::uint64_t copies = (kept.pictures[original_slot] ? 0 : bytes_of(original)) +
                                 (alike || kept.pictures[adjusted_slot] ? 0 : bytes_of(adjusted));
    if (!allocation_fits(copies)) return std::nullopt;
    try {
        if (!kept.pictures[original_slot]) kept.pictures[original_slot] = std::make_shared<Picture>(original);
        if (alike) kept.pictures[adjusted_slot] = kept.pictures[original_slot];
        else if (!kept.pictures[adjusted_slot]) kept.pictures[adjusted_slot] = std::make_shared<Picture>(adjusted);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return kept;
}

void History::record(StepKind kind, const std::function<void()>& command)
{
    if (kind == StepKind::curve_edit && curve_run_open_) {
        command();
        return;
    }
    curve_run_open_ = false;
    std::optional<Snapshot> before = keep_current();
    if (!before) {
        record_without_keeping(kind, command);
        return;
    }
    command();
    // Curve edits and presets change nothing but controls.
    const bool changed = current_facts() != before->facts ||
                         (kind == StepKind::picture_command && pictures_changed(*before));
    if (!changed) return;
    redo_.clear();
    undo_.push_back(std::move(*before));
    curve_run_open_ = kind == StepKind::curve_edit;
    trim();
}

void History::record_without_keeping(StepKind kind, const std::function<void()>& command)
{
    const SnapshotFacts& facts = settled_;
    const bool pixels_may_change = kind == StepKind::picture_command;
    const auto prints = pixels_may_change ? live_fingerprints() : std::array<std::uint64_t, 2>{};
    command();
    if (current_facts() == facts && (!pixels_may_change || live_fingerprints() == prints)) return;
    // Going back past this change would silently take it away as well.
    undo_.clear();
    redo_.clear();
    change_not_kept_ = true;
    curve_run_open_ = kind == StepKind::curve_edit;
}

void History::undo()
{
    curve_run_open_ = false;
    if (!undo_.empty()) step(undo_, redo_);
    else if (std::exchange(change_not_kept_, false))
        fe::message("The last change cannot be undone: its pictures did not fit in the memory undo may use.");
}

void History::redo()
{
    curve_run_open_ = false;
    if (!redo_.empty()) step(redo_, undo_);
}

// Puts the state of `from`'s next step back and keeps the present one as the next step of `to`.
void History::step(std::deque<Snapshot>& from, std::deque<Snapshot>& to)
{
    Snapshot target = std::move(from.back());
    from.pop_back();
    Snapshot now{current_facts(), {}};
    std::array<bool, 2> moves_in{};  // the live picture itself becomes the kept one
    std::array<Picture, 2> back;
    // A picture to put back moves out of the history when no other step, and
    // not the present state, keeps it; otherwise it is copied. When both slots
    // have one picture, the original gets the copy.
    const bool alike = target.pictures[original_slot] == target.pictures[adjusted_slot];
    const auto only_here = [&](int slot) {
        return target.pictures[slot].use_count() == (alike ? 2 : 1) && !(alike && slot == original_slot);
    };
    try {
        for (int slot : {original_slot, adjusted_slot}) {
            if (slot == adjusted_slot && live(adjusted_slot) == live(original_slot)) {
                now.pictures[slot] = now.pictures[original_slot];
                continue;
            }
            now.pictures[slot] = kept_copy_of(live(slot), &target);
            if (!now.pictures[slot]) {
                now.pictures[slot] = std::make_shared<Picture>();
                moves_in[slot] = true;
            }
        }
        for (int slot : {original_slot, adjusted_slot})
            if (!only_here(slot)) back[slot] = *target.pictures[slot];
    } catch (const std::bad_alloc&) {
        from.push_back(std::move(target));
        fe::message("There is not enough memory to undo or redo this step; nothing was changed.");
        return;
    }
    for (int slot : {original_slot, adjusted_slot}) {
        if (only_here(slot)) back[slot] = std::move(*target.pictures[slot]);
        if (moves_in[slot]) *now.pictures[slot] = std::move(live(slot));
    }
    restore(target.facts, std::move(back));
    to.push_back(std::move(now));
    trim();
}

void History::trim()
{
    const auto too_much = [this] {
        return undo_.size() + redo_.size() > max_steps || kept_bytes() > history_budget_bytes();
    };
    while (too_much() && !undo_.empty()) {
        undo_.pop_front();
        change_not_kept_ = false;  // what lies below the dropped steps is out of reach alike
    }
    while (too_much() && !redo_.empty()) redo_.pop_front();
}

}  // namespace korven
