#pragma once

#include "documents/SalesDocument.h"

#include "stock/serials/LoadSerialCapture.h"

#include "core/Db.h"
#include "core/Money.h"
#include "core/Session.h"
#include "tests/serials/SerialTestData.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

namespace carvendo::testing {

using core::Money;

inline Money euros(const char* text)
{
    return *Money::parse(QString::fromLatin1(text));
}

// An invoice of the shop's warehouse 1 for one customer, over items with ten pieces in stock.
template <typename Suite> class SalesDocumentFixture : public CompanySuite<Suite>
{
protected:
    using CompanySuite<Suite>::db;
    using CompanySuite<Suite>::emptyTables;
    using CompanySuite<Suite>::insert;

    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "fatture", "dettfattura", "venduti", "seriali",
                     "serialidocumenti", "storicoseriali", "clienti", "prima_nota", "scadenzario",
                     "taglie_tc", "disptc", "scaricotc", "scaricotcdoc"});
        m_session.logIn(core::Operator{kSerialActor.operatorId, kSerialActor.operatorName, {}, {}, {}},
                        core::Warehouse{kSerialActor.warehouseId, kSerialActor.warehouseName}, {});
    }

    int addCustomer(const char* listino = "LISTINO1", bool ownRate = false, int rate = 0)
    {
        return insert("clienti", {{QStringLiteral("RagioneSociale"), QStringLiteral("Rossi Srl")},
                                  {QStringLiteral("Listino"), QLatin1String(listino)},
                                  {QStringLiteral("aliq_pers"), ownRate},
                                  {QStringLiteral("aliquota"), rate}});
    }

    // An item with ten stock units in warehouse 1.
    int addItem(const QString& code, int aliquota, const char* pubblico, const char* um = "PZ",
                const char* umVendita = "PZ")
    {
        const int id =
            insert("articoli", {{QStringLiteral("CodArticolo"), code},
                                {QStringLiteral("Descrizione"), QStringLiteral("Articolo ") + code},
                                {QStringLiteral("BarcodeFull"), QStringLiteral("800") + code},
                                {QStringLiteral("Aliquota"), aliquota},
                                {QStringLiteral("Pubblico"), QVariant::fromValue(euros(pubblico))},
                                {QStringLiteral("UM"), QLatin1String(um)},
                                {QStringLiteral("UMVENDITA"), QLatin1String(umVendita)},
                                {QStringLiteral("giacenza"), 10},
                                {QStringLiteral("Disponibilita"), 10}});
        insert("giacenze", {{QStringLiteral("idarticolo"), id},
                            {QStringLiteral("idmagazzino"), kSerialActor.warehouseId},
                            {QStringLiteral("giacenza"), 10},
                            {QStringLiteral("disponibilita"), 10}});
        return id;
    }

    // A shirt sold by size (S, M) and colour: five of each size in red in warehouse 1, list price 24,40.
    int addShirt()
    {
        const int shirt = addItem(QStringLiteral("MAGLIA"), 22, "24.40");
        const int group = insert("taglie_tc", {{QStringLiteral("DESCRIZIONE"), QStringLiteral("ADULTO")},
                                               {QStringLiteral("TG1"), QStringLiteral("S")},
                                               {QStringLiteral("TG2"), QStringLiteral("M")}});
        db().exec(QStringLiteral("UPDATE articoli SET TC = 1, idgruppoTaglia = :G, GruppoTaglia = 'ADULTO', "
                                 "Listino1 = 24.4 WHERE ID = :ID"),
                  {{QStringLiteral("G"), group}, {QStringLiteral("ID"), shirt}});
        insert("disptc", {{QStringLiteral("idarticolo"), shirt},
                          {QStringLiteral("Colore"), QStringLiteral("ROSSO")},
                          {QStringLiteral("TG1"), 5},
                          {QStringLiteral("BAR1"), QStringLiteral("C1")},
                          {QStringLiteral("TG2"), 5},
                          {QStringLiteral("BAR2"), QStringLiteral("C2")},
                          {QStringLiteral("idmagazzino"), kSerialActor.warehouseId}});
        return shirt;
    }

    stock::SerialItem addPhone(const QStringList& serials)
    {
        const stock::SerialItem phone =
            addSerialItem(db(), QStringLiteral("TEL"), QStringLiteral("Telefono"));
        ScriptedDialogs quiet;
        stock::LoadSerialCapture capture(db(), quiet, 0, 0, phone, kSerialActor);
        for (const QString& serial : serials)
            EXPECT_TRUE(capture.add(serial, stock::SerialEntry::Enter));
        return phone;
    }

    // Stock of the item as the item card and as the warehouse see it.
    std::pair<double, double> stockOf(int itemId, int warehouseId = kSerialActor.warehouseId)
    {
        return {db().scalar(QStringLiteral("SELECT giacenza FROM articoli WHERE ID = :ID"),
                            {{QStringLiteral("ID"), itemId}})
                    .toDouble(),
                db().scalar(QStringLiteral(
                                "SELECT giacenza FROM giacenze WHERE idarticolo = :ID AND idmagazzino = :M"),
                            {{QStringLiteral("ID"), itemId}, {QStringLiteral("M"), warehouseId}})
                    .toDouble()};
    }

    Money headerMoney(int documentId, const char* column)
    {
        return db()
            .scalar(QStringLiteral("SELECT %1 FROM fatture WHERE idFattura = :ID").arg(QLatin1String(column)),
                    {{QStringLiteral("ID"), documentId}})
            .toMoney();
    }

    int count(const QString& sql, const core::Params& params = {}) { return countOf(db(), sql, params); }

    documents::SalesDocument newInvoice(core::Db& connection, int customerId)
    {
        documents::SalesDocument invoice(
            documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata), connection, m_dialogs,
            m_session);
        invoice.openNew();
        invoice.setCustomer(customerId);
        return invoice;
    }

    core::Session m_session;
    ScriptedDialogs m_dialogs;
    RecordingNavigator m_navigator;
};

} // namespace carvendo::testing
