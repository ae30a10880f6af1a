#ifndef ZENDRIK_INSTRUMENT_USBCLAIMTEST_H
#define ZENDRIK_INSTRUMENT_USBCLAIMTEST_H

#include <QString>
#include <QStringList>
#include <cstdint>

class DebugLog;
struct libusb_context;
struct libusb_device_handle;

// The USB connection test ("Connect WinUSB"): open a USB instrument and claim its first
// interface through libusb, with no pipe traffic. Claiming the interface is what initialising
// the Windows USB driver did; the log lines ("WINUSB.DLL", "WinUSB handle") and the status-bar
// text ("WUH:") keep that driver's words, as operators know them. Owns the library context and
// the last opened device.
struct UsbClaimTest {
    UsbClaimTest() = default;
    ~UsbClaimTest();
    UsbClaimTest(const UsbClaimTest&) = delete;
    UsbClaimTest& operator=(const UsbClaimTest&) = delete;

    libusb_context* Context = nullptr;
    bool LibraryStarted = false;
    libusb_device_handle* Device = nullptr;
    bool InterfaceOpen = false;
    // What the window's status bar shows of the last test.
    uintptr_t DeviceHandle = 0;
    uintptr_t InterfaceHandle = 0;
    // Where devices are listed; tests point it at a tree of their own.
    QString SysRoot = QStringLiteral("/sys");
};

// Starts libusb once per program run.
bool StartUsbLibrary(UsbClaimTest& usb, DebugLog& debug);
// Opens the device named by path ("/dev/bus/usb/BBB/DDD") and claims interface 0; an interface
// of an earlier test is released and its device closed first.
bool OpenAndClaimUsbDevice(UsbClaimTest& usb, DebugLog& debug, const QString& path);
// The test's status-bar text: "WUH: $" + device handle + ": $" + interface handle.
QString UsbHandlesText(const UsbClaimTest& usb);

// Lists the attached instruments of the maker the test was written for (vendor 1AB1): one
// line each ("Item", number, device name, product, driver) and its device path.
void SearchUsbInstruments(const QString& sysRoot, QStringList* lines, QStringList* paths);

#endif
