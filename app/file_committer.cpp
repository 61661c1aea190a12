#include "app/file_committer.h"

namespace korven {

FileCommitter::FileCommitter(Committed committed) : committed_(std::move(committed)), thread_([this] { serve(); }) {}

FileCommitter::~FileCommitter()
{
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_one();
    thread_.join();
}

void FileCommitter::add(std::size_t index, std::unique_ptr<OutputFile> file)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_.emplace_back(index, std::move(file));
    }
    changed_.notify_one();
}

void FileCommitter::serve()
{
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
        if (waiting_.empty()) return;
        auto [index, file] = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        committed_(index, file->commit());
        file.reset();
        lock.lock();
    }
}

}  // namespace korven
