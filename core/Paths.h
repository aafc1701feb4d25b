#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace carvendo::core {

// Folders under <data>/documenti where document PDFs and exports are written.
enum class DocumentFolder
{
    Fatture,
    DDT,
    Preventivi,
    Acquisti,
    Inventari,
    FattureElettroniche // the electronic invoice files, as they go to the exchange system
};
// Folders under <data>/acquisizioni where scanned images are kept: cheques of the till, supplier
// documents of goods-in.
enum class AcquisitionFolder
{
    Pos,
    Carichi
};

// Where every file of the program lives. Two roots: the workstation's data folder (settings files,
// receipts, documents, dumps, the embedded server) and the install folder (the shipped data/ with
// db.sql and Images/, and the report templates in Report/). Made once at start-up and handed to
// whoever needs a path; nothing here is global.
class Paths
{
public:
    Paths(QString dataDir, QString installDir);

    // The data folder is $CARVENDO_DATA, else the platform's default; the install folder is found
    // from the program's folder (the build tree when run from it, the installed share folder, or
    // the program folder itself).
    static Paths fromEnvironment(const QString& programDir);
    static Paths fromEnvironment(const QProcessEnvironment& environment, const QString& programDir);

    const QString& dataDir() const { return m_dataDir; }
    const QString& installDir() const { return m_installDir; }

    QString connessioneIni() const;
    QString impostazioniIni() const;
    QString versioneIni() const;
    // The template that creates a company database: the data folder's copy when there is one (a
    // shop may have its own), else the one shipped with the program.
    QString dbTemplate() const;
    // The script made from the template for a new company database: <data>/<name>.sql. The name
    // may hold only letters, digits, '_' and '$' (it also names the database); anything else
    // throws std::invalid_argument.
    QString companyScript(const QString& databaseName) const;

    QString installDataDir() const;
    QString reportDir() const;
    QString reportTemplate(const QString& fileName) const;
    QString imagesDir() const;

    QString receiptsDir() const; // scontrini: the receipt files before they go to the driver
    QString documentsDir(DocumentFolder folder) const;
    QString acquisitionsDir(AcquisitionFolder folder) const;
    // The fiscal driver's folder: `casse`.`CartellaLavoro` when set, else <data>/driver.
    QString fiscalDriverDir(const QString& cartellaLavoro) const;
    QString backupDir() const; // database dumps
    QString serverDir() const; // the embedded server's files
    // The grid layout of a list window: <data>/layout + a word naming the window ("Vodafone").
    // The word may hold only letters and digits; anything else throws std::invalid_argument.
    QString layoutFile(const QString& windowWord) const;

    // Creates the folder (and its parents) when missing and returns it; throws std::runtime_error
    // with the text for an error box when it cannot.
    static QString ensureDir(const QString& path);

private:
    QString data(const QString& relative) const;

    QString m_dataDir;
    QString m_installDir;
};

} // namespace carvendo::core
