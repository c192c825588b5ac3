#include "overview/ThumbnailLoader.h"

#include "project/Errors.h"
#include "project/Thumbnails.h"

#include <QMutex>
#include <QRunnable>
#include <QThreadPool>

#include <functional>

// Where a finished job reports: the loader while it lives, nothing after.
struct ThumbnailLoader::Receiver {
    QMutex mutex;
    ThumbnailLoader* loader = nullptr;
};

namespace {

class ThumbnailJob : public QRunnable {
public:
    ThumbnailJob(std::function<void(const QString&, const QImage&)> report,
                 std::shared_ptr<std::atomic<bool>> cancelled, QString photoPath, QSize shownSize)
        : report_(std::move(report)), cancelled_(std::move(cancelled)),
          photoPath_(std::move(photoPath)), shownSize_(shownSize) {}

    void run() override {
        if (*cancelled_)
            return;
        QImage shown;
        try {
            const QImage thumbnail = Thumbnails::Obtain(photoPath_);
            shown =
                thumbnail.size() == shownSize_
                    ? thumbnail.convertToFormat(QImage::Format_RGB32)
                    : thumbnail.scaled(shownSize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
        } catch (const TintoraError&) {
            shown = QImage();
        } catch (const std::bad_alloc&) {
            shown = QImage();
        }
        if (!*cancelled_)
            report_(photoPath_, shown);
    }

private:
    std::function<void(const QString&, const QImage&)> report_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    QString photoPath_;
    QSize shownSize_;
};

} // namespace

ThumbnailLoader::ThumbnailLoader(QObject* parent)
    : QObject(parent), receiver_(std::make_shared<Receiver>()),
      cancelled_(std::make_shared<std::atomic<bool>>(false)), pool_(QThreadPool::globalInstance()) {
    receiver_->loader = this;
}

ThumbnailLoader::~ThumbnailLoader() {
    Cancel();
    QMutexLocker lock(&receiver_->mutex);
    receiver_->loader = nullptr;
}

void ThumbnailLoader::SetPool(QThreadPool* pool) {
    pool_ = pool ? pool : QThreadPool::globalInstance();
}

void ThumbnailLoader::Request(const QString& photoPath, QSize shownSize) {
    const std::shared_ptr<Receiver> receiver = receiver_;
    const std::shared_ptr<std::atomic<bool>> cancelled = cancelled_;
    auto report = [receiver, cancelled](const QString& path, const QImage& thumbnail) {
        // Under the lock the loader is either alive or already unhooked; a result
        // posted to a living loader is dropped by Qt if the loader goes before it
        // is delivered, and by the flag if the request was cancelled meanwhile.
        QMutexLocker lock(&receiver->mutex);
        ThumbnailLoader* loader = receiver->loader;
        if (!loader)
            return;
        QMetaObject::invokeMethod(
            loader,
            [loader, cancelled, path, thumbnail] {
                if (!*cancelled)
                    emit loader->Ready(path, thumbnail);
            },
            Qt::QueuedConnection);
    };
    pool_->start(new ThumbnailJob(std::move(report), cancelled, photoPath, shownSize));
}

void ThumbnailLoader::Cancel() {
    cancelled_->store(true);
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
}
