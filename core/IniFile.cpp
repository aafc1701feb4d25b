#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <iconv.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace carvendo::core {

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

// The 128 upper code points of Windows-1252, taken once from iconv. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081... as Windows itself
// reads them, so such a byte survives a read and a write unchanged.
const std::array<char16_t, 128>& windows1252Upper()
{
    static const std::array<char16_t, 128> table = [] {
        std::array<char16_t, 128> upper{};
        iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1252");
        for (int i = 0; i < 128; ++i) {
            char in = char(0x80 + i);
            char16_t out = char16_t(0x80 + i);
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(&out);
            size_t inLeft = 1;
            size_t outLeft = sizeof out;
            if (cd == iconv_t(-1) || iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1))
                out = char16_t(0x80 + i);
            upper[std::size_t(i)] = out;
        }
        if (cd != iconv_t(-1))
            iconv_close(cd);
        return upper;
    }();
    return table;
}

QString decodeWindows1252(const QByteArray& bytes)
{
    const auto& upper = windows1252Upper();
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text.append(b < 0x80 ? QChar(b) : QChar(upper[b - 0x80]));
    }
    return text;
}

// nullopt when the text holds a character that Windows-1252 cannot represent.
std::optional<QByteArray> encodeWindows1252(const QString& text)
{
    const auto& upper = windows1252Upper();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            bytes.append(char(c.unicode()));
            continue;
        }
        const auto* found = std::find(upper.begin(), upper.end(), c.unicode());
        if (found == upper.end())
            return std::nullopt;
        bytes.append(char(0x80 + (found - upper.begin())));
    }
    return bytes;
}

std::optional<QString> decodeStrictUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == u'"' || value.front() == u'\''))
        return value.mid(1, value.size() - 2);
    return value;
}

// A value that would read back differently unquoted (outer blanks, outer quotes) is quoted.
QString quotedIfNeeded(const QString& value)
{
    if (value != value.trimmed() || unquoted(value) != value)
        return u'"' + value + u'"';
    return value;
}

bool hasLineBreak(QStringView text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

void checkNames(QStringView section, QStringView key)
{
    const QStringView trimmedKey = key.trimmed();
    if (section.trimmed().isEmpty() || section.contains(u']') || hasLineBreak(section))
        throw std::invalid_argument("IniFile: nome di sezione non valido");
    if (trimmedKey.isEmpty() || key.contains(u'=') || hasLineBreak(key) || trimmedKey.startsWith(u'[') ||
        trimmedKey.startsWith(u';') || trimmedKey.startsWith(u'#'))
        throw std::invalid_argument("IniFile: nome di chiave non valido");
}

bool sameName(QStringView a, QStringView b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path))
{
    read();
}

IniFile::Line IniFile::parseLine(const QString& text, QByteArray ending)
{
    Line line;
    line.text = text;
    line.ending = std::move(ending);
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        line.kind = LineKind::Blank;
    } else if (trimmed.startsWith(u';') || trimmed.startsWith(u'#')) {
        line.kind = LineKind::Comment;
    } else if (trimmed.startsWith(u'[')) {
        line.kind = LineKind::Section;
        const qsizetype close = trimmed.indexOf(u']');
        line.name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
    } else if (const qsizetype equals = trimmed.indexOf(u'='); equals > 0) {
        line.kind = LineKind::Entry;
        line.name = trimmed.left(equals).trimmed();
        line.value = unquoted(trimmed.mid(equals + 1).trimmed());
    }
    return line;
}

void IniFile::read()
{
    m_lines.clear();
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw IniFileError(
            QStringLiteral("Impossibile leggere il file %1: %2").arg(m_path, file.errorString()));
    const QString text = decode(file.readAll());

    qsizetype start = 0;
    bool endingChosen = false;
    while (start < text.size()) {
        const qsizetype newline = text.indexOf(u'\n', start);
        if (newline < 0) {
            m_lines.push_back(parseLine(text.mid(start), {}));
            break;
        }
        const bool crlf = newline > start && text[newline - 1] == u'\r';
        const QByteArray ending = crlf ? "\r\n" : "\n";
        if (!endingChosen) {
            m_defaultEnding = ending;
            endingChosen = true;
        }
        m_lines.push_back(parseLine(text.mid(start, newline - start - (crlf ? 1 : 0)), ending));
        start = newline + 1;
    }
}

// Valid UTF-8 (with or without a byte-order mark) is UTF-8; anything else was written by a
// Windows program in its ANSI code page.
QString IniFile::decode(const QByteArray& bytes)
{
    if (bytes.startsWith(Utf8Bom)) {
        if (auto text = decodeStrictUtf8(bytes.mid(Utf8Bom.size()))) {
            m_encoding = Encoding::Utf8WithBom;
            return *text;
        }
    } else if (auto text = decodeStrictUtf8(bytes)) {
        m_encoding = Encoding::Utf8;
        return *text;
    }
    m_encoding = Encoding::Windows1252;
    return decodeWindows1252(bytes);
}

std::pair<QByteArray, IniFile::Encoding> IniFile::encode() const
{
    QString text;
    for (const Line& line : m_lines)
        text += line.text + QString::fromLatin1(line.ending);
    if (m_encoding == Encoding::Windows1252) {
        if (auto bytes = encodeWindows1252(text))
            return {*bytes, Encoding::Windows1252};
        // A value Windows-1252 cannot hold: the whole file becomes UTF-8 rather than lose it.
        return {text.toUtf8(), Encoding::Utf8};
    }
    return {m_encoding == Encoding::Utf8WithBom ? Utf8Bom + text.toUtf8() : text.toUtf8(), m_encoding};
}

