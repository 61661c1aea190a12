// The history over photo documents: what a step keeps, how undo and redo hand
// pictures back, and the memory budget.
#include "history/history.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/script.h"

namespace korven {
namespace {

constexpr std::uint64_t picture_size = 100 * 100 * 4;  // bytes of each picture below

SharedPicture new_picture() { return std::make_shared<const Picture>(100, 100); }

PhotoDocument loaded()
{
    PhotoDocument document;
    document.pictures.set(original_slot, new_picture());
    document.pictures.set(adjusted_slot, document.pictures.shared(original_slot));
    return document;
}

PhotoDocument with_level(PhotoDocument document, int k, int level)
{
    document.curve_levels[k] = static_cast<std::int16_t>(level);
    document.curve_field_texts[k] = std::to_string(level);
    return document;
}

PhotoDocument drawn(PhotoDocument document)
{
    document.pictures.set(adjusted_slot, new_picture());
    return document;
}

class HistoryTest : public ::testing::Test {
protected:
    void TearDown() override { fe::testing::script() = fe::testing::Script{}; }
    void set_budget_in_pictures(double pictures)
    {
        fe::testing::script().memory_bytes = static_cast<std::uint64_t>(4 * pictures * picture_size);
    }
    History history;
};

TEST_F(HistoryTest, ADrawStepKeepsOnePictureACurveChangeNoneAndUndoHandsTheSamePicturesBack)
{
    const PhotoDocument start = loaded();
    const PhotoDocument curved = with_level(start, 5, 100);
    history.record(StepKind::curve_edit, start, curved);
    EXPECT_EQ(history.kept_bytes(curved), 0u);
    const PhotoDocument curved_more = with_level(curved, 6, 90);
    history.record(StepKind::curve_edit, curved, curved_more);  // joins the run
    EXPECT_EQ(history.undo_steps(), 1u);

    const PhotoDocument first = drawn(curved_more);  // replaces the loaded picture, still the original
    history.record(StepKind::picture_command, curved_more, first);
    EXPECT_EQ(history.kept_bytes(first), 0u);
    const PhotoDocument second = drawn(with_level(first, 5, 120));
    history.record(StepKind::picture_command, first, second);
    EXPECT_EQ(history.kept_bytes(second), picture_size);
    history.record(StepKind::picture_command, second, second);  // nothing changed: no step
    EXPECT_EQ(history.undo_steps(), 3u);

    std::optional<PhotoDocument> back = history.undo(second);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pictures.shared(adjusted_slot), first.pictures.shared(adjusted_slot));
    EXPECT_TRUE(*back == first);
    back = history.redo(*back);
    ASSERT_TRUE(back);
    EXPECT_TRUE(*back == second);
    EXPECT_FALSE(history.redo(second));

    // A new command after an undo drops the steps to redo.
    back = history.undo(second);
    history.record(StepKind::curve_command, *back, with_level(*back, 0, 7));
    EXPECT_EQ(history.redo_steps(), 0u);
}

TEST_F(HistoryTest, OverBudgetTheOldestStepsGoAndAStepThatDoesNotFitTakesTheHistoryWithIt)
{
    set_budget_in_pictures(3);
    PhotoDocument now = loaded();
    const auto curve_then_draw = [&](int round) {
        const PhotoDocument curved = with_level(now, 10, round);
        history.record(StepKind::curve_edit, now, curved);
        now = drawn(curved);
        history.record(StepKind::picture_command, curved, now);
    };
    // The steps of a curve change and of the DRAW after it keep one picture,
    // counted once: four rounds keep three pictures beside the present ones.
    for (int round = 1; round <= 4; ++round) curve_then_draw(round);
    EXPECT_EQ(history.undo_steps(), 8u);
    EXPECT_EQ(history.kept_bytes(now), 3 * picture_size);
    curve_then_draw(5);  // a fourth picture: the oldest two rounds go
    EXPECT_EQ(history.undo_steps(), 6u);
    EXPECT_EQ(history.kept_bytes(now), 3 * picture_size);

    // Less than one picture: the step is not kept, nor anything before it,
    // and undo says so once.
    set_budget_in_pictures(0.5);
    const PhotoDocument before = now;
    now = drawn(now);
    history.record(StepKind::picture_command, before, now);
    EXPECT_EQ(history.undo_steps(), 0u);
    EXPECT_FALSE(history.undo(now));
    EXPECT_TRUE(history.take_change_not_kept());
    EXPECT_FALSE(history.take_change_not_kept());

    // At most ten steps, however small.
    fe::testing::script().memory_bytes = 0;
    for (int level = 1; level <= 12; ++level) {
        const PhotoDocument next = with_level(now, 0, level);
        history.record(StepKind::curve_command, now, next);
        now = next;
    }
    EXPECT_EQ(history.undo_steps(), 10u);
}

TEST_F(HistoryTest, SparePixelBuffersGoBeforeAnyStep)
{
    { const Picture large(1024, 1024); }  // given back: kept spare for reuse
    const std::uint64_t spare = spare_pixel_bytes();
    ASSERT_GE(spare, 1024u * 1024 * 4);
    fe::testing::script().memory_bytes = 4 * (spare + picture_size / 2);
    const PhotoDocument start = drawn(loaded());
    history.record(StepKind::picture_command, start, drawn(start));
    EXPECT_EQ(history.undo_steps(), 1u);
    EXPECT_EQ(spare_pixel_bytes(), 0u);
}

}  // namespace
}  // namespace korven
