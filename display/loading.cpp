#include "display/loading.h"

#include <new>

#include "state/state.h"
#include "display/file_endings.h"
#include "display/jpeg_to_bmp.h"
#include "display/picture_window.h"
#include "display/view_geometry.h"
#include "platform/numbers.h"

namespace korven {

namespace {

constexpr int largest_side = 32767;  // sizes are 16-bit

void report_refusal(const std::string& path, const std::string& reason)
{
    fe::message("Cannot load \"" + path + "\": " + reason + ".");
}

constexpr char no_memory[] = "there is not enough memory for the picture";

// Reads the file into a picture of its own, leaving every slot alone, so a
// failed read destroys nothing. Returns the reason of a failure, or "".
std::string read_picture(const std::string& path, fe::Bitmap& original)
{
    try {
        if (const fe::FileResult read = fe::load_file(original, path); !read) return read.reason;
    } catch (const std::bad_alloc&) {
        return no_memory;
    }
    return {};
}

std::string check_size(const fe::Bitmap& picture)
{
    if (picture.empty()) return "the file holds no picture";
    if (picture.width() > largest_side || picture.height() > largest_side)
        return "the picture is larger than 32767 pixels on a side";
    return {};
}

// The adjusted picture becomes a copy of the original, in one pass, into the
// memory it already has where that is large enough: loading one photo after
// another of the same size touches no new pages for it. Unchanged if memory
// runs out.
bool copy_to_adjusted(const fe::Bitmap& original)
{
    try {
        state().pictures[adjusted_slot] = original;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Makes the freshly read picture the original and the adjusted picture and shows it.
void show_loaded_picture(const std::string& path, fe::Bitmap original)
{
    State& s = state();
    const Controls& c = ui();
    s.file_path = path;
    s.file_title = NMCUT(s.file_path);
    fe::set_window_text(c.EDIT1, s.file_path);
    s.pictures[original_slot] = std::move(original);
    s.shown_width = static_cast<std::int16_t>(fe::get_bitmap_width(s.pictures[original_slot]));
    s.shown_height = static_cast<std::int16_t>(fe::get_bitmap_height(s.pictures[original_slot]));
    for (int slot : {original_slot, adjusted_slot}) {
        s.picture_width[slot] = s.shown_width;
        s.picture_height[slot] = s.shown_height;
    }
    s.shown_picture = adjusted_slot;
    fe::set_window_text(c.TEXT1, size_text(s.shown_width, s.shown_height));
    fe::set_window_text(c.TEXT18, "Adjasted>" + size_text(s.shown_width, s.shown_height));
    fit_window_to_picture();
    INICHNG(1, 2);
    DRAW2();
    fe::show_window(c.FORM2);
}

}  // namespace

void load_picture_file(const std::string& chosen_path)
{
    std::string path = chosen_path;
    fe::Bitmap original;
    switch (kind_of_picture_file(path)) {
    case PictureFileKind::refused:
        report_refusal(path, "only files ending in " + std::string(accepted_endings) + " can be loaded");
        return;
    case PictureFileKind::jpeg: {
        // From here on only the BMP file beside the JPEG counts; it stays on disk.
        const std::string bmp_path = bmp_path_for_jpeg(path);
        Conversion conversion = JPEG2BMP(path, bmp_path);
        if (conversion.outcome == ConversionOutcome::declined) return;
        if (conversion.outcome == ConversionOutcome::failed) {
            report_refusal(path, conversion.reason);
            return;
        }
        path = bmp_path;
        original = std::move(conversion.picture);
        break;
    }
    case PictureFileKind::bmp:
        if (const std::string failure = read_picture(path, original); !failure.empty()) {
            report_refusal(path, failure);
            return;
        }
        break;
    }
    if (const std::string failure = check_size(original); !failure.empty()) {
        report_refusal(path, failure);
        return;
    }
    if (!copy_to_adjusted(original)) {
        report_refusal(path, no_memory);
        return;
    }
    show_loaded_picture(path, std::move(original));
}

// "LOAD"
void BUTTON2_ON()
{
    const std::string chosen = fe::win_open_dlg(ui().MAINFORM, "Load Image", "*.bmp",
                                                "bmp-Image(*.bmp);jpg-Image(*.jpg)", 0);
    if (chosen == fe::cancel_text) return;
    load_picture_file(chosen);
}

// Files dropped on the main window: exactly one is loaded.
void MAINFORM_DROPFILES(const fe::Event& drop)
{
    if (fb::get_drop_file_count(drop) != 1) return;
    load_picture_file(fb::get_drop_file_name(drop, 0));
}

}  // namespace korven
