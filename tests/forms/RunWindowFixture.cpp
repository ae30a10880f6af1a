#include "RunWindowFixture.h"

#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/ConnectionWindow.h"
#include "forms/MainWindow.h"
#include "instrument/InstrumentState.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <atomic>
#include <gtest/gtest.h>
#include <unistd.h>

using testsupport::Control;

RunWindowFixture::RunWindowFixture() : oldCurrent(QDir::currentPath())
{
    app.Pump = &pump;
    QObject::connect(&app.Messages, &MessageLog::LineAppended, [this](const QString& line) {
        static const QRegularExpression mark(QStringLiteral("^Info: measurement (start|done) +seg (\\d+) "));
        const QRegularExpressionMatch m = mark.match(line);
        if (m.hasMatch() && sim)
            marks.emplace_back(m.captured(1) + m.captured(2), sim->Instrument().CommandLog().size());
    });
}

RunWindowFixture::~RunWindowFixture()
{
    program.reset();
    if (sim)
        sim->Stop();
    QDir::setCurrent(oldCurrent);
}

void RunWindowFixture::Start(const QString& family, const QString& project, const SimFaults& faults, uint32_t seed)
{
    SimulatorOptions o;
    o.family = family;
    o.seed = seed;
    o.timeScale = 1e-6; // sweeps take no noticeable real time
    o.faults = faults;
    o.vxi11 = true;
    o.tcpPort = 0;
    // A program number of this process and fixture, so that parallel test programs do not meet in
    // rpcbind.
    static std::atomic<uint32_t> counter{0};
    o.vxi11Program = 0x40000000u | ((static_cast<uint32_t>(::getpid()) << 6 | (counter++ & 63u)) & 0x1FFFFFFFu);
    sim = std::make_unique<Simulator>(o);
    QString error;
    ASSERT_TRUE(sim->Start(&error)) << error.toStdString();

    const QDir work(folder.path());
    for (const char* sub : {"zips", "src", "rep", "out"})
        work.mkpath(QString::fromLatin1(sub));
    const QDir data(QStringLiteral(ZENDRIK_SOURCE_DIR "/data"));
    for (const QString& name : QDir(data.filePath("src")).entryList(QDir::Files))
        QFile::copy(data.filePath("src/" + name), work.filePath("src/" + name));
    QFile::copy(data.filePath("rep/demo.rep"), work.filePath("rep/demo.rep"));

    program = std::make_unique<Program>(app, QStringList{}, folder.path());
    program->Services().showMessage = [this](const QString& t) { boxes << t; };
    program->Services().showError = [this](const QString& t) { boxes << t; };
    program->Services().versionIndex = [] { return 9; };
    BuiltinVisaOptions vo;
    vo.vxi11.program = o.vxi11Program;
    LoadVisaLibrary(program->Instrument().Visa, app.Debug, std::make_unique<BuiltinVisaBackEnd>(vo));
    program->CreateForms();
    w = program->Windows().mainWindow;
    w->chooseProjectFile = [this, project](const SaveDialogSettings&, bool) {
        return folder.filePath("src/" + project);
    };
    Control<QAction>(*w, "load1").trigger();
}

void RunWindowFixture::Connect(bool keepLog, bool socket)
{
    Control<QAction>(*w, socket ? "Visa1" : "CP1").trigger();
    ConnectionWindow& cw = *program->Windows().connectionWindow;
    Control<QLineEdit>(cw, "Edit1").setText(QStringLiteral("127.0.0.1"));
    if (socket) // "Search" opens the resource manager (and finds no USB device)
        Control<QPushButton>(cw, "BitBtn3").click();
    Control<QLineEdit>(cw, "Edit2").setText(QStringLiteral("TCPIP0::127.0.0.1::%1::SOCKET").arg(sim->TcpPort()));
    Control<QPushButton>(cw, "BitBtn4").click();
    cw.hide();
    ASSERT_EQ(program->Instrument().Device.DeviceConnected, 1) << Lines("").join('|').toStdString();
    if (!keepLog)
        sim->Instrument().ClearCommandLog();
}

QPushButton& RunWindowFixture::Play() const
{
    return Control<QPushButton>(*w, "BitBtn1");
}

QPushButton& RunWindowFixture::Stop() const
{
    return Control<QPushButton>(*w, "BitBtn2");
}

QPushButton& RunWindowFixture::Pause() const
{
    return Control<QPushButton>(*w, "BitBtn3");
}

void RunWindowFixture::SetTimeoutMs(uint32_t ms)
{
    VisaState& visa = program->Instrument().Visa;
    visa.VisaLibrary->viSetAttribute(visa.VisaSession, visa::VI_ATTR_TMO_VALUE, ms);
}

QStringList RunWindowFixture::Lines(const QString& prefix) const
{
    QStringList out;
    for (const QString& l : app.Messages.Lines())
        if (l.startsWith(prefix))
            out << l;
    return out;
}

QStringList RunWindowFixture::SimLog(size_t from, size_t to) const
{
    QStringList out;
    const std::vector<SimLogEntry> log = sim->Instrument().CommandLog();
    for (size_t i = from; i < std::min(to, log.size()); ++i)
        out << QString::fromLatin1(log[i].message);
    return out;
}

size_t RunWindowFixture::Mark(const QString& what, int segment) const
{
    const QString key = what + QString::number(segment);
    for (const auto& [name, position] : marks)
        if (name == key)
            return position;
    return SIZE_MAX;
}
