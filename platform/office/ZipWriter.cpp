#include "platform/office/ZipWriter.h"

#include <zip.h>

#include <list>
#include <utility>

namespace qx {

namespace {

[[noreturn]] void raise(const char* what, zip_error_t* error)
{
    throw EZipError(QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromUtf8(zip_error_strerror(error))));
}

} // namespace

struct ZipWriter::Impl
{
    zip_source_t* source = nullptr; // the archive's bytes, kept past zip_close
    zip_t* archive = nullptr;
    // libzip reads the entries' bytes only when the archive is closed: they live until then.
    std::list<QByteArray> contents;

    ~Impl()
    {
        if (archive)
            zip_discard(archive);
        if (source)
            zip_source_free(source);
    }
};

ZipWriter::ZipWriter() : d(std::make_unique<Impl>())
{
    zip_error_t error;
    zip_error_init(&error);
    d->source = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!d->source) {
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw EZipError(QStringLiteral("Cannot create a zip archive: %1").arg(reason));
    }
    d->archive = zip_open_from_source(d->source, ZIP_TRUNCATE, &error);
    if (!d->archive) {
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw EZipError(QStringLiteral("Cannot create a zip archive: %1").arg(reason));
    }
    zip_error_fini(&error);
    // The archive would free its source when it closes; the bytes are read from it after.
    zip_source_keep(d->source);
}

ZipWriter::~ZipWriter() = default;

void ZipWriter::addFile(const QString& name, const QByteArray& bytes)
{
    if (!d->archive)
        throw EZipError(QStringLiteral("The zip archive is already finished"));
    const QByteArray& kept = d->contents.emplace_back(bytes);
    zip_source_t* entry = zip_source_buffer(d->archive, kept.constData(), zip_uint64_t(kept.size()), 0);
    if (!entry)
        raise("Cannot add a zip entry", zip_get_error(d->archive));
    if (zip_file_add(d->archive, name.toUtf8().constData(), entry, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(entry);
        raise("Cannot add a zip entry", zip_get_error(d->archive));
    }
}

QByteArray ZipWriter::finish()
{
    if (!d->archive)
        throw EZipError(QStringLiteral("The zip archive is already finished"));
    if (zip_close(d->archive) != 0)
        raise("Cannot write the zip archive", zip_get_error(d->archive)); // the archive stays for ~Impl to discard
    d->archive = nullptr;
    d->contents.clear();

    zip_source_t* source = d->source;
    if (zip_source_open(source) != 0)
        raise("Cannot read the zip archive", zip_source_error(source));
    QByteArray bytes;
    bool ok = zip_source_seek(source, 0, SEEK_END) == 0;
    const zip_int64_t size = ok ? zip_source_tell(source) : -1;
    ok = ok && size >= 0 && zip_source_seek(source, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(qsizetype(size));
        ok = zip_source_read(source, bytes.data(), zip_uint64_t(size)) == size;
    }
    if (!ok) {
        const QString reason = QString::fromUtf8(zip_error_strerror(zip_source_error(source)));
        zip_source_close(source);
        throw EZipError(QStringLiteral("Cannot read the zip archive: %1").arg(reason));
    }
    zip_source_close(source);
    return bytes;
}

} // namespace qx
