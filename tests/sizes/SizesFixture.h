#pragma once

#include "core/Db.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QString>
#include <QStringList>

namespace carvendo::testing {

// A shop that sells clothes: a size group "ADULTO" (S, M, L, XL, XXL), three colours and an item of
// that group. Each case starts with empty grids and an unused cell-barcode counter.
template <typename Suite> class SizesSuite : public CompanySuite<Suite>
{
protected:
    using Base = CompanySuite<Suite>;
    using Base::db;

    void SetUp() override
    {
        Base::emptyTables({"articoli", "taglie_tc", "colori", "disptc", "caricotc", "caricotcdoc",
                           "scaricotc", "scaricotcdoc"});
        db().exec(QStringLiteral("UPDATE contatori SET BarcodeTaglia = NULL"));
        db().exec(QStringLiteral("INSERT INTO taglie_tc (DESCRIZIONE, TG1, TG2, TG3, TG4, TG5) "
                                 "VALUES ('ADULTO', 'S', 'M', 'L', 'XL', 'XXL')"));
        db().exec(
            QStringLiteral("INSERT INTO colori (Descrizione, Colore, Codice) VALUES ('ROSSO', 255, 'R'), "
                           "('BLU', 16711680, 'B'), ('NERO', 0, 'N')"));
        m_item = addItem(QStringLiteral("MAGLIA"), QStringLiteral("ADULTO"));
    }

    int addItem(const QString& code, const QString& group)
    {
        db().exec(QStringLiteral(
                      "INSERT INTO articoli (CodArticolo, Descrizione, TC, idgruppoTaglia, GruppoTaglia, "
                      "Listino1, Listino2, Listino3) "
                      "VALUES (:COD, :DESCR, 1, 7, :GRUPPO, 19.9, 0, 15)"),
                  {{QStringLiteral("COD"), code},
                   {QStringLiteral("DESCR"), QStringLiteral("Maglia ") + code},
                   {QStringLiteral("GRUPPO"), group}});
        return int(db().lastInsertId());
    }

    // Every grid row as "colour|warehouse|TG1..TG5", in key order.
    QStringList grid(core::Db* on = nullptr)
    {
        return rowsAsText(on ? *on : db(),
                          QStringLiteral("SELECT Colore, idmagazzino, TG1, TG2, TG3, TG4, TG5 FROM disptc "
                                         "ORDER BY id"));
    }

    QString counter()
    {
        return db().scalar(QStringLiteral("SELECT BarcodeTaglia FROM contatori")).toString();
    }

    int m_item = 0;
};

} // namespace carvendo::testing
