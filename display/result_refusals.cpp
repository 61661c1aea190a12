#include "display/result_refusals.h"

#include <string>

#include "core/memory_budget.h"
#include "core/picture.h"
#include "platform/form.h"

namespace korven {

namespace {

std::string size_words(long long width, long long height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

}  // namespace

bool result_can_be_made(std::string_view action, long long width, long long height, std::uint64_t work_bytes)
{
    const std::string refusal = "Cannot " + std::string(action) + ": ";
    if (width > largest_picture_side || height > largest_picture_side) {
        fe::message(refusal + "the result would be " + size_words(width, height) +
                    ", and a picture can have at most 32767 pixels on a side. Nothing was changed.");
        return false;
    }
    const std::uint64_t bytes = picture_bytes(static_cast<int>(width), static_cast<int>(height)) + work_bytes;
    if (!allocation_fits(bytes)) {
        report_no_memory(action, width, height);
        return false;
    }
    return true;
}

void report_no_memory(std::string_view action, long long width, long long height)
{
    fe::message("Cannot " + std::string(action) + ": there is not enough memory for a picture of " +
                size_words(width, height) + ". Nothing was changed.");
}

}  // namespace korven
