#include "VirtualRadio.h"

#include "DeadlineTimer.h"
#include "DefaultImage.h"
#include "FrameScanner.h"
#include "ImageSaver.h"
#include "RadioReplies.h"
#include "WireFormat.h"
#include "WireModel.h"

#include <QFile>
#include <QPointer>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QTimer>

#include <array>
#include <optional>
#include <vector>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A frame whose bytes stop arriving for this long is given up as unrecognised bytes. The program's
// shortest reply wait is 300 ms, so the next transmission always meets an empty scanner.
constexpr int StaleFrameMs = 100;

QString ErrnoText(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool SetRawLink(int fd, QString& error)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        error = ErrnoText("tcgetattr");
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~tcflag_t(CSTOPB | CRTSCTS | PARENB | CSIZE);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    // VMIN 1: a non-blocking read with nothing waiting fails with EAGAIN; with VMIN 0 it would
    // return 0, which could not be told from the end of a device that has gone.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        error = ErrnoText("tcsetattr");
        return false;
    }
    tcflush(fd, TCIOFLUSH);
    return true;
}

// Pseudo-terminals set aside at most while looking for one that no lock file names.
constexpr size_t MaxSetAside = 16;

// Whether a serial-port lock file names the device ("/dev/pts/3": LCK..pts_3), in the folders where
// QSerialPort and the uucp-style tools keep them.
bool LockFileNames(const char* device)
{
    QString name = QString::fromLocal8Bit(device);
    if (name.startsWith(QStringLiteral("/dev/")))
        name = name.mid(5);
    name.replace(u'/', u'_');
    for (const char* folder : {"/var/lock", "/run/lock", "/tmp", "/var/tmp", "/etc/locks", "/var/spool/locks",
                               "/var/spool/uucp", "/var/lock/lockdev"}) {
        if (QFile::exists(QLatin1String(folder) + QStringLiteral("/LCK..") + name))
            return true;
    }
    return false;
}

// A new pseudo-terminal's master side, its slave's name in `name`; -1 on failure, said in `error`.
// A new pseudo-terminal takes the lowest free number, often one just given back. The program that had
// it closes its side a moment before it removes its lock file, and a program opening this terminal then
// would find the device locked: such a number is set aside until a free one comes.
int FreePty(QByteArray& name, QString& error)
{
    std::vector<int> setAside;
    const auto release = qScopeGuard([&] {
        for (const int fd : setAside)
            ::close(fd);
    });
    for (;;) {
        // Close-on-exec: a program started meanwhile (the command line under test, a port holder) must
        // not keep this radio's terminal alive after the radio closes it.
        const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0) {
            error = ErrnoText("posix_openpt");
            return -1;
        }
        std::array<char, 128> slave{};
        if (grantpt(master) != 0 || unlockpt(master) != 0 ||
            ptsname_r(master, slave.data(), slave.size()) != 0) {
            error = ErrnoText("pseudo-terminal setup");
            ::close(master);
            return -1;
        }
        if (!LockFileNames(slave.data()) || setAside.size() >= MaxSetAside) {
            name = QByteArray(slave.data());
            return master;
        }
        setAside.push_back(master);
    }
}
} // namespace

struct VirtualRadio::Impl
{
    explicit Impl(VirtualRadio* owner) : q(owner), wireTimer([this] { Pump(); }) {}

    VirtualRadio* q;
    int fd = -1;        // master side of the pty, or the serial device
    int heldSlave = -1; // keeps the pty's slave side open between the program's sessions
    QString devicePath;
    QString error;
    QPointer<QSocketNotifier> readNotifier;
    QPointer<QSocketNotifier> writeNotifier;
    WireClock::time_point openedAt;

    QByteArray identity = QByteArrayLiteral("RZ614UV");
    RadioReplies::Image image{};
    VirtualRadioFaults faults;

    FrameScanner scanner;
    QTimer staleTimer;
    int frameIndex = 0;
    qsizetype noiseAt = 0;                                // the noise switch's place in its pattern
    std::array<int, RadioWire::BlockCount> blockWrites{}; // writes received per block, for the faults
    QList<VirtualRadioTraceEntry> trace;
    QList<VirtualRadioSentEntry> sent;

    // Frames are taken in when the line has carried them and replies leave as it carries them; the
    // timer wakes the radio for the next moment either end has something due.
    struct Arriving
    {
        ScannedFrame frame;
        WireIn::Span span;
    };
    WireIn wireIn;
    QList<Arriving> arriving;
    WireOut wireOut;
    QByteArray out; // released to the device, not yet taken by it
    DeadlineTimer wireTimer;