int IniFile::findSection(QStringView section) const
{
    for (int i = 0; i < int(m_lines.size()); ++i)
        if (m_lines[std::size_t(i)].kind == LineKind::Section &&
            sameName(m_lines[std::size_t(i)].name, section))
            return i;
    return -1;
}

int IniFile::sectionEnd(int headerIndex) const
{
    int i = headerIndex + 1;
    while (i < int(m_lines.size()) && m_lines[std::size_t(i)].kind != LineKind::Section)
        ++i;
    return i;
}

int IniFile::findEntry(QStringView section, QStringView key) const
{
    const int header = findSection(section);
    if (header < 0)
        return -1;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (m_lines[std::size_t(i)].kind == LineKind::Entry && sameName(m_lines[std::size_t(i)].name, key))
            return i;
    return -1;
}

QByteArray IniFile::newLineEnding() const
{
    return m_defaultEnding;
}

bool IniFile::contains(QStringView section, QStringView key) const
{
    return findEntry(section, key) >= 0;
}

QString IniFile::value(QStringView section, QStringView key, const QString& defaultValue) const
{
    const int entry = findEntry(section, key);
    return entry < 0 ? defaultValue : m_lines[std::size_t(entry)].value;
}

int IniFile::intValue(QStringView section, QStringView key, int defaultValue) const
{
    const int entry = findEntry(section, key);
    if (entry < 0)
        return defaultValue;
    bool ok = false;
    const int number = m_lines[std::size_t(entry)].value.toInt(&ok);
    return ok ? number : defaultValue;
}

bool IniFile::boolValue(QStringView section, QStringView key, bool defaultValue) const
{
    const int entry = findEntry(section, key);
    if (entry < 0)
        return defaultValue;
    bool ok = false;
    const qlonglong number = m_lines[std::size_t(entry)].value.toLongLong(&ok);
    return ok ? number != 0 : defaultValue;
}

void IniFile::setValue(QStringView section, QStringView key, const QString& value)
{
    checkNames(section, key);
    if (hasLineBreak(value))
        throw std::invalid_argument("IniFile: il valore non può contenere un a capo");

    if (const int entry = findEntry(section, key); entry >= 0) {
        Line& line = m_lines[std::size_t(entry)];
        if (line.value == value)
            return; // nothing to change: the line stays as it was written
        // Keep the key's spelling and the spacing around '=' as the file had them.
        const qsizetype equals = line.text.indexOf(u'=');
        qsizetype valueStart = equals + 1;
        while (valueStart < line.text.size() &&
               (line.text[valueStart] == u' ' || line.text[valueStart] == u'\t'))
            ++valueStart;
        line = parseLine(line.text.left(valueStart) + quotedIfNeeded(value), line.ending);
        return;
    }

    const QString entryText = key.trimmed().toString() + u'=' + quotedIfNeeded(value);
    int header = findSection(section);
    if (header < 0) {
        if (!m_lines.empty() && m_lines.back().ending.isEmpty())
            m_lines.back().ending = newLineEnding();
        m_lines.push_back(parseLine(u'[' + section.trimmed().toString() + u']', newLineEnding()));
        m_lines.push_back(parseLine(entryText, newLineEnding()));
        return;
    }
    // After the section's last setting, before the blank lines and comments that lead to the next.
    int insertAt = header + 1;
    for (int i = header + 1; i < sectionEnd(header); ++i) {
        const LineKind kind = m_lines[std::size_t(i)].kind;
        if (kind == LineKind::Entry || kind == LineKind::Other)
            insertAt = i + 1;
    }
    QByteArray ending = newLineEnding();
    Line& previous = m_lines[std::size_t(insertAt - 1)];
    if (previous.ending.isEmpty()) {
        // The file's last line had no line break: it gets one, the new line takes its place at the end.
        previous.ending = newLineEnding();
        ending.clear();
    }
    m_lines.insert(m_lines.begin() + insertAt, parseLine(entryText, ending));
}

void IniFile::setIntValue(QStringView section, QStringView key, int value)
{
    setValue(section, key, QString::number(value));
}

void IniFile::setBoolValue(QStringView section, QStringView key, bool value)
{
    setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Line& line : m_lines)
        if (line.kind == LineKind::Section && !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    return names;
}

QStringList IniFile::keys(QStringView section) const
{
    QStringList names;
    const int header = findSection(section);
    if (header < 0)
        return names;
    for (int i = header + 1; i < sectionEnd(header); ++i) {
        const Line& line = m_lines[std::size_t(i)];
        if (line.kind == LineKind::Entry && !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    }
    return names;
}

void IniFile::save(Permissions permissions)
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        throw IniFileError(QStringLiteral("Impossibile creare la cartella %1").arg(info.absolutePath()));

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        throw IniFileError(
            QStringLiteral("Impossibile salvare il file %1: %2").arg(m_path, file.errorString()));
    // Set before any byte is written, so a password never sits in a file others can read.
    bool permissionsSet = true;
    if (permissions == Permissions::OwnerOnly)
        permissionsSet = file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    else if (info.exists())
        permissionsSet = file.setPermissions(info.permissions());
    if (!permissionsSet) {
        file.cancelWriting();
        throw IniFileError(QStringLiteral("Impossibile impostare i permessi del file %1").arg(m_path));
    }

    const auto [bytes, encoding] = encode();
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw IniFileError(
            QStringLiteral("Impossibile salvare il file %1: %2").arg(m_path, file.errorString()));
    m_encoding = encoding;
}

} // namespace carvendo::core
