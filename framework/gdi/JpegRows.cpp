#include "JpegRows.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg's errors end its work through a jump back to where it started; its warnings (a
// file cut short, a damaged stretch it goes past) say nothing.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void Silent(j_common_ptr) {}

// The file's bytes, fetched through `read` a block at a time.
struct Source {
    jpeg_source_mgr pub;
    const RowSource* read;
    std::vector<BYTE> block;
};

void Start(j_decompress_ptr) {}
void Finish(j_decompress_ptr) {}

boolean Fill(j_decompress_ptr cinfo)
{
    auto* source = reinterpret_cast<Source*>(cinfo->src);
    std::size_t n = (*source->read)(source->block.data(), source->block.size());
    if (n == 0) {
        // The end of the data: an end-of-image marker, as libjpeg's own sources give.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->block[0] = 0xFF;
        source->block[1] = JPEG_EOI;
        n = 2;
    }
    source->pub.next_input_byte = source->block.data();
    source->pub.bytes_in_buffer = n;
    return TRUE;
}

void Skip(j_decompress_ptr cinfo, long count)
{
    jpeg_source_mgr& src = *cinfo->src;
    while (count > 0 && std::size_t(count) > src.bytes_in_buffer) {
        count -= long(src.bytes_in_buffer);
        Fill(cinfo);
    }
    if (count > 0) {
        src.next_input_byte += count;
        src.bytes_in_buffer -= std::size_t(count);
    }
}

// The rows, once the header is read; libjpeg's errors jump out of it, back into the caller.
DecodedRows DecodeRows(jpeg_decompress_struct& cinfo, int width, int height, const RowPlace& place,
                       const RowStop& stop, BYTE* line)
{
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width != JDIMENSION(width) || cinfo.image_height != JDIMENSION(height))
        return DecodedRows::Damaged;
    const bool rgb = cinfo.jpeg_color_space == JCS_YCbCr || cinfo.jpeg_color_space == JCS_RGB;
    if (!(cinfo.num_components == 3 && rgb) &&
        !(cinfo.num_components == 1 && cinfo.jpeg_color_space == JCS_GRAYSCALE))
        return DecodedRows::NotTaken;
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        if (stop())
            return DecodedRows::Stopped;
        std::int64_t step = 0;
        BYTE* to = place(int(cinfo.output_scanline), step);
        JSAMPROW row = step == 3 ? to : line;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (step != 3)
            for (int x = 0; x < width; ++x, to += step)
                std::copy_n(line + 3 * std::ptrdiff_t(x), 3, to);
    }
    jpeg_finish_decompress(&cinfo);
    return DecodedRows::Read;
}

// Runs the decoding and takes libjpeg's errors. What the jump leaves behind lives in the
// caller's frame, untouched by the jump.
DecodedRows Guarded(jpeg_decompress_struct& cinfo, ErrorManager& errors, Source& source, int width,
                    int height, const RowPlace& place, const RowStop& stop, BYTE* line)
{
    if (setjmp(errors.jump))
        return DecodedRows::Damaged;
    jpeg_create_decompress(&cinfo);
    cinfo.src = &source.pub;
    return DecodeRows(cinfo, width, height, place, stop, line);
}

} // namespace

DecodedRows ReadJpegRows(const RowSource& read, int width, int height, const RowPlace& place,
                         const RowStop& stop)
{
    if (width <= 0 || height <= 0)
        return DecodedRows::Damaged;
    std::vector<BYTE> line(3 * std::size_t(width));
    Source source{};
    source.read = &read;
    source.block.resize(kRowSourceBlock);
    source.pub.init_source = Start;
    source.pub.fill_input_buffer = Fill;
    source.pub.skip_input_data = Skip;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = Finish;
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnError;
    errors.pub.output_message = Silent;
    const DecodedRows result =
        Guarded(cinfo, errors, source, width, height, place, stop, line.data());
    jpeg_destroy_decompress(&cinfo);
    return result;
}
