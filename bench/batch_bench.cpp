// The batch command against plain tools doing the same job: 40 photos of 12
// to 24 megapixels, JPEG to JPEG at quality 92, 4:2:0, baseline, standard
// Huffman tables, two photos at a time on the machine's two cores:
//   batch          korven --apply CURVE --out DIR --quality 92 --jobs 2
//   decode_encode  libjpeg-turbo alone in two threads of this program: each
//                  decodes a photo to RGB and encodes it again, nothing else
//   vips           vips maplut, two processes of one thread each
//   magick         ImageMagick's convert -clut, two processes of one thread each
// The curve is a mild S-curve; vips and ImageMagick get it as a 256-entry table.
// Every tool's files are counted and their headers read (size, baseline,
// 4:2:0, quality 92 tables, standard Huffman tables, EXIF kept), so that a
// tool which wrote nothing, or wrote something cheaper, cannot look fast.
#include "bench/batch_bench.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/large_jpeg.h"
#include "files/jpeg_errors.h"

extern char** environ;

namespace korven::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

constexpr int photo_count = 40;
constexpr int parallel = 2;
constexpr int quality = 92;

struct Size {
    int width = 0, height = 0;
};
// Camera and phone sizes from 12 to 24 megapixels, landscape and portrait.
constexpr Size photo_sizes[] = {{4000, 3000}, {3024, 4032}, {4608, 3456}, {5184, 3456},
                                {3456, 5184}, {5472, 3648}, {6000, 4000}, {4000, 6000}};

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// ---- JPEG reading and writing with libjpeg-turbo --------------------------

// An APP marker kept from a photo (EXIF, XMP, colour profile).
struct Marker {
    int code = 0;
    std::vector<unsigned char> data;
};

// The APP1 block of EXIF with orientation 1 (rows as stored) and nothing else.
constexpr unsigned char exif_orientation_1[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                                                0x12, 1, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};

