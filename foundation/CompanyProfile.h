#pragma once

#include "core/CompanyDirectory.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace carvendo::foundation {

// The current company's own data (the "Azienda" and "Logo" pages): its `aziende` row in the
// company directory. How its database is reached is not edited here but on the company card.
class CompanyProfile
{
public:
    // The fields of the "Azienda" page, in order.
    struct Field
    {
        QString caption;
        QString core::CompanyRecord::*member;
        int maxLength;
    };
    static const QList<Field>& fields();

    CompanyProfile(core::Db& directory, int companyId) : m_directory(directory), m_companyId(companyId) {}

    int companyId() const { return m_companyId; }
    core::CompanyRecord load();
    // Writes the company data of `edited`; the connection columns keep what is stored. Throws
    // LookupError for a refused value, DbError when writing fails.
    void save(const core::CompanyRecord& edited);

    QByteArray logo();
    void saveLogo(const QByteArray& picture); // empty: no logo

    // A picture file for the logo: PNG, JPEG, BMP or GIF of at most MaxPictureBytes. Throws LookupError.
    static constexpr qint64 MaxPictureBytes = 4 * 1024 * 1024;
    static QByteArray readPicture(const QString& path);

private:
    core::Db& m_directory;
    int m_companyId;
};

} // namespace carvendo::foundation
