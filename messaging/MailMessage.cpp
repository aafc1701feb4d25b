#include "messaging/MailMessage.h"

#include <QRegularExpression>

namespace carvendo::messaging {

namespace {

const QString FromKey = QStringLiteral("mittente");
const QString ToKey = QStringLiteral("destinatario");
const QString CcKey = QStringLiteral("cc");
const QString SubjectKey = QStringLiteral("oggetto");
const QString BodyKey = QStringLiteral("corpo");
const QString AttachmentKey = QStringLiteral("allegato");

} // namespace

QStringList MailMessage::addresses(const QString& field)
{
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    QStringList result;
    for (const QString& part : field.split(separators)) {
        const QString address = part.trimmed();
        if (!address.isEmpty())
            result << address;
    }
    return result;
}

QByteArray MailMessage::bodyText() const
{
    QByteArray text;
    for (const QString& line : body)
        text += line.toUtf8() + "\r\n";
    return text;
}

QVariantMap MailMessage::toValues() const
{
    return {{FromKey, from},       {ToKey, to},     {CcKey, cc},
            {SubjectKey, subject}, {BodyKey, body}, {AttachmentKey, attachment}};
}

MailMessage MailMessage::fromValues(const QVariantMap& values)
{
    return {values.value(FromKey).toString(),     values.value(ToKey).toString(),
            values.value(CcKey).toString(),       values.value(SubjectKey).toString(),
            values.value(BodyKey).toStringList(), values.value(AttachmentKey).toString()};
}

} // namespace carvendo::messaging
