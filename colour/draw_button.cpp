#include "colour/draw_button.h"

#include <new>
#include <optional>

#include "colour/drawn_rows.h"
#include "display/picture_window.h"
#include "display/result_refusals.h"
#include "state/state.h"

namespace korven {

Picture drawn_picture(const Picture& original, const Picture& previous, const DrawRecipe& recipe)
{
    Picture drawn = Picture::for_overwrite(original.width(), original.height());
    draw_into(original.view(), previous.view(), drawn.view(), level_table_of(recipe), recipe.mode);
    return drawn;
}

namespace {

// The new adjusted picture, or none when memory is short, which is said.
std::optional<Picture> try_drawing(const State& st, const DrawRecipe& recipe)
{
    const Picture& original = st.pictures[original_slot];
    if (!result_can_be_made("draw", original.width(), original.height())) return std::nullopt;
    try {
        return drawn_picture(original, st.pictures[adjusted_slot], recipe);
    } catch (const std::bad_alloc&) {
        report_no_memory("draw", original.width(), original.height());
        return std::nullopt;
    }
}

}  // namespace

// "DRAW"
void BUTTON1_ON()
{
    State& st = state();
    if (!st.picture_window_shown) return;
    // The curve only goes from the original to an adjusted picture of the same size.
    if (st.picture_width[original_slot] != st.picture_width[adjusted_slot] ||
        st.picture_height[original_slot] != st.picture_height[adjusted_slot])
        return;

    // The result goes into a new picture: the one it replaces may be kept by
    // an undo step. An adjusted picture this very DRAW made is kept as it is.
    const DrawRecipe recipe{st.curve_levels, st.draw_mode};
    if (st.pictures.drawn_with() != recipe) {
        std::optional<Picture> drawn = try_drawing(st, recipe);
        if (!drawn) return;
        st.pictures.set_drawn(std::move(*drawn), recipe);
    }

    const bool other_size = st.shown_width != st.picture_width[adjusted_slot] ||
                            st.shown_height != st.picture_height[adjusted_slot];
    if (other_size) {
        st.view_left = 0;
        st.view_top = 0;
    }
    st.shown_width = st.picture_width[adjusted_slot];
    st.shown_height = st.picture_height[adjusted_slot];
    st.shown_picture = adjusted_slot;
    DRAW2();
}

// "All", "R", "G", "B": the channels the next DRAW works on.
void RADIO1_ON() { state().draw_mode = DrawMode::all; }
void RADIO2_ON() { state().draw_mode = DrawMode::red; }
void RADIO3_ON() { state().draw_mode = DrawMode::green; }
void RADIO4_ON() { state().draw_mode = DrawMode::blue; }

}  // namespace korven
