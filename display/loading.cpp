#include "display/loading.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "state/state.h"
#include "display/file_endings.h"
#include "display/jpeg_to_bmp.h"
#include "display/long_waits.h"
#include "display/picture_window.h"
#include "display/view_geometry.h"
#include "platform/image_files.h"
#include "platform/memory_budget.h"
#include "platform/numbers.h"

namespace korven {

namespace {

void report_refusal(const std::string& path, const std::string& reason)
{
    fe::message("Cannot load \"" + path + "\": " + reason + ".");
}

constexpr char no_memory[] = "there is not enough memory for the picture";

// A load makes two pictures of the file's size, the original and the adjusted
// one. Whether both fit the memory this machine gives the program is settled
// from the file's header, before anything is read or allocated, so a picture
// too large is refused instead of the system ending the program for it. This
// is the only memory check of a load; the readers below it need no other.
bool fits_memory(const std::string& path, long long pixels)
{
    const std::uint64_t bytes = 2 * static_cast<std::uint64_t>(pixels) * sizeof(Colour);
    if (allocation_fits(bytes)) return true;
    constexpr double megabyte = 1e6, gigabyte = 1e9;
    char needed[32];
    if (bytes >= gigabyte) std::snprintf(needed, sizeof needed, "%.1f GB", bytes / gigabyte);
    else std::snprintf(needed, sizeof needed, "%.0f MB", std::ceil(bytes / megabyte));
    report_refusal(path, "the original and the adjusted picture together need " + std::string(needed) +
                             " of memory, more than this machine can give");
    return false;
}

// Reads a BMP file into a picture of its own, leaving every slot alone, so a
// failed read destroys nothing. Returns false, having said why, on a failure.
bool read_bmp(const std::string& path, fe::Bitmap& picture)
{
    std::string failure;
    try {
        if (const fe::FileResult read = fe::load_file(picture, path); !read) failure = read.reason;
    } catch (const std::bad_alloc&) {
        failure = no_memory;
    }
    if (failure.empty() && picture.empty()) failure = "the file holds no picture";
    if (!failure.empty()) report_refusal(path, failure);
    return failure.empty();
}

// Converts a JPEG file into a BMP file beside it. From then on only that file
// counts (it stays on disk): it becomes `path`, and its picture the decoded
// one. Returns false when the load stops here, having said why on a failure.
bool convert_jpeg(std::string& path, fe::Bitmap& picture)
{
    const std::string bmp_path = bmp_path_for_jpeg(path);
    Conversion conversion = JPEG2BMP(path, bmp_path);
    if (conversion.outcome == ConversionOutcome::declined) return false;
    if (conversion.outcome == ConversionOutcome::failed) {
        report_refusal(path, conversion.reason);
        return false;
    }
    path = bmp_path;
    picture = std::move(conversion.picture);
    return true;
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
    const PictureFileKind kind = kind_of_picture_file(path);
    if (kind == PictureFileKind::refused) {
        report_refusal(path, "only files ending in " + std::string(accepted_endings) + " can be loaded");
        return;
    }
    const long long pixels = fe::picture_file_pixels(path);
    if (!fits_memory(path, pixels)) return;
    const fe::BusyCursor busy(takes_long(pixels));
    fe::Bitmap original;
    if (kind == PictureFileKind::jpeg ? !convert_jpeg(path, original) : !read_bmp(path, original))
        return;
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