    bool Start(int deviceFd, int slaveFd, const QString& path);
    void Stop();
    void HangUp();

    void OnReadable();
    void OnStale();
    void AnswerLine(const QByteArray& received);
    void TakeIn(const QList<ScannedFrame>& frames);
    void Pump();
    void Handle(const Arriving& arrived);
    QByteArray Answer(const ScannedFrame& frame, int index, int& writtenBlock, bool unkept);
    void AddTrace(const Arriving& arrived, bool recognised);
    void WriteOut();
};

bool VirtualRadio::Impl::Start(int deviceFd, int slaveFd, const QString& path)
{
    if (!wireTimer.IsValid()) {
        error = ErrnoText("timerfd_create");
        ::close(deviceFd);
        if (slaveFd >= 0)
            ::close(slaveFd);
        return false;
    }
    fcntl(deviceFd, F_SETFL, fcntl(deviceFd, F_GETFL) | O_NONBLOCK);
    fd = deviceFd;
    heldSlave = slaveFd;
    devicePath = path;
    readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, q);
    QObject::connect(readNotifier, &QSocketNotifier::activated, q, [this] { OnReadable(); });
    writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, q);
    writeNotifier->setEnabled(false);
    QObject::connect(writeNotifier, &QSocketNotifier::activated, q, [this] {
        writeNotifier->setEnabled(false);
        WriteOut();
    });
    openedAt = WireClock::now();
    frameIndex = 0;
    blockWrites = {};
    trace.clear();
    sent.clear();
    return true;
}

void VirtualRadio::Impl::Stop()
{
    // The notifiers may be the very senders we are called from: deleteLater, never delete.
    for (auto* notifier : {readNotifier.data(), writeNotifier.data()}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    readNotifier = nullptr;
    writeNotifier = nullptr;
    if (fd >= 0)
        ::close(fd);
    if (heldSlave >= 0)
        ::close(heldSlave);
    fd = -1;
    heldSlave = -1;
    staleTimer.stop();
    wireTimer.Disarm();
    scanner.Reset();
    wireIn.Clear();
    arriving.clear();
    wireOut.Clear();
    out.clear();
}

void VirtualRadio::Impl::HangUp()
{
    Stop();
    emit q->HungUp();
}

void VirtualRadio::Impl::OnReadable()
{
    QByteArray received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            wireIn.Read(n, WireClock::now());
            received.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // End of file or an error such as EIO: the device has gone. Stop here instead of being
        // woken for it again and again; what came before is taken in without waiting for the line.
        TakeIn(scanner.Feed(received));
        while (fd >= 0 && !arriving.isEmpty())
            Handle(arriving.takeFirst());
        if (fd >= 0)
            HangUp();
        return;
    }
    if (faults.echo || faults.noise) {
        AnswerLine(received);
        return;
    }
    TakeIn(scanner.Feed(received));
    if (scanner.HasPartial())
        staleTimer.start(StaleFrameMs);
    else
        staleTimer.stop();
    Pump();
}

// No radio takes the bytes in: they go straight back, or come back as noise, byte for byte.
void VirtualRadio::Impl::AnswerLine(const QByteArray& received)
{
    if (received.isEmpty())
        return;
    QByteArray reply = received;
    if (faults.noise) {
        constexpr qsizetype noiseLength = sizeof VirtualRadio::Noise - 1;
        for (qsizetype i = 0; i < reply.size(); ++i)
            reply[i] = VirtualRadio::Noise[(noiseAt + i) % noiseLength];
        noiseAt = (noiseAt + reply.size()) % noiseLength;
    }
    emit q->ReplyQueued(reply);
    out += reply;
    WriteOut();
}

void VirtualRadio::Impl::OnStale()
{
    TakeIn(scanner.Flush());
    Pump();
}

void VirtualRadio::Impl::TakeIn(const QList<ScannedFrame>& frames)
{
    for (const auto& frame : frames)
        arriving.append({frame, wireIn.Take(frame.bytes.size())});
}

