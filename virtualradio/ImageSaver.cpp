#include "ImageSaver.h"

#include <QSaveFile>

ImageSaver::ImageSaver(QString file, std::function<void()> failure)
    : path(std::move(file)), onFailure(std::move(failure)),
      worker([this](std::stop_token stop) { Run(stop); })
{
}

ImageSaver::~ImageSaver() = default;

void ImageSaver::Save(const Image& image)
{
    const std::lock_guard lock(mutex);
    pending = image;
    changed.notify_all();
}

void ImageSaver::Finish()
{
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return !pending && !saving; });
}

void ImageSaver::Run(std::stop_token stop)
{
    std::unique_lock lock(mutex);
    // Once stopped, the wait returns at once: what is still pending is saved, then the loop ends.
    while (changed.wait(lock, stop, [this] { return pending.has_value(); })) {
        const Image image = *pending;
        pending.reset();
        saving = true;
        lock.unlock();
        const bool saved = Write(path, image);
        if (!saved && onFailure)
            onFailure();
        lock.lock();
        saving = false;
        changed.notify_all();
    }
}

bool ImageSaver::Write(const QString& path, const Image& image)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(reinterpret_cast<const char*>(image.data()), qint64(image.size()));
    return file.commit();
}
