#include "JpegImage.h"

#include "FileReplace.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

JpegError::JpegError(int code)
    : std::runtime_error(QStringLiteral("JPEG-Fehler #%1").arg(code).toStdString()), m_code(code)
{
}

FileCreateError::FileCreateError(const QString &path)
    : std::runtime_error(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path).toStdString())
{
}

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;   // must come first: libjpeg sees only this part
    std::jmp_buf jump;
};

[[noreturn]] void OnFatalError(j_common_ptr c)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(c->err)->jump, 1);
}

void OnMessage(j_common_ptr) {}   // warnings are counted, not printed

// Destination that appends to a vector: unlike jpeg_mem_dest it never leaves the caller
// with a pointer to a freed buffer after an error.
struct VectorDestination {
    jpeg_destination_mgr pub;   // must come first
    std::vector<unsigned char> *out;
    static constexpr std::size_t Chunk = 64 * 1024;
};

// No exception may pass through libjpeg's C frames: a failed allocation becomes the
// library's own out-of-memory error once the handler has finished.
bool GrowBy(std::vector<unsigned char> *out, std::size_t extra)
{
    try {
        out->resize(out->size() + extra);
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

[[noreturn]] void FailOutOfMemory(j_compress_ptr c)
{
    c->err->msg_code = JERR_OUT_OF_MEMORY;
    c->err->error_exit(reinterpret_cast<j_common_ptr>(c));
    std::abort();   // error_exit never returns
}

void InitDestination(j_compress_ptr c)
{
    auto *d = reinterpret_cast<VectorDestination *>(c->dest);
    d->out->clear();
    if (!GrowBy(d->out, VectorDestination::Chunk))
        FailOutOfMemory(c);
    d->pub.next_output_byte = d->out->data();
    d->pub.free_in_buffer = d->out->size();
}

boolean EmptyOutputBuffer(j_compress_ptr c)
{
    auto *d = reinterpret_cast<VectorDestination *>(c->dest);
    const std::size_t used = d->out->size();   // libjpeg hands over the whole buffer here
    if (!GrowBy(d->out, VectorDestination::Chunk))
        FailOutOfMemory(c);
    d->pub.next_output_byte = d->out->data() + used;
    d->pub.free_in_buffer = VectorDestination::Chunk;
    return TRUE;
}

void TermDestination(j_compress_ptr c)
{
    auto *d = reinterpret_cast<VectorDestination *>(c->dest);
    d->out->resize(d->out->size() - d->pub.free_in_buffer);
}

struct CompressJob {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    VectorDestination dest;
};

// Owns no object with a destructor: longjmp skips destructors. Returns 0 or the
// library's message code.
int Compress(CompressJob *job, const RgbView *image)
{
    job->cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = OnFatalError;
    job->err.pub.output_message = OnMessage;
    if (setjmp(job->err.jump))
        return job->err.pub.msg_code;
    jpeg_create_compress(&job->cinfo);
    job->dest.pub.init_destination = InitDestination;
    job->dest.pub.empty_output_buffer = EmptyOutputBuffer;
    job->dest.pub.term_destination = TermDestination;
    job->cinfo.dest = &job->dest.pub;

    job->cinfo.image_width = JDIMENSION(image->width);
    job->cinfo.image_height = JDIMENSION(image->height);
    // A screen picture's 32-bit words go in as they are: libjpeg-turbo's extended colour
    // spaces take red, green and blue from their places in the word and give exactly the
    // bytes that the same picture converted to RGB would.
    const bool words = image->layout == RgbView::Layout::Xrgb32;
    job->cinfo.input_components = words ? 4 : 3;
    job->cinfo.in_color_space = !words ? JCS_RGB : Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&job->cinfo);
    job->cinfo.dct_method = JDCT_FLOAT;   // after jpeg_set_defaults, which resets it
    jpeg_set_quality(&job->cinfo, 90, TRUE);
    jpeg_start_compress(&job->cinfo, TRUE);
    while (job->cinfo.next_scanline < job->cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(image->bits + image->stride * job->cinfo.next_scanline);
        jpeg_write_scanlines(&job->cinfo, &row, 1);
    }
    jpeg_finish_compress(&job->cinfo);
    return 0;
}

struct DecompressJob {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
};

int StartDecompress(DecompressJob *job, const unsigned char *data, unsigned long size)
{
    job->cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = OnFatalError;
    job->err.pub.output_message = OnMessage;
    if (setjmp(job->err.jump))
        return job->err.pub.msg_code ? job->err.pub.msg_code : -1;
    jpeg_create_decompress(&job->cinfo);
    jpeg_mem_src(&job->cinfo, data, size);
    jpeg_read_header(&job->cinfo, TRUE);
    job->cinfo.out_color_space = JCS_RGB;   // grey and YCbCr both come out as RGB
    jpeg_start_decompress(&job->cinfo);
    return 0;
}

int ReadRows(DecompressJob *job, QImage *target)
{
    if (setjmp(job->err.jump))
        return job->err.pub.msg_code ? job->err.pub.msg_code : -1;
    while (job->cinfo.output_scanline < job->cinfo.output_height) {
        JSAMPROW row = target->scanLine(int(job->cinfo.output_scanline));
        jpeg_read_scanlines(&job->cinfo, &row, 1);
    }
    jpeg_finish_decompress(&job->cinfo);
    return 0;
}

} // namespace

