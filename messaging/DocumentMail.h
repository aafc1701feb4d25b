#pragma once

#include "core/Navigator.h"
#include "messaging/MailMessage.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::messaging {

// A document to send by e-mail: what it is ("Fattura"), its number and date, to whom, and the PDF
// just written.
struct MailDocument
{
    QString word;
    QString number;
    QDate date;
    QString recipient; // the customer's or supplier's e-mail
    QString name;      // the customer's or supplier's name
    QString attachment;
};

// Opens the mail window filled for a document: subject "<word> Nr. <number> del <date>", the body
// addressed to the customer with the lines of the letter and the account's signature, the PDF
// attached. The operator then sends or cancels.
class DocumentMail
{
public:
    DocumentMail(core::Db& company, core::Navigator& navigator) : m_db(company), m_navigator(navigator) {}

    // The lines of the letter sent with a document.
    static QStringList documentLetter();

    MailMessage compose(const MailDocument& document, const QStringList& letter = documentLetter());
    core::NavigationResult open(const MailDocument& document, const QString& caller,
                                const QStringList& letter = documentLetter());

private:
    core::Db& m_db;
    core::Navigator& m_navigator;
};

} // namespace carvendo::messaging
