// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/HeifPicture.h"

#include "photo/ExifBlock.h"

#include <QFile>

#include <libheif/heif.h>

#include <mutex>

namespace {

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

heif_context *newContext()
{
    initialiseOnce();
    return heif_context_alloc();
}

QString messageOf(const heif_error &error)
{
    return QString::fromUtf8(error.message ? error.message : "");
}

} // namespace

bool HeifPicture::looksLike(const QByteArray &start)
{
    return start.size() >= 12 &&
           heif_check_filetype(reinterpret_cast<const uint8_t *>(start.constData()),
                               int(start.size())) == heif_filetype_yes_supported;
}

HeifPicture::HeifPicture(const QString &path) : m_context(newContext(), heif_context_free)
{
    openPrimary(
        heif_context_read_from_file(m_context.get(), QFile::encodeName(path).constData(), nullptr));
}

HeifPicture::HeifPicture(const QByteArray &bytes) : m_context(newContext(), heif_context_free)
{
    openPrimary(heif_context_read_from_memory_without_copy(m_context.get(), bytes.constData(),
                                                           size_t(bytes.size()), nullptr));
}

HeifPicture::~HeifPicture()
{
    if (m_handle)
        heif_image_handle_release(m_handle);
}

void HeifPicture::openPrimary(heif_error opened)
{
    if (opened.code == heif_error_Ok)
        opened = heif_context_get_primary_image_handle(m_context.get(), &m_handle);
    if (opened.code != heif_error_Ok) {
        m_handle = nullptr;
        m_error = messageOf(opened);
    }
}

QSize HeifPicture::size() const
{
    return m_handle ? QSize(heif_image_handle_get_width(m_handle),
                            heif_image_handle_get_height(m_handle))
                    : QSize();
}

int HeifPicture::imageCount() const
{
    return m_handle ? heif_context_get_number_of_top_level_images(m_context.get()) : 0;
}

bool HeifPicture::hasAlpha() const
{
    return m_handle && heif_image_handle_has_alpha_channel(m_handle);
}

QByteArray HeifPicture::metadata(const char *type, const char *contentType) const
{
    if (!m_handle)
        return {};
    const int count = heif_image_handle_get_number_of_metadata_blocks(m_handle, nullptr);
    QList<heif_item_id> ids(std::max(count, 0));
    heif_image_handle_get_list_of_metadata_block_IDs(m_handle, nullptr, ids.data(),
                                                     int(ids.size()));
    for (const heif_item_id id : ids) {
        const bool wanted =
            qstrcmp(heif_image_handle_get_metadata_type(m_handle, id), type) == 0 &&
            (!contentType ||
             qstrcmp(heif_image_handle_get_metadata_content_type(m_handle, id), contentType) == 0);
        const size_t size = heif_image_handle_get_metadata_size(m_handle, id);
        // No camera writes metadata anywhere near this large.
        if (!wanted || size == 0 || size > 16 * 1024 * 1024)
            continue;
        QByteArray block(qsizetype(size), Qt::Uninitialized);
        if (heif_image_handle_get_metadata(m_handle, id, block.data()).code == heif_error_Ok)
            return block;
    }
    return {};
}

QByteArray HeifPicture::exif() const
{
    const QByteArray block = metadata("Exif", nullptr);
    return tiffOfHeifExif(block).toByteArray();
}

QByteArray HeifPicture::xmp() const
{
    return metadata("mime", "application/rdf+xml");
}

QImage HeifPicture::decode()
{
    if (!m_handle)
        return {};
    const bool alpha = hasAlpha();
    heif_image *decoded = nullptr;
    const heif_error error = heif_decode_image(
        m_handle, &decoded, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr);
    if (error.code != heif_error_Ok) {
        m_error = messageOf(error);
        return {};
    }
    std::unique_ptr<heif_image, void (*)(const heif_image *)> image(decoded, heif_image_release);
    int stride = 0;
    const uint8_t *pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0)
        return {};
    // A view over libheif's pixels, copied before they are released.
    return QImage(pixels, width, height, stride,
                  alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888)
        .copy();
}
