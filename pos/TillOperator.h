#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <optional>

namespace carvendo::core {
class Clock;
class Navigator;
} // namespace carvendo::core

namespace carvendo::pos {

// The automatic logout period of a "Disconnessione dopo" text, in milliseconds ("5 minuti" ->
// 300 000); nullopt for a text that is not one of the offered periods.
std::optional<int> logoutPeriodMs(const QString& text);

// How the till treats its operator, read from impostazioni.ini when the till opens.
struct TillOperatorSettings
{
    bool required = false;              // `Operatore Pos Richiesto`: no sale closes without one
    std::optional<int> logoutAfterMs{}; // none: the operator stays logged in until logout

    static TillOperatorSettings read(const QString& impostazioniIni); // throws IniFileError
};

// Who is logged in at the till and since when. The till window owns the idle timer and calls
// logout() when it fires; the header shows state() and connectionTime().
class TillOperator : public QObject
{
    Q_OBJECT
public:
    static inline const QString Connected = QStringLiteral("Connesso");
    static inline const QString Disconnected = QStringLiteral("Discoonnesso");
    static inline const QString OperatorListWindow = QStringLiteral("TOperatorList");

    TillOperator(const core::Clock& clock, TillOperatorSettings settings, QObject* parent = nullptr);

    const TillOperatorSettings& settings() const { return m_settings; }
    bool isLoggedIn() const { return !m_name.isEmpty(); }
    const QString& name() const { return m_name; } // empty when nobody is logged in

    QString state() const { return isLoggedIn() ? Connected : Disconnected; }
    // Hours and minutes since login, "hh.mm"; "00.00" when nobody is logged in.
    QString connectionTime() const;

    // Opens the operator list; true when an operator logged in there (replacing the one before).
    bool logIn(core::Navigator& navigator);
    void logOut();

signals:
    void changed(const QString& state, const QString& connectionTime);

private:
    void announce();

    const core::Clock& m_clock;
    TillOperatorSettings m_settings;
    QString m_name;
    QDateTime m_since;
};

} // namespace carvendo::pos
