#pragma once

#include <QString>
#include <QStringList>

namespace carvendo::foundation {

// A code of the electronic invoice with the words the operator reads beside it ("RF01 Ordinario").
struct CodeChoice
{
    QString code;
    QString caption;
};

// The lists the electronic invoice's format allows, in the order the windows offer them.
const QList<CodeChoice>& regimiFiscali();     // RF01 ... RF19
const QList<CodeChoice>& natureIva();         // N1 ... N7 with their sub-codes
const QList<CodeChoice>& modalitaPagamento(); // MP01 ... MP23
const QList<CodeChoice>& tipiRitenuta();      // RT01 ... RT06
const QList<CodeChoice>& causaliPagamento();  // A ... ZO

QStringList codesOf(const QList<CodeChoice>& choices);
QStringList captionsOf(const QList<CodeChoice>& choices); // "code description"

} // namespace carvendo::foundation
