#include "image_jpeg.h"

#include "api_support.h"
#include "engine_state.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

#include <jpeglib.h>
// jpeglib.h must come first.
#include <jerror.h>

// libjpeg reports fatal errors through a callback that must not return. It is left
// with longjmp (the library is C, so nothing is skipped that needs unwinding); every
// C++ object that lives across a setjmp below is owned by a heap record declared
// before it, so the jump skips no destructor.

namespace ombrel {
namespace {

// Progressive files can hold endless scans that each re-decode the whole image.
constexpr int kMaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool ranOut;  // the data ended early: the fault lies at its end
    unsigned scanned;  // components some scan has covered, one bit each
    // Where harmless warnings are logged from; none while encoding.
    const std::string* source;
    const uint8_t* data;
    std::size_t size;
    // The first MCU row of each component that an arithmetic-coded scan decoded
    // past a marker, from zeros (kNoRow: none), and where that was.
    unsigned zeroFedFrom[MAX_COMPONENTS];
    unsigned zeroFedRow, totalRows;
    std::size_t zeroFedAt;
};

constexpr unsigned kNoRow = ~0u;

[[noreturn]] void jumpOut(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    cinfo->err->format_message(cinfo, reinterpret_cast<ErrorManager*>(cinfo->err)->message);
    jumpOut(cinfo);
}

// Where the library stopped reading. The entropy decoder keeps its own copy of the
// position while inside a scan, so this may lag a little behind the fault.
std::size_t inputOffset(const jpeg_decompress_struct& cinfo, const uint8_t* data, std::size_t size) {
    if (reinterpret_cast<const ErrorManager*>(cinfo.err)->ranOut) return size;
    if (!cinfo.src) return 0;
    const auto next = reinterpret_cast<uintptr_t>(cinfo.src->next_input_byte);
    const auto begin = reinterpret_cast<uintptr_t>(data);
    if (next >= begin && next - begin <= size) return std::size_t(next - begin);
    return size;
}

// Whether the scan being read brings the first data of its coefficients, so that
// rows it leaves out are rows the picture does not have: a sequential scan, or a
// progressive file's first DC scan. Later scans only refine what is there.
bool scanBringsRows(const jpeg_decompress_struct& d) { return !d.progressive_mode || (d.Ss == 0 && d.Ah == 0); }

// The scan's data stopped before its last MCU row: the rest would be made up.
bool rowsMissing(const jpeg_decompress_struct& d) {
    return scanBringsRows(d) && d.input_iMCU_row + 1 < d.total_iMCU_rows;
}

void logWarning(j_common_ptr cinfo) {
    const auto* err = reinterpret_cast<const ErrorManager*>(cinfo->err);
    if (!cinfo->is_decompressor || !err->source) return;
    const auto& d = *reinterpret_cast<j_decompress_ptr>(cinfo);
    char text[JMSG_LENGTH_MAX];
    cinfo->err->format_message(cinfo, text);
    try {
        std::string where = " at offset " + std::to_string(inputOffset(d, err->data, err->size));
        if (d.input_iMCU_row < d.total_iMCU_rows)
            where += " (scan " + std::to_string(d.input_scan_number) + ", MCU row " + std::to_string(d.input_iMCU_row + 1) +
                     " of " + std::to_string(d.total_iMCU_rows) + ")";
        logLine(1, *err->source + ": " + text + where + "; the picture is whole");
    } catch (...) {
        // A log line that cannot be made costs nothing but the line.
    }
}

// The library "recovers" from missing or corrupt data by filling grey: a picture
// so mended is refused. What leaves every row of the picture decoded passes, and
// is logged: bytes between segments, a refining scan cut short, the last bits of
// a scan missing in its last row, loose scan parameters.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    ++cinfo->err->num_warnings;
    switch (cinfo->err->msg_code) {
        case JWRN_ADOBE_XFORM:
        case JWRN_JFIF_MAJOR:
        case JWRN_BOGUS_ICC: return;
        case JWRN_JPEG_EOF:
            // Only where the end leaves rows without data does it matter, and the
            // scan being read says so as it meets the end marker put in its place.
            reinterpret_cast<ErrorManager*>(cinfo->err)->ranOut = true;
            return;
        case JWRN_HIT_MARKER:
            if (cinfo->is_decompressor && rowsMissing(*reinterpret_cast<j_decompress_ptr>(cinfo))) break;
            logWarning(cinfo);
            return;
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION: logWarning(cinfo); return;
        default: break;
    }
    errorExit(cinfo);
}

