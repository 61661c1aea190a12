#include "files/curve_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files/gimp_curves.h"
#include "files/output_file.h"

namespace korven {

namespace {

constexpr std::string_view mode_names[] = {"all", "red", "green", "blue"};

// A curve file is a few hundred bytes; a large file is some other file.
constexpr off_t largest_curve_file = 1 << 20;

CurveFileRead refused(std::string reason) { return {std::nullopt, std::move(reason), ""}; }

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view trimmed(std::string_view text)
{
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
    text.remove_suffix(text.size() - std::min(text.find_last_not_of(" \t") + 1, text.size()));
    return text;
}

// The words of a line of a `.kcurve` file: those before any `#`.
std::string_view without_comment(std::string_view line) { return trimmed(line.substr(0, line.find('#'))); }

// The levels of a `.kcurve` file, read as they come, on one line or more.
class LevelsReader {
public:
    // Reads the words of `line` from `at` as levels; why they are wrong, if they are.
    std::optional<std::string> read(std::string_view line, std::size_t at, std::size_t line_number)
    {
        last_line_ = line_number;
        for (std::string_view word = next_word(line, at); !word.empty(); word = next_word(line, at)) {
            const std::optional<int> level = whole_number(word, 0, 255);
            if (!level) return quoted(word) + " is not a level from 0 to 255";
            if (count_ < curve_points) levels_[count_] = static_cast<std::int16_t>(*level);
            ++count_;
        }
        return std::nullopt;
    }

    // Once the levels end: the refusal of too few or too many, if so.
    std::optional<CurveFileRead> wrong_count() const
    {
        if (count_ == curve_points) return std::nullopt;
        return refused_at(last_line_, std::to_string(count_) + (count_ == 1 ? " level" : " levels") +
                                          ", where a curve has " + std::to_string(curve_points));
    }

    const CurveLevels& levels() const { return levels_; }

private:
    CurveLevels levels_{};
    std::size_t count_ = 0, last_line_ = 0;
};

CurveFileRead read_kcurve(std::string_view text)
{
    TextLines lines(text);
    std::optional<std::string_view> line;
    while ((line = lines.next()) && without_comment(*line).empty()) {
    }

    // The header: "KORVEN curve 1"; other versions may hold what this one cannot read.
    const std::size_t header_line = line ? lines.number() : 1;
    const std::string_view header = line ? without_comment(*line) : "";
    std::size_t at = 0;
    const std::string_view name = next_word(header, at), kind = next_word(header, at),
                           version = next_word(header, at), more = next_word(header, at);
    if (name != "KORVEN" || kind != "curve" || version.empty() || !more.empty() ||
        version.find_first_not_of("0123456789") != std::string_view::npos)
        return refused_at(header_line, "not a curve file (it should start with \"KORVEN curve 1\")");
    if (version != "1")
        return refused_at(header_line, "version " + std::string(version.substr(0, 12)) +
                                           (version.size() > 12 ? "..." : "") + " of the curve format is not known");

    std::optional<DrawMode> mode;
    std::optional<LevelsReader> levels;
    bool in_levels = false;  // a line of numbers goes on with the levels
    while ((line = lines.next())) {
        const std::string_view words = without_comment(*line);
        at = 0;
        const std::string_view key = next_word(words, at);
        if (key.empty()) continue;
        if (in_levels && !is_letter(key[0])) {
            if (const std::optional<std::string> wrong = levels->read(words, 0, lines.number()))
                return refused_at(lines.number(), *wrong);
            continue;
        }
        if (in_levels) {
            if (const std::optional<CurveFileRead> wrong = levels->wrong_count()) return *wrong;
            in_levels = false;
        }
        if (key == "mode") {
            if (mode) return refused_at(lines.number(), "the mode is given twice");
            const std::string_view value = trimmed(words.substr(at));
            const auto* found = std::find(std::begin(mode_names), std::end(mode_names), value);
            if (found == std::end(mode_names))
                return refused_at(lines.number(), "the mode must be all, red, green or blue" +
                                                      (value.empty() ? std::string() : ", not " + quoted(value)));
            mode = static_cast<DrawMode>(found - std::begin(mode_names));
        } else if (key == "levels") {
            if (levels) return refused_at(lines.number(), "the levels are given twice");
            levels.emplace();
            in_levels = true;
            if (const std::optional<std::string> wrong = levels->read(words, at, lines.number()))
                return refused_at(lines.number(), *wrong);
        } else {
            return refused_at(lines.number(),
                              quoted(key) + " is not a setting of a curve file; only mode and levels are");
        }
    }
    const std::size_t last_line = lines.number();
    if (in_levels)
        if (const std::optional<CurveFileRead> wrong = levels->wrong_count()) return *wrong;
    if (!mode) return refused_at(last_line, "the file has no mode");
    if (!levels) return refused_at(last_line, "the file has no levels");
    return {ToneCurve{levels->levels(), *mode}, "", ""};
}

// An open file, closed when it goes.
class OpenFile {
public:
    // Opening never waits: a pipe with no writer would hold the program up for good.
    explicit OpenFile(const std::string& path) : descriptor_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~OpenFile()
    {
        if (descriptor_ >= 0) close(descriptor_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int descriptor() const { return descriptor_; }

private:
    int descriptor_;
};

}  // namespace

CurveFileRead read_curve_text(std::string_view text)
{
    TextLines lines(text);
    const std::string_view first = lines.next().value_or("");
    if (first == gimp_curves_file_line) return read_gimp_curves_file(text);
    if (first == gimp_curves_settings_line) return read_gimp_curves_settings(text);
    return read_kcurve(text);
}

CurveFileRead read_curve_file(const std::string& path)
{
    const OpenFile file(path);
    if (file.descriptor() < 0) return refused(errno == ENOENT ? "the file does not exist" : "the file cannot be read");
    struct stat status {};
    if (fstat(file.descriptor(), &status) != 0 || !S_ISREG(status.st_mode)) return refused("the file cannot be read");
    if (status.st_size > largest_curve_file) return refused("the file is too large to be a curve file");
    // Read to the end, whatever the size said: the file may have grown since.
    std::string text(static_cast<std::size_t>(largest_curve_file) + 1, '\0');
    std::size_t length = 0;
    while (length < text.size()) {
        const ssize_t got = read(file.descriptor(), text.data() + length, text.size() - length);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return refused("the file cannot be read");
        if (got == 0) break;
        length += static_cast<std::size_t>(got);
    }
    if (length > static_cast<std::size_t>(largest_curve_file))
        return refused("the file is too large to be a curve file");
    text.resize(length);
    return read_curve_text(text);
}

std::string curve_file_text(const ToneCurve& curve)
{
    const auto mode = static_cast<std::size_t>(curve.mode);
    std::string text =
        "# A tone curve: level k is the output for input level 8 k (the last for 255),\n"
        "# on all channels keeping their ratios, or on the one the mode names.\n"
        "KORVEN curve 1\n"
        "mode " +
        std::string(mode < std::size(mode_names) ? mode_names[mode] : mode_names[0]) + "\nlevels";
    // A level outside 0..255 would make a file that cannot be read back.
    for (const std::int16_t level : curve.levels) {
        text += ' ';
        text += std::to_string(std::clamp<int>(level, 0, 255));
    }
    return text + "\n";
}

FileResult save_curve_file(const ToneCurve& curve, const std::string& path)
{
    OutputFile file(path, Durability::on_disk);
    const std::string text = curve_file_text(curve);
    file.write(text.data(), text.size());
    return file.commit();
}

}  // namespace korven
