#pragma once
// Puts files written whole in place, on a thread of its own: waiting for the
// disk is no work for a core, and whoever wrote them goes on meanwhile.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "files/output_file.h"

namespace korven {

class FileCommitter {
public:
    // `committed(index, result)` is called on the committer's thread once the
    // file added with `index` is in place, or why it is not.
    using Committed = std::function<void(std::size_t index, const FileResult& result)>;
    explicit FileCommitter(Committed committed);
    ~FileCommitter();  // every file added is committed first
    FileCommitter(const FileCommitter&) = delete;
    FileCommitter& operator=(const FileCommitter&) = delete;

    void add(std::size_t index, std::unique_ptr<OutputFile> file);

private:
    void serve();

    Committed committed_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::size_t, std::unique_ptr<OutputFile>>> waiting_;
    bool closing_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace korven
