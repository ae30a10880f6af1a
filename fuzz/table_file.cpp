// Table files (".lim", ".cac", ".lsc", ".amp", ".ant", ".tc"): read into the editor's grid (or
// refused, changing nothing), turned into a trace on the 4 kHz grid, saved and read again, which
// must give the same table.
#include "app/Log.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"
#include "datafiles/TableInterpolation.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>

namespace {

void CheckTableShape(const TableBuffer& grid)
{
    // The frequencies are one run from row 1; a level stands only beside a frequency.
    bool ended = false;
    for (int n = 1; n < grid.Rows(); ++n) {
        const bool hasFreq = !grid.Cell(n, 1).isEmpty();
        fuzz::Check(!(ended && hasFreq), "no frequency after the first empty one");
        fuzz::Check(hasFreq || grid.Cell(n, 2).isEmpty(), "no level without a frequency");
        ended = ended || !hasFreq;
    }
}

bool SameTable(const TableBuffer& a, const TableBuffer& b)
{
    if (a.Name() != b.Name() || a.FreqLinear() != b.FreqLinear() || a.LevelLinear() != b.LevelLinear())
        return false;
    for (int n = 1; n < std::max(a.Rows(), b.Rows()); ++n) {
        const QString& fa = n < a.Rows() ? a.Cell(n, 1) : QString();
        const QString& fb = n < b.Rows() ? b.Cell(n, 1) : QString();
        if (fa != fb || (n < a.Rows() ? a.Cell(n, 2) : QString()) != (n < b.Rows() ? b.Cell(n, 2) : QString()))
            return false;
        if (fa.isEmpty())
            break;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader is the same for every kind; only the question and the extension differ.
    static const TableKind kinds[] = {TableKind::Limit, TableKind::Cable,   TableKind::Lisn,
                                      TableKind::Amplifier, TableKind::Antenna, TableKind::Tc};
    const TableKind kind = kinds[size % 6];
    const QString name = QStringLiteral("fuzz.") + TableKindExtension(kind);
    fuzz::WriteScratchFile(QStringLiteral("table/src/") + name,
                           QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    MessageLog messages;
    DataFileContext context;
    context.WorkingFolder = fuzz::ScratchFolder() + QStringLiteral("/table");
    context.Messages = &messages;

    TableBuffer grid;
    if (!LoadTableFile(kind, grid, QStringLiteral(".\\src\\") + name, QLatin1Char('n'), context)) {
        fuzz::Check(messages.Lines().size() == 1 && grid.Cell(1, 1).isEmpty() &&
                        grid.Name() == TableBuffer::kInitialName,
                    "an existing table file is read, or refused in one line with the grid as it was");
        return 0;
    }
    CheckTableShape(grid);

    GridTrace trace;
    InterpolateGrid(grid, GridInterpolationOptions{grid.LevelLinear(), kind == TableKind::Limit}, trace);
    fuzz::Check(trace.X.size() == trace.Y.size() && static_cast<int64_t>(trace.X.size()) <= kMaxGridTracePoints,
                "a trace of at most the largest grid");
    fuzz::Check(!trace.DataError, "a table the reader takes makes a curve");
    for (size_t i = 0; i < trace.X.size(); ++i)
        fuzz::Check(std::isfinite(trace.X[i]) && std::isfinite(trace.Y[i]), "trace points are numbers");

    fuzz::Check(SaveTableFile(kind, grid, QStringLiteral(".\\src\\copy.") + TableKindExtension(kind),
                              context),
                "the table is saved");
    TableBuffer again;
    fuzz::Check(LoadTableFile(kind, again, QStringLiteral(".\\src\\copy.") + TableKindExtension(kind),
                              QLatin1Char('n'), context),
                "the saved table is read");
    fuzz::Check(SameTable(grid, again), "a saved table reads as it was before saving");
    return 0;
}
