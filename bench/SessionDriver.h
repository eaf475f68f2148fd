// The program's own session code, driven as the window's Read and Write buttons drive it. The only
// file of the benchmark that knows the session's interface.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class SessionDriver
{
public:
    // The session's port is the device at this path; a write sends the record a read left.
    explicit SessionDriver(const QString& devicePath);
    ~SessionDriver();
    SessionDriver(const SessionDriver&) = delete;
    SessionDriver& operator=(const SessionDriver&) = delete;

    // Presses Read or Write; `done` gets the closing message ("Read Complete!", "Write Failure!" ...)
    // when it comes up, from the event loop. Both return at once.
    void Read(std::function<void(const QString&)> done);
    void Write(std::function<void(const QString&)> done);
    // Whether the port asks its driver for the low-latency mode at the next openings (it does unless
    // told otherwise).
    void SetLowLatency(bool on);

private:
    struct Parts;
    std::unique_ptr<Parts> d;
};
