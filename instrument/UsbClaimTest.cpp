#include "instrument/UsbClaimTest.h"

#include "app/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <libusb.h>

namespace {

QString Hex8(uintptr_t v)
{
    return QString::number(static_cast<qulonglong>(v), 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

QString ReadLine(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readLine()).trimmed();
}

void Free(UsbClaimTest& usb)
{
    if (usb.InterfaceOpen && usb.Device) {
        if (libusb_release_interface(usb.Device, 0) == 0) {
            libusb_close(usb.Device);
            usb.Device = nullptr;
        }
    }
    usb.InterfaceOpen = false;
}

// Bus and device numbers from "/dev/bus/usb/BBB/DDD".
bool BusAndAddress(const QString& path, int* bus, int* address)
{
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return false;
    bool okBus = false, okAddress = false;
    *bus = parts[parts.size() - 2].toInt(&okBus);
    *address = parts.last().toInt(&okAddress);
    return okBus && okAddress;
}

} // namespace

UsbClaimTest::~UsbClaimTest()
{
    Free(*this);
    if (Device)
        libusb_close(Device);
    if (Context)
        libusb_exit(Context);
}

bool StartUsbLibrary(UsbClaimTest& usb, DebugLog& debug)
{
    if (usb.LibraryStarted) {
        debug.LogMessage(QStringLiteral("Info: WINUSB.DLL still loaded"));
        return true;
    }
    if (libusb_init(&usb.Context) != 0) {
        usb.Context = nullptr;
        debug.LogMessage(QStringLiteral("Error: WINUSB.DLL could not be loaded"));
        return false;
    }
    usb.LibraryStarted = true;
    debug.LogMessage(QStringLiteral("Info: WinUSBHandle  ") + Hex8(reinterpret_cast<uintptr_t>(usb.Context)));
    debug.LogMessage(QStringLiteral("Info: WINUSB.DLL loaded"));
    return true;
}

bool OpenAndClaimUsbDevice(UsbClaimTest& usb, DebugLog& debug, const QString& path)
{
    Free(usb);
    if (usb.Device) {
        libusb_close(usb.Device);
        usb.Device = nullptr;
    }
    usb.DeviceHandle = 0;
    usb.InterfaceHandle = 0;
    int bus = 0, address = 0;
    libusb_device_handle* handle = nullptr;
    if (usb.Context && BusAndAddress(path, &bus, &address)) {
        libusb_device** list = nullptr;
        const ssize_t n = libusb_get_device_list(usb.Context, &list);
        for (ssize_t i = 0; i < n && !handle; ++i) {
            if (libusb_get_bus_number(list[i]) == bus && libusb_get_device_address(list[i]) == address &&
                libusb_open(list[i], &handle) != 0)
                handle = nullptr;
        }
        if (list)
            libusb_free_device_list(list, 1);
    }
    if (!handle) {
        debug.LogMessage(QStringLiteral("Cannot get a handle for the device. Perhaps it's not attached."));
        return false;
    }
    usb.Device = handle;
    usb.DeviceHandle = reinterpret_cast<uintptr_t>(handle);
    debug.LogMessage(QStringLiteral("Device opened. Device handle is $") + Hex8(usb.DeviceHandle));
    debug.LogMessage(QStringLiteral("Obtaining WinUSB handle based on the device handle..."));
    libusb_set_auto_detach_kernel_driver(handle, 1);
    if (libusb_claim_interface(handle, 0) != 0) {
        debug.LogMessage(QStringLiteral("WinUSB Init Failed."));
        return false;
    }
    usb.InterfaceOpen = true;
    // libusb has no handle of its own for a claimed interface; the number 0 stands for it.
    usb.InterfaceHandle = 0;
    debug.LogMessage(QStringLiteral("WinUSB Init Ok. WinUSB handle is $") + Hex8(usb.InterfaceHandle));
    return true;
}

QString UsbHandlesText(const UsbClaimTest& usb)
{
    return QStringLiteral("WUH: $") + Hex8(usb.DeviceHandle) + QStringLiteral(": $") + Hex8(usb.InterfaceHandle);
}

void SearchUsbInstruments(const QString& sysRoot, QStringList* lines, QStringList* paths)
{
    lines->clear();
    paths->clear();
    QDir dir(sysRoot + QStringLiteral("/bus/usb/devices"));
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    int item = 0;
    for (const QString& e : entries) {
        const QString base = dir.filePath(e);
        if (ReadLine(base + QStringLiteral("/idVendor")).compare(QLatin1String("1ab1"), Qt::CaseInsensitive) != 0)
            continue;
        bool okBus = false, okDev = false;
        const int bus = ReadLine(base + QStringLiteral("/busnum")).toInt(&okBus);
        const int dev = ReadLine(base + QStringLiteral("/devnum")).toInt(&okDev);
        if (!okBus || !okDev)
            continue;
        const QString product = ReadLine(base + QStringLiteral("/product"));
        // The driver of the first interface, as the service name was.
        const QString driver = QFileInfo(base + QLatin1Char('/') + e + QStringLiteral(":1.0/driver")).symLinkTarget();
        ++item;
        lines->append(QStringLiteral("Item") + QStringLiteral("   ") + QString::number(item) + QStringLiteral("   ") + e +
                      QStringLiteral("   ") + product + QStringLiteral("   ") + QFileInfo(driver).fileName());
        paths->append(QStringLiteral("/dev/bus/usb/%1/%2")
                          .arg(bus, 3, 10, QLatin1Char('0'))
                          .arg(dev, 3, 10, QLatin1Char('0')));
    }
}
