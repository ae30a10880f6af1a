#ifndef ZENDRIK_TESTS_INSTRUMENT_SCPIFIXTURE_H
#define ZENDRIK_TESTS_INSTRUMENT_SCPIFIXTURE_H

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <QByteArrayList>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

// The program's instrument state over a scripted peer: what was written is in peer->messages,
// answers come from the respond function or from peer->answers.
struct ScriptedScpi {
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c{visa, device, options, debug, messages, pump, status};
    std::shared_ptr<ScriptedPeer> peer = std::make_shared<ScriptedPeer>();
    QStringList dialogs;

    explicit ScriptedScpi(int32_t family = dfNone, int32_t model = 0, int32_t series = 0)
    {
        device.DeviceFamily = static_cast<DeviceFamilyCode>(family);
        device.DeviceModel = model;
        device.SiglentSeries = static_cast<SiglentSeriesCode>(series);
        peer->chunk = 1 << 20;
        debug.TimeText = [] { return QStringLiteral("T"); };
        auto backEnd = std::make_unique<BuiltinVisaBackEnd>();
        BuiltinVisaBackEnd* b = backEnd.get();
        LoadVisaLibrary(visa, debug, std::move(backEnd));
        visa.ShowErrorDialog = [this](const QString& t) { dialogs << t; };
        EXPECT_EQ(visa.VisaLibrary->viOpenDefaultRM(&visa.VisaResourceManager), visa::VI_SUCCESS);
        EXPECT_EQ(b->OpenWithTransport(visa.VisaResourceManager, "TCPIP0::fake::INSTR",
                                       std::make_unique<ScriptedTransport>(peer), &visa.VisaSession),
                  visa::VI_SUCCESS);
    }

    // Everything written since the last call, one text per write.
    QStringList Sent()
    {
        QStringList out;
        for (const QByteArray& m : peer->messages)
            out << QString::fromLatin1(m);
        peer->messages.clear();
        return out;
    }

    // Answers each query (a message ending in "?") from the list in order; commands get none.
    void AnswerQueries(QByteArrayList answers)
    {
        auto queue = std::make_shared<QByteArrayList>(std::move(answers));
        peer->respond = [queue](const QByteArray& m) -> QByteArray {
            if (!m.contains('?') || queue->isEmpty())
                return {};
            return queue->takeFirst();
        };
    }
};

#endif
