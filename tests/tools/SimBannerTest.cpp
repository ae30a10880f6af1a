// What the simulator program prints at start is what a client can use: a VXI-11 server that is not
// registered with rpcbind is not offered as a VISA resource, which would reach another simulator.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

TEST(SimBanner, AnUnregisteredVxi11ServerNamesItsPortAndNoVisaResource)
{
    const QString exe = QStringLiteral(ZENDRIK_BINARY_DIR "/tools/sim/zendrik-sim");
    ASSERT_TRUE(QFile::exists(exe)) << "build the zendrik-sim target first";
    QProcess p;
    p.start(exe, {"--tcp", "0", "--vxi11", "--no-register"});
    ASSERT_TRUE(p.waitForStarted(5000));
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains("VXI-11:") && t.elapsed() < 10000) {
        p.waitForReadyRead(200);
        out += p.readAllStandardOutput();
    }
    p.terminate();
    EXPECT_TRUE(p.waitForFinished(5000));
    const QList<QByteArray> lines = out.split('\n');
    const auto line = [&lines](const char* start) {
        for (const QByteArray& l : lines)
            if (l.trimmed().startsWith(start))
                return l;
        return QByteArray();
    };
    EXPECT_TRUE(line("raw SCPI:").endsWith("::SOCKET")) << out.constData();
    const QByteArray vxi = line("VXI-11:");
    EXPECT_FALSE(vxi.contains("::INSTR")) << out.constData();
    EXPECT_TRUE(vxi.contains("port ") && vxi.contains("not registered")) << out.constData();
}