bool isRestartMarker(int marker) { return marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7; }

void watchScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    for (int i = 0; i < d->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i)
        if (d->cur_comp_info[i] && d->cur_comp_info[i]->component_index < 32)
            err->scanned |= 1u << d->cur_comp_info[i]->component_index;
    // The arithmetic decoder meets a marker in silence and goes on with zeros; a
    // marker met while rows of the scan are still to come means the data is cut,
    // unless those rows are what zeros stand for (see tailIsUniform).
    // Called between rows, so input_iMCU_row is the next row to read.
    if (d->arith_code && d->unread_marker && !isRestartMarker(d->unread_marker) && scanBringsRows(*d) &&
        d->input_iMCU_row < d->total_iMCU_rows) {
        for (int i = 0; i < d->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i)
            if (const jpeg_component_info* comp = d->cur_comp_info[i]; comp && comp->component_index < MAX_COMPONENTS) {
                unsigned& from = err->zeroFedFrom[comp->component_index];
                from = std::min(from, unsigned(d->input_iMCU_row));
            }
        if (d->input_iMCU_row < err->zeroFedRow) {
            err->zeroFedRow = d->input_iMCU_row;
            err->totalRows = d->total_iMCU_rows;
            err->zeroFedAt = inputOffset(*d, err->data, err->size);
        }
    }
    if (d->input_scan_number <= kMaxScans) return;
    std::snprintf(err->message, JMSG_LENGTH_MAX, "more than %d scans", kMaxScans);
    jumpOut(cinfo);
}

void setUpErrors(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.emit_message = emitMessage;
    err.message[0] = 0;
    err.ranOut = false;
    err.scanned = 0;
    err.source = nullptr;
    err.data = nullptr;
    err.size = 0;
    std::fill(std::begin(err.zeroFedFrom), std::end(err.zeroFedFrom), kNoRow);
    err.zeroFedRow = kNoRow;
    err.totalRows = 0;
    err.zeroFedAt = 0;
}

struct Decoder {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    std::vector<uint8_t> row;
    bool created = false;
    ~Decoder() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

void checkDimensions(const Decoder& d, const uint8_t* data, std::size_t size, const std::string& source,
                     const ImageLimits& limits) {
    const int64_t w = d.cinfo.image_width, h = d.cinfo.image_height;
    if (w <= 0 || h <= 0 || w > limits.maxSide || h > limits.maxSide || w * h > limits.maxBytes / 5)
        failImage(source, "dimensions " + std::to_string(w) + "x" + std::to_string(h) + " too large",
                  inputOffset(d.cinfo, data, size));
}

// An end marker in place of whole scans leaves no warning behind: what no scan
// brought (a component, or coefficients a progressive file never finished) is
// missing data all the same.
const char* missingScans(const jpeg_decompress_struct& cinfo) {
    for (int c = 0; c < cinfo.num_components; ++c)
        if (c >= 32 || !(reinterpret_cast<const ErrorManager*>(cinfo.err)->scanned & 1u << c))
            return "a component that no scan holds";
    if (!cinfo.progressive_mode || !cinfo.coef_bits) return nullptr;
    for (int c = 0; c < cinfo.num_components; ++c)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (cinfo.coef_bits[c][k] != 0) return "progressive scans missing";
    return nullptr;
}

// Reads the headers up to the first scan, the scans watched as they come when
// asked; the caller's setjmp is in place.
void openData(Decoder& d, const uint8_t* data, std::size_t size, const ImageLimits& limits, bool watch) {
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    d.cinfo.mem->max_memory_to_use = long(limits.maxBytes);
    if (watch) {
        d.progress.progress_monitor = watchScans;
        d.cinfo.progress = &d.progress;
    }
    jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.cinfo, TRUE);
}

