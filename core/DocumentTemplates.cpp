#include "core/DocumentTemplates.h"

#include "core/Db.h"

#include <stdexcept>

namespace carvendo::core {

const QStringList& DocumentTemplates::documents()
{
    static const QStringList names{QStringLiteral("Fattura"),
                                   QStringLiteral("FatturaSeriali"),
                                   QStringLiteral("FatturaTC"),
                                   QStringLiteral("FatturaDifferita"),
                                   QStringLiteral("DocumentoTrasporto"),
                                   QStringLiteral("NotaCredito"),
                                   QStringLiteral("Preventivo"),
                                   QStringLiteral("OrdineCliente"),
                                   QStringLiteral("OrdineFornitore")};
    return names;
}

QString DocumentTemplates::templateOfPath(const QString& path)
{
    // Paths were written on Windows workstations too: either separator ends a folder.
    QString name = path.trimmed();
    name = name.mid(int(std::max(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'))) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0)
        name.truncate(dot);
    return name.trimmed();
}

QString DocumentTemplates::templateFor(const QString& document) const
{
    if (!documents().contains(document))
        throw std::invalid_argument("not a document with a template of its own: " + document.toStdString());
    const Field path = m_db.scalar(QStringLiteral("SELECT Path FROM report WHERE NameMaster = :DOCUMENTO "
                                                  "ORDER BY id LIMIT 1"),
                                   {{QStringLiteral("DOCUMENTO"), document}});
    const QString named = templateOfPath(path.toString());
    if (named.isEmpty())
        return document;
    // Windows workstations stored the program's own templates in any letter case ("\Report\fattura.fr3");
    // the template files are found by their exact name.
    for (const QString& own : documents())
        if (named.compare(own, Qt::CaseInsensitive) == 0)
            return own;
    return named;
}

} // namespace carvendo::core
