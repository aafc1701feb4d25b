#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace carvendo::messaging {

// One e-mail as the mail window holds it: addresses as typed (several separated by "," or ";"),
// the body as lines, at most one attached file.
struct MailMessage
{
    QString from;
    QString to;
    QString cc;
    QString subject;
    QStringList body;
    QString attachment; // path; empty for none

    // The addresses of a field, one by one.
    static QStringList addresses(const QString& field);
    // Every recipient, copies included, in order.
    QStringList recipients() const { return addresses(to) + addresses(cc); }
    // The body as it goes out: lines ended by CR LF.
    QByteArray bodyText() const;

    // The values a window hands the mail window to open it filled (the navigation request's
    // values), and back.
    QVariantMap toValues() const;
    static MailMessage fromValues(const QVariantMap& values);

    bool operator==(const MailMessage&) const = default;
};

} // namespace carvendo::messaging
