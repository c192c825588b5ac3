#include "workspace/SmartPreparer.h"

SmartPreparer::~SmartPreparer() {
    Cancel();
}

void SmartPreparer::Join() {
    if (worker_.joinable())
        worker_.join();
}

void SmartPreparer::Cancel() {
    {
        std::lock_guard lock(mutex_);
        if (!running_) {
            Join();
            return;
        }
        cancel_ = true;
    }
    Join();
    std::lock_guard lock(mutex_);
    running_ = false;
    key_ = 0;
}

void SmartPreparer::Start(const QImage& photo) {
    Cancel();
    std::lock_guard lock(mutex_);
    cancel_ = false;
    result_.reset();
    key_ = photo.cacheKey();
    running_ = true;
    worker_ = std::thread([this, photo]() mutable {
        const qint64 key = photo.cacheKey();
        std::shared_ptr<const SmartPreparation> prepared =
            PrepareSmartSelection(std::move(photo), [this] { return cancel_.load(); });
        std::lock_guard lock(mutex_);
        if (!cancel_ && key == key_)
            result_ = std::move(prepared);
        running_ = false;
        finished_.notify_all();
    });
}

std::shared_ptr<const SmartPreparation> SmartPreparer::For(const QImage& photo) {
    if (photo.isNull())
        return nullptr;
    {
        std::unique_lock lock(mutex_);
        if (key_ == photo.cacheKey()) {
            finished_.wait(lock, [this] { return !running_; });
            if (result_)
                return result_;
        }
    }
    // None for this photograph (another was prepared, or this one's was cancelled).
    Start(photo);
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return !running_; });
    return result_;
}

bool SmartPreparer::ReadyFor(const QImage& photo) const {
    std::lock_guard lock(mutex_);
    return !photo.isNull() && key_ == photo.cacheKey() && !running_ && result_ != nullptr;
}
