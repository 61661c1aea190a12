#include "app/batch_plan.h"

#include <filesystem>
#include <map>
#include <system_error>

namespace korven {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view result_mark = "-korven";

// One spelling for every way of naming a file: through links of folders too.
std::string same_file_key(const std::string& path)
{
    std::error_code error;
    fs::path key = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error) key = fs::absolute(path, error).lexically_normal();
    return key.string();
}

bool exists_as_anything(const std::string& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

}  // namespace

std::string result_path(const std::string& photo, const std::string& out_folder)
{
    const fs::path path(photo);
    const fs::path name = path.stem().string() + std::string(result_mark) + path.extension().string();
    return (out_folder.empty() ? path.parent_path() / name : fs::path(out_folder) / name).string();
}

std::vector<PlannedPhoto> plan_batch(const std::vector<std::string>& photos, const std::string& out_folder,
                                     bool overwrite)
{
    std::vector<PlannedPhoto> plan;
    std::map<std::string, std::string> earlier;  // result key -> the photo that writes it
    for (const std::string& photo : photos) {
        PlannedPhoto& p = plan.emplace_back(PlannedPhoto{photo, result_path(photo, out_folder)});
        if (fs::path(photo).stem().string().ends_with(result_mark)) {
            p.action = PlannedPhoto::Action::skip;
            p.reason = "its name says it is a result already";
            continue;
        }
        const auto [writer, first] = earlier.emplace(same_file_key(p.result), photo);
        if (!first) {
            p.action = PlannedPhoto::Action::fail;
            p.reason = "its result \"" + p.result + "\" is the result of \"" + writer->second + "\" too";
        } else if (!overwrite && exists_as_anything(p.result)) {
            p.action = PlannedPhoto::Action::skip;
            p.reason = "\"" + p.result + "\" exists (--overwrite replaces it)";
        }
    }
    return plan;
}

}  // namespace korven
