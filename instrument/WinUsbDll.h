#ifndef ZENDRIK_INSTRUMENT_WINUSBDLL_H
#define ZENDRIK_INSTRUMENT_WINUSBDLL_H

#include <QString>
#include <QStringList>
#include <cstdint>

class DebugLog;
struct libusb_context;
struct libusb_device_handle;

// The USB connection test: open a USB instrument and claim its first interface, with no pipe
// traffic. libusb takes the place of the Windows USB driver library; claiming the interface is
// what initialising it did there. Owns the library context and the last opened device.
struct WinUsbDll {
    WinUsbDll() = default;
    ~WinUsbDll();
    WinUsbDll(const WinUsbDll&) = delete;
    WinUsbDll& operator=(const WinUsbDll&) = delete;

    libusb_context* Context = nullptr;
    bool Loaded = false;
    libusb_device_handle* Device = nullptr;
    bool InterfaceOpen = false;
    // What the window's status bar shows of the last test.
    uintptr_t DeviceHandle = 0;
    uintptr_t InterfaceHandle = 0;
    // Where devices are listed; tests point it at a tree of their own.
    QString SysRoot = QStringLiteral("/sys");
};

// Starts the library once per program run.
bool LoadWinUsbDll(WinUsbDll& usb, DebugLog& debug);
// Opens the device named by path ("/dev/bus/usb/BBB/DDD") and claims interface 0; an interface
// of an earlier test is released and its device closed first.
bool OpenWinUsbDevice(WinUsbDll& usb, DebugLog& debug, const QString& path);
// The test's status-bar text: "WUH: $" + device handle + ": $" + interface handle.
QString WinUsbHandlesText(const WinUsbDll& usb);

// Lists the attached instruments of the maker the test was written for (vendor 1AB1): one
// line each ("Item", number, device name, product, driver) and its device path.
void SearchWinUsbDevices(const QString& sysRoot, QStringList* lines, QStringList* paths);

#endif
