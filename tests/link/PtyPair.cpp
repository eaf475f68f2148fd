#include "PtyPair.h"

#include <QElapsedTimer>
#include <QTest>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    // Neither end goes to the processes a test starts: one holding the master would be the far end.
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        HangUp();
        return;
    }
    slavePath = QString::fromLocal8Bit(::ptsname(master));
    heldSlave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios raw{};
    ::tcgetattr(heldSlave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(heldSlave, TCSANOW, &raw);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    HangUp();
}

void PtyPair::Write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
    }
}

QByteArray PtyPair::Read(int expected, int ms)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (master >= 0 && bytes.size() < expected && clock.elapsed() < ms) {
        pollfd entry{master, POLLIN, 0};
        if (::poll(&entry, 1, 0) <= 0) {
            QTest::qWait(5); // the other end may live in this process
            continue;
        }
        char buffer[512];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n > 0)
            bytes.append(buffer, n);
    }
    return bytes;
}

void PtyPair::HangUp()
{
    if (heldSlave >= 0)
        ::close(heldSlave);
    if (master >= 0)
        ::close(master);
    heldSlave = -1;
    master = -1;
}
