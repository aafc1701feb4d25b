#include "foundation/EInvoiceCodes.h"

namespace carvendo::foundation {

namespace {

QList<CodeChoice> choices(std::initializer_list<std::pair<const char*, const char*>> pairs)
{
    QList<CodeChoice> list;
    for (const auto& [code, caption] : pairs)
        list << CodeChoice{QString::fromLatin1(code), QString::fromUtf8(caption)};
    return list;
}

} // namespace

const QList<CodeChoice>& regimiFiscali()
{
    static const QList<CodeChoice> list = choices({
        {"RF01", "Ordinario"},
        {"RF02", "Contribuenti minimi"},
        {"RF04", "Agricoltura e pesca"},
        {"RF05", "Vendita sali e tabacchi"},
        {"RF06", "Commercio fiammiferi"},
        {"RF07", "Editoria"},
        {"RF08", "Gestione servizi telefonia pubblica"},
        {"RF09", "Rivendita documenti di trasporto pubblico"},
        {"RF10", "Intrattenimenti, giochi e altre attività"},
        {"RF11", "Agenzie viaggi e turismo"},
        {"RF12", "Agriturismo"},
        {"RF13", "Vendite a domicilio"},
        {"RF14", "Rivendita beni usati, oggetti d'arte e antiquariato"},
        {"RF15", "Agenzie di vendite all'asta"},
        {"RF16", "IVA per cassa P.A."},
        {"RF17", "IVA per cassa"},
        {"RF18", "Altro"},
        {"RF19", "Forfettario"},
    });
    return list;
}

const QList<CodeChoice>& natureIva()
{
    static const QList<CodeChoice> list = choices({
        {"N1", "Escluse ex art. 15"},
        {"N2.1", "Non soggette, artt. da 7 a 7-septies"},
        {"N2.2", "Non soggette, altri casi"},
        {"N3.1", "Non imponibili, esportazioni"},
        {"N3.2", "Non imponibili, cessioni intracomunitarie"},
        {"N3.3", "Non imponibili, cessioni verso San Marino"},
        {"N3.4", "Non imponibili, assimilate alle esportazioni"},
        {"N3.5", "Non imponibili, dichiarazioni d'intento"},
        {"N3.6", "Non imponibili, altre operazioni"},
        {"N4", "Esenti"},
        {"N5", "Regime del margine / IVA non esposta"},
        {"N6.1", "Inversione contabile, rottami"},
        {"N6.2", "Inversione contabile, oro e argento"},
        {"N6.3", "Inversione contabile, subappalto edilizia"},
        {"N6.4", "Inversione contabile, fabbricati"},
        {"N6.5", "Inversione contabile, telefoni cellulari"},
        {"N6.6", "Inversione contabile, prodotti elettronici"},
        {"N6.7", "Inversione contabile, servizi edilizia"},
        {"N6.8", "Inversione contabile, settore energetico"},
        {"N6.9", "Inversione contabile, altri casi"},
        {"N7", "IVA assolta in altro stato UE"},
    });
    return list;
}

const QList<CodeChoice>& modalitaPagamento()
{
    static const QList<CodeChoice> list = choices({
        {"MP01", "Contanti"},
        {"MP02", "Assegno"},
        {"MP03", "Assegno circolare"},
        {"MP04", "Contanti presso Tesoreria"},
        {"MP05", "Bonifico"},
        {"MP06", "Vaglia cambiario"},
        {"MP07", "Bollettino bancario"},
        {"MP08", "Carta di pagamento"},
        {"MP09", "RID"},
        {"MP10", "RID utenze"},
        {"MP11", "RID veloce"},
        {"MP12", "RIBA"},
        {"MP13", "MAV"},
        {"MP14", "Quietanza erario"},
        {"MP15", "Giroconto su conti di contabilità speciale"},
        {"MP16", "Domiciliazione bancaria"},
        {"MP17", "Domiciliazione postale"},
        {"MP18", "Bollettino di c/c postale"},
        {"MP19", "SEPA Direct Debit"},
        {"MP20", "SEPA Direct Debit CORE"},
        {"MP21", "SEPA Direct Debit B2B"},
        {"MP22", "Trattenuta su somme già riscosse"},
        {"MP23", "PagoPA"},
    });
    return list;
}

const QList<CodeChoice>& tipiRitenuta()
{
    static const QList<CodeChoice> list = choices({
        {"RT01", "Ritenuta persone fisiche"},
        {"RT02", "Ritenuta persone giuridiche"},
        {"RT03", "Contributo INPS"},
        {"RT04", "Contributo ENASARCO"},
        {"RT05", "Contributo ENPAM"},
        {"RT06", "Altro contributo previdenziale"},
    });
    return list;
}

const QList<CodeChoice>& causaliPagamento()
{
    static const QList<CodeChoice> list = choices({
        {"A", "Lavoro autonomo"},
        {"B", "Diritti d'autore e d'inventore"},
        {"C", "Contratti di associazione in partecipazione"},
        {"D", "Utili dei soci promotori e fondatori"},
        {"E", "Levata di protesti cambiari"},
        {"G", "Indennità per cessazione di attività sportiva"},
        {"H", "Indennità per cessazione di rapporti di agenzia"},
        {"I", "Indennità per cessazione da funzioni notarili"},
        {"L", "Utilizzazione economica di opere dell'ingegno"},
        {"L1", "Opere dell'ingegno acquistate da terzi"},
        {"M", "Lavoro autonomo occasionale"},
        {"M1", "Obblighi di fare, non fare o permettere"},
        {"M2", "Lavoro autonomo occasionale con iscrizione INPS"},
        {"N", "Indennità sportive dilettantistiche"},
        {"O", "Lavoro occasionale senza iscrizione INPS"},
        {"O1", "Obblighi di fare senza iscrizione INPS"},
        {"P", "Uso di attrezzature di soggetti non residenti"},
        {"Q", "Provvigioni di agente monomandatario"},
        {"R", "Provvigioni di agente plurimandatario"},
        {"S", "Provvigioni di commissionario"},
        {"T", "Provvigioni di mediatore"},
        {"U", "Provvigioni di procacciatore d'affari"},
        {"V", "Vendita a domicilio e ambulante"},
        {"V1", "Attività commerciali non abituali"},
        {"W", "Contratti d'appalto"},
        {"X", "Canoni da società estere (2004)"},
        {"Y", "Canoni da società estere (2005 e seguenti)"},
        {"Z", "Titolo diverso"},
        {"ZO", "Titolo diverso dai precedenti"},
    });
    return list;
}

QStringList codesOf(const QList<CodeChoice>& choices)
{
    QStringList codes;
    for (const CodeChoice& choice : choices)
        codes << choice.code;
    return codes;
}

QStringList captionsOf(const QList<CodeChoice>& choices)
{
    QStringList captions;
    for (const CodeChoice& choice : choices)
        captions << choice.code + u' ' + choice.caption;
    return captions;
}

} // namespace carvendo::foundation
