// The enhanced metafile's frame: the records' headers, the file header, the run through the
// recording and the end record; the objects are EmfState.cpp's, the drawing EmfGeometry.cpp's.

#include "platform/gdi/EmfWriter.h"
#include "platform/gdi/MetafileFile.h"

#include "platform/gdi/EmfEncoder.h"

#include <cmath>

namespace gdi {

namespace emf {

namespace {

constexpr uint32_t kSignature = 0x464D4520; // " EMF"
constexpr uint32_t kVersion = 0x00010000;
// The reference device: 1920 x 1440 pixels on 508 x 381 mm is exactly 96 dots per inch.
constexpr int32_t kDeviceWidth = 1920;
constexpr int32_t kDeviceHeight = 1440;
constexpr int32_t kDeviceWidthMm = 508;
constexpr int32_t kDeviceHeightMm = 381;
constexpr uint32_t kHeaderSize = 108; // up to and including the micrometre extension
constexpr char16_t kDescription[] = u"Zendrik\0Chart\0"; // the array adds the final NUL
constexpr uint32_t kDescriptionChars = sizeof(kDescription) / sizeof(char16_t);

} // namespace

qsizetype Encoder::Begin(uint32_t type)
{
    const qsizetype start = out_.Size();
    out_.U32(type);
    out_.U32(0);
    return start;
}

void Encoder::End(qsizetype start)
{
    out_.Pad4();
    out_.Patch32(start + 4, static_cast<uint32_t>(out_.Size() - start));
    ++records_;
}

void Encoder::Simple(uint32_t type, std::initializer_list<uint32_t> values)
{
    const qsizetype at = Begin(type);
    for (uint32_t v : values)
        out_.U32(v);
    End(at);
}

QByteArray Encoder::Run()
{
    const int32_t w = std::max(1, m_.Width);
    const int32_t h = std::max(1, m_.Height);
    // The header; the counts are filled in at the end.
    const qsizetype head = Begin(kHeader);
    out_.Rect(0, 0, w - 1, h - 1);
    out_.Rect(0, 0, std::llround(w * 2540.0 / 96.0) - 1, std::llround(h * 2540.0 / 96.0) - 1);
    out_.U32(kSignature);
    out_.U32(kVersion);
    out_.U32(0); // bytes
    out_.U32(0); // records
    out_.U16(0); // handles
    out_.U16(0);
    out_.U32(kDescriptionChars);
    out_.U32(kHeaderSize);
    out_.U32(0); // palette entries
    out_.I32(kDeviceWidth);
    out_.I32(kDeviceHeight);
    out_.I32(kDeviceWidthMm);
    out_.I32(kDeviceHeightMm);
    out_.U32(0); // no pixel format
    out_.U32(0);
    out_.U32(0); // no OpenGL records
    out_.U32(kDeviceWidthMm * 1000);
    out_.U32(kDeviceHeightMm * 1000);
    for (char16_t c : kDescription)
        out_.U16(c);
    End(head);

    for (const MetaRecord& r : m_.Records) {
        switch (r.op) {
        case MetaOp::SelectPen:
            pen_ = r.index;
            break;
        case MetaOp::SelectBrush:
            brush_ = r.index;
            break;
        case MetaOp::SelectFont:
            font_ = r.index;
            break;
        case MetaOp::SetROP2:
            rop2_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetBkMode:
            bkMode_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetBkColor:
            bkColor_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetTextColor:
            textColor_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetTextAlign:
            textAlign_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetTextCharExtra:
            charExtra_ = r.a[0];
            break; // in the advances of the text
        case MetaOp::SetPolyFillMode:
            fillMode_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetArcDirection:
            arcDirection_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetGraphicsMode:
            break; // no world transforms: the mode changes nothing
        case MetaOp::SelectClip:
            Clip(r.index >= 0 ? &m_.Regions[static_cast<size_t>(r.index)] : nullptr);
            break;
        case MetaOp::BeginPath:
            inPath_ = true;
            pathBox_ = Box {};
            Simple(kBeginPath, {});
            break;
        case MetaOp::EndPath:
            inPath_ = false;
            Simple(kEndPath, {});
            break;
        case MetaOp::AbortPath:
            inPath_ = false;
            pathBox_ = Box {};
            Simple(kAbortPath, {});
            break;
        case MetaOp::CloseFigure:
            Simple(kCloseFigure, {});
            break;
        case MetaOp::StrokePath:
            PathOp(kStrokePath, true, false);
            break;
        case MetaOp::FillPath:
            PathOp(kFillPath, false, true);
            break;
        case MetaOp::StrokeAndFillPath:
            PathOp(kStrokeAndFillPath, true, true);
            break;
        case MetaOp::SelectClipPath:
            SetAttr(eFillMode_, fillMode_, kSetPolyFillMode);
            Simple(kSelectClipPath, {static_cast<uint32_t>(r.a[0])});
            pathBox_ = Box {};
            break;
        default:
            Draw(r);
            break;
        }
    }
    for (Selected& s : sel_) {
        if (s.handle == 0)
            continue;
        // The device's own object is selected back first, so that ours is free to go.
        static constexpr uint32_t kStock[]
            = {0x80000007 /* black pen */, 0x80000000 /* white brush */, 0x8000000D /* system font */};
        Simple(kSelectObject, {kStock[&s - sel_.data()]});
        Simple(kDeleteObject, {s.handle});
    }
    const qsizetype eof = Begin(kEof);
    out_.U32(0); // no palette
    out_.U32(16); // where it would start
    out_.U32(20); // this record's size, last
    End(eof);

    out_.Patch32(48, static_cast<uint32_t>(out_.Size()));
    out_.Patch32(52, records_);
    QByteArray bytes = out_.Take();
    qToLittleEndian(static_cast<uint16_t>(std::min<uint32_t>(handles_, 0xFFFF)), bytes.data() + 56);
    return bytes;
}

} // namespace emf

QByteArray EncodeEmf(const Metafile& picture)
{
    emf::Encoder e(picture);
    return e.Run();
}

bool SaveEmf(const Metafile& picture, const QString& fileName, QString* error)
{
    return SaveMetafileBytes(EncodeEmf(picture), fileName, error);
}

} // namespace gdi
