#include "files/gimp_curves.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "core/numbers.h"
#include "files/monotone_curve.h"

namespace korven {

namespace {

constexpr std::string_view channel_names[] = {"value", "red", "green", "blue", "alpha"};
constexpr int counted_channels = 4;  // alpha is read but never used

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string count_of(std::size_t count, std::string_view one, std::string_view many)
{
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The older file

// A channel's line: 17 points, each a pair of levels or -1 -1 when not used.
std::optional<std::string> read_gimp_channel(std::string_view line, std::vector<CurvePoint>& points)
{
    constexpr std::size_t pairs = 17;
    std::vector<int> numbers;
    std::size_t at = 0;
    for (std::string_view word = next_word(line, at); !word.empty(); word = next_word(line, at)) {
        const std::optional<int> number = whole_number(word, -1, 255);
        if (!number) return quoted(word) + " is not a level from 0 to 255, nor -1 for a point not used";
        numbers.push_back(*number);
    }
    if (numbers.size() != 2 * pairs)
        return count_of(numbers.size(), "number", "numbers") + ", where a channel has 34 (17 points of two levels)";
    for (std::size_t i = 0; i < 2 * pairs; i += 2) {
        const int x = numbers[i], y = numbers[i + 1];
        if (x == -1 && y == -1) continue;
        if (x == -1 || y == -1)
            return "the point \"" + std::to_string(x) + " " + std::to_string(y) +
                   "\" is half not used; a point not used is \"-1 -1\"";
        points.push_back({x, y});
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const CurvePoint& a, const CurvePoint& b) { return a.input < b.input; });
    for (std::size_t i = 1; i < points.size(); ++i)
        if (points[i].input == points[i - 1].input)
            return "two points stand at input level " + std::to_string(points[i].input);
    return std::nullopt;
}

// The newer file

// Why the settings are refused, and where.
struct Refusal {
    std::size_t line;
    std::string what;
};

// A piece of the settings text: a parenthesis, a word (names and numbers),
// a quoted text, or the end.
struct Token {
    enum Kind { open, close, word, text, end } kind;
    std::string_view spelling;
    std::size_t line;
};

class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}

    Token next()
    {
        skip_blanks_and_comments();
        const std::size_t start = at_, line = line_;
        if (at_ == text_.size()) return {Token::end, "", line};
        const char c = text_[at_++];
        if (c == '(') return {Token::open, "(", line};
        if (c == ')') return {Token::close, ")", line};
        if (c == '"') {
            for (; at_ < text_.size() && text_[at_] != '"'; ++at_) {
                if (text_[at_] == '\\' && at_ + 1 < text_.size()) ++at_;
                if (text_[at_] == '\n') ++line_;
            }
            if (at_ == text_.size()) throw Refusal{line, "a quoted text is not closed"};
            ++at_;
            return {Token::text, text_.substr(start, at_ - start), line};
        }
        while (at_ < text_.size() && !ends_word(text_[at_])) ++at_;
        return {Token::word, text_.substr(start, at_ - start), line};
    }

private:
    static bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
    static bool ends_word(char c) { return is_space(c) || c == '(' || c == ')' || c == '"' || c == '#'; }

    void skip_blanks_and_comments()
    {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '#') {
                while (at_ < text_.size() && text_[at_] != '\n') ++at_;
            } else if (is_space(c)) {
                line_ += c == '\n';
                ++at_;
            } else {
                return;
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0, line_ = 1;
};

// Reads the settings one at a time, passing over those it does not know
// (however deeply nested: they are counted, not recursed into).
class SettingsReader {
public:
    explicit SettingsReader(std::string_view text) : tokens_(text) {}

