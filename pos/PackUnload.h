#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>

namespace carvendo::core {
class Db;
class Session;
} // namespace carvendo::core

namespace carvendo::pos {

// What the pack page of the "Cassa" holds when a sale with an operator pack is closed with the
// payment type "Vodafone Pack": the option chosen, its toggles and the amounts typed.
struct PackUnload
{
    enum class Option
    {
        FreeWithPoints,        // "Tutto Gratuito con Scarico Punti"
        PointsAndContribution, // "Scarico Punti + Contributo"
        NormalSale,            // "Vendita Normale"
        Subscription,          // "Abbonamento"
        Promotion              // "Promozione"
    };

    Option option = Option::NormalSale;
    bool royalty = false;    // "Royalty (Raccolta Punti)", code "RTY"
    bool commitment = false; // "Facile (Vincolo)", code "VNC"
    core::Money customerContribution;
    core::Money operatorContribution;
    int points = 0;
    core::Money subscription; // monthly amount of "Abbonamento"
    core::Money promotionDiscount;

    // The `vodafone_scarico` row of the sale's pack row, dated today, inside the caller's
    // transaction. Throws a refusal when the sale holds no pack item.
    void write(core::Db& db, const core::Session& session, int saleId, const QDate& today) const;
};

} // namespace carvendo::pos
