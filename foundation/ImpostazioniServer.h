#pragma once

#include "core/ConnectionIni.h"
#include "core/LongJob.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace carvendo::core {
class Connections;
class Dialogs;
class EmbeddedServer;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::foundation {

// The server connection window: where this workstation finds the company directory. Its fields are
// texts as typed; "Salva" checks them, on a workstation that hosts the server makes sure the
// directory database is there, and only then writes connessione.ini and points the directory
// connection at them: a failure leaves the file as it was.
class ImpostazioniServer : public QObject
{
    Q_OBJECT

public:
    struct Fields
    {
        QString server;
        QString port;
        QString database;
        QString username;
        QString password;
        QString machineType;         // "CLIENT", "CLIENT/SERVER" or empty when none is chosen
        bool shareOnNetwork = false; // a "CLIENT/SERVER" workstation serves the shop's other ones too

        bool operator==(const Fields&) const = default;
    };

    // Slow work (starting the embedded server, creating the directory database) goes through the
    // runner: the window puts it behind a progress bar.
    ImpostazioniServer(const core::Paths& paths, core::Connections& connections, core::Session& session,
                       core::EmbeddedServer& embedded, core::Dialogs& dialogs,
                       core::JobRunner runner = core::runHere, QObject* parent = nullptr);

    static QStringList machineTypes(); // the choices of "Tipo Macchina"

    const Fields& fields() const { return m_fields; }
    void setFields(const Fields& fields);
    void setServer(const QString& value);
    void setPort(const QString& value);
    void setDatabase(const QString& value);
    void setUsername(const QString& value);
    void setPassword(const QString& value);
    void setMachineType(const QString& value);
    void setShareOnNetwork(bool share);

    // `DROPBOX`/`Path` of impostazioni.ini, read when the window opens.
    const QString& dropboxPath() const { return m_dropboxPath; }

    // "Salva": true when everything was saved and the window may close.
    bool save();

signals:
    void fieldsChanged();

private:
    void load();
    void setField(QString Fields::*field, const QString& value);
    // The first failing check's message, empty when the fields can be saved.
    QString validationMessage() const;
    core::DirectorySettings settingsFromFields() const;
    void prepareDirectory(const core::DirectorySettings& settings);

    const core::Paths& m_paths;
    core::Connections& m_connections;
    core::Session& m_session;
    core::EmbeddedServer& m_embedded;
    core::Dialogs& m_dialogs;
    core::JobRunner m_runner;
    Fields m_fields;
    QString m_dropboxPath;
};

} // namespace carvendo::foundation
