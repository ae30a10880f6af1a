#ifndef ZENDRIK_INSTRUMENT_GPSRECEIVER_H
#define ZENDRIK_INSTRUMENT_GPSRECEIVER_H

#include "instrument/GpsSentence.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

struct ScpiContext;

// A whole number from 0 to n - 1 from the system's generator.
int GpsRandom(int n);

// One point of the GPS track: X longitude, Y latitude, drawn red.
struct GpsTrackPoint {
    double Longitude = 0;
    double Latitude = 0;
};

// What the coverage view shows of the receiver and the three check boxes the poll reads.
struct GpsView {
    GpsDisplay Display;
    bool SimulateMoving = false; // "simulate moving"
    bool SkipNonMoving = true;   // "skip non moving", checked at start
    bool Beep = false;           // "Beep"
    std::vector<GpsTrackPoint> Track; // the view's track series
    QStringList Memo;                 // the view's memo (debug lines of the poll)
};

// The serial NMEA receiver: its own resource manager and session (the analyser's connects and
// disconnects leave them alone), whether it is connected, and the view it fills.
struct GpsReceiverState {
    bool GpsConnected = false;
    GpsView View;
    // A whole number from 0 to n - 1 for "simulate moving"; tests make it repeatable.
    std::function<int(int n)> Random = GpsRandom;
    // The PC's tone (frequency in Hz, duration in ms).
    std::function<void(int hz, int ms)> Beep;
};

// The ports of the serial group: "COM1" to "COM18" and "COM20", then the serial devices present
// (USB receivers are never a ttyS): /dev/ttyUSB*, /dev/ttyACM*, /dev/serial/by-id/*.
QStringList SerialPortChoices(const QString& devRoot = QStringLiteral("/dev"));
// "COMn" gives "ASRLn::INSTR"; a device path gives "ASRL" + path + "::INSTR"; a serial resource
// ("ASRL...::INSTR") stays as it is; anything else the empty text.
QString SerialResourceName(const QString& port);

// What "Connect Visa" of the serial group did.
struct SerialConnectOutcome {
    QString Resource;       // shown in the resource field
    bool Connected = false; // the connect button shows its connected image
    QString UnsupportedMessage; // serial analyser: the identification's message, if any
};

// LinkKind::GpsReceiver: opens the receiver on its own resource manager (an earlier receiver
// session is closed first), checks 9600 baud, switches periodic output off and asks "PERDINFO",
// whose answer must name "OPUS3PVT". Failures show their dialogs and leave GpsConnected cleared.
SerialConnectOutcome ConnectGpsReceiver(ScpiContext& c, GpsReceiverState& gps, const QString& port);
// LinkKind::SerialAnalyser: an analyser on a serial port, identified from "*IDN?" as any
// analyser; the receiver is left as it is.
SerialConnectOutcome ConnectSerialAnalyser(ScpiContext& c, const QString& port);
// "Connect Visa" of the serial group for the current connection kind.
SerialConnectOutcome ConnectSerial(ScpiContext& c, GpsReceiverState& gps, const QString& port);

// "RD RMC" and the coverage tick: one "$GPRMC" into the view. Does nothing while no receiver is
// connected. A failed read or a sentence of the wrong kind stops the coverage timer and shows a
// dialog; a damaged sentence gives "nofix" without a position and logging goes on.
void PollGpsReceiver(ScpiContext& c, GpsReceiverState& gps);

// "Get Info" for the receiver: its answer to "PERDINFO", or nothing after a failed read.
QStringList GpsReceiverInfoLines(ScpiContext& c, const GpsReceiverState& gps);

// Closes the receiver's session and resource manager.
void CloseGpsReceiver(ScpiContext& c, GpsReceiverState& gps);

#endif