std::vector<unsigned char> EncodeJpeg(const RgbView &image)
{
    std::vector<unsigned char> out;
    CompressJob job{};
    job.dest.out = &out;
    struct Guard {
        CompressJob *job;
        ~Guard() { jpeg_destroy_compress(&job->cinfo); }
    } guard{&job};
    if (const int code = Compress(&job, &image))
        throw JpegError(code);
    return out;
}

QImage DecodeJpeg(const QByteArray &data)
{
    DecompressJob job{};
    struct Guard {
        DecompressJob *job;
        ~Guard() { jpeg_destroy_decompress(&job->cinfo); }
    } guard{&job};
    if (StartDecompress(&job, reinterpret_cast<const unsigned char *>(data.constData()),
                        static_cast<unsigned long>(data.size())) != 0)
        return {};
    QImage image(int(job.cinfo.output_width), int(job.cinfo.output_height), QImage::Format_RGB888);
    if (image.isNull() || job.cinfo.output_components != 3)
        return {};
    if (ReadRows(&job, &image) != 0 || job.err.pub.num_warnings > 0)
        return {};   // a truncated or damaged picture decodes with warnings
    return image;
}

void WriteFileAtomically(const QByteArray &path, const void *bytes, std::size_t size)
{
    if (ReplaceFileContents(path, bytes, size) != 0)
        throw FileCreateError(QFile::decodeName(path));
}

void WriteFileAtomically(const QByteArray &path, const QByteArray &bytes)
{
    WriteFileAtomically(path, bytes.constData(), std::size_t(bytes.size()));
}

void JpegImage::Assign(const QImage &picture)
{
    m_picture = picture;
    m_encoded.clear();
    m_haveEncoded = false;
}

const std::vector<unsigned char> &JpegImage::encoded()
{
    if (!m_haveEncoded) {
        // Red, green and blue go to the encoder in their own places. A screen picture's
        // 32-bit rows are taken as they are; anything else is converted to RGB888 first,
        // whose rows are padded to 4 bytes, so the stride comes from the image.
        const bool screenLayout = m_picture.format() == QImage::Format_RGB32;
        const QImage rgb = screenLayout ? m_picture : m_picture.convertToFormat(QImage::Format_RGB888);
        const RgbView view{rgb.width(), rgb.height(), rgb.constBits(), std::size_t(rgb.bytesPerLine()),
                           screenLayout ? RgbView::Layout::Xrgb32 : RgbView::Layout::Rgb888};
        m_encoded = EncodeJpeg(view);
        m_haveEncoded = true;
    }
    return m_encoded;
}

void JpegImage::SaveToFile(const QString &path)
{
    SaveToFile(QFile::encodeName(path));
}

void JpegImage::SaveToFile(const QByteArray &path)
{
    const std::vector<unsigned char> &data = encoded();
    WriteFileAtomically(path, data.data(), data.size());
}
