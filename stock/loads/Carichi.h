#pragma once

#include "core/Rows.h"
#include "stock/loads/LoadPrint.h"

#include <QObject>
#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class Paths;
class ReportOutput;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TCarichi, the list of loads: searches by the supplier's document number or by load
// number (optionally in one year), new, modify, delete and print of the selected load.
class Carichi : public QObject
{
    Q_OBJECT

public:
    enum class SearchBy
    {
        DocumentNumber,
        LoadNumber
    };

    Carichi(core::Db& db, const core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
            core::Navigator& navigator, core::ReportOutput& reports, QObject* parent = nullptr);

    static QString windowName() { return QStringLiteral("TCarichi"); }
    static QString layoutWord() { return QStringLiteral("Carichi"); }

    void setCompanyHeading(CompanyHeading heading) { m_heading = std::move(heading); }

    // The loads whose number starts with the text, optionally of one year; all of them at opening.
    void search(SearchBy by, const QString& text, std::optional<int> year = std::nullopt);
    void refresh();
    const core::Rows& rows() const { return m_rows; }

    // "Nuovo": a numbered load of the current warehouse, opened in TCarico. Its key.
    int newLoad();
    void modify(int idCarico);
    // "Elimina": privilege, question, then the whole load undone in one transaction.
    bool deleteLoad(int idCarico);
    bool print(int idCarico);

private:
    core::Db& m_db;
    const core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    core::ReportOutput& m_reports;
    CompanyHeading m_heading;
    SearchBy m_by = SearchBy::LoadNumber;
    QString m_text;
    std::optional<int> m_year;
    core::Rows m_rows;
};

} // namespace carvendo::stock
