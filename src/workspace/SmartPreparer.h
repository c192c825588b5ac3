#pragma once

#include "editing/SmartPreparation.h"

#include <QImage>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// Prepares smart selection for the open photograph on a thread of its own, so that
// opening a project never waits for it. A stroke made before it is ready waits.
// Each preparation belongs to one photograph (its QImage::cacheKey): what was
// prepared for another is never handed out.
class SmartPreparer {
public:
    SmartPreparer() = default;
    SmartPreparer(const SmartPreparer&) = delete;
    SmartPreparer& operator=(const SmartPreparer&) = delete;
    ~SmartPreparer();

    // Starts preparing photo; a preparation under way is cancelled first, and what
    // was prepared before is dropped.
    void Start(const QImage& photo);
    // Cancels a preparation under way and returns once its thread let go of the
    // photograph (a few milliseconds); a finished one stays.
    void Cancel();
    // The preparation for photo: at once when ready, after waiting when under way,
    // started and waited for when none was made for it. Null for a photograph
    // without pixels.
    std::shared_ptr<const SmartPreparation> For(const QImage& photo);
    // Whether the preparation for photo is ready without waiting.
    bool ReadyFor(const QImage& photo) const;

private:
    void Join();

    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    bool running_ = false;
    qint64 key_ = 0; // the photograph being or last prepared
    std::shared_ptr<const SmartPreparation> result_;
};
