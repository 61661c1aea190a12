#include "display/loading.h"

#include "display/long_waits.h"
#include "display/show_adjusted.h"
#include "display/view_geometry.h"
#include "files/jpeg_to_bmp.h"
#include "files/picture_jobs.h"
#include "state/document_controls.h"

namespace korven {

namespace {

void report_refusal(const std::string& path, const std::string& reason)
{
    fe::message("Cannot load \"" + path + "\": " + reason + ".");
}

// A JPEG's BMP file that holds another picture is replaced only if the user
// says so. False when the load stops here, having said why on a failure.
bool may_replace_converted_bmp(const std::string& jpeg_path, const LoadedPicture& loaded)
{
    const std::string question = "\"" + loaded.path + "\" already exists and holds a different picture.\n"
                                 "Replace it with the picture converted from \"" + jpeg_path + "\"?";
    if (!fe::ask(question)) return false;
    if (const FileResult written = write_converted_bmp(loaded.picture, loaded.path); !written) {
        report_refusal(jpeg_path, written.reason);
        return false;
    }
    return true;
}

// Makes the freshly read picture the original and the adjusted picture (one
// picture serves both until a command makes a new adjusted one) and shows it.
void show_loaded_picture(const std::string& path, fe::Bitmap original, PhotoMetadata metadata)
{
    State& s = state();
    const Controls& c = ui();
    s.metadata = std::make_shared<const PhotoMetadata>(std::move(metadata));
    s.file_path = path;
    s.file_title = NMCUT(s.file_path);
    show_text(c.EDIT1, s.file_field, s.file_path);
    s.pictures.set(original_slot, std::move(original));
    s.pictures.set(adjusted_slot, s.pictures.shared(original_slot));
    s.picture_width[original_slot] = static_cast<std::int16_t>(fe::get_bitmap_width(s.pictures[original_slot]));
    s.picture_height[original_slot] = static_cast<std::int16_t>(fe::get_bitmap_height(s.pictures[original_slot]));
    show_text(c.TEXT1, s.original_size_label,
              size_text(s.picture_width[original_slot], s.picture_height[original_slot]));
    show_new_adjusted_picture(2);
    show_picture_window(true);
}

}  // namespace

void load_picture_file(const std::string& path)
{
    // Refusals that need no reading come before the busy cursor.
    const LoadPlan plan = plan_load(path);
    if (!plan.refusal.empty()) {
        report_refusal(path, plan.refusal);
        return;
    }
    const fe::BusyCursor busy(takes_long(plan.pixels));
    LoadedPicture loaded = load_picture(path, plan);
    if (loaded.outcome == LoadedPicture::Outcome::refused) {
        report_refusal(path, loaded.reason);
        return;
    }
    if (loaded.outcome == LoadedPicture::Outcome::bmp_differs && !may_replace_converted_bmp(path, loaded)) return;
    show_loaded_picture(loaded.path, std::move(loaded.picture), std::move(loaded.metadata));
    if (!loaded.notice.empty()) fe::message("\"" + path + "\": " + loaded.notice);
}

// "LOAD"
void BUTTON2_ON()
{
    const std::string chosen = fe::win_open_dlg(ui().MAINFORM, "Load Image", "*.bmp",
                                                "bmp-Image(*.bmp);jpg-Image(*.jpg);png-Image(*.png)");
    if (chosen == fe::cancel_text) return;
    load_picture_file(chosen);
}

// Files dropped on the main window: exactly one is loaded.
void MAINFORM_DROPFILES(const fe::Event& drop)
{
    if (fb::get_drop_file_count(drop) != 1) return;
    load_picture_file(fb::get_drop_file_name(drop, 0));
}

void EDIT1_CHANGE() { state().file_field = fe::get_window_text(ui().EDIT1); }

}  // namespace korven