    GimpChannelCurves read()
    {
        GimpChannelCurves curves;
        curves.fill(identity_levels());
        std::size_t channel = 0;  // a curve before any channel is the value curve, as GIMP has it
        for (Token token = tokens_.next(); token.kind != Token::end; token = tokens_.next()) {
            if (token.kind == Token::close) throw Refusal{token.line, "a closing parenthesis has nothing to close"};
            if (token.kind != Token::open)
                throw Refusal{token.line, quoted(token.spelling) + " stands outside any setting"};
            const std::string_view name = setting_name(token);
            if (name == "linear") {
                const Token value = value_of(token);
                if (value.spelling == "yes") refuse_linear(value.line);
                if (value.spelling != "no") refuse_value(value, "the linear setting", "yes or no");
                close_setting(token);
            } else if (name == "trc") {
                const Token value = value_of(token);
                if (value.spelling == "linear") refuse_linear(value.line);
                if (value.spelling != "non-linear" && value.spelling != "perceptual")
                    refuse_value(value, "the tone reproduction", "linear, non-linear or perceptual");
                close_setting(token);
            } else if (name == "channel") {
                const Token value = value_of(token);
                const auto* found = std::find(std::begin(channel_names), std::end(channel_names), value.spelling);
                if (found == std::end(channel_names))
                    refuse_value(value, "the channel", "value, red, green, blue or alpha");
                channel = static_cast<std::size_t>(found - std::begin(channel_names));
                close_setting(token);
            } else if (name == "curve") {
                const CurveLevels levels = read_curve(token);
                if (channel < counted_channels) curves[channel] = levels;
            } else {
                pass_over(token);
            }
        }
        return curves;
    }

private:
    [[noreturn]] static void refuse_linear(std::size_t line)
    {
        throw Refusal{line, "the curves work on linear light, which this program does not use"};
    }

    [[noreturn]] static void refuse_value(const Token& value, std::string_view what, std::string_view choices)
    {
        throw Refusal{value.line, std::string(what) + " must be " + std::string(choices) + ", not " +
                                      quoted(value.spelling)};
    }

    [[noreturn]] static void refuse_unclosed(const Token& open)
    {
        throw Refusal{open.line, "a parenthesis opened here is not closed"};
    }

    // The name after an opening parenthesis.
    std::string_view setting_name(const Token& open)
    {
        const Token name = tokens_.next();
        if (name.kind == Token::end) refuse_unclosed(open);
        if (name.kind != Token::word) throw Refusal{name.line, "a setting has no name"};
        return name.spelling;
    }

    // The one word a setting opened by `open` holds, or the first of its values.
    Token value_of(const Token& open)
    {
        const Token word = tokens_.next();
        if (word.kind == Token::end) refuse_unclosed(open);
        if (word.kind == Token::close) throw Refusal{word.line, "a setting has no value"};
        if (word.kind != Token::word) throw Refusal{word.line, quoted(word.spelling) + " is not a setting's value"};
        return word;
    }

    // The closing parenthesis of the setting opened by `open`, with nothing before it.
    void close_setting(const Token& open)
    {
        const Token token = tokens_.next();
        if (token.kind == Token::end) refuse_unclosed(open);
        if (token.kind != Token::close) throw Refusal{token.line, quoted(token.spelling) + " does not belong here"};
    }

    void pass_over(const Token& open)
    {
        for (std::size_t depth = 1; depth > 0;) {
            const Token token = tokens_.next();
            if (token.kind == Token::end) refuse_unclosed(open);
            if (token.kind == Token::open) ++depth;
            if (token.kind == Token::close) --depth;
        }
    }

    std::size_t count(const Token& open)
    {
        const Token word = value_of(open);
        std::size_t count = 0;
        const char* end = word.spelling.data() + word.spelling.size();
        const auto [stop, error] = std::from_chars(word.spelling.data(), end, count);
        if (error != std::errc() || stop != end) throw Refusal{word.line, quoted(word.spelling) + " is not a count"};
        return count;
    }

