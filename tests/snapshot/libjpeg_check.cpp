#include "libjpeg_check.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>

#include <jpeglib.h>

#include "jpeg_stream.h"
#include "snapshot/jpeg_colour.h"
#include "snapshot/jpeg_dct.h"
#include "snapshot/jpeg_sampler.h"

namespace orv::test {

namespace {

// libjpeg's errors and warnings (corrupt data and the like) end its work: the message is
// kept and the call jumps back to the setjmp of the function that opened the decoder.
struct ErrorMgr {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    std::string message;
};

void Open(jpeg_decompress_struct& d, ErrorMgr& err, const std::vector<std::uint8_t>& file) {
    d.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = [](j_common_ptr c) { (*c->err->emit_message)(c, -1); };
    err.pub.emit_message = [](j_common_ptr c, int level) {
        if (level >= 0) return;  // trace messages
        char buf[JMSG_LENGTH_MAX];
        (*c->err->format_message)(c, buf);
        reinterpret_cast<ErrorMgr*>(c->err)->message = buf;
        std::longjmp(reinterpret_cast<ErrorMgr*>(c->err)->jump, 1);
    };
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_save_markers(&d, JPEG_COM, 0xFFFF);
    jpeg_read_header(&d, TRUE);
}

// The coefficients the stages make for component ci from a w x h picture, compared block
// by block.
std::string CompareComponent(jpeg_decompress_struct& d, jvirt_barray_ptr array, int ci, int w, int h, const BgrPicture& picture) {
    const jpeg_component_info& info = d.comp_info[ci];
    const int bw = static_cast<int>(info.width_in_blocks), bh = static_cast<int>(info.height_in_blocks);
    jpeg::QuantTable table;
    for (int n = 0; n < 64; ++n) table.zigzag[kFigureA6[n]] = d.quant_tbl_ptrs[info.quant_tbl_no]->quantval[n];
    jpeg::ComputeDivisors(table);
    jpeg::BufferSampler sampler(picture.View(), 0, 0, picture.Width(), picture.Height());
    if (!sampler.Prepare(w, h)) return "component " + std::to_string(ci) + ": no picture of its size";
    const int stride = 8 * bw;
    std::vector<float> plane(static_cast<std::size_t>(stride * 8 * bh)), converted(3 * static_cast<std::size_t>(w));
    for (int y = 0; y < 8 * bh; ++y) {
        jpeg::ConvertRow(sampler.Row(std::min(y, h - 1)), w, converted.data(), converted.data() + w, converted.data() + 2 * w);
        for (int x = 0; x < stride; ++x) plane[static_cast<std::size_t>(y * stride + x)] = converted[static_cast<std::size_t>(ci * w + std::min(x, w - 1))];
    }
    std::vector<std::int16_t> zz(64 * static_cast<std::size_t>(bw));
    std::vector<std::uint64_t> masks(static_cast<std::size_t>(bw));
    for (int by = 0; by < bh; ++by) {
        jpeg::DctQuantiseRow(jpeg::DctPath::Portable, plane.data() + 8 * by * stride, stride, bw, table.divisors.data(), zz.data(), masks.data());
        JBLOCKARRAY row = (*d.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&d), array, static_cast<JDIMENSION>(by), 1, FALSE);
        for (int k = 0; k < 64 * bw; ++k) {
            const int mine = zz[static_cast<std::size_t>(k / 64 * 64 + kFigureA6[k % 64])], theirs = row[0][k / 64][k % 64];
            if (mine != theirs)
                return "component " + std::to_string(ci) + " block " + std::to_string(k / 64) + "," + std::to_string(by) + " at " + std::to_string(k % 64) + ": " + std::to_string(theirs) + ", stages " + std::to_string(mine);
        }
    }
    return {};
}

}  // namespace

Decoded DecodePixels(const std::vector<std::uint8_t>& file) {
    Decoded out;
    jpeg_decompress_struct d{};
    ErrorMgr err;
    if (setjmp(err.jump)) return jpeg_destroy_decompress(&d), Decoded{err.message, {}};  // stays in this frame while libjpeg runs
    Open(d, err, file);
    d.dct_method = JDCT_FLOAT;
    d.do_fancy_upsampling = FALSE;  // box upsampling: the inverse of our averaging
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    out.picture = BgrPicture(static_cast<int>(d.output_width), static_cast<int>(d.output_height));
    for (JSAMPROW row; d.output_scanline < d.output_height;) row = out.picture.Row(static_cast<int>(d.output_scanline)), jpeg_read_scanlines(&d, &row, 1);
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return out;
}

std::string CheckCoefficients(const std::vector<std::uint8_t>& file, const BgrPicture& picture) {
    jpeg_decompress_struct d{};
    ErrorMgr err;
    if (setjmp(err.jump)) return jpeg_destroy_decompress(&d), "libjpeg: " + err.message;
    Open(d, err, file);
    jvirt_barray_ptr* arrays = jpeg_read_coefficients(&d);
    std::string problem;
    int w = 0, h = 0, blocks = 0;
    for (int ci = 0; ci < d.num_components && problem.empty(); ++ci) {
        // A component as many blocks wide and high as the one before is made from that one's
        // picture, as the encoder does (so only tiny pictures differ: 6 x 5 at 4:2:0 has
        // chroma of 3 x 3 made from the 6 x 5 picture).
        const jpeg_component_info& info = d.comp_info[ci];
        if (ci == 0 || info.width_in_blocks != (&info)[-1].width_in_blocks || info.height_in_blocks != (&info)[-1].height_in_blocks) {
            w = static_cast<int>(info.downsampled_width);
            h = static_cast<int>(info.downsampled_height);
        }
        problem = CompareComponent(d, arrays[ci], ci, w, h, picture);
        blocks += info.h_samp_factor * info.v_samp_factor;
    }
    if (blocks > C_MAX_BLOCKS_IN_MCU) return jpeg_destroy_decompress(&d), problem;  // more than libjpeg's one scan holds
    jpeg_compress_struct out{};  // the same coefficients, tables and comment, coded by libjpeg
    out.err = d.err;
    jpeg_create_compress(&out);
    jpeg_copy_critical_parameters(&d, &out);
    out.optimize_coding = TRUE;
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&out, &buf, &size);
    jpeg_write_coefficients(&out, arrays);
    for (jpeg_saved_marker_ptr m = d.marker_list; m; m = m->next) jpeg_write_marker(&out, m->marker, m->data, m->data_length);
    jpeg_finish_compress(&out);
    jpeg_destroy_compress(&out);
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    const bool same = std::vector<std::uint8_t>(buf, buf + size) == file;
    std::free(buf);
    return problem.empty() && !same ? "libjpeg codes the coefficients into other bytes" : problem;
}

}  // namespace orv::test
