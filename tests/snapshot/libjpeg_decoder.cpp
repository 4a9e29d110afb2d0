#include "libjpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>

namespace orv::test {

namespace {

struct ErrorMgr {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int warnings = 0;
    std::string message;
};

void OnError(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<ErrorMgr*>(cinfo->err);
    char buf[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, buf);
    e->message = buf;
    std::longjmp(e->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
    auto* e = reinterpret_cast<ErrorMgr*>(cinfo->err);
    if (level < 0) {  // a warning (corrupt data and the like)
        ++e->warnings;
        char buf[JMSG_LENGTH_MAX];
        (*cinfo->err->format_message)(cinfo, buf);
        e->message = buf;
    }
}

// Errors and warnings go to err: a fatal one jumps back to its setjmp.
void AttachErrors(jpeg_decompress_struct& cinfo, ErrorMgr& err) {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
}

void OpenMemory(jpeg_decompress_struct& cinfo, const std::vector<std::uint8_t>& file) {
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
}

template <class Out>
Out Failed(jpeg_decompress_struct& cinfo, const ErrorMgr& err, Out& out) {
    jpeg_destroy_decompress(&cinfo);
    out.ok = false;
    out.message = err.message;
    out.warnings = err.warnings;
    return std::move(out);
}

}  // namespace

DecodedPixels DecodePixels(const std::vector<std::uint8_t>& file) {
    DecodedPixels out;
    jpeg_decompress_struct cinfo{};
    ErrorMgr err;
    AttachErrors(cinfo, err);
    // The jump target must stay in this frame while libjpeg runs.
    if (setjmp(err.jump)) return Failed(cinfo, err, out);
    OpenMemory(cinfo, file);
    cinfo.dct_method = JDCT_FLOAT;
    cinfo.do_fancy_upsampling = FALSE;  // box upsampling: the inverse of our averaging
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.components = cinfo.output_components;
    const std::size_t rowBytes = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.components);
    out.pixels.resize(rowBytes * static_cast<std::size_t>(out.height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.pixels.data() + rowBytes * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out.ok = true;
    out.warnings = err.warnings;
    if (err.warnings == 0) out.message.clear();
    else out.message = err.message;
    return out;
}

DecodedCoefficients DecodeCoefficients(const std::vector<std::uint8_t>& file) {
    DecodedCoefficients out;
    jpeg_decompress_struct cinfo{};
    ErrorMgr err;
    AttachErrors(cinfo, err);
    // The jump target must stay in this frame while libjpeg runs.
    if (setjmp(err.jump)) return Failed(cinfo, err, out);
    OpenMemory(cinfo, file);
    jvirt_barray_ptr* arrays = jpeg_read_coefficients(&cinfo);
    out.width = static_cast<int>(cinfo.image_width);
    out.height = static_cast<int>(cinfo.image_height);
    for (int ci = 0; ci < cinfo.num_components; ++ci) {
        jpeg_component_info* info = &cinfo.comp_info[ci];
        DecodedCoefficients::Component c;
        c.id = info->component_id;
        c.h = info->h_samp_factor;
        c.v = info->v_samp_factor;
        c.table = info->quant_tbl_no;
        c.blocksWide = static_cast<int>(info->width_in_blocks);
        c.blocksHigh = static_cast<int>(info->height_in_blocks);
        if (JQUANT_TBL* q = cinfo.quant_tbl_ptrs[info->quant_tbl_no]) c.quant.assign(q->quantval, q->quantval + 64);
        c.natural.resize(64 * static_cast<std::size_t>(c.blocksWide) * static_cast<std::size_t>(c.blocksHigh));
        for (int by = 0; by < c.blocksHigh; ++by) {
            JBLOCKARRAY rows = (*cinfo.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&cinfo), arrays[ci],
                                                               static_cast<JDIMENSION>(by), 1, FALSE);
            for (int bx = 0; bx < c.blocksWide; ++bx) {
                for (int k = 0; k < 64; ++k) {
                    c.natural[64 * (static_cast<std::size_t>(by) * static_cast<std::size_t>(c.blocksWide) + static_cast<std::size_t>(bx)) + static_cast<std::size_t>(k)] =
                        rows[0][bx][k];
                }
            }
        }
        out.comps.push_back(std::move(c));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out.ok = true;
    out.warnings = err.warnings;
    return out;
}

}  // namespace orv::test