void VirtualRadio::Impl::Pump()
{
    const WireClock::time_point now = WireClock::now();
    while (fd >= 0 && !arriving.isEmpty() && arriving.first().span.arrivedAt <= now)
        Handle(arriving.takeFirst());
    if (fd < 0)
        return; // hung up by a fault switch
    QList<WireOut::Sent> done;
    out += wireOut.Release(now, done);
    for (const auto& reply : done)
        sent.append({reply.firstByteAt, reply.lastByteAt, reply.bytes});
    WriteOut();
    if (fd < 0)
        return;
    std::optional<WireClock::time_point> next = wireOut.NextDue();
    if (!arriving.isEmpty())
        next = std::min(next.value_or(WireClock::time_point::max()), arriving.first().span.arrivedAt);
    if (next)
        wireTimer.ArmAt(*next);
    else
        wireTimer.Disarm();
}

void VirtualRadio::Impl::AddTrace(const Arriving& arrived, bool recognised)
{
    VirtualRadioTraceEntry entry;
    entry.arrivedAt = WireClock::now();
    entry.ms = std::chrono::duration_cast<std::chrono::milliseconds>(entry.arrivedAt - openedAt).count();
    entry.firstByteAt = arrived.span.firstByteAt;
    entry.frame = arrived.frame.bytes;
    entry.recognised = recognised;
    trace.append(entry);
    emit q->TraceAdded(entry);
}

void VirtualRadio::Impl::Handle(const Arriving& arrived)
{
    const ScannedFrame& frame = arrived.frame;
    if (frame.kind == RadioFrameKind::Unrecognised) {
        AddTrace(arrived, false);
        return;
    }
    const int index = frameIndex++;
    AddTrace(arrived, true);
    emit q->FrameReceived(frame.bytes);

    if (faults.hangUpFrames.contains(index)) {
        HangUp();
        return;
    }
    if (faults.silentFromFrame >= 0 && index >= faults.silentFromFrame)
        return; // a silent radio takes nothing in either
    // Due from the moment the frame was through the line, however late this runs.
    WireClock::time_point due = arrived.span.arrivedAt + std::chrono::microseconds(faults.turnaroundUs) +
                                std::chrono::milliseconds(faults.replyDelayMs);
    // A stray reply belongs to some other frame: it goes out whatever becomes of this one.
    if (const auto stray = faults.strayReplies.constFind(index); stray != faults.strayReplies.cend()) {
        emit q->ReplyQueued(*stray);
        wireOut.Queue(*stray, due);
        due += std::chrono::milliseconds(StrayLeadMs);
    }
    if (frame.kind == RadioFrameKind::End && faults.ignoreEnd)
        return;
    if (faults.lostFrames.contains(index))
        return;
    std::optional<BlockWriteFault::Kind> writeFault;
    if (frame.kind == RadioFrameKind::BlockWrite) {
        const int block = uint8_t(frame.bytes[RadioWire::BlockNumberAt]);
        if (block < RadioWire::BlockCount) {
            const int write = blockWrites[size_t(block)]++;
            if (const auto fault = faults.blockWriteFaults.constFind(block);
                fault != faults.blockWriteFaults.cend() && write < fault->count)
                writeFault = fault->kind;
        }
    }
    if (writeFault == BlockWriteFault::Lost)
        return;

    int writtenBlock = -1;
    QByteArray reply =
        faults.refuseAll || faults.nakFrames.contains(index) || writeFault == BlockWriteFault::Refused
            ? QByteArray(1, char(RadioWire::Nak))
            : Answer(frame, index, writtenBlock, writeFault == BlockWriteFault::Unkept);
    if (faults.strayByteFrames.contains(index))
        reply.append(char(StrayByte));
    emit q->ReplyQueued(reply);
    wireOut.Queue(reply, due);
    if (writtenBlock >= 0)
        emit q->BlockWritten(writtenBlock);
}

QByteArray VirtualRadio::Impl::Answer(const ScannedFrame& frame, int index, int& writtenBlock, bool unkept)
{
    const QByteArray ack(1, char(RadioWire::Ack));
    const QByteArray nak(1, char(RadioWire::Nak));
    switch (frame.kind) {
    case RadioFrameKind::Program:
    case RadioFrameKind::End:
        return ack;
    case RadioFrameKind::IdentRequest:
        return RadioReplies::IdentReply(identity, image[7]);
    case RadioFrameKind::ReadRequest: {
        const int block = uint8_t(frame.bytes[RadioWire::BlockNumberAt]);
        if (block >= RadioWire::BlockCount)
            return nak;
        const int wireBlock = uint8_t(faults.wrongBlocks.value(index, block));
        // A block number past the image still carries data: that of the block that was asked for.
        QByteArray reply = RadioReplies::BlockReply(image, uint8_t(wireBlock),
                                                    wireBlock < RadioWire::BlockCount ? wireBlock : block);
        if (faults.badChecksumFrames.contains(index))
            reply.back() = char(uint8_t(reply.back()) + 1);
        return reply;
    }
    case RadioFrameKind::BlockWrite: {
        const int block = uint8_t(frame.bytes[RadioWire::BlockNumberAt]);
        if (block >= RadioWire::BlockCount || !RadioReplies::ChecksumHolds(frame.bytes))
            return nak;
        if (unkept || faults.unstoredFrames.contains(index))
            return ack;
        std::memcpy(image.data() + block * RadioWire::BlockDataLength,
                    frame.bytes.constData() + RadioWire::BlockDataAt, RadioWire::BlockDataLength);
        writtenBlock = block;
        return ack;
    }
    case RadioFrameKind::Unrecognised:
        break;
    }
    return {};
}