    // A list setting, its count then its values up to the closing
    // parenthesis: "(samples 3 0 0.5 1)". `take` checks and keeps each value.
    // Says how many there were, which must be the count.
    template <typename Take>
    std::size_t counted_list(const Token& open, std::string_view one, std::string_view many, Take take)
    {
        const std::size_t said = count(open);
        std::size_t values = 0;
        for (Token token = tokens_.next(); token.kind != Token::close; token = tokens_.next(), ++values) {
            if (token.kind == Token::end) refuse_unclosed(open);
            take(token);
        }
        if (values != said) throw Refusal{open.line, count_of(values, one, many) + ", where the file says " +
                                                         std::to_string(said)};
        return values;
    }

    static double number_in(const Token& token, double lowest, double highest, std::string_view what)
    {
        double number = 0;
        const char* end = token.spelling.data() + token.spelling.size();
        const auto [stop, error] = std::from_chars(token.spelling.data(), end, number);
        const bool read = token.kind == Token::word && error == std::errc() && stop == end;
        if (!read || !(number >= lowest && number <= highest))
            throw Refusal{token.line, quoted(token.spelling) + " is not " + std::string(what)};
        return number;
    }

    // A channel's `(curve ...)`: its levels from the samples; the points and
    // their types only checked, as the samples already follow them.
    CurveLevels read_curve(const Token& curve)
    {
        std::optional<std::size_t> n_points, n_samples, coordinates, point_types;
        std::size_t points_line = 0, types_line = 0, samples_line = 0;
        std::vector<double> samples;
        for (Token open = tokens_.next(); open.kind != Token::close; open = tokens_.next()) {
            if (open.kind == Token::end) refuse_unclosed(curve);
            if (open.kind != Token::open) throw Refusal{open.line, quoted(open.spelling) + " does not belong here"};
            const std::string_view name = setting_name(open);
            if (name == "curve-type") {
                const Token type = value_of(open);
                if (type.spelling != "smooth" && type.spelling != "free")
                    refuse_value(type, "the curve type", "smooth or free");
                close_setting(open);
            } else if (name == "n-points") {
                n_points = count(open);
                close_setting(open);
            } else if (name == "points") {
                points_line = open.line;
                coordinates = counted_list(open, "point coordinate", "point coordinates", [](const Token& token) {
                    number_in(token, -1, 1, "a point coordinate from -1 to 1");
                });
            } else if (name == "point-types") {
                types_line = open.line;
                point_types = counted_list(open, "point type", "point types", [](const Token& token) {
                    if (token.spelling != "smooth" && token.spelling != "corner")
                        throw Refusal{token.line, quoted(token.spelling) + " is not a point type (smooth or corner)"};
                });
            } else if (name == "n-samples") {
                n_samples = count(open);
                close_setting(open);
            } else if (name == "samples") {
                samples_line = open.line;
                samples.clear();
                counted_list(open, "sample", "samples", [&samples](const Token& token) {
                    samples.push_back(number_in(token, 0, 1, "a sample from 0 to 1"));
                });
            } else {
                pass_over(open);
            }
        }
        if (samples.empty()) throw Refusal{curve.line, "the curve has no samples"};
        if (n_samples && *n_samples != samples.size())
            throw Refusal{samples_line, count_of(samples.size(), "sample", "samples") + ", where the curve has " +
                                            std::to_string(*n_samples)};
        if (coordinates && *coordinates % 2 != 0)
            throw Refusal{points_line, count_of(*coordinates, "point coordinate", "point coordinates") +
                                           ", which make no whole number of points"};
        if (n_points && coordinates && *coordinates / 2 != *n_points)
            throw Refusal{points_line, count_of(*coordinates / 2, "point", "points") + ", where the curve has " +
                                           std::to_string(*n_points)};
        if (n_points && point_types && *point_types != *n_points)
            throw Refusal{types_line, count_of(*point_types, "point type", "point types") + ", where the curve has " +
                                          count_of(*n_points, "point", "points")};
        CurveLevels levels{};
        const std::size_t last = samples.size() - 1;
        for (int k = 0; k < curve_points; ++k) {
            // The sample nearest the input level: i = input * last / 255, rounded.
            const std::size_t i = (static_cast<std::size_t>(curve_point_input(k)) * last * 2 + 255) / 510;
            levels[k] = static_cast<std::int16_t>(std::clamp(round_to_int(samples[i] * 255), 0, 255));
        }
        return levels;
    }

