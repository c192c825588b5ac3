#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <memory>

class QThreadPool;

// Brings the thumbnails of the project list in off the user-interface thread: each
// request runs on a thread pool (a stored thumbnail is read, a missing or outdated
// one made from the photograph and stored), and Ready follows on this object's
// thread with the thumbnail shrunk to the size asked for. Cancel drops what has not
// started and the results of what has; a destroyed loader is never reached by a
// late result.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailLoader(QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // The pool the work runs on (the application's global pool unless set).
    void SetPool(QThreadPool* pool);

    // Asks for the thumbnail of a photograph shrunk to fit exactly into shownSize.
    void Request(const QString& photoPath, QSize shownSize);
    // Forgets every request made so far: none of them reports any more.
    void Cancel();

signals:
    // The thumbnail of a requested photograph; null when it could not be read.
    void Ready(const QString& photoPath, const QImage& thumbnail);

private:
    struct Receiver;
    std::shared_ptr<Receiver> receiver_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    QThreadPool* pool_;
};