// An arithmetic coder drops the zero bytes its data ends with, and rows that
// cost next to nothing (a plain colour) are all zeros: so rows decoded from zeros
// are the picture's own only when every block there is the plain one before it.
// A cut leaves blocks that are not. Read again as coefficients, only for files
// whose data ran out early.
bool tailIsUniform(const uint8_t* data, std::size_t size, const unsigned (&zeroFedFrom)[MAX_COMPONENTS],
                   const ImageLimits& limits) {
    const auto d = std::make_unique<Decoder>();
    d->cinfo.err = &d->err.pub;
    setUpErrors(d->err);
    d->err.data = data;
    d->err.size = size;
    if (setjmp(d->err.jump)) return false;
    openData(*d, data, size, limits, false);
    jvirt_barray_ptr* planes = jpeg_read_coefficients(&d->cinfo);
    for (int c = 0; c < d->cinfo.num_components && c < MAX_COMPONENTS; ++c) {
        if (zeroFedFrom[c] == kNoRow) continue;
        const jpeg_component_info& comp = d->cinfo.comp_info[c];
        bool first = true;
        JCOEF dc = 0;
        for (JDIMENSION y = zeroFedFrom[c] * JDIMENSION(comp.v_samp_factor); y < comp.height_in_blocks; ++y) {
            JBLOCKARRAY row = d->cinfo.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&d->cinfo), planes[c], y,
                                                               1, FALSE);
            for (JDIMENSION x = 0; x < comp.width_in_blocks; ++x) {
                const JCOEF* block = row[0][x];
                if (!first && block[0] != dc) return false;
                for (int k = 1; k < DCTSIZE2; ++k)
                    if (block[k] != 0) return false;
                dc = block[0];
                first = false;
            }
        }
    }
    return true;
}

// Adobe's CMYK files store inverted ink, so the plain product gives the colour.
void appendRow(const Decoder& d, Image& image) {
    const std::size_t w = d.cinfo.output_width;
    const std::size_t at = image.rgba.size();
    image.rgba.resize(at + w * 4);
    uint8_t* dst = image.rgba.data() + at;
    const uint8_t* src = d.row.data();
    if (d.cinfo.out_color_space == JCS_CMYK) {
        for (std::size_t x = 0; x < w; ++x) {
            const unsigned k = src[4 * x + 3];
            dst[4 * x] = uint8_t(src[4 * x] * k / 255);
            dst[4 * x + 1] = uint8_t(src[4 * x + 1] * k / 255);
            dst[4 * x + 2] = uint8_t(src[4 * x + 2] * k / 255);
            dst[4 * x + 3] = 255;
        }
    } else {
        for (std::size_t x = 0; x < w; ++x) {
            dst[4 * x] = src[3 * x], dst[4 * x + 1] = src[3 * x + 1], dst[4 * x + 2] = src[3 * x + 2];
            dst[4 * x + 3] = 255;
        }
    }
}

// Compressed bytes go straight into a vector, so a failure leaks nothing.
struct VectorDestination {
    jpeg_destination_mgr pub;
    std::vector<uint8_t>* out;
};

void startOutput(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->out->resize(1 << 16);
    dest->pub.next_output_byte = dest->out->data();
    dest->pub.free_in_buffer = dest->out->size();
}

boolean growOutput(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    const std::size_t used = dest->out->size();
    try {
        dest->out->resize(used * 2);
    } catch (const std::bad_alloc&) {
        std::snprintf(reinterpret_cast<ErrorManager*>(cinfo->err)->message, JMSG_LENGTH_MAX, "out of memory");
        jumpOut(reinterpret_cast<j_common_ptr>(cinfo));
    }
    dest->pub.next_output_byte = dest->out->data() + used;
    dest->pub.free_in_buffer = dest->out->size() - used;
    return TRUE;
}

void finishOutput(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->out->resize(dest->out->size() - dest->pub.free_in_buffer);
}

