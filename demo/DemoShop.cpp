#include "demo/DemoShop.h"

#include "demo/DemoCatalogue.h"
#include "demo/DemoDialogs.h"

#include "core/Db.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/Privileges.h"
#include "core/ReportOutput.h"
#include "core/Session.h"
#include "stock/loads/Carichi.h"
#include "stock/loads/Carico.h"
#include "stock/serials/LoadSerialCapture.h"
#include "stock/sizes/LoadSizeGrid.h"

#include <algorithm>

namespace carvendo::demo {

namespace {

// Nothing opens and nothing prints while the demo enters its loads.
class Unattended final : public core::Navigator, public core::ReportOutput
{
public:
    void preview(const core::ReportRequest&) override {}
    void print(const core::ReportRequest&) override {}
    void exportPdf(const core::ReportRequest&, const QString&) override {}

protected:
    core::NavigationResult openWindow(const core::NavigationRequest&) override { return {}; }
};

void logInAsAdministrator(core::Session& session, core::Db& db, int warehouse)
{
    const core::Rows operators = db.query(QStringLiteral("SELECT * FROM utenti WHERE username = 'admin'"));
    const core::Rows groups =
        db.query(QStringLiteral("SELECT * FROM gruppi WHERE descrizione = :GRUPPO"),
                 {{QStringLiteral("GRUPPO"), operators.first()[u"nomepermesso"].toString()}});
    session.logIn(core::Operator::fromUtentiRow(operators.first()),
                  core::Warehouse{warehouse, QString::fromLatin1(DemoShop::Warehouse)},
                  core::Privileges::fromGruppiRow(groups.first()));
}

// A 15-digit IMEI: fourteen digits and the Luhn check digit.
QString imei(qint64 fourteenDigits)
{
    const QString digits = QString::number(fourteenDigits).rightJustified(14, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < digits.size(); ++i) {
        int digit = digits[i].digitValue();
        if (i % 2 == 1) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
    }
    return digits + QString::number((10 - sum % 10) % 10);
}

struct Delivery
{
    QString supplier;
    QString payment;
    QString documentNumber;
    // item index in DemoCatalogue::items() → what arrives: a quantity, IMEIs, or (colour, size, pieces).
    struct Line
    {
        int item;
        int quantity = 0;
        QStringList serials{};
        QList<std::tuple<QString, int, int>> cells{};
    };
    QList<Line> lines;
};

class DemoLoads
{
public:
    DemoLoads(core::Db& db, const core::Session& session, const core::Paths& paths, DemoDialogs& dialogs,
              const std::vector<int>& items)
        : m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs), m_items(items)
    {
    }

    void enter(const Delivery& delivery)
    {
        stock::Carichi list(m_db, m_session, m_paths, m_dialogs, m_unattended, m_unattended);
        stock::Carico load(m_db, m_session, m_paths, m_dialogs, m_unattended, m_unattended);
        load.open(list.newLoad(), stock::Carico::Mode::New);
        load.setSupplier(supplierId(delivery.supplier));
        load.setPayment(delivery.payment);
        load.setDocumentKind(QStringLiteral("Fattura"));
        load.setDocumentNumber(delivery.documentNumber);
        for (const Delivery::Line& line : delivery.lines) {
            std::unique_ptr<stock::CaricoDialogo> row = load.rowForItem(m_items.at(std::size_t(line.item)));
            for (const QString& serial : line.serials)
                row->serials()->add(serial, stock::SerialEntry::Button);
            for (const auto& [colour, size, pieces] : line.cells) {
                stock::LoadSizeGrid& grid = *row->grid();
                const auto held = [&] {
                    return std::find_if(grid.rows().begin(), grid.rows().end(),
                                        [&](const stock::SizeColourRow& r) { return r.colour == colour; });
                };
                if (held() == grid.rows().end())
                    grid.addColour(colour);
                grid.setQuantity(int(held() - grid.rows().begin()), size, pieces);
            }
            if (line.quantity > 0)
                row->setQuantityText(QString::number(line.quantity));
            load.confirmRow(*row);
        }
        load.save();
    }

private:
    int supplierId(const QString& name)
    {
        return m_db
            .scalar(QStringLiteral("SELECT id_fornitore FROM fornitori WHERE RagSoc = :NOME"),
                    {{QStringLiteral("NOME"), name}})
            .toInt();
    }

    core::Db& m_db;
    const core::Session& m_session;
    const core::Paths& m_paths;
    DemoDialogs& m_dialogs;
    const std::vector<int>& m_items;
    Unattended m_unattended;
};

} // namespace

void DemoShop::fill(core::Db& db, const core::Paths& paths)
{
    db.exec(QStringLiteral("INSERT INTO magazzini (Descrizione, Sede, Citta, Predefinito) "
                           "VALUES (:NOME, 'Via Roma 1', 'Milano', 1)"),
            {{QStringLiteral("NOME"), QString::fromLatin1(Warehouse)}});
    core::Session session;
    logInAsAdministrator(session, db, int(db.lastInsertId()));
    DemoDialogs dialogs;
    const std::vector<int> items = DemoCatalogue(db, session, dialogs).create();

    DemoLoads loads(db, session, paths, dialogs, items);
    loads.enter({QStringLiteral("Accessori Mobile Spa"),
                 QStringLiteral("BONIFICO 30 GG D.F."),
                 QStringLiteral("FT 1287"),
                 {{0, 25}, {1, 8}, {2, 40}, {3, 12}, {4, 15}}});
    loads.enter({QStringLiteral("Distribuzione Telefonia Srl"),
                 QStringLiteral("RI.BA. 30 GG F.M."),
                 QStringLiteral("FT 45/A"),
                 {{5, 0, {imei(35332110045801), imei(35332110045802), imei(35332110045803)}},
                  {6, 0, {imei(35901287341101), imei(35901287341102)}}}});
    loads.enter({QStringLiteral("Moda Italia Srl"),
                 QStringLiteral("CONTANTI"),
                 QStringLiteral("DDT 318"),
                 {{7,
                   0,
                   {},
                   {{QStringLiteral("NERO"), 2, 2},
                    {QStringLiteral("NERO"), 3, 3},
                    {QStringLiteral("NERO"), 4, 2},
                    {QStringLiteral("BLU"), 3, 2},
                    {QStringLiteral("BLU"), 4, 2},
                    {QStringLiteral("BLU"), 5, 1}}}}});
}

} // namespace carvendo::demo
