#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>

#include <optional>

namespace carvendo::core {

class Db;

// What VERIFICASOTTOSC tells about an item: stock and minimum as whole numbers, as the
// under-stock list reads them.
struct UnderStockCheck
{
    bool sottoscorta = false; // stock at or below the minimum
    qint64 giacenza = 0;
    qint64 scorta = 0;
};

// The under-stock row that SOTTOSCORTA has just written for an item.
struct UnderStockRow
{
    qint64 giacenza = 0;
    qint64 scorta = 0;
    QString descrizione;
    QString barcode;
    QString codart;
    QString fornitore;
    Money prezzo; // purchase price
    QString um;
    int aliquota = 0;
};

// A serial leaving stock in a document (kind "Fattura", "Ddt", "Cat", "Pos" and its key).
struct SerialUnload
{
    QString tipoScarico;
    int idDoc = 0;
    QString seriale;
    int idCarico = 0;
    QString codArt;
    QString barcode;
    QString descrizione;
    int idFornitore = 0;
    int idCliente = 0;
    QDate data;
    int idArticolo = 0;
    int idMagazzino = 0;
    QString magazzino;
    int idOperatore = 0;
    QString operatore;
};

// One entry of the label queue: quantita labels of an item.
struct LabelRequest
{
    QString descrizione;
    QString barcode;
    Money prezzo;
    QString codice;
    QString barcodeTc; // size/colour cell barcode, else empty
    QString linea;     // colour of a size/colour cell, else empty
    QString stagione;
    QString testoPlus; // size of a size/colour cell, else empty
    double quantita = 0;
    int idArticolo = 0;
    int idCarico = 0;
};

// A part or service row of a repair ticket's estimate.
struct EstimatePart
{
    int idArticolo = 0;
    QString codice;
    QString descrizione;
    double quantita = 0;
    Money prezzoVendita;
    int idAssistenza = 0;
    Money prezzoAcquisto;
    int numeroAss = 0;
    Money subtotale;
};

// The one place that calls the company database's stored procedures. Quantities are positive:
// the direction of a stock movement is in the choice of method. Errors are DbError with the
// server's text.
class StoredProcedures
{
public:
    explicit StoredProcedures(Db& db) : m_db(db) {}

    // Stock of an item in a warehouse (`giacenze`); a missing row is created, stock may go negative.
    void caricoMagazzinoInsert(int idArticolo, int idMagazzino, const QString& magazzino, double quantita);
    void caricoMagazzinoUpdate(int idArticolo, int idMagazzino, double quantita);
    void scaricoMagazzino(int idArticolo, int idMagazzino, double quantita);
    // Every item of counter sale idBanco unloaded as scaricoMagazzino does, in one call.
    void scaricoVendita(int idBanco, int idMagazzino);
    void scaricaDisponibilita(int idArticolo, int idMagazzino, double quantita);   // reserve
    void riassestaDisponibilita(int idArticolo, int idMagazzino, double quantita); // give back

    // Under-stock list.
    UnderStockCheck verificaSottoscorta(int idArticolo);
    UnderStockRow sottoscorta(int idArticolo);
    void updateScorta(int idArticolo);

    // Serials. scaricoSeriale refuses a serial that is not in stock ("Attenzione! Seriale non
    // disponibile") and then writes nothing.
    void scaricoSeriale(const SerialUnload& unload);
    void deleteSerialiDoc(int idArticolo, int idDoc, const QString& tipoDoc);
    void updateSerialiDoc(int idDdt, int idFattura);

    // Label queue.
    void creaEtichette(const LabelRequest& label);
    void svuotaEtichette();

    // Counters.
    int incrementaCat(); // next repair-ticket number
    void incrementaFattura();

    void prevCatInsert(const EstimatePart& part);

    // Warehouse names.
    void updateMag(const QString& magazzino, int idMagazzino);
    void updateMagChange(const QString& newName, const QString& oldName);

    // Empties the year's sale and purchase documents, all or nothing.
    void inizioAnno();

    // The definition is put into the DDL as it is: pass only the program's own fixed types.
    void addColumnUnlessExists(const QString& database, const QString& table, const QString& column,
                               const QString& definition);

    // The new item's ID, or nothing when there is no item idArticolo.
    std::optional<int> duplicaArticolo(int idArticolo);

private:
    Db& m_db;
};

} // namespace carvendo::core
