#pragma once
// What a batch will do with each photo, decided before any photo is read:
// where its result goes, or why it is skipped or fails. Pure: it looks at
// the file system but writes nothing.

#include <string>
#include <vector>

namespace korven {

struct PlannedPhoto {
    enum class Action { correct, skip, fail };
    std::string photo;   // as named on the command line
    std::string result;  // NAME-korven.EXT in the out folder or beside the photo
    Action action = Action::correct;
    std::string reason;  // why it is skipped or fails
};

// The result of `photo`: its name with "-korven" before the ending, in
// `out_folder`, or beside the photo when that is empty.
std::string result_path(const std::string& photo, const std::string& out_folder);

// One entry a photo, in their order. A photo whose name ends in "-korven"
// (a result itself) is skipped, and so is one whose result exists unless
// `overwrite`; of two photos with one result, the later one fails.
std::vector<PlannedPhoto> plan_batch(const std::vector<std::string>& photos, const std::string& out_folder,
                                     bool overwrite);

}  // namespace korven
