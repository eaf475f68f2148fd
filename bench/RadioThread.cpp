#include "RadioThread.h"

#include <QMetaObject>

template <typename F> void RadioThread::Run(F&& f)
{
    QMetaObject::invokeMethod(anchor.get(), std::forward<F>(f), Qt::BlockingQueuedConnection);
}

RadioThread::RadioThread() : anchor(std::make_unique<QObject>())
{
    anchor->moveToThread(&thread);
    thread.start();
    Run([this] {
        radio = std::make_unique<VirtualRadio>();
        radio->SetDefaultImage();
        radio->SetIdentity("RZ614UV");
        radio->SetBandByte(3);
        VirtualRadioFaults wire;
        wire.paceInput = true;
        wire.paceOutput = true;
        radio->SetFaults(wire);
        if (radio->OpenPty())
            devicePath = radio->DevicePath();
        else
            error = radio->ErrorString();
    });
}

RadioThread::~RadioThread()
{
    Run([this] { radio.reset(); });
    thread.quit();
    thread.wait();
    anchor.reset();
}

void RadioThread::SetLots(int ms)
{
    Run([&] {
        VirtualRadioFaults faults = radio->Faults();
        faults.lotMs = ms;
        radio->SetFaults(faults);
    });
}

RadioThread::Traces RadioThread::TakeTraces()
{
    Traces traces;
    Run([&] {
        traces = {radio->Trace(), radio->Sent()};
        radio->ClearTrace();
    });
    return traces;
}
