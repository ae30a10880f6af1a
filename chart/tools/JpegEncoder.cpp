#include "chart/tools/JpegEncoder.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg's own error handler prints and ends the process. Ours keeps the message and jumps back
// to the compression call, which then reports it.
struct ErrorManager {
    jpeg_error_mgr base {};
    std::jmp_buf jump {};
    std::array<char, JMSG_LENGTH_MAX> message {};
};

void ReturnToCaller(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message.data());
    std::longjmp(errors->jump, 1);
}

// Warnings and trace messages would go to stderr: nothing is printed.
void KeepQuiet(j_common_ptr) { }

// Collects the compressed bytes in blocks.
struct Destination {
    jpeg_destination_mgr base {};
    QByteArray* out = nullptr;
    std::array<JOCTET, 65536> block {};
};

void StartBlock(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<Destination*>(info->dest);
    dest->base.next_output_byte = dest->block.data();
    dest->base.free_in_buffer = dest->block.size();
}

bool Append(Destination& dest, std::size_t count)
{
    try {
        dest.out->append(reinterpret_cast<const char*>(dest.block.data()), static_cast<qsizetype>(count));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

boolean FlushBlock(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<Destination*>(info->dest);
    // The error exit leaves by a jump, so it is called outside the handler that caught the
    // allocation failure.
    if (!Append(*dest, dest->block.size()))
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    StartBlock(info);
    return TRUE;
}

void FinishBlocks(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<Destination*>(info->dest);
    if (!Append(*dest, dest->block.size() - dest->base.free_in_buffer))
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
}

// Everything libjpeg touches lives here, outside the frame that calls setjmp, and is released by
// the destructor whether the compression finished or jumped back.
struct Compression {
    jpeg_compress_struct info {};
    ErrorManager errors;
    Destination dest;

    Compression() = default;
    Compression(const Compression&) = delete;
    Compression& operator=(const Compression&) = delete;
    ~Compression() { jpeg_destroy_compress(&info); }
};

// Only plain values live in this frame, so the jump back skips no destructor.
bool Compress(Compression& c, const QImage& rgb, const JpegEncoding& encoding)
{
    c.info.err = jpeg_std_error(&c.errors.base);
    c.errors.base.error_exit = ReturnToCaller;
    c.errors.base.output_message = KeepQuiet;
    if (setjmp(c.errors.jump))
        return false;
    jpeg_create_compress(&c.info);
    c.dest.base.init_destination = StartBlock;
    c.dest.base.empty_output_buffer = FlushBlock;
    c.dest.base.term_destination = FinishBlocks;
    c.info.dest = &c.dest.base;

    c.info.image_width = static_cast<JDIMENSION>(rgb.width());
    c.info.image_height = static_cast<JDIMENSION>(rgb.height());
    c.info.input_components = 3;
    c.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.info);
    if (encoding.GrayScale)
        jpeg_set_colorspace(&c.info, JCS_GRAYSCALE);
    // Colour at full resolution: a chart is one-pixel lines in saturated colours, which halved
    // colour planes smear into their neighbours' (a chart of four traces reads back at 21 dB
    // PSNR instead of 41).
    c.info.comp_info[0].h_samp_factor = 1;
    c.info.comp_info[0].v_samp_factor = 1;
    jpeg_set_quality(&c.info, std::clamp(encoding.Quality, 1, 100), TRUE);
    c.info.dct_method = encoding.FastDct ? JDCT_IFAST : JDCT_ISLOW;
    if (encoding.Progressive)
        jpeg_simple_progression(&c.info);

    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < c.info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(c.info.next_scanline)));
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    return true;
}

} // namespace

bool EncodeJpeg(const QImage& picture, const JpegEncoding& encoding, QByteArray& out, QString* error)
{
    const QImage rgb = picture.format() == QImage::Format_RGB888
        ? picture
        : picture.convertToFormat(QImage::Format_RGB888);
    if (!picture.isNull() && rgb.isNull()) {
        if (error)
            *error = QStringLiteral("Not enough memory for the picture");
        return false;
    }
    QByteArray bytes;
    auto c = std::make_unique<Compression>();
    c->dest.out = &bytes;
    if (!Compress(*c, rgb, encoding)) {
        if (error)
            *error = QString::fromLocal8Bit(c->errors.message.data());
        return false;
    }
    out = std::move(bytes);
    return true;
}