void VirtualRadio::Impl::WriteOut()
{
    while (fd >= 0 && !out.isEmpty()) {
        const ssize_t n = ::write(fd, out.constData(), size_t(out.size()));
        if (n > 0) {
            out.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            writeNotifier->setEnabled(true);
            break;
        }
        HangUp();
        break;
    }
}

VirtualRadio::VirtualRadio(QObject* parent) : QObject(parent), d(std::make_unique<Impl>(this))
{
    d->image = MakeDefaultImage();
    d->staleTimer.setSingleShot(true);
    connect(&d->staleTimer, &QTimer::timeout, this, [this] { d->OnStale(); });
}

VirtualRadio::~VirtualRadio()
{
    d->Stop();
}

bool VirtualRadio::OpenPty()
{
    Close();
    QByteArray name;
    const int master = FreePty(name, d->error);
    if (master < 0)
        return false;
    // Holding the slave side open means the master never sees a hang-up when the program closes
    // its side between sessions.
    const int slave = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        d->error = ErrnoText(name.constData());
        ::close(master);
        return false;
    }
    if (!SetRawLink(slave, d->error)) {
        ::close(slave);
        ::close(master);
        return false;
    }
    return d->Start(master, slave, QString::fromLocal8Bit(name));
}

bool VirtualRadio::OpenDevice(const QString& path)
{
    Close();
    const QByteArray name = QFile::encodeName(path);
    const int device = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (device < 0) {
        d->error = ErrnoText(name.constData());
        return false;
    }
    if (!SetRawLink(device, d->error)) {
        ::close(device);
        return false;
    }
    return d->Start(device, -1, path);
}

void VirtualRadio::Close()
{
    d->Stop();
}

bool VirtualRadio::IsOpen() const
{
    return d->fd >= 0;
}

QString VirtualRadio::DevicePath() const
{
    return d->devicePath;
}

QString VirtualRadio::ErrorString() const
{
    return d->error;
}

void VirtualRadio::SetIdentity(const QByteArray& identity)
{
    d->identity = identity.left(7);
}

QByteArray VirtualRadio::Identity() const
{
    return d->identity;
}

void VirtualRadio::SetBandByte(uint8_t band)
{
    d->image[7] = band;
}

uint8_t VirtualRadio::BandByte() const
{
    return d->image[7];
}

void VirtualRadio::SetFaults(const VirtualRadioFaults& faults)
{
    d->faults = faults;
    d->wireIn.modelled = faults.paceInput;
    d->wireOut.modelled = faults.paceOutput;
    d->wireOut.lot = std::chrono::milliseconds(faults.lotMs);
}

VirtualRadioFaults VirtualRadio::Faults() const
{
    return d->faults;
}

std::array<uint8_t, 256>& VirtualRadio::Image()
{
    return d->image;
}

void VirtualRadio::SetDefaultImage()
{
    d->image = MakeDefaultImage();
}

bool VirtualRadio::LoadImage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        d->error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.read(qint64(d->image.size()) + 1);
    if (bytes.size() != qsizetype(d->image.size())) {
        d->error = QStringLiteral("%1: not a 256-byte image").arg(path);
        return false;
    }
    std::memcpy(d->image.data(), bytes.constData(), d->image.size());
    return true;
}

bool VirtualRadio::SaveImage(const QString& path) const
{
    return ImageSaver::Write(path, d->image);
}

QList<VirtualRadioTraceEntry> VirtualRadio::Trace() const
{
    return d->trace;
}

QList<VirtualRadioSentEntry> VirtualRadio::Sent() const
{
    return d->sent;
}

void VirtualRadio::ClearTrace()
{
    d->trace.clear();
    d->sent.clear();
    d->frameIndex = 0;
    d->blockWrites = {};
    d->noiseAt = 0;
}
