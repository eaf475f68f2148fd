#include "SessionDriver.h"

#include "data/ModData.h"
#include "data/MsgBox.h"
#include "link/CommLink.h"
#include "link/Sequencer.h"
#include "link/WindowHooks.h"
#include "settings/Settings.h"

namespace {
constexpr int16_t BenchPort = 1;
}

struct SessionDriver::Parts
{
    CommLink link;
    std::function<void(const QString&)> done;
};

SessionDriver::SessionDriver(const QString& devicePath) : d(std::make_unique<Parts>())
{
    ResetSession();
    ResetModData();
    ComPortNumber = BenchPort;
    d->link.MSComm1.SetPortResolver(
        [devicePath](int16_t number) { return number == BenchPort ? devicePath : QString(); });
    // The radio type a write names is the one the last read found.
    WindowHooks.RadioTypeText = [] { return RadioInfo.Model; };
    SetMsgBoxHandler([this](const MsgRequest& request) {
        if (d->done)
            std::exchange(d->done, nullptr)(request.text);
        return MsgResult::Ok;
    });
}

SessionDriver::~SessionDriver()
{
    SetMsgBoxHandler({});
    WindowHooks = {};
    ResetSession();
}

void SessionDriver::Read(std::function<void(const QString&)> done)
{
    d->done = std::move(done);
    Command1_Click();
}

void SessionDriver::Write(std::function<void(const QString&)> done)
{
    d->done = std::move(done);
    Command2_Click();
}
