#include "PngRows.h"

#include <png.h>

#include <algorithm>
#include <vector>

namespace {

// libpng's errors end its work through a jump back to where it started; its warnings say
// nothing.
[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void Silent(png_structp, png_const_charp) {}

// The file's bytes, fetched through `read` a block at a time: libpng asks for a chunk's header,
// its data and its checksum one after another.
struct Source {
    const RowSource* read;
    std::vector<BYTE> block;
    std::size_t at = 0, end = 0;
};

// An end before libpng has what it asks for is an error.
void Fill(png_structp png, png_bytep data, png_size_t length)
{
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    while (length > 0) {
        if (source->at == source->end) {
            source->at = 0;
            source->end = (*source->read)(source->block.data(), source->block.size());
            if (source->end == 0)
                png_error(png, "the file ends early");
        }
        const std::size_t n = std::min(length, source->end - source->at);
        std::copy_n(source->block.data() + source->at, n, data);
        source->at += n;
        data += n;
        length -= n;
    }
}

// Lays a row of blue, green, red and alpha on white where the row goes.
void PlaceOnWhite(const BYTE* from, int width, BYTE* to, std::int64_t step)
{
    for (int x = 0; x < width; ++x, from += 4, to += step) {
        to[0] = OnWhite(from[0], from[3]);
        to[1] = OnWhite(from[1], from[3]);
        to[2] = OnWhite(from[2], from[3]);
    }
}

// Copies a row of blue, green and red between the line and where the row goes.
void CopyPixels(const BYTE* from, std::int64_t fromStep, BYTE* to, std::int64_t toStep, int width)
{
    for (int x = 0; x < width; ++x, from += fromStep, to += toStep)
        std::copy_n(from, 3, to);
}

// The rows, once the structures are made; libpng's errors jump out of it, back into the
// caller.
DecodedRows DecodeRows(png_structp png, png_infop info, int width, int height,
                       const RowPlace& place, const RowStop& stop, BYTE* line)
{
    png_read_info(png, info);
    if (png_get_image_width(png, info) != png_uint_32(width) ||
        png_get_image_height(png, info) != png_uint_32(height))
        return DecodedRows::Damaged;
    if (png_get_bit_depth(png, info) > 8)
        return DecodedRows::NotTaken;
    const int type = png_get_color_type(png, info);
    // Everything to eight bits of blue, green and red, and alpha when the picture has any.
    const bool alpha = (type & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    png_set_expand(png);
    if (!(type & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(alpha ? 4 : 3) * png_size_t(width))
        return DecodedRows::Damaged;
    // An interlaced picture's later passes fill in the rows of the earlier ones: a row that
    // is not read straight into its place is gathered from there before each pass, or, when
    // it is laid on white, kept whole until its last pass.
    std::vector<BYTE> kept;
    if (alpha && passes > 1)
        kept.resize(std::size_t(height) * 4 * std::size_t(width));
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < height; ++y) {
            if (stop())
                return DecodedRows::Stopped;
            std::int64_t step = 0;
            BYTE* to = place(y, step);
            if (!alpha && step == 3) {
                png_read_row(png, to, nullptr);
            } else if (!alpha) {
                if (passes > 1)
                    CopyPixels(to, step, line, 3, width);
                png_read_row(png, line, nullptr);
                CopyPixels(line, 3, to, step, width);
            } else {
                BYTE* row =
                    kept.empty() ? line : kept.data() + std::size_t(y) * 4 * std::size_t(width);
                png_read_row(png, row, nullptr);
                if (pass + 1 == passes)
                    PlaceOnWhite(row, width, to, step);
            }
        }
    return DecodedRows::Read;
}

// Runs the decoding and takes libpng's errors. What the jump leaves behind lives in the
// caller's frame, untouched by the jump.
DecodedRows Guarded(png_structp png, png_infop info, int width, int height, const RowPlace& place,
                    const RowStop& stop, BYTE* line)
{
    if (setjmp(png_jmpbuf(png)))
        return DecodedRows::Damaged;
    return DecodeRows(png, info, width, height, place, stop, line);
}

} // namespace

DecodedRows ReadPngRows(const RowSource& read, int width, int height, const RowPlace& place,
                        const RowStop& stop)
{
    if (width <= 0 || height <= 0)
        return DecodedRows::Damaged;
    std::vector<BYTE> line(4 * std::size_t(width));
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, Silent);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return DecodedRows::Damaged;
    }
    Source source{&read, std::vector<BYTE>(kRowSourceBlock)};
    png_set_read_fn(png, &source, Fill);
    const DecodedRows result = Guarded(png, info, width, height, place, stop, line.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}
