#ifndef ZENDRIK_TESTS_IMMUNITY_GENERATORHARNESS_H
#define ZENDRIK_TESTS_IMMUNITY_GENERATORHARNESS_H

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "common/TestSupport.h"
#include "immunity/GeneratorController.h"
#include "immunity/GeneratorSettings.h"
#include "instrument/AnalyserHold.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The generator controller on a recording transport and the virtual-clock pump: every message
// the instrument receives is kept with the virtual time it arrived at.
struct GeneratorHarness {
    struct Sent {
        uint32_t At;
        QString Text;
    };

    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c{visa, device, options, debug, messages, pump, status};
    std::shared_ptr<ScriptedPeer> peer = std::make_shared<ScriptedPeer>();
    std::vector<Sent> sent;
    QStringList errors;
    QString refusedCorrection;
    std::vector<bool> actions;
    GeneratorViewModel view = DefaultGeneratorView();
    GeneratorState state;
    GeneratorSettings settings;
    GeneratorController controller{c, view, state, settings, Hooks()};

    explicit GeneratorHarness(int32_t family = dfRigol, int32_t model = 815)
    {
        device.DeviceFamily = static_cast<DeviceFamilyCode>(family);
        device.DeviceModel = model;
        device.DeviceConnected = true;
        if (model == 5000)
            device.GeneratorLevelMin = -40;
        peer->chunk = 1 << 20;
        // It answers where it tuned, the last centre it was given.
        peer->respond = [this, centre = std::make_shared<QByteArray>("0")](const QByteArray& m) {
            sent.push_back({pump.TickCount(), QString::fromLatin1(m)});
            if (m.startsWith(":SENS:FREQ:CENT "))
                *centre = m.mid(16).split(' ').first();
            return m == ":SENS:FREQ:CENT?" ? *centre + "\n" : QByteArray();
        };
        auto backEnd = std::make_unique<BuiltinVisaBackEnd>();
        BuiltinVisaBackEnd* b = backEnd.get();
        LoadVisaLibrary(visa, debug, std::move(backEnd));
        EXPECT_EQ(visa.VisaLibrary->viOpenDefaultRM(&visa.VisaResourceManager), visa::VI_SUCCESS);
        EXPECT_EQ(b->OpenWithTransport(visa.VisaResourceManager, "TCPIP0::fake::INSTR",
                                       std::make_unique<ScriptedTransport>(peer), &visa.VisaSession),
                  visa::VI_SUCCESS);
    }

    GeneratorHooks Hooks()
    {
        GeneratorHooks h;
        h.ShowError = [this](const QString& t) { errors << t; };
        h.ActionChanged = [this](bool on) { actions.push_back(on); };
        h.RefusedCorrection = [this] { return refusedCorrection; };
        return h;
    }

    // What was sent, optionally only the messages that begin with prefix.
    std::vector<Sent> Only(const QString& prefix) const
    {
        std::vector<Sent> out;
        for (const Sent& s : sent)
            if (s.Text.startsWith(prefix))
                out.push_back(s);
        return out;
    }
    QStringList Texts(const QString& prefix = {}) const
    {
        QStringList out;
        for (const Sent& s : Only(prefix))
            out << s.Text;
        return out;
    }
    bool AllButtonsEnabled() const
    {
        for (bool on : view.ButtonEnabled)
            if (!on)
                return false;
        return true;
    }
    bool AnyButtonEnabled() const
    {
        for (bool on : view.ButtonEnabled)
            if (on)
                return true;
        return false;
    }
};

inline const QString kLevelCommand = QStringLiteral(":SOUR:POW:LEV:IMM:AMPL ");
inline const QString kCentreCommand = QStringLiteral(":SENS:FREQ:CENT ");

#endif
