#include "foundation/CompanyProfile.h"

#include "foundation/LookupTables.h"

#include <QFile>

namespace carvendo::foundation {

namespace {

bool looksLikePicture(const QByteArray& bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n") || bytes.startsWith("\xFF\xD8\xFF") ||
           bytes.startsWith("BM") || bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a");
}

} // namespace

core::CompanyRecord CompanyProfile::load()
{
    return core::CompanyDirectory(m_directory).record(m_companyId);
}

const QList<CompanyProfile::Field>& CompanyProfile::fields()
{
    static const QList<Field> list{
        {QStringLiteral("Ragione Sociale"), &core::CompanyRecord::ragionesociale, 250},
        {QStringLiteral("Sottotitolo"), &core::CompanyRecord::sub, 250},
        {QStringLiteral("Partita Iva"), &core::CompanyRecord::piva, 255},
        {QStringLiteral("Codice Fiscale"), &core::CompanyRecord::codfisc, 255},
        {QStringLiteral("Indirizzo"), &core::CompanyRecord::indirizzo, 150},
        {QStringLiteral("Città"), &core::CompanyRecord::citta, 150},
        {QStringLiteral("Cap"), &core::CompanyRecord::cap, 10},
        {QStringLiteral("Telefono"), &core::CompanyRecord::telefono, 50},
        {QStringLiteral("Telefono 2"), &core::CompanyRecord::telefono2, 50},
        {QStringLiteral("Fax"), &core::CompanyRecord::fax, 50},
        {QStringLiteral("Cellulare"), &core::CompanyRecord::cellulare, 50},
        {QStringLiteral("E-mail"), &core::CompanyRecord::email, 120},
        {QStringLiteral("Sito Web"), &core::CompanyRecord::web, 255},
    };
    return list;
}

void CompanyProfile::save(const core::CompanyRecord& edited)
{
    if (edited.ragionesociale.trimmed().isEmpty())
        throw LookupError(QStringLiteral("Inserire la ragione sociale"));
    for (const Field& field : fields())
        requireFits(field.caption, (edited.*field.member).trimmed(), field.maxLength);

    core::CompanyDirectory directory(m_directory);
    core::CompanyRecord stored = directory.record(m_companyId);
    for (const Field& field : fields())
        stored.*field.member = (edited.*field.member).trimmed();
    directory.save(stored);
}

QByteArray CompanyProfile::logo()
{
    return core::CompanyDirectory(m_directory).logo(m_companyId);
}

void CompanyProfile::saveLogo(const QByteArray& picture)
{
    core::CompanyDirectory(m_directory).setLogo(m_companyId, picture);
}

QByteArray CompanyProfile::readPicture(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw LookupError(QStringLiteral("Impossibile leggere il file %1").arg(path));
    if (file.size() > MaxPictureBytes)
        throw LookupError(QStringLiteral("L'immagine è troppo grande (massimo 4 MB)"));
    const QByteArray bytes = file.readAll();
    if (!looksLikePicture(bytes))
        throw LookupError(QStringLiteral("Il file scelto non è un'immagine (PNG, JPEG, BMP o GIF)"));
    return bytes;
}

} // namespace carvendo::foundation
