#include "foundation/CashRegisters.h"

#include "foundation/ImpostazioniIni.h"
#include "foundation/LookupTables.h"

#include <QFileInfo>

namespace carvendo::foundation {

CashRegisters::CashRegisters(core::Db& company, QString impostazioniPath)
    : m_db(company), m_impostazioniPath(std::move(impostazioniPath))
{
}

QStringList CashRegisters::brands()
{
    QStringList brands;
    for (const core::Row& row :
         m_db.query(QStringLiteral("SELECT DISTINCT Marca FROM cassemarche WHERE Marca IS "
                                   "NOT NULL AND Marca <> '' ORDER BY Marca")))
        brands << row.at(0).toString();
    return brands;
}

QStringList CashRegisters::models(const QString& brand)
{
    QStringList models;
    for (const core::Row& row :
         m_db.query(QStringLiteral("select * from cassemodelli where marca = :MARCA ORDER BY Modello"),
                    {{QStringLiteral("MARCA"), brand}}))
        models << row[u"Modello"].toString();
    return models;
}

CashRegisterSettings CashRegisters::load()
{
    CashRegisterSettings settings;
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT Marca, Modello, CartellaLavoro FROM casse ORDER BY id LIMIT 1"));
    if (!rows.isEmpty()) {
        settings.marca = rows.value(0, u"Marca").toString();
        settings.modello = rows.value(0, u"Modello").toString();
        settings.cartellaLavoro = rows.value(0, u"CartellaLavoro").toString();
    }
    settings.password = ImpostazioniIni(m_impostazioniPath).text(ImpostazioniKeys::cassaPassword());
    return settings;
}

void CashRegisters::save(const CashRegisterSettings& settings)
{
    const QString marca = settings.marca.trimmed();
    const QString modello = settings.modello.trimmed();
    const QString cartella = settings.cartellaLavoro.trimmed();
    requireFits(QStringLiteral("Marca"), marca, 50);
    requireFits(QStringLiteral("Modello"), modello, 50);
    requireFits(QStringLiteral("Cartella di lavoro"), cartella, 50);
    // Receipts are written into this folder: a wrong one would only show at the first sale.
    if (!cartella.isEmpty() && !QFileInfo(cartella).isDir())
        throw LookupError(QStringLiteral("La cartella di lavoro indicata non esiste"));

    core::Transaction transaction(m_db);
    const core::Field id = m_db.scalar(QStringLiteral("SELECT MIN(id) FROM casse"));
    const core::Params values{{QStringLiteral("MARCA"), marca},
                              {QStringLiteral("MODELLO"), modello},
                              {QStringLiteral("CARTELLA"), cartella}};
    if (id.isNull()) {
        m_db.exec(
            QStringLiteral(
                "INSERT INTO casse (Marca, Modello, CartellaLavoro) VALUES (:MARCA, :MODELLO, :CARTELLA)"),
            values);
    } else {
        core::Params withId = values;
        withId.insert(QStringLiteral("ID"), id.variant());
        m_db.exec(QStringLiteral("UPDATE casse SET Marca = :MARCA, Modello = :MODELLO, CartellaLavoro = "
                                 ":CARTELLA WHERE id = :ID"),
                  withId);
    }
    transaction.commit();
    // The file cannot be rolled back: it changes only once the database has taken the register.
    ImpostazioniIni ini(m_impostazioniPath);
    ini.setText(ImpostazioniKeys::cassaPassword(), settings.password);
    ini.save();
}

} // namespace carvendo::foundation
