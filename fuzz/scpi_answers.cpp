// The answer parsers of the SCPI layer: the identification and the marker and sweep-time readers,
// each given whatever an analyser with odd firmware might send.
#include "fuzz/FuzzSupport.h"
#include "fuzz/ScriptedInstrument.h"
#include "instrument/DeviceIdentification.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t reader = in.Byte() % 5;
    const int32_t family = in.Byte() % 6;
    const bool rsa = in.Flag();
    const QByteArray answer = in.Rest();

    ScriptedInstrument s;
    if (reader == 0) {
        s.device.TracePoints = -1;
        const IdentificationResult r = IdentifyDevice(s.device, s.options, QString::fromLatin1(answer));
        fuzz::Check(r.UnsupportedMessage.isEmpty() == (s.device.DeviceFamily != dfNone),
                    "a device is either identified or said to be unsupported");
        if (s.device.DeviceFamily != dfNone)
            fuzz::Check(s.device.TracePoints > 0 && r.ModelPanel.has_value(),
                        "an identified device has its points and its model text");
        return 0;
    }

    s.device.DeviceFamily = static_cast<DeviceFamilyCode>(family);
    s.device.DeviceModel = rsa ? AnalyserKind::kRigolRsaModel : 815;
    s.device.SiglentSeries = rsa ? ssSva : ssSsa;
    s.Answer(answer);
    ScpiAnswer a;
    switch (reader) {
    case 1: a = ScpiReadMarkerLevel(s.c); break;
    case 2: a = ScpiReadMarkerLevelSweep(s.c); break;
    case 3: a = ScpiReadMarkerFreq(s.c); break;
    default: a = ScpiReadSweepTime(s.c); break;
    }
    // A reader that promises a number gives one or nothing, never a text that is none.
    if (a) {
        const std::optional<double> v = scpiio::AnswerNumber(*a);
        fuzz::Check(v.has_value() && std::isfinite(*v), "an answer given is a finite number");
    }
    return 0;
}
