#pragma once

#include "core/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <stdexcept>
#include <utility>
#include <vector>

namespace carvendo::core {

// A settings file could not be read or written. what() is the Italian text for an error box.
class IniFileError : public Error
{
public:
    using Error::Error;
};

// One workstation settings file (connessione.ini, impostazioni.ini, Versione.ini).
//
// The files are shared with what the shops already have on disk, often edited by hand, so saving
// keeps every line it did not change byte for byte: comments, blank lines, spacing, line endings and
// the encoding the file was read in. Section and key names keep their spaces
// ("PARAMETRI CONNESSIONE SERVER LOCALE", "Backup automatico") and are looked up ignoring letter
// case, as Windows does. A missing file or key reads as the caller's default; writing creates it.
class IniFile
{
public:
    enum class Encoding
    {
        Utf8,
        Utf8WithBom,
        Windows1252
    };
    enum class Permissions
    {
        Default,
        OwnerOnly
    }; // OwnerOnly (0600) for files holding passwords

    // Reads the file if it exists; a file that exists but cannot be read throws IniFileError.
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }
    Encoding encoding() const { return m_encoding; }

    bool contains(QStringView section, QStringView key) const;
    QString value(QStringView section, QStringView key, const QString& defaultValue = {}) const;
    // Decimal text; anything else (empty, "abc", "12x") gives the default.
    int intValue(QStringView section, QStringView key, int defaultValue = 0) const;
    // Written as 0/1; read as an integer, non-zero meaning true.
    bool boolValue(QStringView section, QStringView key, bool defaultValue = false) const;

    // Changes the first matching key in place, or adds it at the end of its section (a new section
    // goes at the end of the file). Names or values that would break the line structure (line
    // breaks, '=' in a key, ']' in a section) throw std::invalid_argument.
    void setValue(QStringView section, QStringView key, const QString& value);
    void setIntValue(QStringView section, QStringView key, int value);
    void setBoolValue(QStringView section, QStringView key, bool value);
    void removeKey(QStringView section, QStringView key);

    QStringList sections() const;
    QStringList keys(QStringView section) const;

    // Writes atomically (a reader sees the old file or the new one, never half of it), creating the
    // folder when needed. Throws IniFileError.
    void save(Permissions permissions = Permissions::Default);

private:
    enum class LineKind
    {
        Blank,
        Comment,
        Section,
        Entry,
        Other
    };
    struct Line
    {
        LineKind kind = LineKind::Other;
        QString text;      // as read, without the line ending
        QByteArray ending; // "\r\n", "\n", "\r" or "" for a last line without one
        QString name;      // section name or key, trimmed
        QString value;     // an entry's value, trimmed and unquoted
    };

    static Line parseLine(const QString& text, QByteArray ending);
    void read();
    QString decode(const QByteArray& bytes);
    std::pair<QByteArray, Encoding> encode() const; // the bytes and the encoding they ended up in
    int findSection(QStringView section) const;     // index of the header line, -1 if none
    int sectionEnd(int headerIndex) const;          // index past the section's last line
    int findEntry(QStringView section, QStringView key) const;
    QByteArray newLineEnding() const;

    QString m_path;
    Encoding m_encoding = Encoding::Utf8;
    QByteArray m_defaultEnding = "\r\n";
    std::vector<Line> m_lines;
};

} // namespace carvendo::core
