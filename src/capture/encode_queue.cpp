#include "capture/encode_queue.h"

EncodeQueue::EncodeQueue(std::size_t capacity) : capacity_(capacity < 1 ? 1 : capacity) {}

bool EncodeQueue::push(EncodeJob&& job)
{
    std::unique_lock lock(mutex_);
    room_.wait(lock, [&] { return jobs_.size() < capacity_ || closed_ || failed_; });
    if (closed_ || failed_) return false;
    jobs_.push_back(std::move(job));
    work_.notify_one();
    return true;
}

std::optional<EncodeJob> EncodeQueue::pop()
{
    std::unique_lock lock(mutex_);
    work_.wait(lock, [&] { return !jobs_.empty() || closed_ || failed_; });
    if (failed_ || jobs_.empty()) return std::nullopt;
    EncodeJob job = std::move(jobs_.front());
    jobs_.pop_front();
    room_.notify_one();
    return job;
}

void EncodeQueue::close()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
    room_.notify_all();
    work_.notify_all();
}

void EncodeQueue::fail()
{
    std::lock_guard lock(mutex_);
    failed_ = true;
    jobs_.clear();
    room_.notify_all();
    work_.notify_all();
}

bool EncodeQueue::failed() const
{
    std::lock_guard lock(mutex_);
    return failed_;
}

std::size_t EncodeQueue::size() const
{
    std::lock_guard lock(mutex_);
    return jobs_.size();
}

void EncodeQueue::give_spare(EncodeJob&& job)
{
    std::lock_guard lock(mutex_);
    if (spares_.size() <= capacity_) spares_.push_back(std::move(job));
}

EncodeJob EncodeQueue::take_spare()
{
    std::lock_guard lock(mutex_);
    if (spares_.empty()) return {};
    EncodeJob job = std::move(spares_.back());
    spares_.pop_back();
    return job;
}