struct Encoder {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    VectorDestination dest{};
    std::vector<uint8_t> out, row;
    bool created = false;
    ~Encoder() {
        if (created) jpeg_destroy_compress(&cinfo);
    }
};

}  // namespace

bool isJpeg(const uint8_t* data, std::size_t size) { return size >= 2 && data[0] == 0xFF && data[1] == 0xD8; }

Image decodeJpeg(const uint8_t* data, std::size_t size, const std::string& source, const ImageLimits& limits) {
    if (!isJpeg(data, size)) failImage(source, "not a JPEG file", 0);
    Image image;
    const auto d = std::make_unique<Decoder>();
    d->cinfo.err = &d->err.pub;
    setUpErrors(d->err);
    d->err.source = &source;
    d->err.data = data;
    d->err.size = size;
    if (setjmp(d->err.jump)) failImage(source, d->err.message, inputOffset(d->cinfo, data, size));

    openData(*d, data, size, limits, true);
    checkDimensions(*d, data, size, source, limits);
    const J_COLOR_SPACE space = d->cinfo.jpeg_color_space;
    d->cinfo.out_color_space = space == JCS_CMYK || space == JCS_YCCK ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&d->cinfo);

    image.width = int(d->cinfo.output_width);
    image.height = int(d->cinfo.output_height);
    d->row.resize(std::size_t(d->cinfo.output_width) * std::size_t(d->cinfo.output_components));
    // Rows are appended as they decode, so a short file never costs the full image.
    while (d->cinfo.output_scanline < d->cinfo.output_height) {
        JSAMPROW rows[1] = {d->row.data()};
        if (jpeg_read_scanlines(&d->cinfo, rows, 1) != 1)
            failImage(source, "no more scan lines", inputOffset(d->cinfo, data, size));
        appendRow(*d, image);
    }
    if (const char* missing = missingScans(d->cinfo)) failImage(source, missing, inputOffset(d->cinfo, data, size));
    if (d->err.zeroFedRow != kNoRow && !tailIsUniform(data, size, d->err.zeroFedFrom, limits))
        failImage(source,
                  "arithmetic-coded data ends in MCU row " + std::to_string(d->err.zeroFedRow) + " of " +
                      std::to_string(d->err.totalRows),
                  d->err.zeroFedAt);
    // No jpeg_finish_decompress: a file that lacks only its end marker is still whole.
    return image;
}

std::vector<uint8_t> encodeJpeg(const Image& image, int quality, const std::string& dest) {
    const auto e = std::make_unique<Encoder>();
    e->cinfo.err = &e->err.pub;
    setUpErrors(e->err);
    if (setjmp(e->err.jump)) throw ApiError("cannot write image " + dest + ": " + e->err.message);

    jpeg_create_compress(&e->cinfo);
    e->created = true;
    e->dest.pub.init_destination = startOutput;
    e->dest.pub.empty_output_buffer = growOutput;
    e->dest.pub.term_destination = finishOutput;
    e->dest.out = &e->out;
    e->cinfo.dest = &e->dest.pub;
    e->cinfo.image_width = JDIMENSION(image.width);
    e->cinfo.image_height = JDIMENSION(image.height);
    e->cinfo.input_components = 3;
    e->cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e->cinfo);
    jpeg_set_quality(&e->cinfo, quality, TRUE);
    jpeg_start_compress(&e->cinfo, TRUE);
    const std::size_t w = std::size_t(image.width);
    e->row.resize(w * 3);
    while (e->cinfo.next_scanline < e->cinfo.image_height) {
        const uint8_t* src = image.rgba.data() + std::size_t(e->cinfo.next_scanline) * w * 4;
        for (std::size_t x = 0; x < w; ++x)
            e->row[3 * x] = src[4 * x], e->row[3 * x + 1] = src[4 * x + 1], e->row[3 * x + 2] = src[4 * x + 2];
        JSAMPROW rows[1] = {e->row.data()};
        jpeg_write_scanlines(&e->cinfo, rows, 1);
    }
    jpeg_finish_compress(&e->cinfo);
    return std::move(e->out);
}

}  // namespace ombrel
