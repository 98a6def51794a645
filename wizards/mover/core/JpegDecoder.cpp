// JPEG decoding through libjpeg. Its fatal errors end in error_exit, which
// here jumps back to the setjmp of the C-style function that called the
// library; those frames hold nothing with a destructor. A premature end of
// the data, which the library only warns about, is treated as an error, and
// a progressive file with an absurd number of scans is stopped.
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>
#include <cstring>

#include "hoverkit/ImageFile.h"

namespace {

constexpr int kMaxScans = 1000;

struct SJpegState {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr error;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool created;
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
    SJpegState* state = static_cast<SJpegState*>(cinfo->client_data);
    (*cinfo->err->format_message)(cinfo, state->message);
    std::longjmp(state->jump, 1);
}

extern "C" void JpegEmitMessage(j_common_ptr cinfo, int level) {
    // Warnings (level -1) about data that ends early mean a truncated file.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        JpegErrorExit(cinfo);
}

extern "C" void JpegProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    j_decompress_ptr d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        SJpegState* state = static_cast<SJpegState*>(cinfo->client_data);
        std::snprintf(state->message, sizeof state->message, "The JPEG file has too many scans");
        std::longjmp(state->jump, 1);
    }
}

// Reads the header; grey files stay grey, all others are converted to BGR.
int JpegReadHeader(SJpegState* state, const std::uint8_t* data, std::size_t size) {
    state->cinfo.err = jpeg_std_error(&state->error);
    state->error.error_exit = JpegErrorExit;
    state->error.emit_message = JpegEmitMessage;
    state->cinfo.client_data = state;
    if (setjmp(state->jump))
        return 0;
    jpeg_create_decompress(&state->cinfo);
    state->created = true;
    state->progress.progress_monitor = JpegProgress;
    state->cinfo.progress = &state->progress;
    jpeg_mem_src(&state->cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&state->cinfo, TRUE);
    state->cinfo.out_color_space =
        state->cinfo.num_components == 1 ? JCS_GRAYSCALE : JCS_EXT_BGR;
    return 1;
}

int JpegReadRows(SJpegState* state, JSAMPROW* rows) {
    if (setjmp(state->jump))
        return 0;
    jpeg_start_decompress(&state->cinfo);
    while (state->cinfo.output_scanline < state->cinfo.output_height) {
        JSAMPROW* at = rows + state->cinfo.output_scanline;
        jpeg_read_scanlines(&state->cinfo, at, 1);
    }
    return 1;
}

}  // namespace

namespace hoverkit {

void DecodeJpeg(const std::uint8_t* data, std::size_t size, CImageFile& image) {
    image.Reset();
    SJpegState state;
    std::memset(&state, 0, sizeof state);
    if (JpegReadHeader(&state, data, size)) {
        const JDIMENSION width = state.cinfo.image_width;
        const JDIMENSION height = state.cinfo.image_height;
        const bool grey = state.cinfo.out_color_space == JCS_GRAYSCALE;
        if (!ImageSizeAllowed(width, height)) {
            image.SetError(width == 0 || height == 0 ? "The image has no pixels"
                                                     : "The image is too large");
        } else if (image.Allocate(static_cast<int>(width), static_cast<int>(height),
                                  grey ? 8 : 24)) {
            std::vector<JSAMPROW> rows(height);
            for (JDIMENSION y = 0; y < height; ++y)
                rows[y] = image.MutableRow(static_cast<int>(y));
            if (JpegReadRows(&state, rows.data())) {
                if (grey) {
                    std::vector<std::uint32_t> palette(256);
                    for (std::uint32_t i = 0; i < 256; ++i)
                        palette[i] = 0xFF000000u | (i << 16) | (i << 8) | i;
                    image.SetPalette(std::move(palette));
                }
            } else {
                image.Reset();
                image.SetError(state.message);
            }
        }
    } else {
        image.SetError(state.message);
    }
    if (state.created)
        jpeg_destroy_decompress(&state.cinfo);
}

}  // namespace hoverkit
