#include "history/history.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "core/memory_budget.h"

namespace korven {

std::uint64_t history_budget_bytes()
{
    const std::uint64_t memory = physical_memory_bytes();
    return memory == 0 ? std::numeric_limits<std::uint64_t>::max() : memory / 4;  // unknown: steps alone limit
}

std::uint64_t History::kept_bytes(const PhotoDocument& now) const
{
    std::vector<const Picture*> counted{now.pictures.shared(original_slot).get(),
                                        now.pictures.shared(adjusted_slot).get()};
    std::uint64_t bytes = 0;
    for (const auto* steps : {&undo_, &redo_})
        for (const PhotoDocument& step : *steps)
            for (int slot : {original_slot, adjusted_slot}) {
                const Picture* picture = step.pictures.shared(slot).get();
                if (std::ranges::find(counted, picture) != counted.end()) continue;
                counted.push_back(picture);
                bytes += picture_bytes(picture->width(), picture->height());
            }
    return bytes;
}

void History::record(StepKind kind, const PhotoDocument& before, const PhotoDocument& after)
{
    if (kind == StepKind::curve_edit && curve_run_open_) return;
    curve_run_open_ = false;
    if (after == before) return;
    redo_.clear();
    undo_.push_back(before);
    trim(after);
    if (undo_.empty()) {
        // Going back past this change would silently take it away as well.
        change_not_kept_ = true;
        return;
    }
    curve_run_open_ = kind == StepKind::curve_edit;
}

std::optional<PhotoDocument> History::undo(const PhotoDocument& now) { return step(undo_, redo_, now); }

std::optional<PhotoDocument> History::redo(const PhotoDocument& now) { return step(redo_, undo_, now); }

// The next step of `from`, with `now` kept as the next step of `to`.
std::optional<PhotoDocument> History::step(std::deque<PhotoDocument>& from, std::deque<PhotoDocument>& to,
                                           const PhotoDocument& now)
{
    curve_run_open_ = false;
    if (from.empty()) return std::nullopt;
    PhotoDocument back = std::move(from.back());
    from.pop_back();
    to.push_back(now);
    trim(back);
    return back;
}

bool History::take_change_not_kept() { return std::exchange(change_not_kept_, false); }

void History::trim(const PhotoDocument& now)
{
    const std::uint64_t budget = history_budget_bytes();
    const auto over_budget = [&] {
        const std::uint64_t kept = kept_bytes(now);
        return kept > budget || spare_pixel_bytes() > budget - kept;
    };
    const auto too_much = [&] { return undo_.size() + redo_.size() > max_steps || over_budget(); };
    // Spare buffers go before any step does.
    if (over_budget()) release_spare_pixel_memory();
    while (too_much() && !undo_.empty()) {
        undo_.pop_front();
        change_not_kept_ = false;  // what lies below the dropped steps is out of reach alike
    }
    while (too_much() && !redo_.empty()) redo_.pop_front();
}

}  // namespace korven