// Writes a JPEG of quality 92 with libjpeg's defaults otherwise (baseline,
// 4:2:0, standard Huffman tables), `markers` after its header; `fill(y, row)`
// gives each RGB row. False when it cannot be written.
template <class Fill>
bool encode_jpeg(const fs::path& path, Size size, const std::vector<Marker>& markers, Fill fill)
{
    const File out(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!out) return false;
    std::vector<unsigned char> row(static_cast<std::size_t>(size.width) * 3);
    jpeg_compress_struct info{};
    jpeg::ErrorExit errors{};
    info.err = jpeg::reporting_to(errors);
    jpeg_create_compress(&info);
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_stdio_dest(&info, out.get());
    info.image_width = static_cast<JDIMENSION>(size.width);
    info.image_height = static_cast<JDIMENSION>(size.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    for (const Marker& marker : markers)
        jpeg_write_marker(&info, marker.code, marker.data.data(), static_cast<unsigned>(marker.data.size()));
    JSAMPROW rows[] = {row.data()};
    for (int y = 0; y < size.height; ++y) {
        fill(y, row.data());
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

struct Decoded {
    Size size;
    std::vector<unsigned char> rgb;
    std::vector<Marker> markers;
};

void keep_app_markers(jpeg_decompress_struct& info)
{
    for (int code = JPEG_APP0 + 1; code <= JPEG_APP0 + 15; ++code) jpeg_save_markers(&info, code, 0xFFFF);
}

std::vector<Marker> kept_markers(const jpeg_decompress_struct& info)
{
    std::vector<Marker> markers;
    for (jpeg_saved_marker_ptr at = info.marker_list; at; at = at->next)
        markers.push_back({at->marker, {at->data, at->data + at->data_length}});
    return markers;
}

// The whole photo as RGB rows, with its APP markers; false when it cannot be read.
bool decode_jpeg(const fs::path& path, Decoded& decoded)
{
    const File in(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!in) return false;
    jpeg_decompress_struct info{};
    jpeg::ErrorExit errors{};
    info.err = jpeg::reporting_to(errors);
    jpeg_create_decompress(&info);
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_stdio_src(&info, in.get());
    keep_app_markers(info);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    decoded.size = {static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
    decoded.markers = kept_markers(info);
    const std::size_t stride = static_cast<std::size_t>(decoded.size.width) * 3;
    decoded.rgb.resize(stride * static_cast<std::size_t>(decoded.size.height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = {decoded.rgb.data() + stride * info.output_scanline};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// ---- The photos ----------------------------------------------------------

struct Random {
    std::uint64_t state;
    std::uint32_t next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<std::uint32_t>((state * 2685821657736338717ull) >> 32);
    }
    double unit() { return next() / 4294967296.0; }
    double between(double low, double high) { return low + (high - low) * unit(); }
};

// Amplitude of the grain, in levels either side.
constexpr int grain = 14;

// A landscape: a sky whose colour runs smoothly down and across, hills against
// it, and ground below with texture at several scales, under a soft vignette;
// over all of it a fine grain, as a camera's sensor gives. The texture and
// grain make the file as large, and as slow to decode, as a photo of its size
// (close to 3 bits a pixel at quality 92): smooth gradients alone would compress
// to a fraction of that and decode far faster.
bool write_photo(const fs::path& path, Size size, std::uint32_t seed)
{
    const int w = size.width, h = size.height;
    Random random{0x9E3779B97F4A7C15ull * (seed + 1)};
    constexpr double turn = 6.283185307179586;

    std::vector<int> horizon(static_cast<std::size_t>(w)), sky_tint(static_cast<std::size_t>(w)),
        column_shift(static_cast<std::size_t>(w)), vignette_x(static_cast<std::size_t>(w));
    const double level = random.between(0.4, 0.65), phase1 = random.between(0, turn),
                 phase2 = random.between(0, turn), phase3 = random.between(0, turn);
    int shift = 0;
    for (int x = 0; x < w; ++x) {
        const double across = static_cast<double>(x) / w;
        horizon[x] = static_cast<int>(h * (level + 0.08 * std::sin(across * turn * 1.3 + phase1) +
                                           0.03 * std::sin(across * turn * 5.1 + phase2) +
                                           0.008 * std::sin(across * turn * 23 + phase3)));
        sky_tint[x] = static_cast<int>(14 * std::sin(across * turn * 0.7 + phase2));
        shift += static_cast<int>(random.next() % 5) - 2;
        column_shift[x] = shift;
        vignette_x[x] = static_cast<int>(256 - 40 * (across - 0.5) * (across - 0.5) * 4);
    }

    // Texture: random values at spacings from 1 to 243 pixels, joined by
    // straight lines and added up, the wider ones stronger.
    constexpr int texture_size = 8192;
    std::vector<int> texture(texture_size, 0);
    for (int spacing = 1, amplitude = 5; spacing <= 243; spacing *= 3, amplitude += 3) {
        std::vector<double> knots(texture_size / spacing + 2);
        for (double& knot : knots) knot = random.between(-amplitude, amplitude);
        for (int i = 0; i < texture_size; ++i) {
            const int k = i / spacing;
            const double t = static_cast<double>(i % spacing) / spacing;
            texture[i] += static_cast<int>(knots[k] + (knots[k + 1] - knots[k]) * t);
        }
    }

    struct Colour3 {
        double r, g, b;
    };
    const Colour3 sky_top{random.between(30, 90), random.between(70, 130), random.between(150, 230)};
    const Colour3 sky_low{random.between(170, 240), random.between(170, 230), random.between(160, 230)};
    const Colour3 ground_far{random.between(70, 140), random.between(90, 150), random.between(40, 100)};
    const Colour3 ground_near{random.between(30, 90), random.between(40, 110), random.between(10, 60)};
    std::vector<std::array<int, 3>> sky(static_cast<std::size_t>(h)), ground(static_cast<std::size_t>(h));
    std::vector<int> row_shift(static_cast<std::size_t>(h)), vignette_y(static_cast<std::size_t>(h));
    shift = 0;
    for (int y = 0; y < h; ++y) {
        const double down = static_cast<double>(y) / h;
        const auto mix = [&](Colour3 a, Colour3 b) {
            return std::array<int, 3>{static_cast<int>(a.r + (b.r - a.r) * down),
                                      static_cast<int>(a.g + (b.g - a.g) * down),
                                      static_cast<int>(a.b + (b.b - a.b) * down)};
        };
        sky[y] = mix(sky_top, sky_low);
        ground[y] = mix(ground_far, ground_near);
        shift += static_cast<int>(random.next() % 7) - 3;
        row_shift[y] = shift;
        vignette_y[y] = static_cast<int>(256 - 40 * (down - 0.5) * (down - 0.5) * 4);
    }

    std::uint32_t noise = seed * 2654435761u + 12345u;
    const auto clamp = [](int v) { return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v); };
    const std::vector<Marker> exif{{JPEG_APP0 + 1, {std::begin(exif_orientation_1), std::end(exif_orientation_1)}}};
    return encode_jpeg(path, size, exif, [&](int y, unsigned char* row) {
        for (int x = 0; x < w; ++x) {
            int r, g, b;
            if (y < horizon[x]) {
                r = sky[y][0] + sky_tint[x];
                g = sky[y][1] + sky_tint[x] / 2;
                b = sky[y][2] - sky_tint[x];
            } else {
                const int detail = texture[(x + row_shift[y]) & (texture_size - 1)] +
                                   texture[(2 * y + column_shift[x]) & (texture_size - 1)];
                r = ground[y][0] + detail;
                g = ground[y][1] + detail + detail / 4;
                b = ground[y][2] + detail / 2;
            }
            const int light = vignette_x[x] * vignette_y[y] >> 8;
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            // Grain mostly in brightness, a little in colour; two bytes added
            // give a bell-like spread.
            const int luma = (static_cast<int>(noise & 255) + static_cast<int>((noise >> 8) & 255) - 255) * grain >> 8;
            const int chroma_r = (static_cast<int>((noise >> 16) & 63) - 32) * grain >> 7;
            const int chroma_b = (static_cast<int>((noise >> 24) & 63) - 32) * grain >> 7;
            row[3 * x] = clamp((r * light >> 8) + luma + chroma_r);
            row[3 * x + 1] = clamp((g * light >> 8) + luma);
            row[3 * x + 2] = clamp((b * light >> 8) + luma + chroma_b);
        }
    });
}

struct Photo {
    fs::path path;
    Size size;
};

// Writes the photos in two threads; none when one cannot be written.
std::vector<Photo> make_photos(const fs::path& folder)
{
    std::vector<Photo> photos;
    for (int i = 0; i < photo_count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "photo-%02d.jpg", i + 1);
        photos.push_back({folder / name, photo_sizes[i % std::size(photo_sizes)]});
    }
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        for (int i; (i = next++) < photo_count;)
            if (!write_photo(photos[i].path, photos[i].size, static_cast<std::uint32_t>(i))) failed = true;
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < parallel; ++t) threads.emplace_back(work);
    for (std::thread& thread : threads) thread.join();
    if (failed) photos.clear();
    return photos;
}

// ---- The curve -----------------------------------------------------------

// A mild S-curve: shadows a little darker, highlights a little brighter.
// Point k stands at input level 8 x k (point 32 at 256, beyond the top).
std::array<int, 33> s_curve_points()
{
    std::array<int, 33> points{};
    for (int k = 0; k < 33; ++k) {
        const double t = std::min(8.0 * k, 255.0) / 255.0;
        points[k] = static_cast<int>(std::lround(255 * (t - 0.045 * std::sin(6.283185307179586 * t))));
    }
    return points;
}

bool write_curve_file(const fs::path& path)
{
    std::ofstream out(path);
    out << "KORVEN curve 1\n# a mild S-curve\nmode all\nlevels";
    for (int level : s_curve_points()) out << ' ' << level;
    out << '\n';
    return static_cast<bool>(out.flush());
}

// The same curve as a 256 x 1 colour table, straight lines between the points.
bool write_table_image(const fs::path& path)
{
    const std::array<int, 33> points = s_curve_points();
    std::string text = "P6\n256 1\n255\n";
    for (int level = 0; level < 256; ++level) {
        const int k = level / 8;
        const int value = points[k] + (points[k + 1] - points[k]) * (level - 8 * k) / 8;
        text.append(3, static_cast<char>(std::clamp(value, 0, 255)));
    }
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

// ---- Running the tools ---------------------------------------------------

struct Outcome {
    double seconds = 0;       // wall clock, from the first start to the last end
    double cpu_seconds = 0;   // user and system time of all the work
    long peak_kb = 0;         // the largest resident set of one process
    std::string failure;      // why the set did not complete, or ""
};

std::string last_line_of(const fs::path& log)
{
    std::ifstream in(log);
    std::string line, last;
    while (std::getline(in, line))
        if (line.find_first_not_of(" \t\r") != std::string::npos) last = line;
    return last.size() > 160 ? last.substr(0, 160) + "..." : last;
}

// The largest resident set of a running process so far. The exit status's
// own figure cannot be used: a child started from this large process starts
// its count at this one's size.
long high_water_kb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:")) return std::atol(line.c_str() + 6);
    return 0;
}

double cpu_seconds_of(const rusage& usage)
{
    const auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the commands, `at_once` at a time, each with this program's
// environment plus `extra_environment` and its output in a log file of its
// own under `logs`. A process that fails ends the set: no more are started.
Outcome run_commands(const std::vector<std::vector<std::string>>& commands, int at_once,
                     const std::vector<std::string>& extra_environment, const fs::path& logs,
                     double seconds_each)
{
    std::vector<std::string> environment = extra_environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (std::none_of(extra_environment.begin(), extra_environment.end(),
                         [&](const std::string& extra) { return extra.starts_with(name + "="); }))
            environment.push_back(text);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    struct Running {
        pid_t pid;
        Clock::time_point start;
        fs::path log;
        bool killed = false;
        Clock::time_point looked{};  // when its resident set was last read
    };
    std::vector<Running> running;
    Outcome outcome;
    std::size_t next = 0;
    const Clock::time_point start = Clock::now();
    while ((next < commands.size() && outcome.failure.empty()) || !running.empty()) {
        while (outcome.failure.empty() && next < commands.size() && static_cast<int>(running.size()) < at_once) {
            std::vector<std::string> arguments = commands[next];
            std::vector<char*> argv;
            for (std::string& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            const fs::path log = logs / (std::to_string(next) + ".log");
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            posix_spawn_file_actions_adddup2(&actions, 1, 2);
            pid_t pid = 0;
            const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
            posix_spawn_file_actions_destroy(&actions);
            if (error != 0) {
                outcome.failure = "cannot start " + commands[next][0] + ": " + std::strerror(error);
                break;
            }
            running.push_back({pid, Clock::now(), log});
            ++next;
        }
        bool ended = false;
        for (auto it = running.begin(); it != running.end();) {
            int status = 0;
            rusage usage{};
            const pid_t done = wait4(it->pid, &status, WNOHANG, &usage);
            if (done == 0) {
                // Read now and then only: reading takes time from the process measured.
                if (seconds_since(it->looked) > 0.02) {
                    it->looked = Clock::now();
                    outcome.peak_kb = std::max(outcome.peak_kb, high_water_kb(it->pid));
                }
                if (!it->killed && seconds_since(it->start) > seconds_each) {
                    kill(it->pid, SIGKILL);
                    it->killed = true;
                }
                ++it;
                continue;
            }
            ended = true;
            if (done == it->pid) {
                outcome.cpu_seconds += cpu_seconds_of(usage);
            }
            std::string why;
            if (done != it->pid) why = "lost track of a process";
            else if (it->killed) why = "a process took longer than " + std::to_string(static_cast<int>(seconds_each)) + " s";
            else if (WIFSIGNALED(status)) why = std::string("a process ended by signal ") + strsignal(WTERMSIG(status));
            else if (WEXITSTATUS(status) != 0) why = "a process exited with " + std::to_string(WEXITSTATUS(status));
            if (!why.empty() && outcome.failure.empty()) {
                const std::string said = last_line_of(it->log);
                outcome.failure = said.empty() ? why : why + ": " + said;
            }
            it = running.erase(it);
        }
        if (!ended) usleep(1000);
    }
    outcome.seconds = seconds_since(start);
    return outcome;
}

// libjpeg-turbo alone: each of two threads takes the next photo, decodes it to
// RGB and encodes it again with the photo's APP markers.
Outcome decode_and_encode(const std::vector<Photo>& photos, const fs::path& out)
{
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    const Clock::time_point start = Clock::now();
    const auto work = [&] {
        Decoded decoded;
        for (std::size_t i; (i = next++) < photos.size();) {
            const std::size_t stride = static_cast<std::size_t>(photos[i].size.width) * 3;
            if (!decode_jpeg(photos[i].path, decoded) ||
                !encode_jpeg(out / photos[i].path.filename(), decoded.size, decoded.markers,
                             [&](int y, unsigned char* row) {
                                 std::memcpy(row, decoded.rgb.data() + stride * static_cast<std::size_t>(y), stride);
                             }))
                failed = true;
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < parallel; ++t) threads.emplace_back(work);
    for (std::thread& thread : threads) thread.join();
    Outcome outcome;
    outcome.seconds = seconds_since(start);
    getrusage(RUSAGE_SELF, &after);
    outcome.cpu_seconds = cpu_seconds_of(after) - cpu_seconds_of(before);
    if (failed) outcome.failure = "a photo could not be decoded or encoded";
    return outcome;
}

// ---- Checking what a tool wrote --------------------------------------------

// The tables libjpeg writes at quality 92 by default: what every file must carry.
struct Tables {
    std::array<std::array<UINT16, DCTSIZE2>, 2> quant{};
    std::array<JHUFF_TBL, 4> huffman{};  // DC and AC of brightness, DC and AC of colour
};

const Tables& reference_tables()
{
    static const Tables tables = [] {
        Tables made;
        jpeg_compress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        info.in_color_space = JCS_RGB;
        info.input_components = 3;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        for (int t = 0; t < 2; ++t) {
            std::copy_n(info.quant_tbl_ptrs[t]->quantval, DCTSIZE2, made.quant[t].begin());
            made.huffman[2 * t] = *info.dc_huff_tbl_ptrs[t];
            made.huffman[2 * t + 1] = *info.ac_huff_tbl_ptrs[t];
        }
        jpeg_destroy_compress(&info);
        return made;
    }();
    return tables;
}

bool same_huffman(const JHUFF_TBL* table, const JHUFF_TBL& reference)
{
    if (!table || !std::equal(table->bits + 1, table->bits + 17, reference.bits + 1)) return false;
    int symbols = 0;
    for (int length = 1; length <= 16; ++length) symbols += reference.bits[length];
    return std::equal(table->huffval, table->huffval + symbols, reference.huffval);
}

// What the header of a written file says about how it was written.
struct Header {
    Size size;
    bool baseline = false, subsampled = false, quality_tables = false, standard_huffman = false, exif = false;
};

std::optional<Header> read_header(const fs::path& path)
{
    const File in(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!in) return std::nullopt;
    jpeg_decompress_struct info{};
    jpeg::ErrorExit errors{};
    info.err = jpeg::reporting_to(errors);
    jpeg_create_decompress(&info);
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_stdio_src(&info, in.get());
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    const Tables& reference = reference_tables();
    Header header;
    header.size = {static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    header.baseline = !info.progressive_mode && !info.arith_code && info.data_precision == 8;
    const jpeg_component_info* c = info.comp_info;
    header.subsampled = info.num_components == 3 && c[0].h_samp_factor == 2 && c[0].v_samp_factor == 2 &&
                        c[1].h_samp_factor == 1 && c[1].v_samp_factor == 1 && c[2].h_samp_factor == 1 &&
                        c[2].v_samp_factor == 1;
    header.quality_tables = info.num_components == 3;
    header.standard_huffman = info.num_components == 3;
    for (int i = 0; i < info.num_components && i < 3; ++i) {
        const int kind = i == 0 ? 0 : 1;
        const JQUANT_TBL* quant = info.quant_tbl_ptrs[c[i].quant_tbl_no];
        header.quality_tables = header.quality_tables && quant &&
                                std::equal(quant->quantval, quant->quantval + DCTSIZE2, reference.quant[kind].begin());
        // libjpeg's numbering, as every tool here writes it: 0 brightness, 1 colour.
        header.standard_huffman = header.standard_huffman &&
                                  same_huffman(info.dc_huff_tbl_ptrs[kind], reference.huffman[2 * kind]) &&
                                  same_huffman(info.ac_huff_tbl_ptrs[kind], reference.huffman[2 * kind + 1]);
    }
    for (jpeg_saved_marker_ptr at = info.marker_list; at; at = at->next)
        header.exif = header.exif || (at->data_length >= 6 && std::memcmp(at->data, "Exif\0\0", 6) == 0);
    jpeg_destroy_decompress(&info);
    return header;
}

// "" when `folder` holds one JPEG of the right size for each photo (named
// after it, with any "-korven" before the ending) and nothing else; else why not.
std::string missing_outputs(const fs::path& folder, const std::vector<Photo>& photos)
{
    std::map<std::string, Size> expected;
    for (const Photo& photo : photos) expected[photo.path.stem().string()] = photo.size;
    int found = 0, others = 0, unreadable = 0, wrong_size = 0;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::string stem = entry.path().stem().string();
        if (stem.ends_with("-korven")) stem.resize(stem.size() - 7);
        const auto photo = expected.find(stem);
        if (photo == expected.end()) {
            ++others;
            continue;
        }
        const std::optional<Header> header = read_header(entry.path());
        if (!header) ++unreadable;
        else if (header->size.width != photo->second.width || header->size.height != photo->second.height) ++wrong_size;
        else ++found;
    }
    if (found == photo_count && others == 0) return "";
    char why[160];
    std::snprintf(why, sizeof why, "wrote %d good files of %d (%d unreadable, %d of the wrong size, %d others)", found,
                  photo_count, unreadable, wrong_size, others);
    return why;
}

// "" when every file was written as asked; else which settings differ.
std::string differing_settings(const fs::path& folder)
{
    int files = 0, progressive = 0, not_420 = 0, other_quality = 0, optimised = 0, no_exif = 0;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::optional<Header> header = read_header(entry.path());
        if (!header) continue;
        ++files;
        progressive += !header->baseline;
        not_420 += !header->subsampled;
        other_quality += !header->quality_tables;
        optimised += !header->standard_huffman;
        no_exif += !header->exif;
    }
    std::string why;
    const auto note = [&](int count, const char* what) {
        if (count == 0) return;
        why += (why.empty() ? "" : ", ") + std::to_string(count) + " of " + std::to_string(files) + " " + what;
    };
    note(progressive, "not baseline");
    note(not_420, "not 4:2:0");
    note(other_quality, "without quality 92 tables");
    note(optimised, "with other Huffman tables");
    note(no_exif, "without the EXIF");
    return why;
}

// ---- The report ----------------------------------------------------------

struct Measured {
    const char* name;
    Outcome outcome;
    std::string differs;  // settings the files were written with that were not asked for
};

// The first of `candidates` that is an executable file, searching PATH for
// bare names; "" when none is.
std::string find_program(const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates) {
        if (candidate.find('/') != std::string::npos) {
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
            continue;
        }
        const char* path = std::getenv("PATH");
        std::string folders = path ? path : "/usr/bin:/bin";
        for (std::size_t at = 0; at <= folders.size();) {
            const std::size_t end = std::min(folders.find(':', at), folders.size());
            const fs::path program = fs::path(folders.substr(at, end - at)) / candidate;
            if (end > at && access(program.c_str(), X_OK) == 0) return program.string();
            at = end + 1;
        }
    }
    return "";
}

// One tool's set: how to run it, and in how many rounds (the best one counts).
struct Tool {
    const char* name;
    int rounds;
    std::function<Outcome(const fs::path& out)> run;
};

// Runs the tool into a fresh folder, checks what it wrote, and removes it.
Measured measure(const Tool& tool, const fs::path& out, const std::vector<Photo>& photos)
{
    std::error_code ignored;
    fs::create_directories(out, ignored);
    Measured measured{tool.name, tool.run(out), ""};
    if (measured.outcome.failure.empty()) measured.outcome.failure = missing_outputs(out, photos);
    if (measured.outcome.failure.empty()) measured.differs = differing_settings(out);
    fs::remove_all(out, ignored);
    return measured;
}

double photos_per_second(const Measured& measured) { return photo_count / measured.outcome.seconds; }

}  // namespace

void report_batch()
{
    if (const char* wanted = std::getenv("KORVEN_BENCH_BATCH"); wanted && std::string(wanted) == "0") return;
    const fs::path folder = scratch_folder() / "batch";
    const fs::path photo_folder = folder / "photos", logs = folder / "logs";
    std::error_code ignored;
    fs::create_directories(photo_folder, ignored);
    fs::create_directories(logs, ignored);
    const fs::path curve = folder / "s-curve.kcurve", table = folder / "s-curve.ppm";

    const Clock::time_point making = Clock::now();
    const std::vector<Photo> photos = make_photos(photo_folder);
    const double making_seconds = seconds_since(making);
    if (photos.empty() || !write_curve_file(curve) || !write_table_image(table)) {
        std::printf("\nBatch of %d photos: cannot write the photos or the curve in %s\n", photo_count,
                    folder.c_str());
        fs::remove_all(folder, ignored);
        return;
    }
    double megapixels = 0, bytes = 0;
    for (const Photo& photo : photos) {
        megapixels += photo.size.width * static_cast<double>(photo.size.height) / 1e6;
        bytes += static_cast<double>(fs::file_size(photo.path, ignored));
    }

    const std::string vips = find_program({"vips"});
    // Debian's own convert, ahead of any wrapper of it earlier in PATH.
    const std::string convert = find_program({"/usr/bin/convert", "convert"});
    // The quick sets run twice, taking turns, and the faster round of each
    // counts: other work on the machine then slows one round rather than one
    // tool. ImageMagick's set, several times longer, runs once.
    const std::vector<Tool> tools = {
        {"decode_encode", 2, [&](const fs::path& out) { return decode_and_encode(photos, out); }},
        {"batch", 2,
         [&](const fs::path& out) {
             std::vector<std::string> command = {KORVEN_PROGRAM, "--apply", curve.string(), "--out", out.string(),
                                                 "--quality", std::to_string(quality), "--jobs",
                                                 std::to_string(parallel)};
             for (const Photo& photo : photos) command.push_back(photo.path.string());
             return run_commands({command}, 1, {}, logs, 60);
         }},
        {"vips", 2,
         [&](const fs::path& out) {
             if (vips.empty()) return Outcome{.failure = "vips is not installed (Debian package libvips-tools)"};
             // vips leaves 4:2:0 out at quality 90 and above unless told.
             const std::string options = "[Q=" + std::to_string(quality) +
                                         ",subsample-mode=on,optimize-coding=false,interlace=false,strip=false]";
             std::vector<std::vector<std::string>> commands;
             for (const Photo& photo : photos)
                 commands.push_back({vips, "maplut", photo.path.string(),
                                     (out / photo.path.filename()).string() + options, table.string()});
             return run_commands(commands, parallel, {"VIPS_CONCURRENCY=1"}, logs, 60);
         }},
        {"magick", 1,
         [&](const fs::path& out) {
             if (convert.empty())
                 return Outcome{.failure = "ImageMagick's convert is not installed (Debian package imagemagick)"};
             std::vector<std::vector<std::string>> commands;
             for (const Photo& photo : photos)
                 commands.push_back({convert, "-limit", "thread", "1", photo.path.string(), table.string(), "-clut",
                                     "-quality", std::to_string(quality), "-sampling-factor", "4:2:0", "-define",
                                     "jpeg:optimize-coding=false", "-interlace", "none",
                                     (out / photo.path.filename()).string()});
             return run_commands(commands, parallel, {"MAGICK_THREAD_LIMIT=1"}, logs, 60);
         }},
    };

    std::vector<Measured> results;
    for (int round = 0; round < 2; ++round)
        for (std::size_t t = 0; t < tools.size(); ++t) {
            if (round >= tools[t].rounds || (round > 0 && !results[t].outcome.failure.empty())) continue;
            Measured measured = measure(tools[t], folder / tools[t].name, photos);
            if (round == 0) {
                results.push_back(std::move(measured));
                continue;
            }
            const long peak_kb = std::max(results[t].outcome.peak_kb, measured.outcome.peak_kb);
            if (!measured.outcome.failure.empty() || measured.outcome.seconds < results[t].outcome.seconds)
                results[t] = std::move(measured);
            results[t].outcome.peak_kb = peak_kb;
        }

    std::printf("\nBatch of %d photos, 12 to 24 megapixels (%.0f in all, %.2f bits a pixel, made in %.1f s),\n"
                "to JPEG quality %d, 4:2:0, baseline, standard Huffman tables; %d at a time on one core each\n"
                "(the faster of two rounds but for magick; cpu is user and system time):\n",
                photo_count, megapixels, bytes * 8 / (megapixels * 1e6), making_seconds, quality, parallel);
    const auto by_name = [&](const std::string& name) -> const Measured& {
        return *std::find_if(results.begin(), results.end(), [&](const Measured& m) { return m.name == name; });
    };
    for (const Measured& measured : results) {
        if (!measured.outcome.failure.empty()) {
            std::printf("  %s_photos_per_s: no figure, %s\n", measured.name, measured.outcome.failure.c_str());
            continue;
        }
        std::printf("  %8.3f  %s_photos_per_s  (%.1f s, cpu %.1f s)\n", photos_per_second(measured), measured.name,
                    measured.outcome.seconds, measured.outcome.cpu_seconds);
        if (!measured.differs.empty())
            std::printf("            %s wrote files %s\n", measured.name, measured.differs.c_str());
    }
    const Measured& batch = by_name("batch");
    for (const char* other : {"decode_encode", "vips", "magick"}) {
        const Measured& against = by_name(other);
        if (!batch.outcome.failure.empty() || !against.outcome.failure.empty())
            std::printf("  batch_x_%s: no figure, %s failed\n", other,
                        batch.outcome.failure.empty() ? other : "the batch");
        else
            std::printf("  %8.3f  batch_x_%s\n", photos_per_second(batch) / photos_per_second(against), other);
    }
    if (batch.outcome.failure.empty())
        std::printf("  %8.1f  batch_peak_mb\n", static_cast<double>(batch.outcome.peak_kb) / 1024);
    else
        std::printf("  batch_peak_mb: no figure, the batch failed\n");
    fs::remove_all(folder, ignored);
}

}  // namespace korven::bench
