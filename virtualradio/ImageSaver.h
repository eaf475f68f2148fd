// Saves the radio's image file on a thread of its own, so that a slow disk never holds up a reply:
// a block write is acknowledged first and saved after. Saves asked for while one is under way
// collapse into one save of the newest image.
#pragma once

#include <QString>

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

class ImageSaver
{
public:
    using Image = std::array<uint8_t, 256>;

    // onFailure is called on the saver's thread.
    ImageSaver(QString path, std::function<void()> onFailure);
    ~ImageSaver(); // saves what is still asked for, then ends the thread
    ImageSaver(const ImageSaver&) = delete;
    ImageSaver& operator=(const ImageSaver&) = delete;

    void Save(const Image& image);
    void Finish(); // returns once every save asked for is done

    // Written whole and renamed into place, so a reader never sees half an image.
    static bool Write(const QString& path, const Image& image);

private:
    void Run(std::stop_token stop);

    const QString path;
    const std::function<void()> onFailure;
    std::mutex mutex;
    std::condition_variable_any changed;
    std::optional<Image> pending;
    bool saving = false;
    std::jthread worker; // last: starts once everything above exists, and is stopped first
};
