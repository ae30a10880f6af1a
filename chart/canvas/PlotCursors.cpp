#include "chart/canvas/PlotCursors.h"

#include "chart/canvas/LibrarySettings.h"

const std::vector<TCursorEntry>& CursorEntries()
{
    static const std::vector<TCursorEntry> entries = {
        {"crDefault", crDefault, Qt::ArrowCursor},
        {"crNone", crNone, Qt::BlankCursor},
        {"crArrow", crArrow, Qt::ArrowCursor},
        {"crCross", crCross, Qt::CrossCursor},
        {"crIBeam", crIBeam, Qt::IBeamCursor},
        {"crSizeNESW", crSizeNESW, Qt::SizeBDiagCursor},
        {"crSizeNS", crSizeNS, Qt::SizeVerCursor},
        {"crSizeNWSE", crSizeNWSE, Qt::SizeFDiagCursor},
        {"crSizeWE", crSizeWE, Qt::SizeHorCursor},
        {"crUpArrow", crUpArrow, Qt::UpArrowCursor},
        {"crHourGlass", crHourGlass, Qt::WaitCursor},
        {"crDrag", crDrag, Qt::DragMoveCursor},
        {"crNoDrop", crNoDrop, Qt::ForbiddenCursor},
        {"crHSplit", crHSplit, Qt::SplitHCursor},
        {"crVSplit", crVSplit, Qt::SplitVCursor},
        {"crMultiDrag", crMultiDrag, Qt::DragCopyCursor},
        {"crSQLWait", crSQLWait, Qt::WaitCursor},
        {"crNo", crNo, Qt::ForbiddenCursor},
        {"crAppStart", crAppStart, Qt::BusyCursor},
        {"crHelp", crHelp, Qt::WhatsThisCursor},
        {"crHandPoint", crHandPoint, Qt::PointingHandCursor},
        {"crSizeAll", crSizeAll, Qt::SizeAllCursor},
        {"crPlotHand", crPlotHand, Qt::BitmapCursor},
    };
    return entries;
}

bool CursorToIdent(TCursor cursor, QString& name)
{
    for (const TCursorEntry& e : CursorEntries()) {
        if (e.cursor == cursor) {
            name = QString::fromLatin1(e.name);
            return true;
        }
    }
    return false;
}

bool IdentToCursor(const QString& name, TCursor& cursor)
{
    for (const TCursorEntry& e : CursorEntries()) {
        if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) {
            cursor = e.cursor;
            return true;
        }
    }
    return false;
}

QCursor CursorForNumber(TCursor cursor, const TPlotLibrarySettings& settings)
{
    if (const auto own = settings.Cursors.find(cursor); own != settings.Cursors.end())
        return own->second;
    for (const TCursorEntry& e : CursorEntries())
        if (e.cursor == cursor && e.shape != Qt::BitmapCursor)
            return QCursor(e.shape);
    return QCursor(Qt::ArrowCursor);
}
