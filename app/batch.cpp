#include "app/batch.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "app/batch_plan.h"
#include "app/batch_progress.h"
#include "app/file_committer.h"
#include "colour/draw_button.h"
#include "colour/drawn_rows.h"
#include "core/shared_runs.h"
#include "files/curve_file.h"
#include "files/image_files.h"
#include "files/picture_jobs.h"
#include "files/tone_curve.h"

namespace korven {

namespace {

struct Outcome {
    FileResult result;
    std::string metadata_not_kept;
};

// Corrects one photo into `result`: read, drawn with `curve`, saved as
// `result`'s ending says, JPEG at `quality` with the photo's metadata and
// colour profile. A JPEG is left written whole in `pending`, for the
// committer to put in place. A failure leaves no file.
FileResult correct_photo(const std::string& photo, const std::string& result, const ToneCurve& curve,
                         int quality, std::string& metadata_not_kept, std::unique_ptr<OutputFile>& pending)
{
    try {
        LoadedPicture loaded = read_photo_only(photo);
        if (!loaded.loaded()) return file_failure(loaded.reason);
        const SaveOptions options{.metadata = &loaded.metadata, .jpeg_quality = quality};
        // A fresh load's adjusted picture is the original itself. A JPEG is
        // encoded as its rows are drawn, so no second picture is made.
        if (kind_of_saved_file(result) == PictureFileKind::jpeg) {
            DrawnRows drawn(loaded.picture, loaded.picture, curve);
            const PictureRows rows{loaded.picture.width(), loaded.picture.height(),
                                   [&](int y) { return drawn.row(y); }};
            return write_pending_jpeg(rows, result, options, &metadata_not_kept, pending);
        }
        const Picture drawn = drawn_picture(loaded.picture, loaded.picture, curve);
        loaded.picture = Picture();
        return save_picture(drawn, result, options, &metadata_not_kept);
    } catch (const std::bad_alloc&) {
        return file_failure("there is not enough memory for the picture");
    }
}

// Each job holds a photo, and for a BMP or PNG its corrected picture.
// Buffers of the largest photo's size serve them all in turn: new memory
// costs more than a pass over it.
void keep_memory_for(const std::vector<const PlannedPhoto*>& work, int jobs)
{
    long long largest = 0;
    for (const PlannedPhoto* p : work) largest = std::max(largest, fe::picture_file_pixels(p->photo));
    keep_spare_pixel_buffers(2 * jobs, static_cast<std::size_t>(largest) * sizeof(Colour));
}

// Corrects the planned photos on `jobs` threads, each taking the next photo
// and keeping its kernels on its own core, so at most `jobs` photos are in
// memory at once.
std::vector<Outcome> correct_all(const std::vector<PlannedPhoto>& plan, const ToneCurve& curve, int quality,
                                 int jobs)
{
    std::vector<const PlannedPhoto*> work;
    for (const PlannedPhoto& p : plan)
        if (p.action == PlannedPhoto::Action::correct) work.push_back(&p);
    std::vector<Outcome> outcomes(plan.size());
    {
        FileCommitter committer(
            [&](std::size_t index, const FileResult& result) { outcomes[index].result = result; });
        std::atomic<std::size_t> next{0};
        std::mutex mutex;
        std::condition_variable changed;
        int done = 0;
        const auto worker = [&] {
            const RunsOnThisThreadOnly one_core;
            for (std::size_t i = next++; i < work.size(); i = next++) {
                const auto index = static_cast<std::size_t>(work[i] - plan.data());
                Outcome& o = outcomes[index];
                std::unique_ptr<OutputFile> pending;
                o.result =
                    correct_photo(work[i]->photo, work[i]->result, curve, quality, o.metadata_not_kept, pending);
                if (o.result && pending) committer.add(index, std::move(pending));
                const std::lock_guard lock(mutex);
                ++done;
                changed.notify_one();
            }
        };
        const int threads = std::clamp(static_cast<int>(work.size()), 1, jobs);
        keep_memory_for(work, threads);
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
        BatchProgress progress(static_cast<int>(work.size()));
        std::thread watcher([&] {
            std::unique_lock lock(mutex);
            while (done < static_cast<int>(work.size())) {
                progress.show(done);
                changed.wait_for(lock, std::chrono::milliseconds(500));
            }
            progress.clear();
        });
        worker();
        for (std::thread& t : pool) t.join();
        watcher.join();
    }  // the committer has put every file in place
    return outcomes;
}

}  // namespace

int run_batch(const fe::BatchRequest& request)
{
    // Each photo's encoded file and its metadata pass through the heap: memory
    // freed stays there for the next photo instead of going back to the
    // system and being faulted in again, page by page.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    const CurveFileRead read = read_curve_file(request.curve_file);
    if (!read.curve) {
        std::cerr << "korven: cannot use the curve file \"" << request.curve_file << "\": " << read.error << "\n";
        return 2;
    }
    if (!read.notice.empty()) std::cerr << "korven: \"" << request.curve_file << "\": " << read.notice << "\n";
    std::error_code error;
    if (!request.out_folder.empty() && !std::filesystem::is_directory(request.out_folder, error)) {
        std::cerr << "korven: the folder \"" << request.out_folder << "\" does not exist.\n";
        return 2;
    }

    const std::vector<PlannedPhoto> plan = plan_batch(request.photos, request.out_folder, request.overwrite);
    int skipped = 0;
    for (const PlannedPhoto& p : plan) {
        if (p.action != PlannedPhoto::Action::skip) continue;
        std::cerr << "korven: skipped \"" << p.photo << "\": " << p.reason << "\n";
        ++skipped;
    }
    const int jobs =
        request.jobs > 0 ? request.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const std::vector<Outcome> outcomes = correct_all(plan, *read.curve, request.quality, jobs);

    int done = 0, failed = 0;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const PlannedPhoto& p = plan[i];
        if (p.action == PlannedPhoto::Action::skip) continue;
        const FileResult result =
            p.action == PlannedPhoto::Action::fail ? file_failure(p.reason) : outcomes[i].result;
        if (!result) {
            std::cerr << "korven: failed \"" << p.photo << "\": " << result.reason << "\n";
            ++failed;
            continue;
        }
        ++done;
        if (!outcomes[i].metadata_not_kept.empty())
            std::cerr << "korven: \"" << p.result << "\" is written without all of the photo's metadata: "
                      << outcomes[i].metadata_not_kept << "\n";
    }
    std::cout << done << " done, " << skipped << " skipped, " << failed << " failed\n";
    return failed > 0 ? 1 : 0;
}

}  // namespace korven
