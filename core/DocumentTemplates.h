#pragma once

#include <QString>
#include <QStringList>

namespace carvendo::core {

class Db;

// The template of a main sales document. The shop may name another one for each document in the
// `report` table (`NameMaster` = the document, `Path` = the template's file): its file name, without
// folder and ending, is looked up in the program's Report folder, so a restyled copy is used by
// saving it there under that name. With no row or an empty path the template is the document's
// own name ("Fattura" -> Report/Fattura.html); a path naming one of these in another letter case
// ("\Report\fattura.fr3") is the program's own template.
class DocumentTemplates
{
public:
    explicit DocumentTemplates(Db& db) : m_db(db) {}

    // "Fattura" (with its variants "FatturaSeriali" and "FatturaTC"), "FatturaDifferita",
    // "DocumentoTrasporto", "NotaCredito", "Preventivo", "OrdineCliente", "OrdineFornitore".
    static const QStringList& documents();

    // The template name to print the document with. Throws std::invalid_argument for a document
    // not in the list above.
    QString templateFor(const QString& document) const;

    // The template a stored path names: "\Report\fattura.fr3" -> "fattura"; empty when it names
    // no file.
    static QString templateOfPath(const QString& path);

private:
    Db& m_db;
};

} // namespace carvendo::core
