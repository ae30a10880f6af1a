#ifndef ZENDRIK_FUZZ_SCRIPTEDINSTRUMENT_H
#define ZENDRIK_FUZZ_SCRIPTEDINSTRUMENT_H

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "fuzz/FuzzSupport.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <memory>

// The program's instrument state over a scripted peer whose answers are the fuzzer's bytes: the
// readers of analyser answers run as they do against a real analyser.
struct ScriptedInstrument {
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c{visa, device, options, debug, messages, pump, status};
    std::shared_ptr<ScriptedPeer> peer = std::make_shared<ScriptedPeer>();
    int dialogs = 0;

    ScriptedInstrument()
    {
        peer->chunk = 1 << 20;
        debug.DebugMode = true;
        debug.TimeText = [] { return QStringLiteral("T"); };
        auto backEnd = std::make_unique<BuiltinVisaBackEnd>();
        BuiltinVisaBackEnd* b = backEnd.get();
        LoadVisaLibrary(visa, debug, std::move(backEnd));
        visa.ShowErrorDialog = [this](const QString&) { ++dialogs; };
        fuzz::Check(visa.VisaLibrary->viOpenDefaultRM(&visa.VisaResourceManager) == visa::VI_SUCCESS &&
                        b->OpenWithTransport(visa.VisaResourceManager, QStringLiteral("TCPIP0::fuzz::INSTR"),
                                             std::make_unique<ScriptedTransport>(peer),
                                             &visa.VisaSession) == visa::VI_SUCCESS,
                    "the scripted session opens");
    }
    ScriptedInstrument(const ScriptedInstrument&) = delete;
    ScriptedInstrument& operator=(const ScriptedInstrument&) = delete;

    // The next read gets these bytes (END on the last one); nothing queued is a time-out.
    void Answer(const QByteArray& bytes)
    {
        peer->answers.clear();
        if (!bytes.isEmpty())
            peer->answers.push_back(bytes);
    }
};

#endif