    Tokens tokens_;
};

}  // namespace

std::optional<std::string_view> TextLines::next()
{
    if (rest_.empty()) return std::nullopt;
    const std::size_t end = rest_.find('\n');
    std::string_view line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    while (!line.empty() && is_blank(line.back())) line.remove_suffix(1);
    ++number_;
    return line;
}

std::string_view next_word(std::string_view line, std::size_t& at)
{
    while (at < line.size() && is_blank(line[at])) ++at;
    const std::size_t start = at;
    while (at < line.size() && !is_blank(line[at])) ++at;
    return line.substr(start, at - start);
}

std::optional<int> whole_number(std::string_view word, int lowest, int highest)
{
    int number = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, number);
    if (error != std::errc() || stop != end || number < lowest || number > highest) return std::nullopt;
    return number;
}

std::string quoted(std::string_view word)
{
    constexpr std::size_t longest = 24;
    std::string shown = "\"";
    for (const char c : word.substr(0, longest)) shown += c >= ' ' && c != '\x7f' ? c : '?';
    return shown + (word.size() > longest ? "...\"" : "\"");
}

CurveFileRead refused_at(std::size_t line, const std::string& what)
{
    return {std::nullopt, "line " + std::to_string(line) + ": " + what, ""};
}

CurveFileRead read_gimp_curves_file(std::string_view text)
{
    TextLines lines(text);
    lines.next();  // the first line, which says what the file is
    GimpChannelCurves curves;
    std::size_t channel = 0;
    while (const std::optional<std::string_view> line = lines.next()) {
        std::size_t at = 0;
        if (next_word(*line, at).empty()) continue;
        if (channel == 5) return refused_at(lines.number(), "the file has more than five channel lines");
        std::vector<CurvePoint> points;
        if (const std::optional<std::string> wrong = read_gimp_channel(*line, points))
            return refused_at(lines.number(), *wrong);
        if (channel < counted_channels) curves[channel] = monotone_curve_levels(points);
        ++channel;
    }
    if (channel < 5)
        return refused_at(std::max<std::size_t>(lines.number(), 1),
                          "the file ends after " + count_of(channel, "channel line", "channel lines") +
                              ", where it has five (value, red, green, blue and alpha)");
    return curve_of_gimp_channels(curves);
}

CurveFileRead read_gimp_curves_settings(std::string_view text)
{
    try {
        return curve_of_gimp_channels(SettingsReader(text).read());
    } catch (const Refusal& refusal) {
        return refused_at(refusal.line, refusal.what);
    }
}

CurveFileRead curve_of_gimp_channels(const GimpChannelCurves& channels)
{
    constexpr DrawMode modes[] = {DrawMode::all, DrawMode::red, DrawMode::green, DrawMode::blue};
    std::vector<std::size_t> changed;
    for (std::size_t c = 0; c < channels.size(); ++c)
        if (channels[c] != identity_levels()) changed.push_back(c);
    if (changed.empty()) return {ToneCurve{identity_levels(), DrawMode::all}, "", ""};

    CurveFileRead read{ToneCurve{channels[changed[0]], modes[changed[0]]}, "", ""};
    if (changed.size() > 1) {
        // "The red and blue curves of the file were left out: one curve is used, the value curve."
        std::string left_out;
        for (std::size_t i = 1; i < changed.size(); ++i)
            left_out += std::string(i == 1 ? "" : i + 1 == changed.size() ? " and " : ", ") +
                        std::string(channel_names[changed[i]]);
        read.notice = "The " + left_out + (changed.size() > 2 ? " curves of the file were" : " curve of the file was") +
                      " left out: one curve is used, the " + std::string(channel_names[changed[0]]) + " curve.";
    }
    return read;
}

}  // namespace korven
